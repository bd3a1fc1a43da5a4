// Record reading from the intensity data file (unit 4) for the data readers: text records,
// fixed-format records, list-directed numbers across records, with the line count. Every
// failure shows the file name and line number, then stops with the readers' own texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/fortran_format.h"

namespace kestovar {

struct ModelStore;

inline constexpr const char* DATA_EOF_TEXT = " End of file *.DAT ";
inline constexpr const char* DATA_READ_ERROR_TEXT =
    "  Error on Intensity file, check your instr parameter! ";
inline constexpr const char* TOO_MANY_POINTS_TEXT = " Too many points ";

// The open data file on unit::DAT.
class DataFile {
 public:
  explicit DataFile(ModelStore& store);

  ModelStore& store() const { return store_; }
  // Number of the record read last (0 before the first one).
  int line_number() const { return line_; }
  // The counter itself, for the control-file line reader (it advances it over skipped lines).
  int& line_counter() { return line_; }

  // The next record; false at the end of the file.
  bool next(std::string& line);
  // The next record cut to `width` characters; stops with " End of file *.DAT " at the end.
  std::string line(size_t width = std::string::npos);
  // Steps back over the record read last.
  void back();

  // One record read with a fixed format.
  std::vector<text::Field> record(std::string_view format);
  // A record already read, decoded with a fixed format.
  std::vector<text::Field> parse(std::string_view format, std::string_view line);
  // `count` values read with a fixed format from as many records as it takes.
  std::vector<text::Field> records(std::string_view format, size_t count);
  // `count` reals (integers) read list-directed from as many records as it takes; a "/"
  // ends the list early, the missing values being 0.
  std::vector<double> numbers(size_t count);
  std::vector<long long> integers(size_t count);

  // The stops of the readers. Each first names the file and the line.
  [[noreturn]] void end_of_file();
  [[noreturn]] void read_error();
  [[noreturn]] void stop(std::string_view text);
  [[noreturn]] void stop_at(std::string_view text, int line);
  // " => Program can handle" ... and " Too many points ".
  [[noreturn]] void too_many_points(long long npts);

  // Output to the listing (unit 7), the summary (unit 8) and the .rpa file (unit 2) with a
  // Fortran format; every record of the format is written.
  void listing(std::string_view format, const std::vector<text::Item>& items = {});
  void summary(std::string_view format, const std::vector<text::Item>& items = {});
  void rpa(std::string_view format, const std::vector<text::Item>& items = {});

 private:
  void report(const std::string& what);
  void write(int unit, std::string_view format, const std::vector<text::Item>& items);

  ModelStore& store_;
  int line_ = 0;
};

// Helpers for the fields of a formatted read.
using text::field_int;
using text::field_real;
using text::field_text;

// List-directed values of one text; false when it holds fewer than `count` or a bad one.
bool list_reals(std::string_view s, size_t count, std::vector<double>& v);
bool list_integers(std::string_view s, size_t count, std::vector<long long>& v);
// Columns first..last (1-based) of a line, blank beyond its end.
std::string columns(std::string_view line, size_t first, size_t last);
bool starts_with(std::string_view line, std::string_view head);

// Number of points of a range: INT((thmax - thmin)/step + add) in single precision. A result
// that is not finite or outside the integer range gives INT_MIN, as the conversion of the
// processor does.
long long range_points(float thmin, float step, float thmax, float add = 1.5f);
// INT and NINT of a single-precision value with the same rule.
long long int_of(float v);
long long nint_of(float v);

}  // namespace kestovar
