// Steps of the control-file reading that other subsystems provide: element tables,
// resolution file, reflections and scattering factors of each phase.
#pragma once

namespace kestovar {

struct ModelStore;

void initialise_element_tables(ModelStore& store);
void read_resolution_file(ModelStore& store);
// Generates or reads the reflections of phase n (or its integrated intensities).
void prepare_phase_reflections(ModelStore& store, int n);
// Resolves the scattering types of the atoms of phase n.
void resolve_phase_scattering(ModelStore& store, int n);
// Reflections and integrated-intensity observations of all phases.
int total_reflection_count(ModelStore& store);

}  // namespace kestovar
