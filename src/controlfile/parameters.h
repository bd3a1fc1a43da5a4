// Parameter numbering: decoding the codewords of globals, phases, atoms and propagation
// vectors, the hard-limit lines, and the check that every parameter number is used.
#pragma once

namespace kestovar {

struct ModelStore;

// Decodes the 40 global codewords.
void decode_global_codewords(ModelStore& store);
// Decodes the 150 phase codewords and those of the propagation vectors of phase `n`;
// a parameter number above 300 stops with "Error in a code".
void decode_phase_codewords(ModelStore& store, int n);
// Decodes the codewords of the atoms of phase `n` and sets its AtomExtras; with Hel 1
// completes the imaginary moment so that it stays perpendicular to the real one.
void decode_atom_codewords(ModelStore& store, int n);
// Recomputes the completed imaginary-moment component of the atoms of phase `n`.
void complete_imaginary_moments(ModelStore& store, int n);
// Reads the Nre hard-limit lines.
void read_hard_limits(ModelStore& store);
// Stops with "Hole(s) in the Normal Matrix" when a number 1..NPAR drives nothing.
void check_parameter_numbers(ModelStore& store);

}  // namespace kestovar
