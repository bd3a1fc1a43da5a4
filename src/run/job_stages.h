// The stages of a job after the control file has been read.
#pragma once

namespace kestovar {

struct ModelStore;

// The starting-configuration search (absolute Cry 2) or the refinement cycles.
void run_refinement_stage(ModelStore& store);

// The final output of a job that was not stopped by its cycles.
void write_final_output(ModelStore& store);

// The cyclic mode over a numbered series of data files.
void run_cyclic_mode(ModelStore& store);

}  // namespace kestovar
