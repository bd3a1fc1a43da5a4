// The observed powder pattern and the per-point values computed from it. Every per-point
// array is 1-based (points 1..NPTS) with one spare element so that X[NPTS+1], the
// extrapolated abscissa after the last point, can be set.
#pragma once

#include <string>
#include <vector>

#include "run/capacities.h"

namespace kestovar {

inline constexpr int DATA_TITLE_LEN = 80;

struct Pattern {
  int NPTS = 0;                          // number of points, at most IDSZ
  float Thmin = 0, Step = 0, Thmax = 0;  // first abscissa, (mean) step, last abscissa
  int ConstantStep = 1;                  // 1: X[i] = Thmin + (i-1)*Step; 0: only X is trustworthy
  std::vector<float> X = std::vector<float>(IDSZ + 2, 0.0f);         // abscissa
  std::vector<float> Yobs = std::vector<float>(IDSZ + 2, 0.0f);      // observed intensity
  std::vector<float> Variance = std::vector<float>(IDSZ + 2, 0.0f);  // variance of Yobs
  std::vector<int> Ncount = std::vector<int>(IDSZ + 2, 1);           // counters summed per point
  std::vector<float> Backg = std::vector<float>(IDSZ + 2, 0.0f);     // background
  std::vector<float> BackRead = std::vector<float>(IDSZ + 2, 0.0f);  // background from a file
  std::vector<float> Ycalc = std::vector<float>(IDSZ + 2, 0.0f);     // calculated intensity
  std::vector<int> Contrib = std::vector<int>(IDSZ + 2, 0);          // last*8000+first reflection
  int Numor = 0;           // run number of the measurement
  int Iset = 0;            // data-set or bank number
  float Tsample = 293.0f;  // sample temperature
  float Cnorm = 1.0f;      // mean ratio variance/counts (1.0 for pure counting statistics)
  std::string Title = std::string(DATA_TITLE_LEN, ' ');  // heading line of the data file
};

}  // namespace kestovar
