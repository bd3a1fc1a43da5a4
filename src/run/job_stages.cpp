#include "run/job_stages.h"

#include <cstdlib>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"

namespace kestovar {

void run_refinement_stage(ModelStore& store) {
  // The refinement cycles and the starting-configuration search are not part of this
  // version: the job ends after reading and preparing its input.
  show_message(store,
               " => Refinement cycles are not available in this version: input checked only");
}

void write_final_output(ModelStore& store) {
  print_dimensions(store, unit::OUT);
}

void run_cyclic_mode(ModelStore& store) {
  show_message(store, " => The cyclic mode is not available in this version");
  stop_program(store, " Cyclic mode not available ");
}

}  // namespace kestovar
