#include "reflections/reflection_file.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "reflections/generation.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::fmt_f;
using text::fmt_i;

constexpr const char* kVectorCountLabel = " Number of propagation vectors:";  // 31 characters

[[noreturn]] void read_error(ModelStore& store, int line) {
  store.files.close(unit::HKL_IN);
  show_value(store, " Error reading the reflection file at line:", line, 0.0f, 1);
  stop_program(store, " Error reading the reflection file");
}

// Number of reals after the multiplicity for the phase's Irf.
int values_per_line(const Phase& ph) {
  const int irf = std::abs(ph.Irf);
  if (irf == 1) return ph.Sol == 1 ? 1 : 0;
  if (irf == 2) return 1;
  return 2;
}

}  // namespace

void read_reflection_file(ModelStore& store, int phase) {
  Phase& ph = store.job->phases[phase];
  const SpaceGroup& g = store.job->groups[phase];
  const RunSettings& s = store.job->settings;
  ReflectionList& list = store.job->reflections;
  const int u = unit::HKL_IN;

  show_message(store, " => Reading reflections");
  open_run_file(store, 6, 1, phase);
  int lineno = 0;
  std::string line;
  auto next = [&]() {
    if (!store.files.read_line(u, line)) return false;
    ++lineno;
    return true;
  };
  if (!next() || !next()) read_error(store, lineno + 1);  // title and second header line
  write_unit(store, unit::OUT,
             " => Given Laue symmetry " + std::string(laue_class_name(g.Laue)) +
                 " Indices are read from file");
  const int irf = std::abs(ph.Irf);
  if (irf == 3)
    write_unit(store, unit::OUT, " => Reflection list & partial structure factors read from file");

  const int nvk = std::min(ph.Nvk, NEQV);
  if (nvk > 0) {
    int count = -1;
    if (next()) {
      try {
        auto f = text::read_formatted("(31X,I3)", line);
        if (!f.empty()) count = static_cast<int>(f[0].i);
      } catch (const text::FormatError&) {
        count = -1;
      }
    }
    if (count != nvk) {
      store.files.close(u);
      show_message(store, " => Header: " + line);
      stop_program(store, " Wrong number of k-vectors!! ");
    }
    for (int j = 1; j <= nvk; ++j) {
      if (!next()) read_error(store, lineno + 1);
      std::vector<double> v;
      try {
        v = text::list_numbers(line, 4);
      } catch (const text::FormatError&) {
        read_error(store, lineno);
      }
      if (v.size() < 4 || std::fabs(v[0]) > 1.0e6) read_error(store, lineno);
      bool differs = false;
      for (int i = 0; i < 3; ++i)
        if (std::fabs(static_cast<float>(v[static_cast<size_t>(i) + 1]) - ph.kvec[j][i].value) >=
            1.0e-5f)
          differs = true;
      if (differs)
        show_value(store, " Warning! difference between read and supplied K-vectors:",
                   static_cast<int>(v[0]), 0.0f, 1);
    }
  }

  list.Friedel = friedel_factor(g.Laue);
  const PlacementContext c = placement_context(store, phase);
  const int nvalues = values_per_line(ph);
  const size_t needed = 3 + (nvk > 0 ? 1 : 0) + 1 + static_cast<size_t>(nvalues);
  const ReciprocalMetric m{ph.slot[6].value, ph.slot[7].value,  ph.slot[8].value,
                           ph.slot[9].value, ph.slot[10].value, ph.slot[11].value};
  const float scale = ph.slot[1].value;
  while (next()) {
    if (text::trim(line).empty()) continue;
    std::vector<double> v;
    try {
      v = text::list_numbers(line, needed);
    } catch (const text::FormatError&) {
      read_error(store, lineno);
    }
    if (v.size() < needed) read_error(store, lineno);
    size_t at = 0;
    auto integer = [&](double x) {
      if (std::fabs(x - std::round(x)) > 1.0e-6 || std::fabs(x) > 1.0e6) read_error(store, lineno);
      return static_cast<int>(std::lround(x));
    };
    Hkl hkl{};
    for (int i = 0; i < 3; ++i) {
      hkl[static_cast<size_t>(i)] = integer(v[at++]);
      if (std::abs(hkl[static_cast<size_t>(i)]) > MAX_PACKED_INDEX) read_error(store, lineno);
    }
    const int ivk = nvk > 0 ? integer(v[at++]) : 0;
    if (ivk < 0 || ivk > nvk) read_error(store, lineno);
    const int mult = integer(v[at++]);
    if (mult < 1) read_error(store, lineno);
    float hr[3];
    for (int i = 0; i < 3; ++i)
      hr[i] = static_cast<float>(hkl[static_cast<size_t>(i)]) +
              (ivk > 0 ? ph.kvec[ivk][i].value : 0.0f);
    const float Q = m.A * hr[0] * hr[0] + m.B * hr[1] * hr[1] + m.C * hr[2] * hr[2] +
                    m.D * hr[1] * hr[2] + m.E * hr[0] * hr[2] + m.F * hr[0] * hr[1];

    const int made = place_reflection(store, c, hkl, ivk, Q, mult);
    const int last = list.first_of(phase) + list.Nref[phase];
    for (int n = last - made + 1; n <= last; ++n) {
      Reflection& r = list.refl[n];
      const int wave = unpack_reflection_code(r.Code).wavelength;
      if (irf == 1 && nvalues == 1) {
        r.PhaseAngle = static_cast<float>(v[at]);
      } else if (irf == 2) {
        const float value = static_cast<float>(v[at]);
        r.FileValue[0] = value;
        const int jbt = ph.Jbt;
        if (jbt == 2 || jbt == 3) {
          // Starting |F|^2 of an integrated intensity: I / (scale x Lp x correction x mult),
          // the correction being 1 until the corrections are computed.
          const float weight = (jbt == 2 && wave == 2) ? s.Ratio : 1.0f;
          const float divisor = scale * r.LpMult * static_cast<float>(mult);
          r.FsqRaw = std::fabs(divisor) > 1.0e-30f ? value * weight / divisor : 0.0f;
        } else if (jbt == -2 || jbt == -3) {
          r.FsqRaw = value * value;
        }
      } else if (irf == 3) {
        r.Apart = static_cast<float>(v[at]);
        r.Bpart = static_cast<float>(v[at + 1]);
      }
    }
  }
  store.files.close(u);
  apply_multiplicities(list, phase);
  sort_phase_reflections(list, phase);
  write_unit(store, unit::OUT,
             " => Number of reflections read for phase" + fmt_i(phase, 2) + ": " +
                 fmt_i(list.Nref[phase], 6));
}

void write_reflection_file(ModelStore& store, int phase) {
  const Phase& ph = store.job->phases[phase];
  const SpaceGroup& g = store.job->groups[phase];
  const ReflectionList& list = store.job->reflections;
  const int u = unit::HKL_PHASE;
  open_run_file(store, 10, 1, phase);
  const int nvk = std::min(ph.Nvk, NEQV);
  store.files.write_line(u, text::trim_right(ph.PhaseName));
  store.files.write_line(u, " Reflections of " +
                                text::trim(g.symbol.empty() ? ph.SpaceGroupSymbol : g.symbol) +
                                (nvk > 0 ? ":   h   k   l ivk mult" : ":   h   k   l mult"));
  if (nvk > 0) {
    store.files.write_line(u, kVectorCountLabel + fmt_i(nvk, 3));
    for (int j = 1; j <= nvk; ++j)
      store.files.write_line(u, fmt_i(j, 3) + fmt_f(ph.kvec[j][0].value, 12, 6) +
                                    fmt_f(ph.kvec[j][1].value, 12, 6) +
                                    fmt_f(ph.kvec[j][2].value, 12, 6));
  }
  std::set<std::tuple<int, int, int, int>> written;
  const int first = list.first_of(phase);
  for (int n = first + 1; n <= first + list.Nref[phase]; ++n) {
    const Reflection& r = list.refl[n];
    const ReflectionCode c = unpack_reflection_code(r.Code);
    if (!written.insert({c.h, c.k, c.l, r.Ivk}).second) continue;
    std::string text = fmt_i(c.h, 4) + fmt_i(c.k, 4) + fmt_i(c.l, 4);
    if (nvk > 0) text += fmt_i(r.Ivk, 4);
    text += fmt_i(r.Mult, 5);
    store.files.write_line(u, text);
  }
  store.files.close(u);
}

}  // namespace kestovar
