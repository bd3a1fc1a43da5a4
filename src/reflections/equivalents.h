// Symmetry of reflections: the multiplicity of a reflection in its Laue class, the Friedel
// factor of the class, and the equivalent reflections of a space group with their phase
// shifts and the systematic-absence test.
#pragma once

#include <array>
#include <vector>

#include "symmetry/space_group.h"

namespace kestovar {

using Hkl = std::array<int, 3>;

// 1 for the Laue classes mmm, -3 R, -3m R, -3, -3m1, 6/m and 6/mmm, 2 for the others.
int friedel_factor(int laue);

// The number of distinct reflections equivalent to h k l under the point group of the Laue
// class, Friedel mates included (it equals the rule value of the class times its Friedel
// factor). Valid for any indices, not only those of the asymmetric region. `unique_axis`
// (1 a, 2 b, 3 c; 0 counts as b) matters only for 2/m.
int laue_multiplicity(int laue, int unique_axis, int h, int k, int l);

// One equivalent reflection h R of an operator (R, t), with the phase shift 2 pi h.t.
struct EquivalentReflection {
  Hkl hkl{};
  float phase = 0.0f;  // radians
};

struct ReflectionSymmetry {
  std::vector<EquivalentReflection> equivalents;  // one per stored operator, in their order
  bool absent = false;   // an operator maps h onto itself (or onto -h for a centrosymmetric
                         // group) with a phase shift that is not a whole turn
  int multiplicity = 0;  // distinct reflections among h R and -h R
};

ReflectionSymmetry reflection_symmetry(const SpaceGroup& g, const Hkl& h);
// Only the absence test.
bool is_absent(const SpaceGroup& g, const Hkl& h);

}  // namespace kestovar
