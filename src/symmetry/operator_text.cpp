// Symmetry-operator text: SYMM and MSYM lines, rotation identification, operator to text.
#include "symmetry/operator_text.h"

#include <cmath>
#include <cstdlib>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

// Index one past the last non-blank character (0 for a blank line).
size_t line_end(std::string_view line) {
  size_t n = line.size();
  while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\r' || line[n - 1] == '\t')) --n;
  return n;
}

int variable_index(char c, bool magnetic) {
  switch (c) {
    case 'x':
    case 'X':
      return magnetic ? -1 : 0;
    case 'y':
    case 'Y':
      return magnetic ? -1 : 1;
    case 'z':
    case 'Z':
      return magnetic ? -1 : 2;
    case 'u':
    case 'U':
      return magnetic ? 0 : -1;
    case 'v':
    case 'V':
      return magnetic ? 1 : -1;
    case 'w':
    case 'W':
      return magnetic ? 2 : -1;
    default:
      return -1;
  }
}

// Parses the components of an operator between `column` (1-based) and `end` (0-based, one
// past the last character looked at). Translations are only read when `t` is given.
OperatorParse parse_components(std::string_view line, int& column, size_t end, IntMatrix3& R,
                               Vec3* t) {
  OperatorParse result;
  R = {};
  if (t) *t = {0, 0, 0};
  bool magnetic = t == nullptr;
  for (int comp = 0; comp < 3; ++comp) {
    result.component = comp + 1;
    int sign = 1, coeff = 1, tsign = 1;
    double value = 0;
    bool seen = false, division = false, decimal = false;
    int decimals = 0;
    size_t i = column > 0 ? static_cast<size_t>(column - 1) : 0;
    for (; i < end; ++i) {
      char c = line[i];
      if (c == ' ') continue;
      if (c == ',' || c == '*') break;
      seen = true;
      int var = variable_index(c, magnetic);
      if (var >= 0) {
        R[comp][var] = sign * coeff;
        sign = 1;
        coeff = 1;
      } else if (c == '+') {
        sign = 1;
      } else if (c == '-') {
        sign = -1;
      } else if (!magnetic && c == '/') {
        division = true;
      } else if (!magnetic && c == '.') {
        decimal = true;
      } else if (!magnetic && c >= '0' && c <= '9') {
        int d = c - '0';
        char next = i + 1 < end ? line[i + 1] : ' ';
        if (variable_index(next, false) >= 0) {
          coeff = d;
        } else {
          if (division) {
            if (d != 0) value /= d;
          } else if (decimal) {
            ++decimals;
            value += d / std::pow(10.0, decimals);
          } else {
            value = 10 * value + d;
          }
          tsign = sign;
        }
      } else {
        result.error = OperatorError::InvalidCharacter;
        result.bad = c;
        return result;
      }
    }
    column = static_cast<int>(i) + 2;  // the column after the comma
    if (!seen) {
      result.error = OperatorError::BlankField;
      return result;
    }
    if (t) (*t)[comp] = static_cast<float>(tsign * value);
  }
  if (determinant(R) == 0) result.error = OperatorError::Wrong;
  return result;
}

[[noreturn]] void report_parse_error(ModelStore& store, std::string_view line,
                                     const OperatorParse& p, bool magnetic) {
  std::string text = operator_error_text(p.error, p.bad, magnetic);
  show_message(store, text::trim_right(line));
  stop_box(store, text, 1);
  fail(text);
}

}  // namespace

std::string operator_error_text(OperatorError error, char bad, bool magnetic) {
  switch (error) {
    case OperatorError::InvalidCharacter:
      return std::string(" *** ERROR: Invalid character... ") + bad + " in Sym. Op. ";
    case OperatorError::BlankField:
      return magnetic ? " *** ERROR: Blank operator field " : " *** ERROR: Blank operator field";
    case OperatorError::Wrong:
      return "  *** ERROR: The above operator is wrong";
    case OperatorError::None:
      break;
  }
  return "";
}

OperatorParse try_parse_operator(std::string_view line, int& column, SymmetryOperator& op) {
  return parse_components(line, column, line_end(line), op.R, &op.t);
}

OperatorParse try_parse_magnetic_operator(std::string_view line, MagneticOperator& op) {
  std::string_view l = line.substr(0, std::min<size_t>(line.size(), OPERATOR_LINE_LEN));
  size_t comma = l.rfind(',');
  op.phase = 0.0f;
  size_t end = line_end(l);
  if (comma != std::string_view::npos) {
    double v = 0;
    auto tokens = text::list_tokens(l.substr(comma + 1));
    if (!tokens.empty() && text::parse_real(tokens[0], v)) op.phase = static_cast<float>(v);
    end = comma;
  }
  int column = 6;
  return parse_components(l, column, end, op.M, nullptr);
}

SymmetryOperator parse_operator(ModelStore& store, std::string_view line, int& column) {
  SymmetryOperator op;
  OperatorParse p = try_parse_operator(line, column, op);
  if (p.error != OperatorError::None) report_parse_error(store, line, p, false);
  return op;
}

MagneticOperator parse_magnetic_operator(ModelStore& store, std::string_view line) {
  MagneticOperator op;
  OperatorParse p = try_parse_magnetic_operator(line, op);
  if (p.error != OperatorError::None) report_parse_error(store, line, p, true);
  return op;
}

int determinant(const IntMatrix3& R) {
  return R[0][0] * (R[1][1] * R[2][2] - R[1][2] * R[2][1]) -
         R[0][1] * (R[1][0] * R[2][2] - R[1][2] * R[2][0]) +
         R[0][2] * (R[1][0] * R[2][1] - R[1][1] * R[2][0]);
}

int find_rotation(const IntMatrix3& R, int first, int last) {
  const RotationTable& table = rotation_table();
  first = std::max(first, 1);
  last = std::min(last, N_ROTATIONS);
  for (int k = first; k <= last; ++k)
    if (table.entry[k].R == R) return k;
  for (int k = first; k <= last; ++k)
    if (rotation_matrix(-k) == R) return -k;
  return 0;
}

int identify_rotation(ModelStore& store, const IntMatrix3& R, int first, int last) {
  int k = find_rotation(R, first, last);
  if (k != 0) return k;
  auto row = [&](int i) {
    return text::fmt_i(R[i][0], 3) + text::fmt_i(R[i][1], 3) + text::fmt_i(R[i][2], 3);
  };
  show_message(store, " => The supplied S.O. is not standard :");
  show_message(store, "   i1->i2: " + text::fmt_i(first, 3) + text::fmt_i(last, 3));
  show_message(store, "Isl, iss:" + text::fmt_i(0, 3) + text::fmt_i(1, 3) + "      " + row(0));
  show_message(store, std::string(24, ' ') + row(1));
  show_message(store, std::string(24, ' ') + row(2));
  show_message(store, " => Try to re-write your S.O. using a rotational part");
  if (first == FIRST_CUBIC && last == LAST_CUBIC) {
    show_message(store, "    identical to a S.O. of the space group P m -3 m");
  } else if (first == FIRST_HEXAGONAL && last == LAST_HEXAGONAL) {
    show_message(store, "    identical to a S.O. of the space group P 6/m m m");
  } else {
    show_message(store, "    identical to a S.O. of the space group P m -3 m");
    show_message(store, " or identical to a S.O. of the space group P 6/m m m");
  }
  stop_box(store, "Illegal Symmetry Operator", 1);
  fail("Illegal Symmetry Operator");
}

std::string operator_to_text(const IntMatrix3& R, const Vec3& t) {
  static const char letters[3] = {'x', 'y', 'z'};
  std::string out;
  for (int i = 0; i < 3; ++i) {
    std::string comp;
    for (int j = 0; j < 3; ++j) {
      int c = R[i][j];
      if (c == 0) continue;
      if (c == 1)
        comp += "+";
      else if (c == -1)
        comp += "-";
      else if (c > 1)
        comp.append(1, '+').append(std::to_string(c % 10));
      else
        comp += text::trim(text::fmt_i(c, 2));
      comp += letters[j];
    }
    double v = t[i];
    double a = std::fabs(v);
    if (a > 0.0001) {
      double whole = std::round(a);
      if (std::fabs(a - whole) <= 0.0001) {
        long long n = static_cast<long long>(std::llround(v));
        if (n > 0)
          comp.append(1, '+').append(std::to_string(n % 10));
        else
          comp += text::trim(text::fmt_i(n, 2));
      } else {
        bool found = false;
        for (int n = 1; n <= 9 && !found; ++n)
          for (int d = 2; d <= 9 && !found; ++d)
            if (std::fabs(static_cast<double>(n) / d - a) <= 0.0001) {
              comp.append(1, v < 0 ? '-' : '+')
                  .append(std::to_string(n))
                  .append(1, '/')
                  .append(std::to_string(d));
              found = true;
            }
        // A translation that is no such fraction is written as a decimal.
        if (!found) comp.append(1, v < 0 ? '-' : '+').append(text::trim(text::fmt_f(a, 7, 4)));
      }
    }
    if (!comp.empty() && comp[0] == '+') comp.erase(0, 1);
    if (i > 0) out += ",";
    out += comp;
  }
  return out;
}

}  // namespace kestovar
