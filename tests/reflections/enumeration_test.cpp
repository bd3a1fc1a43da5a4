// The generator against a brute-force count: every h k l inside the limits, minus the
// reflections that the operators extinguish, grouped into orbits of the Laue group.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "reflections/equivalents.h"
#include "reflections/generation.h"
#include "symmetry/cell.h"
#include "symmetry/expansion.h"

namespace kestovar {
namespace {

struct GroupEntry {
  int number;
  const char* symbol;
  const char* hall;
};

const GroupEntry kStandardGroups[] = {
#include "symmetry/space_group_table.inc"
};

// Settings beyond the standard table: other unique axes, B centring, rhombohedral axes.
const char* const kOtherSettings[] = {"P 21/b 1 1", "P 1 1 21/b", "B 1 1 2/b", "P 1 21/n 1",
                                      "A 1 2/a 1",  "I 1 2/c 1",  "P b n m",   "R -3 R",
                                      "R -3 m R",   "R 3 c R",    "R 3 R",     "R -3 c R",
                                      "R -3 H",     "P 2/m 1 1",  "P 1 1 2/m"};

float q_of(const ReciprocalMetric& m, int h, int k, int l) {
  const float fh = static_cast<float>(h), fk = static_cast<float>(k), fl = static_cast<float>(l);
  return m.A * fh * fh + m.B * fk * fk + m.C * fl * fl + m.D * fk * fl + m.E * fh * fl +
         m.F * fh * fk;
}

Hkl times(const IntMatrix3& R, const Hkl& h) {
  Hkl r{};
  for (int m = 0; m < 3; ++m) r[m] = h[0] * R[0][m] + h[1] * R[1][m] + h[2] * R[2][m];
  return r;
}

// The classes whose loops exchange indices store them in the conventional region: the
// larger index first (h00 rather than 0k0, 210 rather than 120 where both are equivalent).
bool conventional(int laue, const Hkl& v) {
  const int h = v[0], k = v[1], l = v[2];
  switch (laue) {
    case LAUE_4M:
    case LAUE_6M:
      return l >= 0 && k >= 0 && (h > 0 || k == 0);
    case LAUE_4MMM:
    case LAUE_6MMM:
      return h >= k && k >= 0 && l >= 0;
    case LAUE_31M:
      return h >= k && k >= 0;
    case LAUE_M3M:
      return h >= k && k >= l && l >= 0;
    default:
      return true;
  }
}

struct Orbit {
  int size = 0;
  int generated = 0;
};

// Runs the comparison for one symbol and one range; returns a failure text or "".
std::string compare(const std::string& symbol, float s_min, float s_max) {
  SpaceGroup g;
  if (!space_group_from_symbol(symbol, g)) return "symbol refused";
  CellParameters cell{5.1f, 6.3f, 7.2f, 80.0f, 95.0f, 105.0f};
  if (!constrain_cell(g.Laue, g.UniqueAxis, true, cell)) return "bad unique axis";
  const ReciprocalMetric metric = reciprocal_metric(cell);

  EnumerationInput in;
  in.group = &g;
  in.metric = metric;
  in.abc = {cell[0], cell[1], cell[2]};
  in.limits = {s_min, s_max};
  const EnumerationResult result = enumerate_reflections(in);

  // Brute force over a box that surely holds the range.
  const std::vector<SymmetryOperator> ops = general_positions(g);
  std::map<Hkl, Orbit> orbits;  // by the smallest member
  auto key_of = [&](const Hkl& h) {
    Hkl best = h;
    for (const SymmetryOperator& op : ops) {
      const Hkl a = times(op.R, h);
      const Hkl b{-a[0], -a[1], -a[2]};
      best = std::min({best, a, b});
    }
    return best;
  };
  const float smin2 = s_min * s_min, smax2 = s_max * s_max;
  const int box = static_cast<int>(std::ceil(2.0f * 8.0f * s_max)) + 2;
  for (int h = -box; h <= box; ++h)
    for (int k = -box; k <= box; ++k)
      for (int l = -box; l <= box; ++l) {
        if (h == 0 && k == 0 && l == 0) continue;
        const float s2 = 0.25f * q_of(metric, h, k, l);
        if (s2 < smin2 || s2 > smax2) continue;
        const Hkl v{h, k, l};
        bool absent = false;
        for (const SymmetryOperator& op : ops) {
          if (times(op.R, v) != v) continue;
          const float x = h * op.t[0] + k * op.t[1] + l * op.t[2];
          if (std::fabs(x - std::round(x)) > 1e-3f) absent = true;
        }
        if (absent) continue;
        ++orbits[key_of(v)].size;
      }

  for (const ReflectionCandidate& c : result.candidates) {
    const Hkl& v = c.hkl;
    auto it = orbits.find(key_of(v));
    std::string hkl =
        std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]);
    if (it == orbits.end()) return "generated " + hkl + ", absent or out of range";
    if (!conventional(g.Laue, v)) return hkl + ": outside the conventional region";
    if (++it->second.generated > 1) return "orbit of " + hkl + " generated twice";
    if (c.mult != it->second.size)
      return hkl + ": multiplicity " + std::to_string(c.mult) + ", orbit " +
             std::to_string(it->second.size);
    if (std::fabs(c.Q - q_of(metric, v[0], v[1], v[2])) > 1e-6f * c.Q) return hkl + ": Q";
  }
  for (const auto& [key, orbit] : orbits)
    if (orbit.generated == 0)
      return "orbit of " + std::to_string(key[0]) + " " + std::to_string(key[1]) + " " +
             std::to_string(key[2]) + " missing";
  return "";
}

std::vector<std::string> all_symbols() {
  std::vector<std::string> v;
  for (const GroupEntry& e : kStandardGroups) v.push_back(e.symbol);
  for (const char* s : kOtherSettings) v.push_back(s);
  return v;
}

TEST(Enumeration, OneReflectionPerOrbitForEveryGroup) {
  std::set<int> classes;
  for (const std::string& symbol : all_symbols()) {
    SpaceGroup g;
    ASSERT_TRUE(space_group_from_symbol(symbol, g)) << symbol;
    classes.insert(g.Laue);
    EXPECT_EQ(compare(symbol, 0.0f, 0.5f / 1.13f), "") << symbol;
  }
  EXPECT_EQ(classes.size(), 14u);
}

TEST(Enumeration, LowerLimitAndTighterRange) {
  for (const std::string& symbol : all_symbols())
    EXPECT_EQ(compare(symbol, 0.5f / 3.07f, 0.5f / 0.93f), "") << symbol;
}

// A bound far beyond the packed range (a very long axis, or a tiny d limit) is cut to 127 and
// reported, not lost in the conversion to an integer.
TEST(Enumeration, HugeIndexBoundIsCutTo127) {
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol("P m m m", g));
  EnumerationInput in;
  in.group = &g;
  in.metric = {1.0e-6f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
  in.abc = {1.0e21f, 1.0f, 1.0f};
  in.limits = {0.0f, 0.5f};
  const EnumerationResult r = enumerate_reflections(in);
  EXPECT_TRUE(r.index_limited);
  EXPECT_EQ(r.bounds, (std::array<int, 3>{127, 1, 1}));
  int h_max = 0;
  for (const ReflectionCandidate& c : r.candidates) h_max = std::max(h_max, c.hkl[0]);
  EXPECT_EQ(h_max, 127);
}

TEST(Enumeration, EveryLatticeLetterIsCovered) {
  std::set<char> letters;
  for (const std::string& symbol : all_symbols()) letters.insert(symbol[0]);
  EXPECT_EQ(letters, (std::set<char>{'A', 'B', 'C', 'F', 'I', 'P', 'R'}));
}

}  // namespace
}  // namespace kestovar
