// Generation of the reflections of a phase: the sin(theta)/lambda limits from the pattern's
// range, the enumeration of the independent reflections over the asymmetric region of the
// Laue class (lattice conditions as loop steps, space-group absences, multiplicities,
// satellites of the propagation vectors), and the creation of the reflection records with
// their positions and intensity factors for one or two wavelengths.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "reflections/equivalents.h"
#include "reflections/reflection.h"
#include "symmetry/cell.h"
#include "symmetry/space_group.h"

namespace kestovar {

struct ModelStore;

// Generation range in s = sin(theta)/lambda = 1/(2d).
struct GenerationLimits {
  float s_min = 0.0f, s_max = 0.0f;
};

// The limits of phase `phase` from the pattern's range, its half-width and the wavelengths.
GenerationLimits generation_limits(const ModelStore& store, int phase);

// Lattice centring conditions implied by a generator list: the codes of the A, B, C, I
// centring translations (576, 516, 68, 580), F (576 and 516) and the R centring on hexagonal
// axes (8192).
struct LatticeConditions {
  bool A = false, B = false, C = false, I = false, R = false;
};
LatticeConditions lattice_conditions(const SpaceGroup& g);
// True when h k l satisfies the conditions.
bool lattice_allows(const LatticeConditions& c, int h, int k, int l);

// What the enumeration needs.
struct EnumerationInput {
  const SpaceGroup* group = nullptr;  // Laue class, unique axis, generators, operators
  ReciprocalMetric metric;
  std::array<float, 3> abc{};  // a, b, c for the index bounds
  GenerationLimits limits;
  std::vector<std::array<float, 3>> kvec;  // propagation vectors 1..n as kvec[0..n-1]
  bool satellites_only = false;            // Irf -1: no nuclear reflections
  bool kvec_augmented = false;             // the list holds -k for every k
};

// One independent reflection (or satellite) inside the limits, in enumeration order.
struct ReflectionCandidate {
  Hkl hkl{};                 // stored indices (of the parent for a satellite)
  int ivk = 0;               // propagation vector, 0 for a nuclear reflection
  std::array<float, 3> h{};  // indices plus the propagation vector
  float Q = 0.0f;            // 1/d^2
  int mult = 0;
};

struct EnumerationResult {
  std::vector<ReflectionCandidate> candidates;
  std::array<int, 3> bounds{};  // h_max, k_max, l_max used
  bool index_limited = false;   // a bound was cut to the packed index range
};

// Every independent reflection with s_min <= s <= s_max, each once, its indices in the
// conventional region of the Laue class, absences removed.
EnumerationResult enumerate_reflections(const EnumerationInput& in);

// Positions and intensity factors of new reflections of one phase.
struct PlacementContext {
  int phase = 0;
  int Uni = 0;
  int nwave = 1;
  std::array<float, 3> lambda{};  // 1-based
  float zero = 0, sycos = 0, sysin = 0, dtt1 = 0, dtt2 = 0;
  float x_first = 0, x_last = 0;  // pattern range
  int intensity_factor = 1;       // of the space group
  int Res = 0;
};
PlacementContext placement_context(const ModelStore& store, int phase);

// The position of a reflection with 1/d^2 = Q for wavelength `wave` (stored value Tk, and
// the position with the zero shift and instrumental terms that is compared with the
// pattern's range), with sin^2(theta) and cos(theta) for the intensity factor. False when
// the reflection has no position (sin^2(theta) outside [1e-10, 1), Q not positive).
struct ReflectionPosition {
  float Tk = 0, corrected = 0, sin2 = 0, cos_t = 0, tan_t = 0;
};
bool reflection_position(const PlacementContext& c, float Q, int wave, ReflectionPosition& p);

// Stores the reflection for every wavelength whose position falls inside the pattern (the
// record's LpMult without the multiplicity); returns the records made. Stops the run with
// " Too many reflections" when IRS - 1 records are already in use.
int place_reflection(ModelStore& store, const PlacementContext& c, const Hkl& hkl, int ivk, float Q,
                     int mult);

// Generates the reflections of phase `phase` (Irf 0 or -1): listing lines, records, the
// multiplicity in LpMult, the sort by position and, for Irf -1 or explicit operators, the
// reflection file of the phase.
void generate_reflections(ModelStore& store, int phase);

// Multiplies the LpMult of the phase's records by their multiplicity.
void apply_multiplicities(ReflectionList& list, int phase);

}  // namespace kestovar
