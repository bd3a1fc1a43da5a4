// The instrumental resolution file: analytic coefficients of the Gaussian and Lorentzian
// instrumental widths per wavelength, or a table of both widths against 2theta, and the
// instrumental terms of a reflection computed from them.
#pragma once

#include <array>
#include <string>

namespace kestovar {

struct ModelStore;

inline constexpr int MAX_RESOLUTION_POINTS = 30;

struct ResolutionData {
  std::string Title;  // 40 characters
  // U V W X Y Z (index 1..6) of wavelength 1 and 2 (index 1..2).
  std::array<std::array<float, 7>, 3> Coef{};
  int NPoints = 0;  // tabulated function (Res 4)
  std::array<float, MAX_RESOLUTION_POINTS + 1> TwoTheta{}, HG{}, HL{};  // 1-based
};

// Instrumental terms of one reflection: G (squared degrees, added to HG^2) and L (degrees,
// added to HL).
struct ResolutionTerms {
  float G = 0.0f;
  float L = 0.0f;
};

// Reads the file named by RunSettings::ResolutionFile (unit 13) for the selector `Res` and
// writes its echo to the output listing. Stops when the file cannot be opened or read.
void resolution_read(ModelStore& store);

// The terms of a reflection of wavelength 1 or 2 at 2theta (degrees), with t = tan(theta)
// and tan2 = t^2. Zero when `Res` selects no resolution function.
ResolutionTerms resolution_terms(const ModelStore& store, int wavelength, float two_theta,
                                 float tan2, float tan);

}  // namespace kestovar
