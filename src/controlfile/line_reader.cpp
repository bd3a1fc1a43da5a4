#include "controlfile/line_reader.h"

#include <array>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"

namespace kestovar {

namespace {

bool is_sep(char c) {
  return c == ' ' || c == '\t';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_sign(char c) {
  return c == '+' || c == '-';
}
bool is_exp(char c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Messages of the decoder, indexed from -2.
constexpr std::array<const char*, 15> kMessages = {
    "FindFMT: data line FORTRAN read error nber:",
    "FindFMT: End of file !",
    "FindFMT: no error",
    "FindFMT: empty format descriptor (0 field) !",
    "FindFMT: data string, read error !",
    "FindFMT: integer field found real !",
    "FindFMT: begged dot, sign or \"e\" character !",
    "FindFMT: invalid character in an integer field !",
    "FindFMT: invalid field in format descriptor !",
    "FindFMT: invalid character in a numeric field !",
    "FindFMT: 0 character in current field !",
    "FindFMT: format string length exceeded !",
    "FindFMT: separator missing !",
    "FindFMT: incomplete E or D format !",
    "FindFMT: incomplete number !",
};

}  // namespace

std::string find_fmt_message(int error) {
  if (error < -2) error = -2;
  if (error > 12) return "";
  return kMessages[static_cast<size_t>(error + 2)];
}

void upper_case(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void lower_case(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

DecodedLine find_fmt(std::string_view line_in, std::string_view spec_in) {
  DecodedLine r;
  std::string spec(spec_in);
  upper_case(spec);
  std::string pattern = text::trim_right(spec);
  if (pattern.find_first_not_of(' ') == std::string::npos) {
    r.error = 1;
    return r;
  }
  // The significant part of the line: trailing blanks do not count.
  std::string line = text::trim_right(line_in);
  const int L = static_cast<int>(line.size());
  std::string fmt = "(";
  int col = 0;  // 0-based index of the first character after the previous field
  auto fail_at = [&](int code, int pos) {
    r.error = code;
    r.column = pos + 1;
    r.format = fmt;
    return r;
  };
  auto append = [&](const std::string& item) {
    fmt += item;
    fmt += ',';
    return fmt.size() <= static_cast<size_t>(PCR_LINE_LEN);
  };

  size_t k = 0;
  for (; k < pattern.size() && col < L; ++k) {
    const char p = pattern[k];
    const int start = col;
    if (p == 'I' || p == 'F') {
      const bool real = p == 'F';
      int j = col;
      while (j < L && is_sep(line[j])) ++j;
      if (start > 0 && j == start && !is_sign(line[j])) return fail_at(10, j);
      if (is_sign(line[j])) {
        ++j;
        if (j >= L || is_sep(line[j])) return fail_at(12, j < L ? j : L - 1);
        if (is_sign(line[j])) return fail_at(4, j);
      }
      const char first = line[j];
      if (first == '.' && !real) return fail_at(3, j);
      if (is_exp(first)) return fail_at(real ? 11 : 5, j);
      if (!is_digit(first) && first != '.') return fail_at(7, j);
      bool dot = false, exp = false;
      char prev = 0;
      for (; j < L; ++j) {
        const char c = line[j];
        if (is_digit(c)) {
        } else if (c == '.') {
          if (!real) return fail_at(3, j);
          if (dot || exp) return fail_at(4, j);
          dot = true;
        } else if (is_exp(c)) {
          if (is_sign(prev)) return fail_at(11, j);
          if (exp) return fail_at(4, j);
          exp = true;
        } else if (is_sign(c)) {
          if (is_sign(prev)) return fail_at(4, j);
          if (!(real && is_exp(prev))) break;  // the sign begins the next field
        } else if (is_sep(c)) {
          if (is_sign(prev) || is_exp(prev)) return fail_at(12, j);
          break;
        } else {
          return fail_at(7, j);
        }
        prev = c;
      }
      if (j >= L && (is_sign(prev) || is_exp(prev))) return fail_at(12, L - 1);
      const int w = j - start;
      if (!append((real ? "F" : "I") + std::to_string(w) + (real ? ".0" : "")))
        return fail_at(9, j - 1);
      col = j;
    } else if (p >= '1' && p <= '9') {
      const int maxlen = p - '0';
      int j = col;
      if (start > 0 && !is_sep(line[j])) return fail_at(10, j);
      while (j < L && is_sep(line[j])) ++j;
      const int skipped = j - start;
      int n = 0;
      while (j < L && !is_sep(line[j]) && n < maxlen) {
        ++j;
        ++n;
      }
      if (n == 0) return fail_at(8, j < L ? j : L - 1);
      std::string item = skipped > 0 ? std::to_string(skipped) + "x,A" : "A";
      if (!append(item + std::to_string(n))) return fail_at(9, j - 1);
      col = j;
    } else {
      return fail_at(6, col);
    }
  }
  // The line ended before the pattern: the remaining fields read as zero or blank.
  for (; k < pattern.size(); ++k) {
    const char p = pattern[k];
    std::string item;
    if (p == 'I')
      item = "I1";
    else if (p == 'F')
      item = "F1.0";
    else if (p >= '1' && p <= '9')
      item = std::string("1x,A") + p;
    else
      return fail_at(6, col > 0 ? col - 1 : 0);
    if (!append(item)) return fail_at(9, col > 0 ? col - 1 : 0);
  }
  fmt.back() = ')';
  r.format = fmt;
  r.column = col;
  r.error = 0;
  return r;
}

void report_line_error(ModelStore& store, int error, std::string_view line, int column,
                       int line_number) {
  if (error < -1) {
    show_message(store, " " + find_fmt_message(-2) + text::fmt_i(-(error + 100), 4));
  } else if (error >= 1 && error <= 12) {
    show_message(store, " " + find_fmt_message(error));
  } else if (error != 0 && error != -1) {
    show_message(store, " FMT decode error number:" + text::fmt_i(error, 2));
  }
  std::string trimmed = text::trim_right(line);
  const bool long_line = trimmed.size() >= 130;
  show_message(store, long_line ? " " + trimmed : " \"" + trimmed + "\"");
  if (column <= 1)
    show_message(store, "   ^----");
  else
    show_message(
        store, " " + std::string(static_cast<size_t>(long_line ? column - 1 : column), '-') + "^");
  throw StopError(text::trim_right(std::string(" ") + " => Please check your input file at line: " +
                                   text::fmt_i(line_number, 4) + " !"));
}

int next_line(ModelStore& store, int u, std::string& line, std::string_view spec,
              std::string& format, int& line_number) {
  ControlReader& rd = store.job->reader;
  format.assign(1, '(');
  rd.LineColumn = 0;
  rd.LineError = 0;
  if (text::trim(spec).empty()) report_line_error(store, 1, "", 0, line_number);
  for (;;) {
    if (!store.files.read_line(u, line)) {
      show_message(store, " => Not FATAL End of file !,  logical unit: " + text::fmt_i(u, 4));
      if (u == unit::DAT) {
        rd.LineError = -1;
        return -1;
      }
      throw StopError(" => Not FATAL End of file !", 1, false);
    }
    if (line.size() > static_cast<size_t>(PCR_LINE_LEN)) line.resize(PCR_LINE_LEN);
    if (!line.empty() && line[0] == '!') {
      ++line_number;
      continue;
    }
    if (line.find_first_not_of(" \t") == std::string::npos) {
      ++line_number;
      continue;
    }
    break;
  }
  rd.PcrLineBuf = line;
  // Commas separate fields as blanks do.
  std::string decoded = line;
  for (char& c : decoded)
    if (c == ',') c = ' ';
  DecodedLine d = find_fmt(decoded, spec);
  rd.LineFormat = d.format;
  rd.LineColumn = d.column;
  rd.LineError = d.error;
  format = d.format;
  if (d.error == 8) return 8;
  if (d.error != 0) report_line_error(store, d.error, line, d.column, line_number);
  line = decoded;
  return 0;
}

std::vector<text::Field> read_pcr_line(ModelStore& store, std::string_view spec) {
  ControlReader& rd = store.job->reader;
  rd.PcrLine += 1;
  std::string line, format;
  int err = next_line(store, unit::PCR, line, spec, format, rd.PcrLine);
  if (err == 8) report_line_error(store, 8, rd.PcrLineBuf, rd.LineColumn, rd.PcrLine);
  try {
    return text::read_formatted(format, line);
  } catch (const text::FormatError& e) {
    show_message(store, std::string(" => ") + e.what());
    report_line_error(store, 2, rd.PcrLineBuf, rd.LineColumn, rd.PcrLine);
  }
}

}  // namespace kestovar
