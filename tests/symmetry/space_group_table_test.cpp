// Properties of the expansion over the 230 space groups in their standard settings.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "hall_reference.h"
#include "symmetry/expansion.h"
#include "symmetry/operator_text.h"

namespace kestovar {
namespace {

struct TableEntry {
  int number;
  const char* symbol;
  const char* hall;
};

const TableEntry TABLE[] = {
#include "space_group_table.inc"
};

// Order of the point group of each crystal class, by space-group number.
int point_group_order(int n) {
  static const std::pair<int, int> bounds[] = {
      {1, 1},    {2, 2},    {5, 2},    {9, 2},    {15, 4},   {24, 4},   {46, 4},   {74, 8},
      {80, 4},   {82, 4},   {88, 8},   {98, 8},   {110, 8},  {122, 8},  {142, 16}, {146, 3},
      {148, 6},  {155, 6},  {161, 6},  {167, 12}, {173, 6},  {174, 6},  {176, 12}, {182, 12},
      {186, 12}, {190, 12}, {194, 24}, {199, 12}, {206, 24}, {214, 24}, {220, 24}, {230, 48}};
  for (const auto& b : bounds)
    if (n <= b.first) return b.second;
  return 0;
}

std::set<test::Op12> expanded_set(const SymmetryWork& work) {
  std::set<test::Op12> out;
  for (const SymmetryOperator& op : expanded_operators(work)) out.insert(test::to_op12(op.R, op.t));
  return out;
}

int mod12(int v) {
  return ((v % 12) + 12) % 12;
}

test::Op12 compose(const test::Op12& a, const test::Op12& b) {
  test::Op12 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r.R[i][j] += a.R[i][k] * b.R[k][j];
  for (int i = 0; i < 3; ++i)
    r.t[i] = mod12(a.R[i][0] * b.t[0] + a.R[i][1] * b.t[1] + a.R[i][2] * b.t[2] + a.t[i]);
  return r;
}

class SpaceGroupTable : public ::testing::TestWithParam<TableEntry> {};

TEST_P(SpaceGroupTable, ExpansionIsTheGroupOfTheTables) {
  const TableEntry& e = GetParam();
  SymmetryWork work;
  ASSERT_TRUE(expand_symbol(e.symbol, work)) << e.number << " " << e.symbol;
  LatticeCentring lattice;
  ASSERT_TRUE(lattice_centring(e.symbol, lattice));

  // Order: point group times centring vectors, every operator distinct.
  std::set<test::Op12> ops = expanded_set(work);
  EXPECT_EQ(work.Multiplicity(), point_group_order(e.number) * lattice.count) << e.symbol;
  EXPECT_EQ(ops.size(), static_cast<size_t>(work.Multiplicity())) << e.symbol;

  // Closed under composition (translations modulo whole cells).
  bool closed = true;
  for (const auto& a : ops)
    for (const auto& b : ops) closed = closed && ops.count(compose(a, b)) == 1;
  EXPECT_TRUE(closed) << e.symbol;

  // Centrosymmetric groups carry the inversion at the origin; the flag agrees.
  test::Op12 inversion{{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, {0, 0, 0}};
  bool has_rotoinversion = false;
  for (const auto& o : ops)
    if (o.R == inversion.R) has_rotoinversion = true;
  EXPECT_EQ(!work.NonCentro, has_rotoinversion) << e.symbol;
  if (has_rotoinversion) {
    EXPECT_EQ(ops.count(inversion), 1u) << e.symbol;
  }

  // The operator set of the standard setting.
  std::set<test::Op12> reference = test::hall_group(e.hall);
  ASSERT_FALSE(reference.empty()) << e.hall;
  std::set<test::Op12> extra, missing;
  for (const auto& o : ops)
    if (!reference.count(o)) extra.insert(o);
  for (const auto& o : reference)
    if (!ops.count(o)) missing.insert(o);
  EXPECT_TRUE(extra.empty() && missing.empty())
      << e.number << " " << e.symbol << "\n  not in the Tables: " << test::describe(extra)
      << "\n  missing: " << test::describe(missing);
}

TEST_P(SpaceGroupTable, ReducedListRebuildsTheGeneralPosition) {
  const TableEntry& e = GetParam();
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol(e.symbol, g)) << e.symbol;
  SymmetryWork work;
  ASSERT_TRUE(expand_symbol(e.symbol, work));
  std::set<test::Op12> full;
  for (const SymmetryOperator& op : general_positions(g)) full.insert(test::to_op12(op.R, op.t));
  EXPECT_EQ(full, expanded_set(work)) << e.symbol;
  EXPECT_EQ(g.Multiplicity * 1, g.Nop * g.Cen * g.lattice.count) << e.symbol;
  EXPECT_EQ(g.IntensityFactor, (g.Cen * g.lattice.count) * (g.Cen * g.lattice.count));
  for (int k = 1; k <= g.Nop; ++k) EXPECT_NE(g.op[k].rotation, 0) << e.symbol;
}

INSTANTIATE_TEST_SUITE_P(All230, SpaceGroupTable, ::testing::ValuesIn(TABLE),
                         [](const ::testing::TestParamInfo<TableEntry>& p) {
                           return "No" + std::to_string(p.param.number);
                         });

}  // namespace
}  // namespace kestovar

namespace kestovar {
namespace {

// The six settings of an orthorhombic group: new axis i is (sign) old axis perm[i].
struct Setting {
  const char* name;
  int perm[3];
  int sign[3];
};
// The cyclic settings first: a symbol reached by several settings is taken from the first.
const Setting SETTINGS[] = {{"cab", {2, 0, 1}, {1, 1, 1}},
                            {"bca", {1, 2, 0}, {1, 1, 1}},
                            {"ba-c", {1, 0, 2}, {1, 1, -1}},
                            {"-cba", {2, 1, 0}, {-1, 1, 1}},
                            {"a-cb", {0, 2, 1}, {1, -1, 1}}};

// The symbol of a setting: the fields follow their axes, glide letters and the centring
// letter are renamed after the new axes.
std::string setting_symbol(const std::string& symbol, const Setting& s) {
  std::vector<std::string> f;
  size_t k = 0;
  while (k < symbol.size()) {
    size_t e = symbol.find(' ', k);
    if (e == std::string::npos) e = symbol.size();
    if (e > k) f.push_back(symbol.substr(k, e - k));
    k = e + 1;
  }
  int inverse[3];
  for (int i = 0; i < 3; ++i) inverse[s.perm[i]] = i;
  auto rename = [&](char c, const char* letters) {
    for (int j = 0; j < 3; ++j)
      if (c == letters[j]) return letters[inverse[j]];
    return c;
  };
  std::string out(1, rename(f[0][0], "ABC"));
  for (int i = 0; i < 3; ++i) {
    std::string field = f[1 + s.perm[i]];
    for (char& c : field) c = rename(c, "abc");
    out += " " + field;
  }
  return out;
}

std::set<test::Op12> transformed(const std::set<test::Op12>& ops, const Setting& s) {
  IntMatrix3 P{};
  for (int i = 0; i < 3; ++i) P[i][s.perm[i]] = s.sign[i];
  std::set<test::Op12> out;
  for (const auto& o : ops) {
    test::Op12 n;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b) n.R[i][j] += P[i][a] * o.R[a][b] * P[j][b];
    for (int i = 0; i < 3; ++i)
      for (int a = 0; a < 3; ++a) n.t[i] += P[i][a] * o.t[a];
    for (int& v : n.t) v = mod12(v);
    out.insert(n);
  }
  return out;
}

// Every orthorhombic group in its other settings (P b n m, P m c n, A b m a ...) gives the
// operators of the standard setting carried over to the new axes.
TEST(OrthorhombicSettings, FieldRulesGiveTheTransformedOperators) {
  int checked = 0;
  for (const TableEntry& e : TABLE) {
    if (e.number < 16 || e.number > 74) continue;
    std::set<test::Op12> standard = test::hall_group(e.hall);
    std::set<std::string> seen = {e.symbol};
    for (const Setting& s : SETTINGS) {
      std::string symbol = setting_symbol(e.symbol, s);
      if (!seen.insert(symbol).second) continue;
      SymmetryWork work;
      ASSERT_TRUE(expand_symbol(symbol, work)) << symbol << " (" << e.symbol << ")";
      std::set<test::Op12> ops = expanded_set(work);
      std::set<test::Op12> want = transformed(standard, s);
      EXPECT_EQ(ops, want) << symbol << " = " << e.symbol << " " << s.name
                           << "\n got: " << test::describe(ops)
                           << "\nwant: " << test::describe(want);
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace kestovar
