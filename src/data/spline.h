// Cubic-spline interpolation through a table of points: the second derivatives are set up
// once, then the spline is evaluated at any abscissa. Used to resample X, Y, sigma data and to
// interpolate between background points. Arrays are 1-based: x[1..n], y[1..n], y2[1..n].
#pragma once

#include <span>

namespace kestovar {

struct ModelStore;

// End derivatives at or above this value select the natural spline (zero second derivative).
inline constexpr float SPLINE_NATURAL = 9.9e32f;

inline constexpr const char* SPLINE_FAULT_TEXT =
    " => Problem with interpolation!, check your background points! ";

// Computes the second derivatives y2 of the spline through (x, y), clamping the first
// derivative at the ends to yp1 and ypn when they are below 9.9e29. The abscissas must
// increase; an interval narrower than 1e-6 shows the interpolation message and stops.
void spline_setup(ModelStore& store, std::span<const float> x, std::span<const float> y, int n,
                  float yp1, float ypn, std::span<float> y2);

// The spline value at xv, the interval being located by bisection over the whole table.
// An interval narrower than 1e-6 shows the interpolation message and stops.
float spline_value(ModelStore& store, std::span<const float> x, std::span<const float> y,
                   std::span<const float> y2, int n, float xv);

}  // namespace kestovar
