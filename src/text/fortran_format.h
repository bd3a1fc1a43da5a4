// Fortran-style formatted text input and output.
//
// Output: a format text such as "(1X,'Step:',F8.4,2(I5,3X),E12.4,A,A10,/,5X)" applied to a
// list of values gives one or more records, with the results a Fortran run time gives:
// right alignment, rounding to nearest, a field too narrow printed as w asterisks,
// E w.d as 0.1234E+02, and a list longer than its layout continuing on a new record with
// the repeated group closed last before the final parenthesis, with its repeat count (or the
// whole format when it has no group).
//
// Input: a runtime format text such as "(I4,F8.0,2x,A4)" read from one record; fields are taken
// by column, blank fields read as zero (A: blanks), blanks inside numeric fields are ignored
// (BZ reads them as zeros), F w.d keeps a decimal point that is present and otherwise inserts d
// implied decimals, exponents are E, D or Q (either case) or a sign alone ("1.0-3"), a record
// shorter than the format reads as blanks, and a value that does not fit its descriptor throws
// FormatError naming the field text and the descriptor ("bad integer 'x12' for I4").
//
// Format texts: I, F, E, D, G, A data descriptors (Iw.m, Ew.dEe, Gw.dEe), nX, Tn, TLn, TRn, "/",
// ":", quoted literals ('it''s' or "..."), nH Hollerith text, S/SP/SS, BN/BZ, groups n(...) and
// *(...); blanks are ignored and commas are optional; text after the final ")" is ignored.
// Scale factors (nP) are not supported.
//
// List-directed reading splits a line into numbers and words at blanks, TABs and commas.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kestovar::text {

// A malformed format text, or a field that cannot be read with its descriptor.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One value of an output list.
using Item = std::variant<long long, double, std::string>;

// The single edit descriptors. A value that does not fit gives w asterisks; w = 0 (I and F only)
// gives the shortest form. Bad widths throw FormatError.
std::string fmt_i(long long value, int w);             // Iw
std::string fmt_i(long long value, int w, int m);      // Iw.m: at least m digits
std::string fmt_f(double value, int w, int d);         // Fw.d
std::string fmt_e(double value, int w, int d);         // Ew.d, 0.dddE+xx (0.ddd+xxx beyond 99)
std::string fmt_e(double value, int w, int d, int e);  // Ew.dEe, e exponent digits
std::string fmt_d(double value, int w, int d);         // Dw.d, 0.dddD+xx
std::string fmt_g(double value, int w, int d);         // Gw.d: F form plus 4 blanks, or Ew.d
std::string fmt_a(std::string_view value, int w);      // Aw: first w characters, or right-aligned

// Applies an output format to a list; returns the records. Output stops at the first data
// descriptor (or the end of the format) after the last item, so literals before it are written.
// F, E, D and G take integers too; I with a real value, A with a number, or a number descriptor
// with text throws FormatError.
std::vector<std::string> format_records(std::string_view format, const std::vector<Item>& items);
// The same, the records joined by '\n' (no final line end).
std::string format(std::string_view format, const std::vector<Item>& items);

// One value read by a formatted read.
struct Field {
  enum class Kind { Integer, Real, Text };
  Kind kind = Kind::Integer;
  long long i = 0;
  double r = 0;
  std::string a;
};

// Reads one record with a runtime format: one Field per I, F, E, D, G or A descriptor, in order
// (I gives Integer, A Text, the others Real). Literal and X items skip columns; A without a
// width takes the rest of the record. Throws FormatError on a bad format, a bad field, or a
// "/" that asks for a second record before the last field.
std::vector<Field> read_formatted(std::string_view format, std::string_view record);

// Reads `count` fields, taking as many records as the format asks for (a format with "/" or a
// list longer than the format consumes more records). `next_record` supplies them; it returns
// false at end of input. Throws FormatError when the input ends before the last field; records
// that a "/" after the last field asks for are skipped when they exist.
std::vector<Field> read_formatted_records(std::string_view format, size_t count,
                                          const std::function<bool(std::string&)>& next_record);

// Values of a formatted read by position, converted to the kind the caller needs; a field
// that is not there reads as 0 or blank. Reals are truncated toward zero and clamped.
int field_int(const std::vector<Field>& fields, size_t k);
float field_real(const std::vector<Field>& fields, size_t k);
std::string field_text(const std::vector<Field>& fields, size_t k);

// List-directed reading: the tokens of a line, separated by blanks, TABs and commas.
// A "/" ends the list; "n*value" repeats a value; a quoted string ('...' or "...", a doubled
// quote standing for one) is one token, given without its quotes. A null value (two commas,
// a leading comma, or "n*" alone) gives an empty token.
std::vector<std::string> list_tokens(std::string_view line);
// Parses a list-directed number (1, -1.5, .5, 1.e3, 1.0D-3, 1.0-3, +2). False when the token is
// not a number, or is out of range.
bool parse_real(std::string_view token, double& value);
bool parse_integer(std::string_view token, long long& value);
// Reads up to `count` numbers from a line, list-directed; throws FormatError for a
// non-numeric token. Fewer tokens give a shorter vector; a null value reads as 0.
std::vector<double> list_numbers(std::string_view line, size_t count = SIZE_MAX);

// Reads one line, accepting LF and CRLF line ends and a last line without a line end.
// False at end of input.
bool get_line(std::istream& in, std::string& line);

// Helpers for fixed-length text fields.
std::string trim_right(std::string_view s);
std::string trim(std::string_view s);
std::string pad(std::string_view s, size_t width);  // cut or blank-padded to width

}  // namespace kestovar::text
