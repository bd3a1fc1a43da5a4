// The reflections of a phase as the control-file reader prepares them, after the phase's
// restraints: generated from the symmetry (Irf 0, -1), read from the phase's reflection file
// (Irf 1, 2, 3 in magnitude) or, for Irf 4 in magnitude, integrated intensities.
#pragma once

namespace kestovar {

struct ModelStore;

// Prepares the reflections of phase n; any other Irf stops with " Illegal IRF value ".
void prepare_reflections(ModelStore& store, int n);

// Reflections and integrated-intensity observations of all phases.
int reflection_count(const ModelStore& store);

}  // namespace kestovar
