// Cell constraints imposed by the Laue class, and the reciprocal metric of a cell.
#pragma once

#include <array>

namespace kestovar {

struct ModelStore;

// a, b, c (angstrom), alpha, beta, gamma (degrees).
using CellParameters = std::array<float, 6>;

// 1/d^2 = A h^2 + B k^2 + C l^2 + D k l + E h l + F h k.
struct ReciprocalMetric {
  float A = 0, B = 0, C = 0, D = 0, E = 0, F = 0;
};

// Applies the constraints of the Laue class to the cell in place. `laue_from_symbol` false
// (class read with the operators) leaves a monoclinic cell alone. False when the unique
// axis is above 3 (nothing changed).
bool constrain_cell(int laue, int unique_axis, bool laue_from_symbol, CellParameters& cell);

// 1 - cos^2(alpha) - cos^2(beta) - cos^2(gamma) + 2 cos(alpha) cos(beta) cos(gamma), that is
// (V / abc)^2; zero or negative for angles that do not close a cell.
float cell_shape_factor(const CellParameters& cell);

// Volume of the cell in cubic angstroms.
float cell_volume(const CellParameters& cell);

// The reciprocal metric of a cell.
ReciprocalMetric reciprocal_metric(const CellParameters& cell);

// As the cell reader calls it: prints " => Cell constraints according to Laue symmetry: "
// with the class name to `unit`, constrains the cell, returns the metric. A unique-axis code
// above 3 stops with " Something is wrong in S.G. symbol!! ".
ReciprocalMetric apply_cell_constraints(ModelStore& store, int laue, int unique_axis,
                                        bool laue_from_symbol, CellParameters& cell, int unit = 7);

}  // namespace kestovar
