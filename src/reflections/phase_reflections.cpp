#include "reflections/phase_reflections.h"

#include <cstdlib>

#include "reflections/equivalents.h"
#include "reflections/generation.h"
#include "reflections/reflection_file.h"
#include "run/messages.h"
#include "run/model_store.h"

namespace kestovar {

void prepare_reflections(ModelStore& store, int n) {
  const Phase& ph = store.job->phases[n];
  const int irf = ph.Irf;
  if (irf == 0 || irf == -1) {
    generate_reflections(store, n);
  } else if (irf == 1 || std::abs(irf) == 2 || std::abs(irf) == 3) {
    read_reflection_file(store, n);
  } else if (std::abs(irf) == 4) {
    // The integrated-intensity reader takes the Friedel factor of the phase's Laue class.
    store.job->reflections.Friedel = friedel_factor(store.job->groups[n].Laue);
    stop_program(store, " Integrated-intensity observations are not available in this version ");
  } else {
    stop_program(store, " Illegal IRF value ");
  }
}

int reflection_count(const ModelStore& store) {
  return store.job->reflections.total();
}

}  // namespace kestovar
