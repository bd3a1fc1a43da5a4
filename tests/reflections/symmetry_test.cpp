// Packed codes, Laue multiplicities, equivalents and absences, and the listing of the
// space-group explorer.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "reflections/equivalents.h"
#include "reflections/reflection.h"
#include "reflections/sg_listing.h"
#include "symmetry/expansion.h"

namespace kestovar {
namespace {

TEST(ReflectionCode, PacksAndUnpacksTheWholeRange) {
  for (int phase : {1, 8})
    for (int wave : {1, 2})
      for (int h : {-128, -127, -1, 0, 5, 127})
        for (int l : {-128, 0, 127}) {
          const int code = pack_reflection_code(phase, wave, h, -h / 2, l);
          EXPECT_GT(code, 0);
          const ReflectionCode c = unpack_reflection_code(code);
          EXPECT_EQ((std::array<int, 5>{c.phase, c.wavelength, c.h, c.k, c.l}),
                    (std::array<int, 5>{phase, wave, h, -h / 2, l}));
        }
  EXPECT_EQ(pack_reflection_code(1, 1, 0, 0, 0), ((9 * 256 + 128) * 256 + 128) * 256 + 128);
}

TEST(LaueMultiplicity, RulesOfTheClasses) {
  struct Case {
    int laue, h, k, l, mult;
  };
  const Case cases[] = {
      {LAUE_MMM, 1, 2, 3, 8},   {LAUE_MMM, 1, 2, 0, 4},  {LAUE_MMM, 3, 0, 0, 2},
      {LAUE_4MMM, 3, 1, 2, 16}, {LAUE_4MMM, 2, 1, 0, 8}, {LAUE_4MMM, 1, 1, 2, 8},
      {LAUE_4MMM, 2, 0, 0, 4},  {LAUE_4MMM, 1, 1, 0, 4}, {LAUE_4MMM, 0, 0, 3, 2},
      {LAUE_M3M, 3, 2, 1, 48},  {LAUE_M3M, 2, 1, 0, 24}, {LAUE_M3M, 2, 1, 1, 24},
      {LAUE_M3M, 1, 1, 0, 12},  {LAUE_M3M, 1, 1, 1, 8},  {LAUE_M3M, 1, 0, 0, 6},
      {LAUE_M3, 2, 1, 0, 12},   {LAUE_M3, 3, 2, 1, 24},  {LAUE_6MMM, 2, 1, 3, 24},
      {LAUE_6MMM, 1, 0, 0, 6},  {LAUE_6M, 2, 1, 0, 6},   {LAUE_3M1, 1, 0, 2, 6},
      {LAUE_3M1, 1, 1, 2, 12},  {LAUE_31M, 1, 1, 2, 6},  {LAUE_31M, 1, 0, 2, 12},
      {LAUE_3, 1, 0, 0, 6},     {LAUE_3, 0, 0, 2, 2},    {LAUE_3R, 1, 1, 1, 2},
      {LAUE_3MR, 1, 1, 0, 6},   {LAUE_3MR, 1, -1, 0, 6}, {LAUE_3MR, 3, 2, 1, 12},
      {LAUE_1, 1, 2, 3, 2},     {LAUE_2M, 1, 2, 3, 4},   {LAUE_2M, 1, 0, 3, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(laue_multiplicity(c.laue, 2, c.h, c.k, c.l), c.mult)
        << c.laue << ": " << c.h << " " << c.k << " " << c.l;
  // The unique axis of 2/m.
  EXPECT_EQ(laue_multiplicity(LAUE_2M, 2, 1, 2, 0), 4);
  EXPECT_EQ(laue_multiplicity(LAUE_2M, 3, 1, 2, 0), 2);
  EXPECT_EQ(laue_multiplicity(LAUE_2M, 1, 0, 2, 3), 2);
  EXPECT_EQ(friedel_factor(LAUE_MMM), 1);
  EXPECT_EQ(friedel_factor(LAUE_M3M), 2);
}

// The rule value equals the orbit size under the group's rotations for any indices, also
// outside the asymmetric region (reflections read from files).
TEST(LaueMultiplicity, EqualsTheOrbitSizeForAnyIndices) {
  for (const char* symbol : {"P -1", "P 2/m", "P 1 1 2/m", "P 2/m 1 1", "P m m m", "P 4/m",
                             "P 4/m m m", "R -3 R", "R -3 m R", "P -3", "P -3 m 1", "P -3 1 m",
                             "P 6/m", "P 6/m m m", "P m -3", "P m 3", "P m 3 m"}) {
    SpaceGroup g;
    if (!space_group_from_symbol(symbol, g)) continue;  // "P m -3" is refused
    const std::vector<SymmetryOperator> ops = general_positions(g);
    for (int h = -3; h <= 3; ++h)
      for (int k = -3; k <= 3; ++k)
        for (int l = -3; l <= 3; ++l) {
          std::set<Hkl> orbit;
          for (const SymmetryOperator& op : ops) {
            Hkl r{};
            for (int m = 0; m < 3; ++m) r[m] = h * op.R[0][m] + k * op.R[1][m] + l * op.R[2][m];
            orbit.insert(r);
            orbit.insert({-r[0], -r[1], -r[2]});
          }
          ASSERT_EQ(laue_multiplicity(g.Laue, g.UniqueAxis, h, k, l),
                    static_cast<int>(orbit.size()))
              << symbol << ": " << h << " " << k << " " << l;
        }
  }
}

TEST(Equivalents, PhaseShiftsAbsencesAndMultiplicity) {
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol("P 21/c", g));
  // Stored operators x,y,z and -x,y+1/2,-z+1/2 (the inversion implied).
  const ReflectionSymmetry s = reflection_symmetry(g, {1, 2, 3});
  ASSERT_EQ(s.equivalents.size(), 2u);
  EXPECT_EQ(s.equivalents[1].hkl, (Hkl{-1, 2, -3}));
  EXPECT_NEAR(s.equivalents[1].phase, 6.2831855f * 2.5f, 1e-4f);
  EXPECT_FALSE(s.absent);
  EXPECT_EQ(s.multiplicity, 4);
  EXPECT_TRUE(reflection_symmetry(g, {0, 1, 0}).absent);
  EXPECT_FALSE(reflection_symmetry(g, {0, 2, 0}).absent);
  EXPECT_TRUE(is_absent(g, {1, 0, 1}));
  EXPECT_TRUE(is_absent(g, {-2, 0, 3}));
  EXPECT_FALSE(is_absent(g, {2, 0, 2}));
  EXPECT_FALSE(is_absent(g, {1, 1, 1}));
}

std::vector<std::string> listing_lines(std::vector<const char*> args, int* status,
                                       std::string* errors = nullptr) {
  args.insert(args.begin(), "kestovar-sg");
  std::ostringstream out, err;
  *status = reflection_listing_main(static_cast<int>(args.size()), args.data(), out, err);
  if (errors) *errors = err.str();
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SpaceGroupExplorer, ListsTheReflectionsByDecreasingD) {
  int status = -1;
  std::vector<std::string> lines = listing_lines(
      {"F d 3 m", "--cell", "5.4309", "5.4309", "5.4309", "90", "90", "90", "--dmin", "1.0"},
      &status);
  EXPECT_EQ(status, 0);
  const std::vector<std::string> expected = {
      "   1   1   1    8   3.13553", "   2   2   0   12   1.92011", "   3   1   1   24   1.63748",
      "   2   2   2    8   1.56777", "   4   0   0    6   1.35773", "   3   3   1   24   1.24593",
      "   4   2   2   24   1.10858", "   5   1   1   24   1.04518", "   3   3   3    8   1.04518"};
  EXPECT_EQ(lines, expected);

  // The symbol may come as separate words; with a wavelength 2theta follows, and what the
  // wavelength cannot reach is left out.
  lines = listing_lines({"P", "m", "3", "m", "--cell", "4", "4", "4", "90", "90", "90", "--dmin",
                         "0.7", "--lambda", "1.5406"},
                        &status);
  EXPECT_EQ(status, 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "   1   0   0    6   4.00000   22.2062");
  for (const std::string& l : lines) EXPECT_GE(std::stod(l.substr(17, 10)), 0.7703);
}

TEST(SpaceGroupExplorer, ArgumentsAndSymbols) {
  int status = 0;
  listing_lines({"P 21/c"}, &status);
  EXPECT_EQ(status, -1);  // not a listing: the caller goes on
  std::string err;
  listing_lines({"P 21/c", "--dmin", "1.0"}, &status, &err);
  EXPECT_EQ(status, 2);
  EXPECT_NE(err.find("Usage"), std::string::npos);
  listing_lines({"P 21/c", "--cell", "5", "6", "x", "90", "95", "90", "--dmin", "1"}, &status);
  EXPECT_EQ(status, 2);
  listing_lines(
      {"P 21/c", "--cell", "5", "6", "7", "90", "95", "90", "--dmin", "1", "--lamda", "1.54"},
      &status, &err);
  EXPECT_EQ(status, 2);
  EXPECT_NE(err.find(" => Unknown option: --lamda"), std::string::npos);
  listing_lines({"X 2 2 2", "--cell", "5", "6", "7", "90", "90", "90", "--dmin", "1"}, &status,
                &err);
  EXPECT_EQ(status, 1);
  std::vector<std::string> lines;
  // Cells that do not exist.
  for (std::vector<const char*> cell : {std::vector<const char*>{"5", "6", "-7", "90", "90", "90"},
                                        {"5", "6", "7", "90", "0", "90"},
                                        {"5", "6", "7", "60", "60", "150"}}) {
    std::vector<const char*> args = {"P -1", "--cell"};
    args.insert(args.end(), cell.begin(), cell.end());
    args.insert(args.end(), {"--dmin", "1"});
    lines = listing_lines(args, &status, &err);
    EXPECT_EQ(status, 2) << cell[2] << " " << cell[4] << " " << cell[5];
    EXPECT_NE(err.find(" => Bad cell"), std::string::npos);
    EXPECT_TRUE(lines.empty());
  }
  // A monoclinic cell keeps its angle; a hexagonal one is constrained as a phase would be.
  lines = listing_lines(
      {"P 63/m m c", "--cell", "3.2", "3.3", "5.2", "90", "90", "90", "--dmin", "2.5"}, &status);
  EXPECT_EQ(status, 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "   1   0   0    6   2.77128");  // a sqrt(3)/2 with a = 3.2
}

}  // namespace
}  // namespace kestovar
