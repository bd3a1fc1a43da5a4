// Symmetry-operator text: parsing of SYMM and MSYM lines into integer rotation matrices
// with translations and phases, identification of a rotation in the fixed rotation table,
// and the inverse, writing an operator as text (-x+1/2,y,-z+1/2).
#pragma once

#include <string>
#include <string_view>

#include "symmetry/space_group.h"

namespace kestovar {

struct ModelStore;

// A parsed space-group operator: rotation rows and translation (not reduced into the cell).
struct SymmetryOperator {
  IntMatrix3 R{};
  Vec3 t{};
};

// A parsed magnetic operator: moment rotation rows (u, v, w) and magnetic phase.
struct MagneticOperator {
  IntMatrix3 M{};
  float phase = 0.0f;
};

enum class OperatorError {
  None,
  InvalidCharacter,  // " *** ERROR: Invalid character... " c " in Sym. Op. "
  BlankField,        // " *** ERROR: Blank operator field"
  Wrong              // "  *** ERROR: The above operator is wrong" (determinant 0)
};

struct OperatorParse {
  OperatorError error = OperatorError::None;
  char bad = ' ';     // the invalid character
  int component = 0;  // component (1..3) in which the parse stopped
};

// The message text of a parse error (bad is the invalid character).
std::string operator_error_text(OperatorError error, char bad, bool magnetic);

// Parses the three components of a SYMM line from `column` (1-based; 6 for a control-file
// line), advancing column past each comma. No messages.
OperatorParse try_parse_operator(std::string_view line, int& column, SymmetryOperator& op);
// Parses a MSYM line: components from column 6 up to the last comma, phase after it.
OperatorParse try_parse_magnetic_operator(std::string_view line, MagneticOperator& op);

// The same, showing the line and stopping the run with the error text.
SymmetryOperator parse_operator(ModelStore& store, std::string_view line, int& column);
MagneticOperator parse_magnetic_operator(ModelStore& store, std::string_view line);

int determinant(const IntMatrix3& R);

// Searches rotation-table entries first..last for R, then for -R: the signed rotation
// number, or 0 when R is in neither.
int find_rotation(const IntMatrix3& R, int first, int last);
// The same; a rotation not found shows the report and stops with "Illegal Symmetry Operator".
int identify_rotation(ModelStore& store, const IntMatrix3& R, int first, int last);

// Writes an operator as text, components joined by commas (at most 35 characters).
std::string operator_to_text(const IntMatrix3& R, const Vec3& t);
inline std::string operator_to_text(const SymmetryOperator& op) {
  return operator_to_text(op.R, op.t);
}

}  // namespace kestovar
