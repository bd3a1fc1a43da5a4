// Line reading and fixed-length text helpers.
#include <algorithm>
#include <climits>
#include <cmath>
#include <istream>

#include "text/fortran_format.h"

namespace kestovar::text {

bool get_line(std::istream& in, std::string& line) {
  line.clear();
  std::istream::sentry guard(in, true);
  if (!guard) return false;
  std::streambuf* sb = in.rdbuf();
  bool any = false;
  for (;;) {
    int c = sb->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      if (!any) in.setstate(std::ios::failbit);
      break;
    }
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

std::string trim_right(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t' || s[n - 1] == '\r' || s[n - 1] == '\0'))
    --n;
  return std::string(s.substr(0, n));
}

std::string trim(std::string_view s) {
  size_t a = 0;
  while (a < s.size() && (s[a] == ' ' || s[a] == '\t')) ++a;
  return trim_right(s.substr(a));
}

std::string pad(std::string_view s, size_t width) {
  std::string r(s.substr(0, std::min(s.size(), width)));
  r.resize(width, ' ');
  return r;
}

int field_int(const std::vector<Field>& fields, size_t k) {
  if (k >= fields.size()) return 0;
  const Field& x = fields[k];
  if (x.kind == Field::Kind::Real) {
    const double r = std::trunc(x.r);
    if (std::isnan(r)) return 0;
    return static_cast<int>(
        std::clamp(r, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
  }
  return static_cast<int>(std::clamp<long long>(x.i, INT_MIN, INT_MAX));
}

float field_real(const std::vector<Field>& fields, size_t k) {
  if (k >= fields.size()) return 0.0f;
  const Field& x = fields[k];
  return x.kind == Field::Kind::Integer ? static_cast<float>(x.i) : static_cast<float>(x.r);
}

std::string field_text(const std::vector<Field>& fields, size_t k) {
  return k < fields.size() ? fields[k].a : std::string();
}

}  // namespace kestovar::text
