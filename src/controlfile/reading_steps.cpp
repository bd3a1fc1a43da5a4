#include "controlfile/reading_steps.h"

#include <cstdlib>

#include "data/resolution_file.h"
#include "reflections/phase_reflections.h"
#include "run/model_store.h"
#include "tables/species.h"

namespace kestovar {

// Each step is filled in by its subsystem as it arrives.
void initialise_element_tables(ModelStore& store) {
  initialise_tables(store);
}

void read_resolution_file(ModelStore& store) {
  resolution_read(store);
}
void prepare_phase_reflections(ModelStore& store, int n) {
  prepare_reflections(store, n);
}
void resolve_phase_scattering(ModelStore& store, int n) {
  const Phase& ph = store.phase(n);
  const int ajbt = std::abs(ph.Jbt);
  if (ajbt == 2 || ajbt == 3) return;  // pattern matching: no atoms
  const RunSettings& s = store.settings();
  ScatteringOptions options;
  // The phase's own radiation (its Jtyp takes the job type unless the phase says otherwise).
  options.radiation = (ph.Jtyp == 0 || ph.Jtyp == 2) ? Radiation::Xray : Radiation::Neutron;
  options.column = wavelength_column(s.Lambda1);
  options.magnetic = [](const AtomSite& atom) { return atom.MagType != 0; };
  resolve_scattering_types(store, n, ph.Nat, options);
}
int total_reflection_count(ModelStore& store) {
  return reflection_count(store);
}

}  // namespace kestovar
