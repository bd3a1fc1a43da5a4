// Helpers for the phase-section tests: the lines of one phase with replaceable parts, and a
// fixture that reads them as the control-file reader does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controlfile/parameters.h"
#include "controlfile/phase_reader.h"
#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"
#include "text/fortran_format.h"

namespace kestovar::phase_test {

// The first flag line of a phase.
struct Flags {
  int Nat = 0, Dis = 0, Mom = 0;
  float Pr1 = 0, Pr2 = 0, Pr3 = 1;
  int Jbt = 0, Irf = 0, Isy = 0, Str = 0, Furth = 0;
  float ATZ = 0;
  int Nvk = 0, Npr = 0, More = 0;

  std::string line() const {
    using text::fmt_f;
    using text::fmt_i;
    return fmt_i(Nat, 4) + fmt_i(Dis, 4) + fmt_i(Mom, 4) + fmt_f(Pr1, 5, 1) + fmt_f(Pr2, 5, 1) +
           fmt_f(Pr3, 5, 1) + fmt_i(Jbt, 4) + fmt_i(Irf, 4) + fmt_i(Isy, 4) + fmt_i(Str, 4) +
           fmt_i(Furth, 4) + fmt_f(ATZ, 10, 2) + fmt_i(Nvk, 4) + fmt_i(Npr, 4) + fmt_i(More, 4);
  }
};

// The lines of one phase; empty parts are left out.
struct PhaseLines {
  std::string name = "Test phase";
  Flags flags;
  std::string second;            // second flag line
  std::string symmetry = "P 1";  // the space-group line and any operator lines
  std::string atoms;
  std::string scale = "1.0 0.5 0.3 0.01 0.02 0.03 0\n 11 21 31 41 51 61";
  std::string halfwidth = "0.1 -0.2 0.3 0.04 0.05 0.06 0.07 0\n 71 81 91 101 111 121 131";
  std::string right;  // right half of a split profile
  std::string cell = "5.0 6.0 7.0 90.0 95.0 90.0\n 141 151 161 0 171 0";
  std::string orientation = "0.1 0.2 0.3 0.4 0.5 0.6\n 0 0 0 0 0 0";
  std::string tail;  // the conditional lines and the restraints

  // Everything up to the atoms (what read_phase_header and read_atoms take).
  std::string header_text() const {
    std::string t = name + "\n" + flags.line() + "\n";
    for (const std::string* p : {&second, &symmetry, &atoms}) add(t, *p);
    return t;
  }
  std::string text() const {
    std::string t = header_text();
    for (const std::string* p : {&scale, &halfwidth, &right, &cell, &orientation, &tail})
      add(t, *p);
    return t;
  }
  // Appends a part as whole lines.
  static void add(std::string& t, const std::string& part) {
    if (part.empty()) return;
    t += part;
    if (part.back() != '\n') t += "\n";
  }
};

class PhaseTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  void SetUp() override {
    RunSettings& s = ts->settings();
    s.Job = 2;
    s.Npr = 6;  // internal value of the default profile (file value 5)
    s.Nph = 1;
  }

  // A fresh store for the next case of a table.
  void reset() {
    ts.window.lines.clear();
    ts.window.boxes.clear();
    ts.store = std::make_unique<ModelStore>(ts.window);
    SetUp();
  }

  void open(const std::string& text) {
    dir.write("job.pcr", text);
    ts->run.PcrCode = "job";
    ts->run.DatFile = "job";
    open_run_file(*ts, 1);
    open_run_file(*ts, 2);
  }
  std::string run(const std::function<void()>& f) {
    std::string stop;
    try {
      f();
    } catch (const StopError& e) {
      stop = e.text();
    }
    ts->files.close(unit::OUT);
    ts->files.close(unit::SUM);
    return stop;
  }
  // Reads the name, flags, symmetry and atoms of phase 1; the stop text or "".
  std::string read_header(const PhaseLines& p) {
    open(p.header_text());
    return run([&] {
      read_phase_header(*ts, 1);
      read_atoms(*ts, 1);
    });
  }
  // Reads the whole phase in the order of the control-file reader; the stop text or "".
  std::string read_phase(const PhaseLines& p) { return read_text(p.text()); }
  std::string read_text(const std::string& text) {
    open(text);
    return run([&] {
      read_phase_header(*ts, 1);
      read_atoms(*ts, 1);
      read_phase_parameters(*ts, 1);
      decode_atom_codewords(*ts, 1);
      decode_phase_codewords(*ts, 1);
      read_restraints(*ts, 1);
    });
  }
  // True when every line of the control file has been read.
  bool at_end() {
    std::string line;
    return !ts->files.read_line(unit::PCR, line);
  }
  std::string listing() { return dir.read("job.out"); }
  std::string summary() { return dir.read("job.sum"); }
  bool listed(const std::string& line) { return contains_line(listing(), line); }
  bool summarised(const std::string& line) { return contains_line(summary(), line); }
  static bool contains_line(const std::string& file, const std::string& line) {
    return ("\n" + file).find("\n" + line + "\n") != std::string::npos;
  }
  Phase& ph() { return ts->phase(1); }
  AtomSite& atom(int i) { return ts->job->atoms[ph().FirstAtom + i - 1]; }
};

}  // namespace kestovar::phase_test
