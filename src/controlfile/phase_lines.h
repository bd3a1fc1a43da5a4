// Small helpers shared by the readers of the phase section: values of a decoded line,
// value and codeword lines stored into parameter slots, raw text lines, and echo pieces.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "controlfile/codeword.h"
#include "text/fortran_format.h"

namespace kestovar {

struct ModelStore;

// The values of one decoded control-file line; missing fields read as 0 or blanks.
struct LineValues {
  std::vector<text::Field> f;
  float r(size_t k) const;
  int i(size_t k) const;
  std::string a(size_t k, size_t width) const;  // blank-padded to width
};

// Reads the next control-file line against `spec` (the line reader, counting lines).
LineValues read_line_values(ModelStore& store, std::string_view spec);

// Reads the next raw text line of the control file, skipping lines that begin with "!";
// every line read is counted. False at the end of the file (PcrLine then numbers the line
// that is missing).
bool read_text_line(ModelStore& store, std::string& line);

// Pattern of n reals ("FFF...").
std::string reals_spec(size_t n);

// Reads a line of reals into the values (or codewords) of the 1-based slots `which`.
void read_slot_values(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which);
void read_slot_codes(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which);
// The value line followed by its codeword line.
void read_slots_with_codes(ModelStore& store, ParamSlot* slots, std::initializer_list<int> which);

// Values (or codewords) of the slots `which`, each as Fw.d.
std::string slot_values(const ParamSlot* slots, std::initializer_list<int> which, int w, int d);
std::string slot_codes(const ParamSlot* slots, std::initializer_list<int> which, int w, int d);

// Listing (unit 7), and listing plus summary (unit 8).
void listing(ModelStore& store, std::string_view line);
void listing_and_summary(ModelStore& store, std::string_view line);

}  // namespace kestovar
