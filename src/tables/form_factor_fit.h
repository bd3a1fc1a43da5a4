// Least-squares fit of the nine form-factor coefficients a1, b1, a2, b2, a3, b3, a4, b4, c of
// f(s) = sum ai exp(-bi s^2) + c to tabulated points (s = sin(theta)/lambda, f).
#pragma once

#include <array>

#include "run/capacities.h"

namespace kestovar {

struct FormFactorFit {
  std::array<float, 10> coeff{};  // 1..9: a1 b1 a2 b2 a3 b3 a4 b4 c
  int iterations = 0;
  double ssq = 0;  // sum of squared differences at the end
};

// Fits the first min(npoints, 9) coefficients (the others stay 0) to the points
// s[1..npoints], f[1..npoints], starting from 1, 2, 3, ... (Levenberg-Marquardt).
// A fitted third coefficient of exactly 0 becomes -1e-6, since a zero there marks a
// tabulated point, not a coefficient line, in the control file.
FormFactorFit fit_form_factor(const std::array<float, N_FORM + 1>& s,
                              const std::array<float, N_FORM + 1>& f, int npoints);

// The value of the nine-coefficient expansion at s.
float form_factor_value(const std::array<float, 10>& coeff, float s);

}  // namespace kestovar
