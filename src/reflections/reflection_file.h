// Reflection files of a phase. Layout (free format after the header):
//   line 1        title
//   line 2        a second header line
//   only with propagation vectors: the number of vectors in columns 32-34 (31X,I3), then one
//                 line per vector: number, kx, ky, kz
//   then          one line per reflection: h, k, l, the vector number (only with propagation
//                 vectors), the multiplicity, and the values of the phase's Irf:
//                 Irf 1: a phase angle when Sol is 1; |Irf| 2: an integrated intensity
//                 (Jbt 2, 3) or |F| (Jbt -2, -3); |Irf| 3: the real and imaginary parts of a
//                 fixed partial structure factor.
#pragma once

namespace kestovar {

struct ModelStore;

// Reads the reflections of phase `phase` (Irf 1, 2, 3 in magnitude) from its reflection file
// (the kind-6 names), keeps those whose position falls inside the pattern, and sorts them.
void read_reflection_file(ModelStore& store, int phase);

// Writes the distinct reflections (and satellites) of phase `phase`, in the order of the
// sorted list, to the phase's reflection output file (kind 10) in the layout above.
void write_reflection_file(ModelStore& store, int phase);

}  // namespace kestovar
