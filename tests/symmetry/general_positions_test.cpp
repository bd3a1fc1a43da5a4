// General positions of selected settings as the International Tables list them: origin
// choices, monoclinic unique axes and cell choices, orthorhombic settings, hexagonal and
// rhombohedral groups, cubic groups with d glides.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "hall_reference.h"
#include "support/test_support.h"
#include "symmetry/expansion.h"
#include "symmetry/operator_text.h"

namespace kestovar {
namespace {

struct Listing {
  const char* symbol;
  const char* operators;  // the coordinate triplets of the (0,0,0)+ set, separated by ';'
};

const Listing LISTINGS[] = {
    {"P 21/c", "x,y,z; -x,y+1/2,-z+1/2; -x,-y,-z; x,-y+1/2,z+1/2"},
    {"P 1 21/n 1", "x,y,z; -x+1/2,y+1/2,-z+1/2; -x,-y,-z; x+1/2,-y+1/2,z+1/2"},
    {"P 1 21/a 1", "x,y,z; -x+1/2,y+1/2,-z; -x,-y,-z; x+1/2,-y+1/2,z"},
    {"P 1 1 21/a", "x,y,z; -x+1/2,-y,z+1/2; -x,-y,-z; x+1/2,y,-z+1/2"},
    {"P 1 1 21/n", "x,y,z; -x+1/2,-y+1/2,z+1/2; -x,-y,-z; x+1/2,y+1/2,-z+1/2"},
    {"P 1 1 21/b", "x,y,z; -x,-y+1/2,z+1/2; -x,-y,-z; x,y+1/2,-z+1/2"},
    {"P 21/b 1 1", "x,y,z; x+1/2,-y+1/2,-z; -x,-y,-z; -x+1/2,y+1/2,z"},
    {"P 21/c 1 1", "x,y,z; x+1/2,-y,-z+1/2; -x,-y,-z; -x+1/2,y,z+1/2"},
    {"P 21/n 1 1", "x,y,z; x+1/2,-y+1/2,-z+1/2; -x,-y,-z; -x+1/2,y+1/2,z+1/2"},
    {"C 1 2/c 1", "x,y,z; -x,y,-z+1/2; -x,-y,-z; x,-y,z+1/2"},
    {"A 1 2/n 1", "x,y,z; -x+1/2,y,-z+1/2; -x,-y,-z; x+1/2,-y,z+1/2"},
    {"I 1 2/a 1", "x,y,z; -x+1/2,y,-z; -x,-y,-z; x+1/2,-y,z"},
    {"P 1 21 1", "x,y,z; -x,y+1/2,-z"},
    {"P 1 1 21", "x,y,z; -x,-y,z+1/2"},
    {"P 1 c 1", "x,y,z; x,-y,z+1/2"},
    {"P 1 n 1", "x,y,z; x+1/2,-y,z+1/2"},
    {"C 1 c 1", "x,y,z; x,-y,z+1/2"},
    {"I 1 a 1", "x,y,z; x+1/2,-y,z"},
    {"P 21 21 21", "x,y,z; -x+1/2,-y,z+1/2; -x,y+1/2,-z+1/2; x+1/2,-y+1/2,-z"},
    {"P n m a",
     "x,y,z; -x+1/2,-y,z+1/2; -x,y+1/2,-z; x+1/2,-y+1/2,-z+1/2; -x,-y,-z; x+1/2,y,-z+1/2; "
     "x,-y+1/2,z; -x+1/2,y+1/2,z+1/2"},
    {"P b n m",
     "x,y,z; x+1/2,-y+1/2,-z; -x,-y,z+1/2; -x+1/2,y+1/2,-z+1/2; -x,-y,-z; -x+1/2,y+1/2,z; "
     "x,y,-z+1/2; x+1/2,-y+1/2,z+1/2"},
    {"P n n n",
     "x,y,z; -x+1/2,-y+1/2,z; -x+1/2,y,-z+1/2; x,-y+1/2,-z+1/2; -x,-y,-z; x+1/2,y+1/2,-z; "
     "x+1/2,-y,z+1/2; -x,y+1/2,z+1/2"},
    {"C c c a",
     "x,y,z; -x+1/2,-y,z; -x,y,-z+1/2; x+1/2,-y,-z+1/2; -x,-y,-z; x+1/2,y,-z; x,-y,z+1/2; "
     "-x+1/2,y,z+1/2"},
    {"P 4/n",
     "x,y,z; -x+1/2,-y+1/2,z; -y+1/2,x,z; y,-x+1/2,z; -x,-y,-z; x+1/2,y+1/2,-z; y+1/2,-x,-z; "
     "-y,x+1/2,-z"},
    {"I 41/a",
     "x,y,z; -x+1/2,-y,z+1/2; -y+3/4,x+1/4,z+1/4; y+3/4,-x+3/4,z+3/4; -x,-y,-z; "
     "x+1/2,y,-z+1/2; y+1/4,-x+3/4,-z+3/4; -y+1/4,x+1/4,-z+1/4"},
    {"P 61 2 2",
     "x,y,z; -y,x-y,z+1/3; -x+y,-x,z+2/3; -x,-y,z+1/2; y,-x+y,z+5/6; x-y,x,z+1/6; "
     "y,x,-z+1/3; x-y,-y,-z; -x,-x+y,-z+2/3; -y,-x,-z+5/6; -x+y,y,-z+1/2; x,x-y,-z+1/6"},
    {"P 63/m m c",
     "x,y,z; -y,x-y,z; -x+y,-x,z; -x,-y,z+1/2; y,-x+y,z+1/2; x-y,x,z+1/2; y,x,-z; "
     "x-y,-y,-z; -x,-x+y,-z; -y,-x,-z+1/2; -x+y,y,-z+1/2; x,x-y,-z+1/2; -x,-y,-z; "
     "y,-x+y,-z; x-y,x,-z; x,y,-z+1/2; -y,x-y,-z+1/2; -x+y,-x,-z+1/2; -y,-x,z; -x+y,y,z; "
     "x,x-y,z; y,x,z+1/2; x-y,-y,z+1/2; -x,-x+y,z+1/2"},
    {"R -3 m",
     "x,y,z; -y,x-y,z; -x+y,-x,z; y,x,-z; x-y,-y,-z; -x,-x+y,-z; -x,-y,-z; y,-x+y,-z; "
     "x-y,x,-z; -y,-x,z; -x+y,y,z; x,x-y,z"},
    {"R -3 m R",
     "x,y,z; z,x,y; y,z,x; -y,-x,-z; -x,-z,-y; -z,-y,-x; -x,-y,-z; -z,-x,-y; -y,-z,-x; "
     "y,x,z; x,z,y; z,y,x"},
    {"F d 3 m",
     "x,y,z; -x+3/4,-y+1/4,z+1/2; -x+1/4,y+1/2,-z+3/4; x+1/2,-y+3/4,-z+1/4; z,x,y; "
     "z+1/2,-x+3/4,-y+1/4; -z+3/4,-x+1/4,y+1/2; -z+1/4,x+1/2,-y+3/4; y,z,x; "
     "-y+1/4,z+1/2,-x+3/4; y+1/2,-z+3/4,-x+1/4; -y+3/4,-z+1/4,x+1/2; y+3/4,x+1/4,-z+1/2; "
     "-y,-x,-z; y+1/4,-x+1/2,z+3/4; -y+1/2,x+3/4,z+1/4; x+3/4,z+1/4,-y+1/2; "
     "-x+1/2,z+3/4,y+1/4; -x,-z,-y; x+1/4,-z+1/2,y+3/4; z+3/4,y+1/4,-x+1/2; "
     "z+1/4,-y+1/2,x+3/4; -z+1/2,y+3/4,x+1/4; -z,-y,-x; -x,-y,-z; x+1/4,y+3/4,-z+1/2; "
     "x+3/4,-y+1/2,z+1/4; -x+1/2,y+1/4,z+3/4; -z,-x,-y; -z+1/2,x+1/4,y+3/4; "
     "z+1/4,x+3/4,-y+1/2; z+3/4,-x+1/2,y+1/4; -y,-z,-x; y+3/4,-z+1/2,x+1/4; "
     "-y+1/2,z+1/4,x+3/4; y+1/4,z+3/4,-x+1/2; -y+1/4,-x+3/4,z+1/2; y,x,z; "
     "-y+3/4,x+1/2,-z+1/4; y+1/2,-x+1/4,-z+3/4; -x+1/4,-z+3/4,y+1/2; x+1/2,-z+1/4,-y+3/4; "
     "x,z,y; -x+3/4,z+1/2,-y+1/4; -z+1/4,-y+3/4,x+1/2; -z+3/4,y+1/2,-x+1/4; "
     "z+1/2,-y+1/4,-x+3/4; z,y,x"},
};

// One operator in the x,y,z form, read as a SYMM line would be.
test::Op12 parse_xyz(const std::string& xyz) {
  SymmetryOperator op;
  std::string line = "SYMM " + xyz;
  int column = 6;
  EXPECT_EQ(try_parse_operator(line, column, op).error, OperatorError::None) << xyz;
  return test::to_op12(op.R, op.t);
}

std::set<test::Op12> parse_listing(const char* text) {
  std::set<test::Op12> out;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ';')) out.insert(parse_xyz(item));
  return out;
}

class GeneralPositions : public ::testing::TestWithParam<Listing> {};

TEST_P(GeneralPositions, AreThoseOfTheTables) {
  const Listing& l = GetParam();
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol(l.symbol, g)) << l.symbol;
  std::set<test::Op12> want;
  for (const test::Op12& o : parse_listing(l.operators)) {
    for (int c = 1; c <= g.lattice.count; ++c) {
      test::Op12 n = o;
      for (int i = 0; i < 3; ++i)
        n.t[i] = (n.t[i] + static_cast<int>(std::lround(g.lattice.vector[c][i] * 12))) % 12;
      want.insert(n);
    }
  }
  std::set<test::Op12> got;
  for (const SymmetryOperator& op : general_positions(g)) got.insert(test::to_op12(op.R, op.t));
  EXPECT_EQ(got, want) << l.symbol << "\n got: " << test::describe(got)
                       << "\nwant: " << test::describe(want);
}

INSTANTIATE_TEST_SUITE_P(Tables, GeneralPositions, ::testing::ValuesIn(LISTINGS));

// Symbols written with another glide letter of a centred cell, or as full symbols, are
// accepted and give a space group of the right order.
TEST(OtherSymbols, GiveGroupsOfTheRightOrder) {
  const struct {
    const char* symbol;
    int multiplicity;
  } cases[] = {{"C m c b", 16},        {"P 21/n 21/m 21/a", 8},
               {"P 2/m 2/m 2/m", 8},   {"P 4/m 2/m 2/m", 16},
               {"P 42/n 2/n 2/m", 16}, {"P 63/m 2/m 2/c", 24},
               {"I 41/a 2/m 2/d", 32}, {"p 21/c", 4},
               {"P 21/C", 4},          {"R -3 H", 18},
               {"R 3 R", 3},           {"R -3 c R", 12},
               {"P 1 2/m 1", 4},       {"B 1 1 2/b", 8},
               {"F 41/d 3 2/m", 192}};
  for (const auto& c : cases) {
    SymmetryWork work;
    ASSERT_TRUE(expand_symbol(c.symbol, work)) << c.symbol;
    std::set<test::Op12> ops;
    for (const SymmetryOperator& op : expanded_operators(work))
      ops.insert(test::to_op12(op.R, op.t));
    EXPECT_EQ(work.Multiplicity(), c.multiplicity) << c.symbol;
    EXPECT_EQ(ops.size(), static_cast<size_t>(c.multiplicity)) << c.symbol;
  }
}

// The symmetry operators that published structure files list with their space-group symbol
// (the cubic 3 written without its bar, as the control file writes it).
TEST(PublishedStructures, ListTheOperatorsOfTheGroup) {
  if (test::shared_data_dir().empty())
    GTEST_SKIP() << "public data directory " << KESTOVAR_SHARED_DATA << " is absent";
  const struct {
    const char* file;
    const char* symbol;
  } cases[] = {{"PbSO4-Wyckoff.cif", "P n m a"}, {"CaF2.cif", "F m 3 m"}, {"NAC.cif", "I 21 3"}};
  for (const auto& c : cases) {
    std::ifstream in(test::shared_data_dir() + "/" + c.file);
    ASSERT_TRUE(in) << c.file;
    std::set<test::Op12> listed;
    std::string line;
    bool in_loop = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find("_space_group_symop_operation_xyz") != std::string::npos) {
        in_loop = true;
        continue;
      }
      if (!in_loop) continue;
      std::istringstream fields(line);
      int id = 0;
      std::string xyz;
      if (!(fields >> id >> xyz)) break;
      listed.insert(parse_xyz(xyz));
    }
    SpaceGroup g;
    ASSERT_TRUE(space_group_from_symbol(c.symbol, g)) << c.symbol;
    std::set<test::Op12> got;
    for (const SymmetryOperator& op : general_positions(g)) got.insert(test::to_op12(op.R, op.t));
    EXPECT_EQ(got, listed) << c.file << "\n got: " << test::describe(got)
                           << "\nlisted: " << test::describe(listed);
  }
}

}  // namespace
}  // namespace kestovar
