// The soft distance and moment restraints of a phase, with their echo.
#include <cstdlib>

#include "controlfile/line_reader.h"
#include "controlfile/phase_lines.h"
#include "controlfile/phase_reader.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "symmetry/space_group.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::fmt_f;
using text::fmt_i;

// A sigma of (nearly) zero would give the restraint an infinite weight.
float usable_sigma(float sigma) {
  return sigma < 1.0e-8f ? 0.001f : sigma;
}

void read_distance_restraints(ModelStore& store, Phase& ph, int n) {
  listing_and_summary(store, " => Constraints on distances for phase" + fmt_i(n, 3));
  for (int k = 1; k <= ph.Dis; ++k) {
    LineValues f = read_line_values(store, "44IFFFFF");
    DistanceRestraint& r = ph.Distance[k];
    r.Label1 = f.a(0, LABEL_LEN);
    r.Label2 = f.a(1, LABEL_LEN);
    r.Op = f.i(2);
    r.Trans = {f.r(3), f.r(4), f.r(5)};
    r.Dist = f.r(6);
    r.Sigma = usable_sigma(f.r(7));
    // The operator is a rotation of the fixed table (negative: times the inversion).
    if (r.Op == 0 || std::abs(r.Op) > N_ROTATIONS) {
      show_value(store, " => Illegal symmetry operator in a distance constraint: ", r.Op, 0, 1);
      const ControlReader& rd = store.job->reader;
      report_line_error(store, 2, rd.PcrLineBuf, 1, rd.PcrLine);
    }
    listing_and_summary(store, "    Distance between " + r.Label1 + " and " + r.Label2 + " is " +
                                   fmt_f(r.Dist, 9, 5) +
                                   " with standard error: " + fmt_f(r.Sigma, 9, 5));
    listing(store, " -> The following operation will be applied to the second atom:");
    listing(store, "    ITnum  Rotation part       Associated Translation");
    listing(store, "     (" + fmt_i(listing_number(r.Op), 2) + ") " +
                       std::string(rotation_symbol(r.Op)) + " + {" + fmt_f(r.Trans[0], 8, 4) +
                       fmt_f(r.Trans[1], 8, 4) + fmt_f(r.Trans[2], 8, 4) + "}");
    write_unit(store, unit::SUM, "    (See output file *.OUT for symmetry details)");
  }
}

void read_moment_restraints(ModelStore& store, Phase& ph, int n) {
  listing_and_summary(store, " => Constraints on magnetic moments for phase" + fmt_i(n, 3));
  for (int k = 1; k <= ph.Mom; ++k) {
    LineValues f = read_line_values(store, "2FF");
    MomentRestraint& r = ph.Moment[k];
    r.Prefix = f.a(0, 2);
    r.Moment = f.r(1);
    r.Sigma = usable_sigma(f.r(2));
    listing_and_summary(store, "    Moment of " + r.Prefix + " is " + fmt_f(r.Moment, 8, 3) +
                                   " with standard error: " + fmt_f(r.Sigma, 8, 5));
    listing_and_summary(store, "");
  }
}

}  // namespace

void read_restraints(ModelStore& store, int n) {
  Phase& ph = store.phase(n);
  if (ph.Dis != 0) read_distance_restraints(store, ph, n);
  if (ph.Mom != 0) read_moment_restraints(store, ph, n);
}

}  // namespace kestovar
