// An independent reference for the tests: the operations of a space group from its Hall
// symbol (lattice, generators with translations, origin shift), closed into the full group.
// Translations are kept in twelfths, reduced into 0..11.
#pragma once

#include <array>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "symmetry/space_group.h"

namespace kestovar::test {

struct Op12 {
  IntMatrix3 R{};
  std::array<int, 3> t{};
  bool operator<(const Op12& o) const { return std::tie(R, t) < std::tie(o.R, o.t); }
  bool operator==(const Op12& o) const { return R == o.R && t == o.t; }
};

// The full list of operations (every centring and inversion copy), or empty for a symbol
// that cannot be read.
std::set<Op12> hall_group(const std::string& hall);

// An operation with its translation reduced into 0..11 twelfths.
Op12 to_op12(const IntMatrix3& R, const Vec3& t);

// The operations of `ops` written as operator texts, sorted.
std::string describe(const std::set<Op12>& ops);

}  // namespace kestovar::test
