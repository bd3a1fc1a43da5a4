// The control-file line reader: fetches the next line that is neither a comment ("!" in
// column 1) nor blank, keeps the physical line number, and decodes the line as free-format
// text against a field pattern (I integer, F real, digit d a word of at most d characters),
// building a fixed-column format with which the values are read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/fortran_format.h"

namespace kestovar {

struct ModelStore;

// State of the line reader of the control file.
struct ControlReader {
  std::string PcrLineBuf;  // the current line (at most 132 characters)
  int PcrLine = 0;         // physical number of the current line, from 1 for the title
  std::string LineFormat;  // format built for the current line
  int LineColumn = 0;      // column reached by the decoder
  int LineError = 0;       // decoder result code
};

// Result of decoding a line against a pattern.
struct DecodedLine {
  std::string format;  // "(I4,F8.0,1x,A4)"
  int column = 0;      // column reached (the error marker goes under it)
  int error = 0;       // 0 when decoded
};

// Builds the format of `line` for the field pattern `spec` (the free-format decoder).
DecodedLine find_fmt(std::string_view line, std::string_view spec);

// The message text of a decoder error code.
std::string find_fmt_message(int error);

// Reads the next significant line of `unit` into store.job->reader.PcrLineBuf and decodes it
// against `spec`. Returns 0 with the format built, -1 at the end of the data file (unit 4),
// 8 when a numeric field is empty. Every other fault stops the job with the line report.
// `line_number` is advanced over skipped comment and blank lines.
int next_line(ModelStore& store, int unit, std::string& line, std::string_view spec,
              std::string& format, int& line_number);

// Writes the report of a decoder error (message, the line, a marker under the column) and
// stops with " => Please check your input file at line: ".
[[noreturn]] void report_line_error(ModelStore& store, int error, std::string_view line, int column,
                                    int line_number);

// Reads the next control-file line (unit 1) against `spec` and returns its values, in the
// order of the pattern. Advances PcrLine by one before reading (the caller does not).
// A line whose values cannot be converted stops with the line report.
std::vector<text::Field> read_pcr_line(ModelStore& store, std::string_view spec);

void upper_case(std::string& text);
void lower_case(std::string& text);

}  // namespace kestovar
