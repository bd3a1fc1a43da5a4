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
  // In a crystal and magnetic phase the atoms with moment lines (N_type 1 or 3, any kind but
  // 0 and 2) are the magnetic ones; the others are looked up as nuclear types only.
  options.magnetic = [](const AtomSite& atom) { return atom.N_t != 0 && atom.N_t != 2; };
  resolve_scattering_types(store, n, ph.Nat, options);
}
int total_reflection_count(ModelStore& store) {
  return reflection_count(store);
}

}  // namespace kestovar
