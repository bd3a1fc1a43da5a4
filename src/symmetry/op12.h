// Exact arithmetic on space-group operations whose translations are multiples of 1/12,
// used by the symbol interpreter and the expansion: composition, reduction modulo the
// lattice (with centring), and the closure of a set of operations.
#pragma once

#include <array>
#include <vector>

#include "symmetry/space_group.h"

namespace kestovar::sym12 {

struct Op {
  IntMatrix3 R{};
  std::array<int, 3> t{};  // twelfths, reduced into 0..11
  bool operator==(const Op& o) const { return R == o.R && t == o.t; }
};

inline int mod12(int v) { return ((v % 12) + 12) % 12; }

inline IntMatrix3 identity_matrix() { return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }
inline IntMatrix3 negated(const IntMatrix3& R) {
  IntMatrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = -R[i][j];
  return m;
}
inline IntMatrix3 multiply(const IntMatrix3& a, const IntMatrix3& b) {
  IntMatrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}
inline std::array<int, 3> apply(const IntMatrix3& R, const std::array<int, 3>& v) {
  std::array<int, 3> r{};
  for (int i = 0; i < 3; ++i) r[i] = R[i][0] * v[0] + R[i][1] * v[1] + R[i][2] * v[2];
  return r;
}

// a after b: x -> a(b(x)).
inline Op compose(const Op& a, const Op& b) {
  Op r;
  r.R = multiply(a.R, b.R);
  std::array<int, 3> u = apply(a.R, b.t);
  for (int i = 0; i < 3; ++i) r.t[i] = mod12(u[i] + a.t[i]);
  return r;
}

inline Op make_op(const IntMatrix3& R, const std::array<int, 3>& t) {
  Op o{R, {mod12(t[0]), mod12(t[1]), mod12(t[2])}};
  return o;
}

// Centring translations in twelfths (the identity first).
using Centring = std::vector<std::array<int, 3>>;

// The translation reduced modulo the lattice: the smallest of t + c over the centring.
inline std::array<int, 3> canonical_translation(const std::array<int, 3>& t, const Centring& c) {
  std::array<int, 3> best{12, 12, 12};
  for (const auto& v : c) {
    std::array<int, 3> u{mod12(t[0] + v[0]), mod12(t[1] + v[1]), mod12(t[2] + v[2])};
    if (u < best) best = u;
  }
  return best;
}

// Closure of a set of operations modulo the lattice. Returns false as soon as two
// operations with the same rotation differ by a translation that is not a lattice vector
// (the set does not generate a space group with this lattice), or when more than `limit`
// rotations appear.
inline bool closure(const std::vector<Op>& generators, const Centring& centring,
                    std::vector<Op>& group, size_t limit = 48) {
  group.clear();
  auto add = [&](const Op& o) -> int {  // 1 added, 0 present, -1 conflict
    Op c{o.R, canonical_translation(o.t, centring)};
    for (const Op& g : group) {
      if (g.R == c.R) return g.t == c.t ? 0 : -1;
    }
    group.push_back(c);
    return 1;
  };
  add(Op{identity_matrix(), {0, 0, 0}});
  for (const Op& g : generators)
    if (add(g) < 0) return false;
  for (size_t i = 0; i < group.size(); ++i) {
    for (size_t j = 0; j <= i; ++j) {
      for (int pass = 0; pass < 2; ++pass) {
        Op p = pass == 0 ? compose(group[i], group[j]) : compose(group[j], group[i]);
        int r = add(p);
        if (r < 0) return false;
        if (group.size() > limit) return false;
      }
    }
  }
  return true;
}

}  // namespace kestovar::sym12
