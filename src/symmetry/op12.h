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

inline int mod12(int v) {
  return ((v % 12) + 12) % 12;
}

inline IntMatrix3 identity_matrix() {
  return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
}
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

// The rotations of m-3m and 6/mmm numbered once, with their product table, so that the
// closure below works on small integers.
class RotationIds {
 public:
  static const RotationIds& get() {
    static const RotationIds ids;
    return ids;
  }
  // The number of R, or -1 for a matrix of neither point group.
  int id(const IntMatrix3& R) const {
    int k = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        if (R[i][j] < -1 || R[i][j] > 1) return -1;
        k = 3 * k + R[i][j] + 1;
      }
    return index_[k];
  }
  const IntMatrix3& matrix(int id) const { return list_[id]; }
  int product(int a, int b) const { return product_[a * MAX + b]; }
  static constexpr int MAX = 80;

 private:
  RotationIds() {
    index_.assign(19683, -1);
    const IntMatrix3 gens[] = {{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}},
                               {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}},
                               {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}},
                               {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}},
                               {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}}};
    // Cubic family from the first three, hexagonal family from the last three.
    for (int family = 0; family < 2; ++family) {
      std::vector<IntMatrix3> g = {identity_matrix()};
      std::vector<IntMatrix3> src;
      if (family == 0)
        src = {gens[0], gens[1], gens[2]};
      else
        src = {gens[3], gens[4], gens[2]};
      for (size_t i = 0; i < g.size(); ++i)
        for (const IntMatrix3& s : src) {
          IntMatrix3 p = multiply(s, g[i]);
          bool found = false;
          for (const IntMatrix3& q : g) found = found || q == p;
          if (!found) g.push_back(p);
        }
      for (const IntMatrix3& m : g) add(m);
    }
    product_.assign(MAX * MAX, -1);
    for (size_t a = 0; a < list_.size(); ++a)
      for (size_t b = 0; b < list_.size(); ++b)
        product_[a * MAX + b] = id(multiply(list_[a], list_[b]));
  }
  void add(const IntMatrix3& m) {
    int k = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) k = 3 * k + m[i][j] + 1;
    if (index_[k] >= 0) return;
    index_[k] = static_cast<int>(list_.size());
    list_.push_back(m);
  }
  std::vector<int> index_;
  std::vector<IntMatrix3> list_;
  std::vector<int> product_;
};

// Closure of a set of operations modulo the lattice. Returns false as soon as two
// operations with the same rotation differ by a translation that is not a lattice vector
// (the set does not generate a space group with this lattice), or when more than `limit`
// rotations appear. The group comes back with canonical translations.
inline bool closure(const std::vector<Op>& generators, const Centring& centring,
                    std::vector<Op>& group, size_t limit = 48) {
  const RotationIds& ids = RotationIds::get();
  struct Entry {
    int rot;
    std::array<int, 3> t;
  };
  std::array<int, RotationIds::MAX> slot;
  slot.fill(-1);
  std::vector<Entry> list;
  list.reserve(48);
  auto add = [&](int rot, const std::array<int, 3>& t) -> int {  // 1 added, 0 present, -1 bad
    if (rot < 0) return -1;
    std::array<int, 3> c = canonical_translation(t, centring);
    if (slot[rot] >= 0) return list[slot[rot]].t == c ? 0 : -1;
    slot[rot] = static_cast<int>(list.size());
    list.push_back({rot, c});
    return 1;
  };
  auto compose_entries = [&](const Entry& a, const Entry& b, int& rot, std::array<int, 3>& t) {
    rot = ids.product(a.rot, b.rot);
    const IntMatrix3& R = ids.matrix(a.rot);
    for (int i = 0; i < 3; ++i)
      t[i] = R[i][0] * b.t[0] + R[i][1] * b.t[1] + R[i][2] * b.t[2] + a.t[i];
  };
  group.clear();
  add(ids.id(identity_matrix()), {0, 0, 0});
  for (const Op& g : generators)
    if (add(ids.id(g.R), g.t) < 0) return false;
  for (size_t i = 0; i < list.size(); ++i) {
    for (size_t j = 0; j <= i; ++j) {
      for (int pass = 0; pass < 2; ++pass) {
        int rot;
        std::array<int, 3> t;
        const Entry a = list[pass == 0 ? i : j];
        const Entry b = list[pass == 0 ? j : i];
        compose_entries(a, b, rot, t);
        if (add(rot, t) < 0) return false;
        if (list.size() > limit) return false;
      }
    }
  }
  for (const Entry& e : list) group.push_back(Op{ids.matrix(e.rot), e.t});
  return true;
}

}  // namespace kestovar::sym12
