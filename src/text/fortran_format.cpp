// Fortran-style formatted input and output: the format parser, the walk through a format
// (shared by writing and reading), the edit descriptors and list-directed reading.
#include "text/fortran_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace kestovar::text {
namespace {

// Limits that keep junk formats and records from exhausting memory or time.
constexpr int kMaxFormatNumber = 1000000;             // largest width, count or repeat in a format
constexpr size_t kMaxRecordLength = size_t{1} << 24;  // columns of one output record
constexpr size_t kMaxOutput = size_t{1} << 28;        // characters of one formatted output
constexpr long long kMaxIdleSteps = 10000000;         // format steps without a data item
constexpr size_t kMaxFields = 1000000;                // fields of one read_formatted call
constexpr size_t kMaxListValues = size_t{1} << 20;    // values of one list-directed line

// ---------------------------------------------------------------------------------------------
// Parsed format

enum class NodeKind {
  Data,      // I F E D G A
  Literal,   // quoted text or Hollerith
  Skip,      // nX
  Tab,       // Tn
  TabLeft,   // TLn
  TabRight,  // TRn
  Slash,     // new record
  Colon,     // stop when the list is done
  Sign,      // S, SS (code '-') or SP (code '+')
  Blank,     // BN (code 'N') or BZ (code 'Z')
  Open,      // left parenthesis of a group
  Close,     // right parenthesis of a group
};

struct Node {
  NodeKind kind = NodeKind::Data;
  char code = 0;
  int repeat = 1;    // Data, Slash, Open (-1: unlimited group)
  int w = -1;        // Data: width, -1 when absent
  int d = -1;        // Data: decimals (F E D G) or minimum digits (I), -1 when absent
  int e = -1;        // Data: exponent digits (E G), -1 when absent
  int n = 0;         // Skip, Tab, TabLeft, TabRight: columns
  std::string text;  // Literal
  size_t match = 0;  // Open, Close: index of the partner
};

struct ParsedFormat {
  std::vector<Node> nodes;
  size_t reversion = 0;  // where a list longer than the format continues
};

std::string shorten(std::string_view s, size_t n = 80) {
  if (s.size() <= n) return std::string(s);
  return std::string(s.substr(0, n)) + "...";
}

std::string descriptor_text(const Node& nd) {
  std::string s(1, nd.code);
  if (nd.w >= 0) s += std::to_string(nd.w);
  if (nd.d >= 0) s += "." + std::to_string(nd.d);
  if (nd.e >= 0) s += "E" + std::to_string(nd.e);
  return s;
}

class FormatParser {
 public:
  explicit FormatParser(std::string_view text) : s_(text) {}

  ParsedFormat parse() {
    ParsedFormat f;
    if (peek() != '(') fail("a format begins with '('");
    ++p_;
    std::vector<size_t> open;  // inner groups not yet closed
    for (;;) {
      int c = peek();
      if (c < 0) fail("missing ')'");
      if (c == ',') {
        ++p_;
        continue;
      }
      if (c == ')') {
        ++p_;
        if (open.empty()) break;  // the final parenthesis; what follows it is ignored
        Node close;
        close.kind = NodeKind::Close;
        close.match = open.back();
        f.nodes[open.back()].match = f.nodes.size();
        if (open.size() == 1) f.reversion = open.back();
        open.pop_back();
        f.nodes.push_back(close);
        continue;
      }
      item(f, open);
    }
    return f;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw FormatError("bad format '" + shorten(s_) + "': " + what + " at column " +
                      std::to_string(std::min(p_, s_.size()) + 1));
  }

  void skip_blanks() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t')) ++p_;
  }

  // The next significant character, upper case, or -1 at the end.
  int peek() {
    skip_blanks();
    if (p_ >= s_.size()) return -1;
    return std::toupper(static_cast<unsigned char>(s_[p_]));
  }

  // An unsigned number; blanks between its digits are ignored as in any format text.
  bool number(int& value) {
    int c = peek();
    if (c < '0' || c > '9') return false;
    long long v = 0;
    while ((c = peek()) >= '0' && c <= '9') {
      v = v * 10 + (c - '0');
      if (v > kMaxFormatNumber) fail("number too large");
      ++p_;
    }
    value = static_cast<int>(v);
    return true;
  }

  int required_number(const char* what) {
    int v = 0;
    if (!number(v)) fail(std::string("missing ") + what);
    return v;
  }

  void item(ParsedFormat& f, std::vector<size_t>& open) {
    const size_t start = p_;
    int rep = 0;
    const bool has_rep = number(rep);
    int c = peek();
    bool unlimited = false;
    if (c == '*' && !has_rep) {
      ++p_;
      unlimited = true;
      c = peek();
      if (c != '(') fail("'*' must precede a group");
    }
    if (has_rep && rep == 0 && c != 'X') fail("zero repeat count");
    Node nd;
    switch (c) {
      case '(':
        ++p_;
        nd.kind = NodeKind::Open;
        nd.repeat = unlimited ? -1 : (has_rep ? rep : 1);
        open.push_back(f.nodes.size());
        break;
      case '\'':
      case '"':
        if (has_rep) fail("repeat count before a quoted text");
        nd.kind = NodeKind::Literal;
        nd.text = quoted();
        break;
      case 'H': {
        if (!has_rep) fail("H needs a count");
        ++p_;
        if (s_.size() - p_ < static_cast<size_t>(rep)) fail("Hollerith text runs past the end");
        nd.kind = NodeKind::Literal;
        nd.text = std::string(s_.substr(p_, static_cast<size_t>(rep)));
        p_ += static_cast<size_t>(rep);
        break;
      }
      case 'X':
        ++p_;
        nd.kind = NodeKind::Skip;
        nd.n = has_rep ? rep : 1;
        break;
      case '/':
        ++p_;
        nd.kind = NodeKind::Slash;
        nd.repeat = has_rep ? rep : 1;
        break;
      case ':':
        if (has_rep) fail("repeat count before ':'");
        ++p_;
        nd.kind = NodeKind::Colon;
        break;
      case 'T': {
        if (has_rep) fail("repeat count before T");
        ++p_;
        int c2 = peek();
        if (c2 == 'L' || c2 == 'R') {
          ++p_;
          nd.kind = c2 == 'L' ? NodeKind::TabLeft : NodeKind::TabRight;
          nd.n = required_number("column count after T");
        } else {
          nd.kind = NodeKind::Tab;
          nd.n = required_number("column after T");
          if (nd.n == 0) fail("T column 0");
        }
        break;
      }
      case 'S': {
        if (has_rep) fail("repeat count before S");
        ++p_;
        int c2 = peek();
        nd.kind = NodeKind::Sign;
        nd.code = '-';
        if (c2 == 'P') {
          nd.code = '+';
          ++p_;
        } else if (c2 == 'S') {
          ++p_;
        }
        break;
      }
      case 'B': {
        if (has_rep) fail("repeat count before B");
        ++p_;
        int c2 = peek();
        if (c2 != 'N' && c2 != 'Z') fail("BN or BZ expected");
        ++p_;
        nd.kind = NodeKind::Blank;
        nd.code = static_cast<char>(c2);
        break;
      }
      case 'P':
        fail("scale factors (P) are not supported");
      case 'I':
      case 'F':
      case 'E':
      case 'D':
      case 'G':
      case 'A':
        ++p_;
        nd.kind = NodeKind::Data;
        nd.code = static_cast<char>(c);
        nd.repeat = has_rep ? rep : 1;
        data_descriptor(nd);
        break;
      default:
        if (c < 0) fail("missing ')'");
        p_ = std::max(p_, start);
        fail(std::string("unexpected '") + static_cast<char>(c) + "'");
    }
    f.nodes.push_back(std::move(nd));
  }

  void data_descriptor(Node& nd) {
    const char c = nd.code;
    if (c == 'A') {
      int w = 0;
      if (number(w)) {
        if (w == 0) fail("A width 0");
        nd.w = w;
      }
      return;
    }
    if ((c == 'E') && (peek() == 'N' || peek() == 'S')) fail("EN and ES are not supported");
    nd.w = required_number("width");
    if (nd.w == 0 && c != 'I' && c != 'F') fail(std::string(1, c) + " width 0");
    if (c == 'I') {
      if (peek() == '.') {
        ++p_;
        nd.d = required_number("minimum digits");
        if (nd.w > 0 && nd.d > nd.w) fail("minimum digits exceed the width");
      }
      return;
    }
    if (peek() != '.') fail("missing '.d'");
    ++p_;
    nd.d = required_number("decimals");
    if ((c == 'E' || c == 'G') && peek() == 'E') {
      size_t q = p_ + 1;
      while (q < s_.size() && (s_[q] == ' ' || s_[q] == '\t')) ++q;
      if (q < s_.size() && s_[q] >= '0' && s_[q] <= '9') {
        p_ = q;
        nd.e = required_number("exponent digits");
        if (nd.e == 0) fail("exponent digits 0");
      }
    }
  }

  std::string quoted() {
    const char q = s_[p_++];
    std::string text;
    for (;;) {
      if (p_ >= s_.size()) fail("unterminated quoted text");
      char ch = s_[p_++];
      if (ch == q) {
        if (p_ < s_.size() && s_[p_] == q) {
          text.push_back(q);
          ++p_;
          continue;
        }
        return text;
      }
      text.push_back(ch);
    }
  }

  std::string_view s_;
  size_t p_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The walk through a format: data items, groups with their repeat counts, and reversion to the
// last top-level group (or to the start) when the list outlasts the format. The walk ends at the
// first data descriptor, colon or final parenthesis met once `count` items are done.

template <class Sink>
void walk(const ParsedFormat& f, size_t count, Sink& sink) {
  struct Frame {
    size_t open;
    long long left;
    size_t done_at_start;
  };
  std::vector<Frame> frames;
  const std::vector<Node>& nodes = f.nodes;
  size_t done = 0;
  size_t pc = 0;
  bool data_this_pass = false;
  long long idle = 0;
  for (;;) {
    if (++idle > kMaxIdleSteps) throw FormatError("format repeats without reaching a data item");
    if (pc >= nodes.size()) {
      if (done >= count) return;
      if (!data_this_pass) throw FormatError("format has no data descriptor for the list");
      sink.new_record();
      pc = f.reversion;
      data_this_pass = false;
      continue;
    }
    const Node& nd = nodes[pc];
    switch (nd.kind) {
      case NodeKind::Data:
        for (int r = 0; r < nd.repeat; ++r) {
          if (done >= count) return;
          sink.data(nd);
          ++done;
        }
        idle = 0;
        data_this_pass = true;
        ++pc;
        break;
      case NodeKind::Open:
        frames.push_back({pc, nd.repeat < 0 ? LLONG_MAX : nd.repeat, done});
        ++pc;
        break;
      case NodeKind::Close: {
        Frame& fr = frames.back();
        if (fr.left == LLONG_MAX && fr.done_at_start == done) {
          if (done >= count) return;
          throw FormatError("unlimited group without a data descriptor");
        }
        if (fr.left != LLONG_MAX) --fr.left;
        if (fr.left > 0) {
          fr.done_at_start = done;
          pc = fr.open + 1;
        } else {
          frames.pop_back();
          ++pc;
        }
        break;
      }
      case NodeKind::Colon:
        if (done >= count) return;
        ++pc;
        break;
      case NodeKind::Slash:
        for (int r = 0; r < nd.repeat; ++r) sink.new_record();
        idle += nd.repeat;
        ++pc;
        break;
      default:
        sink.control(nd);
        ++pc;
        break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Edit descriptors for output

std::string stars(int w) {
  return std::string(static_cast<size_t>(std::max(w, 0)), '*');
}

std::string right(std::string s, int w) {
  if (w <= 0) return s;
  if (s.size() > static_cast<size_t>(w)) return stars(w);
  return std::string(static_cast<size_t>(w) - s.size(), ' ') + s;
}

void check_width(int w, int d) {
  if (w < 0 || w > kMaxFormatNumber || d > kMaxFormatNumber)
    throw FormatError("bad field width " + std::to_string(w) + " or decimals " + std::to_string(d));
}

// Infinity and NaN as the Fortran run time writes them.
std::string non_finite(double v, int w, bool plus) {
  if (std::isnan(v)) return right("NaN", w);
  std::string sign = std::signbit(v) ? "-" : (plus ? "+" : "");
  if (w == 0 || static_cast<size_t>(w) >= sign.size() + 8) return right(sign + "Infinity", w);
  if (static_cast<size_t>(w) >= sign.size() + 3) return right(sign + "Inf", w);
  return stars(w);
}

// The exact decimal expansion of |v| rounded to nearest (ties to even), fixed or scientific.
std::string decimal(double v, int precision, bool scientific) {
  std::string buf(static_cast<size_t>(precision) + 340, '\0');
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                         scientific ? std::chars_format::scientific : std::chars_format::fixed,
                         precision);
  buf.resize(static_cast<size_t>(r.ptr - buf.data()));
  return buf;
}

std::string sign_of(double v, bool plus) {
  return std::signbit(v) ? "-" : (plus ? "+" : "");
}

// Sign plus body right-aligned in w columns; a leading "0." may lose its zero to fit.
std::string fit_with_optional_zero(const std::string& sign, std::string body, int w) {
  const bool optional_zero = body.size() >= 3 && body[0] == '0' && body[1] == '.';
  if (w == 0) {
    if (optional_zero) body.erase(0, 1);
    return sign + body;
  }
  const size_t width = static_cast<size_t>(w);
  if (sign.size() + body.size() <= width) return right(sign + body, w);
  if (optional_zero && sign.size() + body.size() - 1 <= width)
    return right(sign + body.substr(1), w);
  return stars(w);
}

std::string edit_i(long long v, int w, int m, bool plus) {
  check_width(w, m);
  unsigned long long mag =
      v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  std::string digits = (m == 0 && v == 0) ? std::string() : std::to_string(mag);
  if (m > 0 && digits.size() < static_cast<size_t>(m))
    digits.insert(0, static_cast<size_t>(m) - digits.size(), '0');
  std::string s = (v < 0 ? "-" : (plus ? "+" : "")) + digits;
  if (w == 0) return s;
  return right(s, w);
}

std::string edit_f(double v, int w, int d, bool plus) {
  check_width(w, d);
  if (d < 0) throw FormatError("F needs decimals");
  if (!std::isfinite(v)) return non_finite(v, w, plus);
  std::string body = decimal(v, d, false);
  if (d == 0) body += '.';
  return fit_with_optional_zero(sign_of(v, plus), body, w);
}

std::string edit_e(double v, int w, int d, int e, char letter, bool plus) {
  check_width(w, d);
  if (w == 0 || d <= 0) throw FormatError("E needs a width and at least one digit");
  if (e > kMaxFormatNumber) throw FormatError("bad exponent width");
  if (!std::isfinite(v)) return non_finite(v, w, plus);
  // d significant digits as d.ddde+xx, then shifted to 0.dddd with the exponent plus one.
  std::string sci = decimal(v, d - 1, true);
  const size_t epos = sci.find('e');
  std::string digits;
  for (size_t k = 0; k < epos; ++k)
    if (sci[k] != '.') digits.push_back(sci[k]);
  int x = 0;
  std::from_chars(sci.data() + epos + 2, sci.data() + sci.size(), x);
  if (sci[epos + 1] == '-') x = -x;
  if (v != 0) x += 1;
  const int ax = std::abs(x);
  const char xsign = x < 0 ? '-' : '+';
  std::string exponent;
  if (e > 0) {
    std::string xd = std::to_string(ax);
    if (xd.size() > static_cast<size_t>(e)) return stars(w);
    exponent =
        std::string(1, letter) + xsign + std::string(static_cast<size_t>(e) - xd.size(), '0') + xd;
  } else if (ax <= 99) {
    exponent = std::string(1, letter) + xsign + (ax < 10 ? "0" : "") + std::to_string(ax);
  } else if (ax <= 999) {
    exponent = std::string(1, xsign) + std::to_string(ax);
  } else {
    return stars(w);
  }
  return fit_with_optional_zero(sign_of(v, plus), "0." + digits + exponent, w);
}

double power_of_ten(int k) {
  double r = 1.0;
  for (int i = 0; i < std::abs(k); ++i) r *= 10;
  return k >= 0 ? r : 1.0 / r;
}

// Gw.d chooses the F form when 0.1 - 0.5e-(d+1) <= |v| < 10^d - 0.5, with F(w-n).(d-s) for a
// value of s integer digits followed by n blanks. The bounds are compared in double precision
// as the Fortran run time does, so a value equal to a rounded bound takes the upper side.
std::string edit_g(double v, int w, int d, int e, bool plus) {
  check_width(w, d);
  if (w == 0 || d <= 0) throw FormatError("G needs a width and at least one digit");
  if (!std::isfinite(v)) return non_finite(v, w, plus);
  const double m = std::fabs(v);
  int fdec = d - 1;  // decimals of the fixed form of zero
  if (m != 0) {
    const double exp_d = power_of_ten(d);
    const double r_sc = 1 - 0.5 / exp_d;
    volatile double temp = 0.1 * r_sc;
    if (m < temp || 0.5 >= exp_d - m) return edit_e(v, w, d, e, 'E', plus);
    int low = 0, high = d + 1, mid = 0, lbound = 0, ubound = d + 1;
    while (low <= high) {
      mid = (low + high) / 2;
      temp = power_of_ten(mid - 1) * r_sc;
      if (m < temp) {
        ubound = mid;
        if (ubound == lbound + 1) break;
        high = mid - 1;
      } else if (m > temp) {
        lbound = mid;
        if (ubound == lbound + 1) {
          ++mid;
          break;
        }
        low = mid + 1;
      } else {
        ++mid;
        break;
      }
    }
    fdec = d - mid + 1;
    if (fdec < 0) return edit_e(v, w, d, e, 'E', plus);
  }
  const int n = (e > 0 ? e : 2) + 2;  // blanks that stand for the exponent
  if (w - n <= 0) return stars(w);
  std::string fixed = edit_f(v, w - n, fdec, plus);
  if (fixed.find('*') != std::string::npos) return stars(w);
  return fixed + std::string(static_cast<size_t>(n), ' ');
}

std::string edit_a(std::string_view s, int w) {
  if (w < 0) return std::string(s);
  const size_t width = static_cast<size_t>(w);
  if (s.size() >= width) return std::string(s.substr(0, width));
  return std::string(width - s.size(), ' ') + std::string(s);
}

// ---------------------------------------------------------------------------------------------
// Output

class OutputSink {
 public:
  explicit OutputSink(const std::vector<Item>& items) : items_(items) {}

  void data(const Node& nd) {
    const Item& it = items_[next_++];
    put(edit(nd, it));
  }

  void new_record() {
    count(1);
    records_.push_back(std::move(cur_));
    cur_.clear();
    pos_ = 0;
  }

  void control(const Node& nd) {
    switch (nd.kind) {
      case NodeKind::Literal:
        put(nd.text);
        break;
      case NodeKind::Skip:
      case NodeKind::TabRight:
        move_to(pos_ + static_cast<size_t>(nd.n));
        break;
      case NodeKind::Tab:
        move_to(static_cast<size_t>(nd.n) - 1);
        break;
      case NodeKind::TabLeft:
        pos_ = pos_ > static_cast<size_t>(nd.n) ? pos_ - static_cast<size_t>(nd.n) : 0;
        break;
      case NodeKind::Sign:
        plus_ = nd.code == '+';
        break;
      default:
        break;
    }
  }

  std::vector<std::string> finish() {
    records_.push_back(std::move(cur_));
    return std::move(records_);
  }

 private:
  void count(size_t n) {
    total_ += n;
    if (total_ > kMaxOutput) throw FormatError("formatted output too long");
  }

  void move_to(size_t p) {
    if (p > kMaxRecordLength) throw FormatError("output record too long");
    pos_ = p;
  }

  void put(std::string_view text) {
    move_to(pos_ + text.size());
    pos_ -= text.size();
    if (cur_.size() < pos_) {
      count(pos_ - cur_.size());
      cur_.resize(pos_, ' ');
    }
    const size_t overlap = std::min(text.size(), cur_.size() - pos_);
    cur_.replace(pos_, overlap, text.substr(0, overlap));
    cur_.append(text.substr(overlap));
    count(text.size() - overlap);
    pos_ += text.size();
  }

  std::string edit(const Node& nd, const Item& it) const {
    const long long* iv = std::get_if<long long>(&it);
    const double* rv = std::get_if<double>(&it);
    const std::string* sv = std::get_if<std::string>(&it);
    const std::string what = descriptor_text(nd);
    switch (nd.code) {
      case 'I':
        if (iv) return edit_i(*iv, nd.w, nd.d, plus_);
        throw FormatError(std::string("cannot write ") + (rv ? "a real value" : "text") + " with " +
                          what);
      case 'A':
        if (sv) return edit_a(*sv, nd.w);
        throw FormatError("cannot write a number with " + what);
      case 'G':
        if (iv) return edit_i(*iv, nd.w, -1, plus_);
        if (sv) return edit_a(*sv, nd.w);
        return edit_g(*rv, nd.w, nd.d, nd.e, plus_);
      default: {
        if (sv) throw FormatError("cannot write text with " + what);
        const double v = iv ? static_cast<double>(*iv) : *rv;
        if (nd.code == 'F') return edit_f(v, nd.w, nd.d, plus_);
        return edit_e(v, nd.w, nd.d, nd.e, nd.code, plus_);
      }
    }
  }

  const std::vector<Item>& items_;
  size_t next_ = 0;
  std::vector<std::string> records_;
  std::string cur_;
  size_t pos_ = 0;
  size_t total_ = 0;
  bool plus_ = false;
};

// ---------------------------------------------------------------------------------------------
// Input

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The characters of a numeric field with blanks removed (BN) or, after the first non-blank,
// read as zeros (BZ).
std::string numeric_text(std::string_view field, bool blanks_are_zeros) {
  std::string s;
  s.reserve(field.size());
  for (char c : field) {
    if (is_blank(c)) {
      if (blanks_are_zeros && !s.empty()) s.push_back('0');
    } else {
      s.push_back(c);
    }
  }
  return s;
}

bool integer_text(std::string_view s, long long& value) {
  size_t k = 0;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  if (k == s.size()) return false;
  unsigned long long mag = 0;
  const unsigned long long limit = negative ? 0ULL - static_cast<unsigned long long>(LLONG_MIN)
                                            : static_cast<unsigned long long>(LLONG_MAX);
  for (; k < s.size(); ++k) {
    if (!is_digit(s[k])) return false;
    const unsigned digit = static_cast<unsigned>(s[k] - '0');
    if (mag > (limit - digit) / 10) return false;
    mag = mag * 10 + digit;
  }
  value = negative ? static_cast<long long>(0ULL - mag) : static_cast<long long>(mag);
  return true;
}

enum class RealStatus { Ok, Bad, OutOfRange };

// A Fortran real: [sign] digits [. digits] [exponent], the exponent a letter E, D or Q (either
// case) with an optional sign, or a sign alone, followed by digits. Without a decimal point the
// last `implied` digits are decimals. `lenient` accepts a sign or a point alone as zero.
RealStatus real_text(std::string_view s, int implied, bool lenient, double& value) {
  size_t k = 0;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  std::string digits;
  long long scale = 0;  // value = digits * 10^scale
  bool point = false;
  size_t mantissa_digits = 0;
  for (; k < s.size(); ++k) {
    const char c = s[k];
    if (is_digit(c)) {
      ++mantissa_digits;
      if (point) --scale;
      if (c != '0' || !digits.empty()) digits.push_back(c);  // leading zeros carry no digit
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) {
    if (k == s.size() && lenient) {  // "-" reads as 0, "-." as -0
      value = negative && point ? -0.0 : 0.0;
      return RealStatus::Ok;
    }
    return RealStatus::Bad;
  }
  if (!point) scale -= implied;
  if (k < s.size()) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[k])));
    if (c == 'E' || c == 'D' || c == 'Q')
      ++k;
    else if (c != '+' && c != '-')
      return RealStatus::Bad;
    bool xneg = false;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) xneg = s[k++] == '-';
    if (k == s.size()) return RealStatus::Bad;
    long long x = 0;
    for (; k < s.size(); ++k) {
      if (!is_digit(s[k])) return RealStatus::Bad;
      if (x < 1000000000) x = x * 10 + (s[k] - '0');
    }
    scale += xneg ? -x : x;
  }
  if (digits.empty()) {
    value = negative ? -0.0 : 0.0;
    return RealStatus::Ok;
  }
  const long long magnitude = scale + static_cast<long long>(digits.size()) - 1;
  if (magnitude > 400) return RealStatus::OutOfRange;
  if (magnitude < -400) {
    value = negative ? -0.0 : 0.0;
    return RealStatus::Ok;
  }
  std::string text = digits + "e" + std::to_string(scale);
  double v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return RealStatus::OutOfRange;
    v = 0;
  } else if (r.ec != std::errc() || !std::isfinite(v)) {
    return RealStatus::OutOfRange;
  }
  value = negative ? -v : v;
  return RealStatus::Ok;
}

class InputSink {
 public:
  InputSink(const std::function<bool(std::string&)>& next, std::string end_message)
      : next_(next), end_message_(std::move(end_message)) {}

  void data(const Node& nd) {
    fetch_pending(true);
    std::string_view field = take(nd.w);
    Field out;
    const std::string what = descriptor_text(nd);
    if (nd.code == 'A') {
      out.kind = Field::Kind::Text;
      out.a = std::string(field);
      if (nd.w > 0) out.a.resize(static_cast<size_t>(nd.w), ' ');
    } else if (nd.code == 'I') {
      out.kind = Field::Kind::Integer;
      const std::string s = numeric_text(field, zeros_);
      if (!s.empty() && !integer_text(s, out.i)) {
        const size_t first = (s[0] == '+' || s[0] == '-') ? 1 : 0;
        const bool too_long =
            s.size() > first && s.find_first_not_of("0123456789", first) == std::string::npos;
        throw FormatError((too_long ? "integer out of range '" : "bad integer '") +
                          shorten(trim(field)) + "' for " + what);
      }
    } else {
      out.kind = Field::Kind::Real;
      const std::string s = numeric_text(field, zeros_);
      if (!s.empty()) {
        RealStatus st = real_text(s, nd.d, true, out.r);
        if (st == RealStatus::Bad)
          throw FormatError("bad real '" + shorten(trim(field)) + "' for " + what);
        if (st == RealStatus::OutOfRange)
          throw FormatError("real out of range '" + shorten(trim(field)) + "' for " + what);
      }
    }
    fields_.push_back(std::move(out));
  }

  void new_record() {
    ++pending_;
    pos_ = 0;
  }

  void control(const Node& nd) {
    switch (nd.kind) {
      case NodeKind::Literal:
        pos_ += nd.text.size();
        break;
      case NodeKind::Skip:
      case NodeKind::TabRight:
        pos_ += static_cast<size_t>(nd.n);
        break;
      case NodeKind::Tab:
        pos_ = static_cast<size_t>(nd.n) - 1;
        break;
      case NodeKind::TabLeft:
        pos_ = pos_ > static_cast<size_t>(nd.n) ? pos_ - static_cast<size_t>(nd.n) : 0;
        break;
      case NodeKind::Blank:
        zeros_ = nd.code == 'Z';
        break;
      default:
        break;
    }
  }

  // Records that a "/" asked for after the last field are skipped when they exist.
  std::vector<Field> finish() {
    fetch_pending(false);
    return std::move(fields_);
  }

 private:
  void fetch_pending(bool required) {
    while (pending_ > 0) {
      if (!next_(record_)) {
        if (required) throw FormatError(end_message_);
        pending_ = 0;
        return;
      }
      --pending_;
    }
  }

  // The next w columns of the record, blank beyond its end; no width takes the rest.
  std::string_view take(int w) {
    const size_t start = std::min(pos_, record_.size());
    size_t width =
        w < 0 ? (pos_ < record_.size() ? record_.size() - pos_ : 0) : static_cast<size_t>(w);
    pos_ += width;
    return std::string_view(record_).substr(start, std::min(width, record_.size() - start));
  }

  const std::function<bool(std::string&)>& next_;
  std::string end_message_;
  std::string record_;
  size_t pos_ = 0;
  size_t pending_ = 1;
  bool zeros_ = false;
  std::vector<Field> fields_;
};

// Number of data items in one pass of the format (an unlimited group counted once).
size_t items_in_one_pass(const ParsedFormat& f) {
  std::vector<size_t> factors{1};
  size_t total = 0;
  for (const Node& nd : f.nodes) {
    if (nd.kind == NodeKind::Open) {
      const size_t r = nd.repeat < 0 ? 1 : static_cast<size_t>(nd.repeat);
      factors.push_back(std::min(factors.back() * r, kMaxFields + 1));
    } else if (nd.kind == NodeKind::Close) {
      factors.pop_back();
    } else if (nd.kind == NodeKind::Data) {
      total += std::min(factors.back() * static_cast<size_t>(nd.repeat), kMaxFields + 1);
      if (total > kMaxFields) throw FormatError("format reads too many fields");
    }
  }
  return total;
}

// ---------------------------------------------------------------------------------------------
// List-directed input

// Splits a line into values; a null value (two commas, a leading comma, "n*" alone) is "".
// Stops after `limit` values or at a "/".
std::vector<std::string> split_list(std::string_view line, size_t limit) {
  std::vector<std::string> out;
  size_t k = 0;
  const size_t n = line.size();
  bool need_value = true;  // at the start or just after a comma
  auto emit = [&](const std::string& v, unsigned long long r) {
    for (unsigned long long j = 0; j < r && out.size() < limit; ++j) out.push_back(v);
  };
  auto is_sep = [&](char c) { return is_blank(c) || c == ',' || c == '/'; };
  while (k < n && out.size() < limit) {
    while (k < n && is_blank(line[k])) ++k;
    if (k >= n || line[k] == '/') break;
    if (line[k] == ',') {
      if (need_value) emit("", 1);
      need_value = true;
      ++k;
      continue;
    }
    // Optional repeat count r*.
    unsigned long long r = 1;
    size_t q = k;
    unsigned long long count = 0;
    for (; q < n && is_digit(line[q]); ++q)
      count = std::min<unsigned long long>(count * 10 + static_cast<unsigned>(line[q] - '0'),
                                           ULLONG_MAX / 20);
    if (q > k && q < n && line[q] == '*' && count > 0) {
      r = count;  // emit() stops at the limit, so a huge count costs nothing
      k = q + 1;
      if (k >= n || is_sep(line[k])) {  // r* alone: r null values
        emit("", r);
        need_value = false;
        continue;
      }
    }
    std::string value;
    if (line[k] == '\'' || line[k] == '"') {
      const char quote = line[k++];
      while (k < n) {
        if (line[k] == quote) {
          if (k + 1 < n && line[k + 1] == quote) {
            value.push_back(quote);
            k += 2;
            continue;
          }
          ++k;
          break;
        }
        value.push_back(line[k++]);
      }
    } else {
      while (k < n && !is_sep(line[k])) value.push_back(line[k++]);
    }
    emit(value, r);
    need_value = false;
  }
  return out;
}

}  // namespace

std::string fmt_i(long long value, int w) {
  return edit_i(value, w, -1, false);
}
std::string fmt_i(long long value, int w, int m) {
  return edit_i(value, w, m, false);
}
std::string fmt_f(double value, int w, int d) {
  return edit_f(value, w, d, false);
}
std::string fmt_e(double value, int w, int d) {
  return edit_e(value, w, d, -1, 'E', false);
}
std::string fmt_e(double value, int w, int d, int e) {
  return edit_e(value, w, d, e, 'E', false);
}
std::string fmt_d(double value, int w, int d) {
  return edit_e(value, w, d, -1, 'D', false);
}
std::string fmt_g(double value, int w, int d) {
  return edit_g(value, w, d, -1, false);
}

std::string fmt_a(std::string_view value, int w) {
  if (w > kMaxFormatNumber) throw FormatError("bad field width " + std::to_string(w));
  return edit_a(value, w);
}

std::vector<std::string> format_records(std::string_view format, const std::vector<Item>& items) {
  const ParsedFormat f = FormatParser(format).parse();
  OutputSink sink(items);
  walk(f, items.size(), sink);
  return sink.finish();
}

std::string format(std::string_view format, const std::vector<Item>& items) {
  std::vector<std::string> records = format_records(format, items);
  std::string out;
  for (size_t k = 0; k < records.size(); ++k) {
    if (k > 0) out += '\n';
    out += records[k];
  }
  return out;
}

std::vector<Field> read_formatted(std::string_view format, std::string_view record) {
  const ParsedFormat f = FormatParser(format).parse();
  const size_t count = items_in_one_pass(f);
  bool given = false;
  std::function<bool(std::string&)> next = [&](std::string& line) {
    if (given) return false;
    given = true;
    line.assign(record);
    return true;
  };
  InputSink sink(next, "format '" + shorten(format) + "' reads more than one record");
  walk(f, count, sink);
  return sink.finish();
}

std::vector<Field> read_formatted_records(std::string_view format, size_t count,
                                          const std::function<bool(std::string&)>& next_record) {
  const ParsedFormat f = FormatParser(format).parse();
  InputSink sink(next_record, "input ended before the format '" + shorten(format) + "' read its " +
                                  std::to_string(count) + " fields");
  walk(f, count, sink);
  return sink.finish();
}

std::vector<std::string> list_tokens(std::string_view line) {
  std::vector<std::string> out = split_list(line, kMaxListValues + 1);
  if (out.size() > kMaxListValues) throw FormatError("too many values in '" + shorten(line) + "'");
  return out;
}

bool parse_real(std::string_view token, double& value) {
  const std::string t = trim(token);
  double v = 0;
  if (t.empty() || real_text(t, 0, false, v) != RealStatus::Ok) return false;
  value = v;
  return true;
}

bool parse_integer(std::string_view token, long long& value) {
  const std::string t = trim(token);
  long long v = 0;
  if (!integer_text(t, v)) return false;
  value = v;
  return true;
}

std::vector<double> list_numbers(std::string_view line, size_t count) {
  const std::vector<std::string> tokens = split_list(line, std::min(count, kMaxListValues + 1));
  if (tokens.size() > kMaxListValues)
    throw FormatError("too many values in '" + shorten(line) + "'");
  std::vector<double> out;
  out.reserve(tokens.size());
  for (const std::string& t : tokens) {
    double v = 0;
    if (!t.empty() && !parse_real(t, v)) throw FormatError("bad number '" + shorten(t) + "'");
    out.push_back(v);
  }
  return out;
}

}  // namespace kestovar::text
