// Helpers of the intensity-data reader tests: a store with the listing, summary and .rpa
// files open in a scratch directory, and a data file written there before reading.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/data_file.h"
#include "data/intensity_data.h"
#include "data/pattern.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"
#include "text/fortran_format.h"

namespace kestovar::test {

struct DataReader {
  TempDir dir;
  TestStore ts;

  explicit DataReader(int ins, int job = 0) {
    ts->run.DatFile = "d";
    ts->settings().Ins = ins;
    ts->settings().Job = job;
    ts->files.open(unit::OUT, "d.out", OpenStatus::Unknown);
    ts->files.open(unit::SUM, "d.sum", OpenStatus::Unknown);
    ts->files.open(unit::RPA, "d.rpa", OpenStatus::Unknown);
  }

  // Writes `content` as d.dat and reads it; returns the stop text, "" when it was read.
  std::string read(const std::string& content, const std::string& name = "d.dat") {
    dir.write(name, content);
    try {
      read_intensity_data(*ts);
    } catch (const StopError& e) {
      return e.text();
    }
    return "";
  }

  // Reads a file that exists already (the data code is its path without extension).
  std::string read_existing(const std::string& code) {
    ts->run.DatFile = code;
    try {
      read_intensity_data(*ts);
    } catch (const StopError& e) {
      return e.text();
    }
    return "";
  }

  const Pattern& p() { return ts->pattern(); }
  std::string listing() const { return dir.read("d.out"); }
  std::string summary() const { return dir.read("d.sum"); }
  std::string rpa() const { return dir.read("d.rpa"); }
  // Every line shown in the text window, joined by newlines.
  std::string screen() const {
    std::string s;
    for (const std::string& l : ts.window.lines) s += l + "\n";
    return s;
  }
};

// Joins the records of a Fortran output format into lines of a data file.
inline std::string lines(std::string_view format, const std::vector<text::Item>& items) {
  std::string s;
  for (const std::string& r : text::format_records(format, items)) s += r + "\n";
  return s;
}

inline std::string trimmed(const char* s) {
  return text::trim_right(s);
}

}  // namespace kestovar::test
