// The phase section of the control file: name, flags, symmetry and atoms; then the
// profile, cell, broadening and propagation-vector lines, and the restraints. Every reader
// echoes what it reads to the output listing.
#pragma once

namespace kestovar {

struct ModelStore;

// Phase name, both flag lines (with their adjustments), the space-group line; reserves the
// phase's atoms in the shared table and prepares the symmetry (explicit operators included).
void read_phase_header(ModelStore& store, int n);
// The atom lines of phase n with their codewords (nothing for pattern-matching phases).
void read_atoms(ModelStore& store, int n);
// Scale, profile, cell, orientation, asymmetry, strain, size, propagation vectors, further
// and generalized parameters; ends with the cell constraints and the reciprocal metric in
// slots 6-11.
void read_phase_parameters(ModelStore& store, int n);
// Distance and moment restraints.
void read_restraints(ModelStore& store, int n);

}  // namespace kestovar
