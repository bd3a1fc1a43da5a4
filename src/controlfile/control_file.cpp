#include "controlfile/control_file.h"

#include <cmath>

#include "controlfile/aux_file.h"
#include "controlfile/header_reader.h"
#include "controlfile/line_reader.h"
#include "controlfile/parameters.h"
#include "controlfile/phase_reader.h"
#include "controlfile/reading_steps.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

void read_background_file(ModelStore& store) {
  Pattern& p = store.pattern();
  open_run_file(store, 12);
  AuxFile in{store, unit::BAC, " => Background file ", " End of file *.BAC "};
  std::string line;
  auto next = [&]() {
    if (!in.next(line)) in.fail_at_end();
  };
  next();  // title record
  int i = 0;
  while (i < p.NPTS) {
    next();
    if (p.ConstantStep) {
      std::vector<double> v;
      try {
        v = text::list_numbers(line);
      } catch (const text::FormatError&) {
        in.fail_at_line();
      }
      for (double x : v) {
        if (i >= p.NPTS) break;
        p.BackRead[++i] = static_cast<float>(x);
      }
    } else {
      try {
        auto f = text::read_formatted("(14X,F14.0)", line);
        p.BackRead[++i] = f.empty() ? 0.0f : static_cast<float>(f[0].r);
      } catch (const text::FormatError&) {
        in.fail_at_line();
      }
    }
  }
  store.files.close(in.unit);
}

void read_search_line(ModelStore& store) {
  RunSettings& s = store.settings();
  auto f = read_pcr_line(store, "IIII");
  auto gi = [&](size_t k) { return text::field_int(f, k); };
  s.Nconfg = gi(0);
  s.Nsolu = gi(1);
  s.Num_Ref = gi(2);
  s.Nscalef = gi(3);
  write_out_sum(store, "  => A number of " + text::fmt_i(s.Nconfg, 7) +
                           " random configurations will be tested on " + text::fmt_i(s.Num_Ref, 4) +
                           " observations");
  write_out_sum(store, "     The best " + text::fmt_i(s.Nsolu, 3) + " solutions will be printed");
  if (s.Nscalef != 0)
    write_out_sum(store, "     The scale factor will be calculated automatically");
}

}  // namespace

void read_header_section(ModelStore& store) {
  RunSettings& s = store.settings();
  read_title(store);
  read_job_line(store);
  initialise_element_tables(store);
  if (s.Npr == 8) read_shape_file(store);
  if (s.Cor != 0) read_correction_file(store);
  if (s.Res != 0 && s.Npr != 7) {
    show_message(store, " Illegal use of resolution function ");
    stop_box(store, " ===>>> Illegal use of resolution function!! ", 0);
    stop_program(store, "        NPROF must be equal to 7!  ");
  }
  if (s.Res != 0) read_resolution_name(store);
  check_header_limits(store);
  echo_conditions(store);
  read_output_flags(store);
  read_instrument_line(store);
  read_cycle_line(store);
  echo_instrument_and_cycles(store);
  read_background_points(store);
  read_excluded_regions(store);
  read_scattering_entries(store);
  if (s.Res != 0) read_resolution_file(store);
  read_npar(store);
  read_global_lines(store);
  read_pattern_data(store);
  const int nba = s.Nba * s.NbaSign;
  // The file background serves every job; the starting background of the Fourier
  // filtering only jobs on data, which have a residual to filter.
  if (nba == 1 || (nba == -2 && std::abs(s.Job) < 2)) read_background_file(store);
}

void read_control_file(ModelStore& store) {
  RunSettings& s = store.settings();
  read_header_section(store);
  for (int n = 1; n <= s.Nph; ++n) {
    show_value(store, " Reading parameters for phase:", n, 0, 1);
    read_phase_header(store, n);
    read_atoms(store, n);
    read_phase_parameters(store, n);
    decode_atom_codewords(store, n);
    decode_phase_codewords(store, n);
    read_restraints(store, n);
    prepare_phase_reflections(store, n);
    resolve_phase_scattering(store, n);
  }
  decode_global_codewords(store);
  if (s.Nre != 0) read_hard_limits(store);
  if (s.Cry == 2) read_search_line(store);
  show_message(store, " => End of preliminary calculations !");
  check_parameter_numbers(store);
  if (std::abs(s.Job) < 2) repair_zero_counts(store);
  if (store.pattern().NPTS + total_reflection_count(store) >= IDSZ)
    stop_program(store, " Too many reflections or too many points! ");
}

void write_starting_template(ModelStore& store) {
  stop_program(store, " The starting template is not available in this version ");
}

}  // namespace kestovar
