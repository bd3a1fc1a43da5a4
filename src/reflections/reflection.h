// The reflection table of a job: one record per reflection of all phases (at most IRS), the
// packed code that carries phase, wavelength and indices, the reflection counts per phase, and
// the sort by position.
#pragma once

#include <array>
#include <vector>

#include "run/capacities.h"

namespace kestovar {

// One reflection. The fields after Q and LpMult are filled later by the pattern calculation,
// or by the file readers when the reflections come from a file.
struct Reflection {
  int Code = 0;         // packed phase, wavelength and h, k, l (pack_reflection_code)
  int Ivk = 0;          // 0 nuclear reflection, else the propagation vector of the satellite
  int Mult = 0;         // multiplicity
  float Tk = 0.0f;      // position: 2theta (deg), time of flight (us) or energy (keV), before
                        // the zero shift and the instrumental shift terms
  float Q = 0.0f;       // 1/d^2 (A^-2)
  float LpMult = 0.0f;  // intensity factor x phase intensity factor x multiplicity

  // Instrumental resolution terms (G squared degrees, L degrees).
  float InstrG = 0.0f, InstrL = 0.0f;

  // Per-cycle values of the pattern calculation.
  float Hfwhm = 0.0f;            // full width used by the profile
  float HGk = 0.0f;              // Gaussian width
  float HLk = 0.0f;              // Lorentzian width (TCH) or right width (split pseudo-Voigt)
  float EtaK = 0.0f;             // TCH mixing
  float FsqRaw = 0.0f;           // squared structure factor before corrections (starting value for
                                 // pattern-matching phases read from a file)
  float CorrK = 0.0f;            // product of the intensity corrections
  float ReF = 0.0f, ImF = 0.0f;  // real and imaginary parts of F
  float PhaseAngle = 0.0f;       // phase angle of F (or the value read with Irf 1, Sol 1)

  // Values supplied by reflection and integrated-intensity files.
  float Apart = 0.0f, Bpart = 0.0f;  // fixed partial structure factor A + iB
  float F2obs = 0.0f, SigF2 = 0.0f;  // observed squared structure factor and its sigma
  int ScaleGroup = 1;                // scale factor Sc1..Sc6 of the reflection
  float SinThL = 0.0f;               // sin(theta)/lambda
  float CorrFactor = 0.0f;           // correction factor of powder integrated intensities
  std::array<float, 3> FileValue{};  // further values of single-crystal data (E1, E2, E3)
};

struct ReflectionList {
  // Records 1..IRS. Profile reflections fill it from 1 upwards, phase after phase;
  // integrated intensities from IRS downwards.
  std::vector<Reflection> refl = std::vector<Reflection>(IRS + 1);
  std::array<int, NPHT + 1> Nref{};     // profile reflections of each phase
  std::array<int, NPHT + 1> NrefInt{};  // integrated-intensity reflections of each phase
  int Friedel = 2;  // 1 or 2: factor of the Laue multiplicity of the phase being prepared

  // Profile reflections of all phases.
  int profile_total() const;
  // Profile reflections of the phases before `phase`: phase `phase` starts at this + 1.
  int first_of(int phase) const;
  // Profile and integrated-intensity reflections of all phases.
  int total() const;
};

// Index bound of a packed index.
inline constexpr int MAX_PACKED_INDEX = 127;

// ((((8 phase + wavelength) 256 + h + 128) 256 + k + 128) 256 + l + 128; |h|, |k|, |l| <= 127
// and l >= -128.
int pack_reflection_code(int phase, int wavelength, int h, int k, int l);

struct ReflectionCode {
  int phase = 0, wavelength = 0, h = 0, k = 0, l = 0;
};
ReflectionCode unpack_reflection_code(int code);

// Orders the records first+1..first+count by increasing position (stable index sort).
void sort_by_position(ReflectionList& list, int first, int count);
// Orders the profile reflections of one phase.
void sort_phase_reflections(ReflectionList& list, int phase);
// Orders the profile reflections of all phases together (the merged list of a pattern with
// several phases); the counts per phase stay, but the phases no longer form blocks.
void sort_all_reflections(ReflectionList& list);

}  // namespace kestovar
