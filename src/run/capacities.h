// Fixed capacities of the model store, under the names the dimension report prints.
#pragma once

namespace kestovar {

inline constexpr int NPATT = 1;     // powder diffraction patterns
inline constexpr int IDSZ = 32000;  // points (+ integrated intensities) per pattern
inline constexpr int IRS = 8000;    // reflections per pattern
inline constexpr int NATS = 530;    // atoms in the asymmetric units of all phases
inline constexpr int MPAR = 150;    // non-atomic parameter slots per phase
inline constexpr int MSZ = 300;     // refinable parameters
inline constexpr int NOV = 1536;    // overlapping reflections (derivative ring)
inline constexpr int IEXCL = 30;    // excluded regions
inline constexpr int IBACP = 100;   // background points for interpolation
inline constexpr int NPHT = 8;      // phases
inline constexpr int NMAGM = 8;     // sets of magnetic rotation matrices
inline constexpr int NATM = 256;    // magnetic atoms
inline constexpr int NEQV = 48;     // user operators / propagation vectors per phase
inline constexpr int NGL = 40;      // global parameters
inline constexpr int NAT_P = 32;    // parameter slots per atom
inline constexpr int NCONST = 64;   // slack constraints per phase
inline constexpr int N_SPE = 16;    // chemical species
inline constexpr int N_FORM = 60;   // scattering-factor values in a table
inline constexpr int NPR = 150;     // points of a numerical profile
inline constexpr int INPR = 4;      // numerical peak shapes
inline constexpr int NPRC = 150;    // terms of the intensity-correction table
inline constexpr int NSOL = 10;     // solutions kept by the Monte Carlo search

// Text field lengths.
inline constexpr int TITLE_LEN = 70;
inline constexpr int PHASE_NAME_LEN = 70;
inline constexpr int SYMBOL_LEN = 20;
inline constexpr int LABEL_LEN = 4;
inline constexpr int MESSAGE_LEN = 132;
inline constexpr int PCR_LINE_LEN = 132;
inline constexpr int OPERATOR_LINE_LEN = 80;  // SYMM and MSYM lines

}  // namespace kestovar
