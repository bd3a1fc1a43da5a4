#include "data/data_file.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "run/capacities.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"

namespace kestovar {

DataFile::DataFile(ModelStore& store) : store_(store) {}

bool DataFile::next(std::string& line) {
  if (!store_.files.read_line(unit::DAT, line)) return false;
  ++line_;
  return true;
}

std::string DataFile::line(size_t width) {
  std::string l;
  if (!next(l)) end_of_file();
  if (l.size() > width) l.resize(width);
  return l;
}

void DataFile::back() {
  store_.files.backspace(unit::DAT);
  if (line_ > 0) --line_;
}

std::vector<text::Field> DataFile::record(std::string_view format) {
  std::string l;
  if (!next(l)) end_of_file();
  try {
    return text::read_formatted(format, l);
  } catch (const text::FormatError&) {
    read_error();
  }
}

std::vector<text::Field> DataFile::parse(std::string_view format, std::string_view line) {
  try {
    return text::read_formatted(format, line);
  } catch (const text::FormatError&) {
    read_error();
  }
}

std::vector<text::Field> DataFile::records(std::string_view format, size_t count) {
  bool at_end = false;
  std::function<bool(std::string&)> supply = [&](std::string& l) {
    if (next(l)) return true;
    at_end = true;
    return false;
  };
  try {
    return text::read_formatted_records(format, count, supply);
  } catch (const text::FormatError&) {
    if (at_end) end_of_file();
    read_error();
  }
}

namespace {

// The values of one list-directed record; false when the record holds a "/", which ends
// the list.
bool list_record(const std::string& line, std::vector<std::string>& tokens) {
  tokens = text::list_tokens(line);
  return line.find('/') == std::string::npos;
}

}  // namespace

std::vector<double> DataFile::numbers(size_t count) {
  std::vector<double> v;
  v.reserve(std::min<size_t>(count, IDSZ + 2));
  std::vector<std::string> tokens;
  while (v.size() < count) {
    std::string l;
    if (!next(l)) end_of_file();
    bool more = true;
    try {
      more = list_record(l, tokens);
    } catch (const text::FormatError&) {
      read_error();
    }
    for (const std::string& t : tokens) {
      if (v.size() == count) break;
      double x = 0;
      if (!t.empty() && !text::parse_real(t, x)) read_error();
      v.push_back(x);
    }
    if (!more) break;
  }
  v.resize(count, 0.0);
  return v;
}

std::vector<long long> DataFile::integers(size_t count) {
  std::vector<long long> v;
  std::vector<std::string> tokens;
  while (v.size() < count) {
    std::string l;
    if (!next(l)) end_of_file();
    bool more = true;
    try {
      more = list_record(l, tokens);
    } catch (const text::FormatError&) {
      read_error();
    }
    for (const std::string& t : tokens) {
      if (v.size() == count) break;
      long long x = 0;
      if (!t.empty() && !text::parse_integer(t, x)) read_error();
      v.push_back(x);
    }
    if (!more) break;
  }
  v.resize(count, 0);
  return v;
}

void DataFile::report(const std::string& what) {
  show_message(store_, " => Intensity file " + store_.files.name(unit::DAT) + ": " + what);
}

void DataFile::end_of_file() {
  report("end of file after line " + std::to_string(line_));
  stop_box(store_, DATA_EOF_TEXT, 1);
  fail(DATA_EOF_TEXT);
}

void DataFile::read_error() {
  report("read error at line " + std::to_string(line_));
  stop_box(store_, DATA_READ_ERROR_TEXT, 1);
  fail(DATA_READ_ERROR_TEXT);
}

void DataFile::stop(std::string_view text) {
  stop_at(text, line_);
}

void DataFile::stop_at(std::string_view text, int line) {
  report("stopped at line " + std::to_string(line));
  stop_box(store_, text, 1);
  fail(text);
}

void DataFile::too_many_points(long long npts) {
  listing("(A,I5,A,/,22X,I5,A)",
          {std::string(" => Program can handle"), static_cast<long long>(IDSZ),
           std::string(" points, "), npts, std::string(" points were input")});
  show_message(store_, " => Program can handle" + text::fmt_i(IDSZ, 5) + " points, " +
                           text::fmt_i(npts, 5) + " points were input");
  stop(TOO_MANY_POINTS_TEXT);
}

void DataFile::write(int u, std::string_view format, const std::vector<text::Item>& items) {
  for (const std::string& r : text::format_records(format, items)) write_unit(store_, u, r);
}

void DataFile::listing(std::string_view format, const std::vector<text::Item>& items) {
  write(unit::OUT, format, items);
}

void DataFile::summary(std::string_view format, const std::vector<text::Item>& items) {
  write(unit::SUM, format, items);
}

void DataFile::rpa(std::string_view format, const std::vector<text::Item>& items) {
  write(unit::RPA, format, items);
}

namespace {

template <typename T, typename Parse>
bool list_values(std::string_view s, size_t count, std::vector<T>& v, Parse parse) {
  v.clear();
  std::vector<std::string> tokens;
  try {
    tokens = text::list_tokens(s);
  } catch (const text::FormatError&) {
    return false;
  }
  if (tokens.size() < count) return false;
  for (size_t k = 0; k < count; ++k) {
    T x = 0;
    if (tokens[k].empty() || !parse(tokens[k], x)) return false;
    v.push_back(x);
  }
  return true;
}

}  // namespace

bool list_reals(std::string_view s, size_t count, std::vector<double>& v) {
  return list_values(s, count, v,
                     [](const std::string& t, double& x) { return text::parse_real(t, x); });
}

bool list_integers(std::string_view s, size_t count, std::vector<long long>& v) {
  return list_values(s, count, v,
                     [](const std::string& t, long long& x) { return text::parse_integer(t, x); });
}

std::string columns(std::string_view line, size_t first, size_t last) {
  std::string r(last - first + 1, ' ');
  for (size_t c = first; c <= last && c <= line.size(); ++c) r[c - first] = line[c - 1];
  return r;
}

bool starts_with(std::string_view line, std::string_view head) {
  return line.substr(0, head.size()) == head;
}

long long int_of(float v) {
  const double d = v;
  if (!std::isfinite(d) || d >= 2147483648.0 || d <= -2147483649.0) return INT_MIN;
  return static_cast<long long>(d);  // truncation toward zero
}

long long nint_of(float v) {
  const double d = v;
  if (!std::isfinite(d) || d >= 2147483647.5 || d <= -2147483648.5) return INT_MIN;
  return static_cast<long long>(std::lround(d));  // halves away from zero
}

long long range_points(float thmin, float step, float thmax, float add) {
  const float q = (thmax - thmin) / step + add;
  return int_of(q);
}

}  // namespace kestovar
