#include "controlfile/codeword.h"

#include <cmath>
#include <limits>

namespace kestovar {

DecodedCode decode_codeword(float c) {
  // The product is taken in single precision: 0.1f is slightly above one tenth, so an
  // exact multiple such as 30.00 gives parameter 3 with factor 0.
  const float tenth = 0.1f;
  float a = std::fabs(c);
  volatile float product = a * tenth;  // keep the single-precision rounding
  DecodedCode d;
  // A huge or non-numeric codeword gets a number above every capacity, so that the
  // readers refuse it instead of converting it out of the range of int.
  if (!(product < 1.0e9f)) {
    d.ParNo = std::numeric_limits<int>::max();
    d.Mult = 0.0f;
    return d;
  }
  int n = static_cast<int>(product);
  float m = a - 10.0f * static_cast<float>(n);
  d.ParNo = n;
  d.Mult = c < 0.0f ? -m : m;
  return d;
}

float encode_codeword(int ParNo, float Mult) {
  float c = 10.0f * static_cast<float>(ParNo) + std::fabs(Mult);
  return Mult < 0.0f ? -c : c;
}

}  // namespace kestovar
