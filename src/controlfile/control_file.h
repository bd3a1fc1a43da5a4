// Reading the whole control file of a job, and the starting template.
#pragma once

namespace kestovar {

struct ModelStore;

// Reads the control file (unit 1, at its first line) in its order: header, pattern section,
// data, phases, hard limits; every fault stops the job.
void read_control_file(ModelStore& store);

// Reads everything before the phases: header, pattern section, data and background file.
void read_header_section(ModelStore& store);

// Writes the template control file starting.pcr.
void write_starting_template(ModelStore& store);

}  // namespace kestovar
