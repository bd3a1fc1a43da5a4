// Record-by-record reading of the auxiliary files named by the control file (numerical
// profile, intensity corrections, background).
#pragma once

#include <string>

namespace kestovar {

struct ModelStore;

// An open auxiliary file on `unit`. A fault shows `label`, the file name and the line, closes
// the file and stops with `stop_text`.
struct AuxFile {
  ModelStore& store;
  int unit;
  std::string label;
  std::string stop_text;
  int line = 0;

  // The next record; false at the end of the file.
  bool next(std::string& record);
  [[noreturn]] void fail_at_line();
  [[noreturn]] void fail_at_end();

 private:
  [[noreturn]] void fail(const std::string& what);
};

}  // namespace kestovar
