// The control-file header and pattern section: title, job line, output flags, instrument
// and cycle lines, background points, excluded regions, scattering entries, the number of
// refined parameters and the global lines, with their echo in the listing.
#pragma once

#include <string>
#include <vector>

namespace kestovar {

struct ModelStore;

void read_title(ModelStore& store);
void read_job_line(ModelStore& store);
void read_shape_file(ModelStore& store);
void read_correction_file(ModelStore& store);
void read_resolution_name(ModelStore& store);
void check_header_limits(ModelStore& store);
void echo_conditions(ModelStore& store);
void read_output_flags(ModelStore& store);
void echo_io_options(ModelStore& store);
void write_rpa_header(ModelStore& store);
void read_instrument_line(ModelStore& store);
void read_cycle_line(ModelStore& store);
void read_background_points(ModelStore& store);
void read_excluded_regions(ModelStore& store);
void read_scattering_entries(ModelStore& store);
void read_npar(ModelStore& store);
void read_global_lines(ModelStore& store);
void echo_instrument_and_cycles(ModelStore& store);

// The intensity data and what follows them: corrections, unit weights, step-reduction note,
// the range echo; for a pattern calculation the abscissas are built instead.
void read_pattern_data(ModelStore& store);
void apply_intensity_corrections(ModelStore& store);
// Replaces zero variances (intensity 1, variance 1E6) and reports them.
void repair_zero_counts(ModelStore& store);

// The profile description lines of the listing for a file value of Npr.
std::vector<std::string> profile_description(int file_npr);
// The echo line of a data layout, empty for an invalid one.
std::string instrument_echo(int ins);

}  // namespace kestovar
