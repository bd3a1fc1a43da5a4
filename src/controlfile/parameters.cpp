#include "controlfile/parameters.h"

#include <algorithm>
#include <cmath>

#include "controlfile/line_reader.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

void decode_checked(ModelStore& store, ParamSlot& slot) {
  decode_slot(slot);
  if (slot.ParNo > MSZ) {
    show_value(store, "                        Error in a code: ", 0, slot.code, 2);
    show_value(store, "    The maximum number of parameters is: ", MSZ, 0, 1);
    stop_program(store, " Error in a code ");
  }
}

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.29578f;

}  // namespace

void decode_global_codewords(ModelStore& store) {
  RunSettings& s = store.settings();
  for (int k = 1; k <= NGL; ++k) decode_checked(store, s.Global[k]);
}

void decode_phase_codewords(ModelStore& store, int n) {
  Phase& ph = store.phase(n);
  for (int k = 1; k <= MPAR; ++k) decode_checked(store, ph.slot[k]);
  for (int v = 1; v <= std::min(std::abs(ph.Nvk), NEQV); ++v)
    for (ParamSlot& c : ph.kvec[v]) decode_checked(store, c);
}

void complete_imaginary_moments(ModelStore& store, int n) {
  Phase& ph = store.phase(n);
  if (ph.Hel != 1) return;
  const float ca = std::cos(ph.DirectCell[3] * kDegToRad);
  const float cb = std::cos(ph.DirectCell[4] * kDegToRad);
  const float cg = std::cos(ph.DirectCell[5] * kDegToRad);
  for (int a = ph.FirstAtom; a < ph.FirstAtom + ph.Nat; ++a) {
    auto& sl = store.job->atoms[a].slot;
    if (ph.Jbt == 1 && sl[8].ParNo != 0) {
      const float rx = sl[6].value, ry = sl[7].value, rz = sl[8].value;
      const float ix = sl[9].value, iy = sl[10].value;
      const float den = rz + rx * cb + ry * ca;
      // Without a solution (the real part has no component that can absorb the product)
      // the control-file value is kept.
      if (std::fabs(den) > 1.0e-12f) {
        sl[11].value =
            -(rx * ix + ry * iy + (ry * ix + rx * iy) * cg + rz * (ix * cb + iy * ca)) / den;
        sl[11].ParNo = 0;
        sl[11].Mult = 0.0f;
        sl[11].code = 0.0f;
      }
    } else if (ph.Jbt == -1 && sl[7].ParNo != 0) {
      const float rphi = sl[7].value, rtheta = sl[8].value, itheta = sl[11].value;
      if (std::fabs(rtheta - itheta) <= 90.0f) {
        const float tr = std::tan(rtheta * kDegToRad), ti = std::tan(itheta * kDegToRad);
        const float prod = (tr != 0.0f && ti != 0.0f) ? -1.0f / (tr * ti) : 2.0f;
        if (std::fabs(prod) <= 1.0f) sl[10].value = rphi + std::acos(prod) * kRadToDeg;
      } else {
        sl[10].value = rphi;
        sl[11].value = rtheta + 90.0f;
      }
      sl[10].ParNo = 0;
      sl[10].Mult = 0.0f;
      sl[10].code = 0.0f;
    }
  }
}

void decode_atom_codewords(ModelStore& store, int n) {
  Phase& ph = store.phase(n);
  const int ajbt = std::abs(ph.Jbt);
  if (ajbt == 2 || ajbt == 3) return;
  ph.AtomExtras = 0;
  for (int a = ph.FirstAtom; a < ph.FirstAtom + ph.Nat; ++a) {
    AtomSite& at = store.job->atoms[a];
    if (at.N_t == 2 || at.N_t == 3) ph.AtomExtras = 1;
    if (at.N_t == 4) ph.AtomExtras = 3;
    for (int k = 1; k <= NAT_P; ++k) {
      decode_checked(store, at.slot[k]);
      if (k >= 9 && k <= 11 && at.slot[k].value != 0.0f) ph.AtomExtras = 2;
    }
  }
  complete_imaginary_moments(store, n);
  if (ajbt == 4) ph.AtomExtras = 1;
}

void read_hard_limits(ModelStore& store) {
  RunSettings& s = store.settings();
  ParameterLimits& lim = store.job->limits;
  for (int k = 1; k <= std::min(s.NPAR, MSZ); ++k) {
    lim.HasLimits[k] = 0;
    lim.Low[k] = lim.High[k] = 0.0f;
  }
  write_unit(store, unit::OUT, "");
  write_unit(store, unit::OUT, " => The following parameter limits have been read:");
  write_unit(store, unit::OUT, "");
  int largest = 0;
  for (int i = 1; i <= s.Nre; ++i) {
    auto f = read_pcr_line(store, "IFF");
    const int k = text::field_int(f, 0);
    const float lo = text::field_real(f, 1);
    const float hi = text::field_real(f, 2);
    if (k < 1 || k > MSZ) {
      show_value(store, " => Illegal parameter number in a limits line: ", k, 0, 1);
      report_line_error(store, 2, store.job->reader.PcrLineBuf, 1, store.job->reader.PcrLine);
    }
    lim.HasLimits[k] = 1;
    lim.Low[k] = lo;
    lim.High[k] = hi;
    largest = std::max(largest, k);
    write_unit(store, unit::OUT,
               "  -> Parameter no.: " + text::fmt_i(k, 4) + " Limits: " + text::fmt_f(lo, 10, 4) +
                   text::fmt_f(hi, 10, 4));
  }
  if (s.Cry == 2) s.NPAR = largest;
}

void check_parameter_numbers(ModelStore& store) {
  RunSettings& s = store.settings();
  if (std::abs(s.Job) >= 2 || s.Cry == 2) return;
  JobRecords& job = *store.job;
  std::vector<char> used(static_cast<size_t>(MSZ) + 2, 0);
  auto mark = [&](int p) {
    if (p >= 1 && p <= MSZ) used[static_cast<size_t>(p)] = 1;
  };
  for (int k = 1; k <= NGL; ++k) mark(s.Global[k].ParNo);
  for (int n = 1; n <= s.Nph; ++n) {
    const Phase& ph = job.phases[n];
    for (int k = 1; k <= MPAR; ++k) mark(ph.slot[k].ParNo);
    // Parameters that drive atoms of the phase, each counted once however many values
    // it ties together.
    int atomic = 0;
    std::vector<char> in_atoms(static_cast<size_t>(MSZ) + 2, 0);
    for (int a = ph.FirstAtom; a < ph.FirstAtom + ph.Nat; ++a)
      for (int k = 1; k <= NAT_P; ++k) {
        const int p = job.atoms[a].slot[k].ParNo;
        if (p >= 1 && p <= std::min(s.NPAR, MSZ) && !in_atoms[static_cast<size_t>(p)]) {
          in_atoms[static_cast<size_t>(p)] = 1;
          ++atomic;
        }
        mark(p);
      }
    job.phases[n].AtomicRefined = atomic;
    for (int v = 1; v <= std::min(std::abs(ph.Nvk), NEQV); ++v)
      for (const ParamSlot& c : ph.kvec[v]) mark(c.ParNo);
  }
  bool hole = false;
  for (int p = 1; p <= std::min(s.NPAR, MSZ); ++p) {
    if (used[static_cast<size_t>(p)]) continue;
    hole = true;
    show_value(store, " => Hole in the matrix!, missing element:", p, 0, 1);
    write_unit(store, unit::OUT,
               " => Hole in the matrix!, element " + text::fmt_i(p, 3) +
                   "in the Normal matrix is missing");
  }
  if (hole) stop_program(store, " Hole(s) in the Normal Matrix ");
}

}  // namespace kestovar
