// A model store prepared with one phase (symmetry, cell and metric) and a pattern range, as
// the control-file reader leaves it before the reflections of the phase are made.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "reflections/generation.h"
#include "reflections/phase_reflections.h"
#include "reflections/reflection.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"
#include "symmetry/cell.h"
#include "symmetry/expansion.h"
#include "text/fortran_format.h"

namespace kestovar::refl_test {

class ReflectionTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  void SetUp() override {
    ts->run.PcrCode = "job";
    ts->run.DatFile = "job";
    open_run_file(*ts, 2);
    RunSettings& s = ts->settings();
    s.Job = 0;
    s.Uni = 0;
    s.Lambda1 = s.Lambda2 = 1.5406f;
    s.Wdt = 8.0f;
    pattern(10.0f, 120.0f, 0.05f);
  }

  // Abscissas first, first + step, ..., last.
  void pattern(float first, float last, float step) {
    Pattern& p = ts->pattern();
    p.NPTS = static_cast<int>((last - first) / step + 1.5f);
    for (int i = 1; i <= p.NPTS; ++i) p.X[i] = first + static_cast<float>(i - 1) * step;
    p.Thmin = first;
    p.Thmax = p.X[p.NPTS];
    p.Step = step;
  }

  // Phase n with a symbol, a cell (constrained by the Laue class) and half-widths.
  void phase(const std::string& symbol, CellParameters cell, int n = 1) {
    Phase& ph = ts->phase(n);
    ph.SpaceGroupSymbol = text::pad(symbol, SYMBOL_LEN);
    ph.PhaseName = text::pad("Phase " + symbol, PHASE_NAME_LEN);
    SpaceGroup& g = ts->job->groups[n];
    ASSERT_TRUE(space_group_from_symbol(symbol, g)) << symbol;
    ASSERT_TRUE(constrain_cell(g.Laue, g.UniqueAxis, true, cell));
    ph.DirectCell = cell;
    const ReciprocalMetric m = reciprocal_metric(cell);
    const float v[6] = {m.A, m.B, m.C, m.D, m.E, m.F};
    for (int k = 0; k < 6; ++k) ph.slot[6 + k].value = v[k];
    ph.slot[1].value = 1.0f;
    ph.slot[3].value = 0.01f;
    ph.slot[4].value = -0.01f;
    ph.slot[5].value = 0.01f;
    if (ts->settings().Nph < n) ts->settings().Nph = n;
  }
  void vectors(std::vector<std::array<float, 3>> k, bool augmented, int n = 1) {
    Phase& ph = ts->phase(n);
    ph.KvecAugmented = augmented;
    int count = 0;
    for (const auto& v : k) {
      ++count;
      for (int i = 0; i < 3; ++i) ph.kvec[count][i].value = v[static_cast<size_t>(i)];
      if (augmented) {
        for (int i = 0; i < 3; ++i)
          ph.kvec[static_cast<int>(k.size()) + count][i].value = -v[static_cast<size_t>(i)];
      }
    }
    ph.Nvk = augmented ? 2 * count : count;
  }

  // Runs f; returns the stop text or "".
  std::string run(const std::function<void()>& f) {
    std::string stop;
    try {
      f();
    } catch (const StopError& e) {
      stop = e.text();
    }
    return stop;
  }
  std::string prepare(int n = 1) {
    return run([&] { prepare_reflections(*ts, n); });
  }
  std::string listing() {
    ts->files.close(unit::OUT);
    ts->files.close(unit::SUM);
    return dir.read("job.out");
  }
  bool shown(const std::string& line) const {
    for (const std::string& l : ts.window.lines)
      if (l == line) return true;
    return false;
  }

  ReflectionList& list() { return ts->job->reflections; }
  // The reflections of phase n in their stored order.
  std::vector<Reflection> of_phase(int n = 1) {
    ReflectionList& l = list();
    const int first = l.first_of(n);
    return {l.refl.begin() + first + 1, l.refl.begin() + first + 1 + l.Nref[n]};
  }
  static Hkl hkl(const Reflection& r) {
    const ReflectionCode c = unpack_reflection_code(r.Code);
    return {c.h, c.k, c.l};
  }
  static int wave(const Reflection& r) { return unpack_reflection_code(r.Code).wavelength; }
  // True when h k l (first wavelength, nuclear) is in the phase's list.
  bool has(const Hkl& h, int n = 1) {
    for (const Reflection& r : of_phase(n))
      if (hkl(r) == h && r.Ivk == 0 && wave(r) == 1) return true;
    return false;
  }
  // 2theta of a reflection for the first wavelength.
  float two_theta(const Hkl& h, int n = 1) {
    const Phase& ph = ts->phase(n);
    const float fh = static_cast<float>(h[0]), fk = static_cast<float>(h[1]),
                fl = static_cast<float>(h[2]);
    const float Q = ph.slot[6].value * fh * fh + ph.slot[7].value * fk * fk +
                    ph.slot[8].value * fl * fl + ph.slot[9].value * fk * fl +
                    ph.slot[10].value * fh * fl + ph.slot[11].value * fh * fk;
    const float lambda = ts->settings().Lambda1;
    return 2.0f * std::asin(0.5f * lambda * std::sqrt(Q)) * 57.29578f;
  }
};

}  // namespace kestovar::refl_test
