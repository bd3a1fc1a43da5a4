#include "reflections/equivalents.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestovar {

namespace {

constexpr float kTwoPi = 6.2831855f;

int nonzero_factor(int v) {
  return v != 0 ? 2 : 1;
}

// Hexagonal in-plane orbit size (h, k, i = -h-k) under 6mm: 1 at the origin, 6 when two of
// h, k, i are equal or one of them is zero, else 12.
int hexagonal_mirror_orbit(int h, int k) {
  if (h == 0 && k == 0) return 1;
  const int i = -h - k;
  if (h == k || k == i || i == h || h == 0 || k == 0 || i == 0) return 6;
  return 12;
}

// Distinct arrangements of the absolute values under all permutations (cubic: true) or the
// cyclic ones only, times the sign choices of the non-zero values.
int cubic_orbit(int h, int k, int l, bool all_permutations) {
  std::array<int, 3> a{std::abs(h), std::abs(k), std::abs(l)};
  int signs = nonzero_factor(a[0]) * nonzero_factor(a[1]) * nonzero_factor(a[2]);
  std::sort(a.begin(), a.end());
  const bool all_equal = a[0] == a[2];
  const bool two_equal = a[0] == a[1] || a[1] == a[2];
  int arrangements;
  if (all_equal)
    arrangements = 1;
  else if (two_equal)
    arrangements = 3;
  else
    arrangements = all_permutations ? 6 : 3;
  return arrangements * signs;
}

}  // namespace

int friedel_factor(int laue) {
  switch (laue) {
    case LAUE_MMM:
    case LAUE_3R:
    case LAUE_3MR:
    case LAUE_3:
    case LAUE_3M1:
    case LAUE_6M:
    case LAUE_6MMM:
      return 1;
    default:
      return 2;
  }
}

int laue_multiplicity(int laue, int unique_axis, int h, int k, int l) {
  const bool origin_plane = h == 0 && k == 0;
  switch (laue) {
    case LAUE_1:
      return (h == 0 && k == 0 && l == 0) ? 1 : 2;
    case LAUE_2M: {
      // The index along the unique axis, and the two others.
      int p = k, q = h, r = l;
      if (unique_axis == 1) {
        p = h;
        q = k;
      } else if (unique_axis == 3) {
        p = l;
        r = k;
      }
      return nonzero_factor(p) * ((q != 0 || r != 0) ? 2 : 1);
    }
    case LAUE_MMM:
      return nonzero_factor(h) * nonzero_factor(k) * nonzero_factor(l);
    case LAUE_4M:
      return (origin_plane ? 1 : 4) * nonzero_factor(l);
    case LAUE_4MMM: {
      int plane = 8;
      if (origin_plane)
        plane = 1;
      else if (h == 0 || k == 0 || std::abs(h) == std::abs(k))
        plane = 4;
      return plane * nonzero_factor(l);
    }
    case LAUE_3R:
      if (h == k && k == l) return h == 0 ? 1 : 2;
      return 6;
    case LAUE_3MR: {
      if (h == k && k == l) return h == 0 ? 1 : 2;
      const bool two_equal = h == k || k == l || l == h;
      const bool opposite_with_zero =
          (l == 0 && h == -k) || (h == 0 && k == -l) || (k == 0 && l == -h);
      return (two_equal || opposite_with_zero) ? 6 : 12;
    }
    case LAUE_3:
      return origin_plane ? nonzero_factor(l) : 6;
    case LAUE_3M1:
    case LAUE_31M: {
      if (origin_plane) return nonzero_factor(l);
      if (l == 0) return hexagonal_mirror_orbit(h, k);
      const int i = -h - k;
      const bool special =
          laue == LAUE_3M1 ? (h == 0 || k == 0 || i == 0) : (h == k || k == i || i == h);
      return special ? 6 : 12;
    }
    case LAUE_6M:
      return (origin_plane ? 1 : 6) * nonzero_factor(l);
    case LAUE_6MMM:
      return hexagonal_mirror_orbit(h, k) * nonzero_factor(l);
    case LAUE_M3:
      return cubic_orbit(h, k, l, false);
    case LAUE_M3M:
      return cubic_orbit(h, k, l, true);
    default:
      return 1;
  }
}

namespace {

Hkl transform(const IntMatrix3& R, const Hkl& h) {
  Hkl r{};
  for (int m = 0; m < 3; ++m) r[m] = h[0] * R[0][m] + h[1] * R[1][m] + h[2] * R[2][m];
  return r;
}

// h . t in turns.
float turns(const Hkl& h, const Vec3& t) {
  return static_cast<float>(h[0]) * t[0] + static_cast<float>(h[1]) * t[1] +
         static_cast<float>(h[2]) * t[2];
}

bool whole_turn(float x) {
  return std::fabs(x - std::round(x)) < 1.0e-3f;
}

Hkl negated(const Hkl& h) {
  return {-h[0], -h[1], -h[2]};
}

}  // namespace

ReflectionSymmetry reflection_symmetry(const SpaceGroup& g, const Hkl& h) {
  ReflectionSymmetry r;
  const Hkl minus = negated(h);
  std::vector<Hkl> distinct;
  auto note = [&](const Hkl& v) {
    if (std::find(distinct.begin(), distinct.end(), v) == distinct.end()) distinct.push_back(v);
  };
  for (int n = 1; n <= g.Nop; ++n) {
    const SymOperator& op = g.op[n];
    const Hkl hr = transform(rotation_matrix(op.rotation), h);
    const float x = turns(h, op.t);
    r.equivalents.push_back({hr, kTwoPi * x});
    if ((hr == h || (g.Cen == 2 && hr == minus)) && !whole_turn(x)) r.absent = true;
    note(hr);
    note(negated(hr));
  }
  r.multiplicity = static_cast<int>(distinct.size());
  return r;
}

bool is_absent(const SpaceGroup& g, const Hkl& h) {
  const Hkl minus = negated(h);
  for (int n = 1; n <= g.Nop; ++n) {
    const SymOperator& op = g.op[n];
    const Hkl hr = transform(rotation_matrix(op.rotation), h);
    if ((hr == h || (g.Cen == 2 && hr == minus)) && !whole_turn(turns(h, op.t))) return true;
  }
  return false;
}

}  // namespace kestovar
