#include "controlfile/codeword.h"

#include <cmath>

namespace kestovar {

DecodedCode decode_codeword(float c) {
  // The product is taken in single precision: 0.1f is slightly above one tenth, so an
  // exact multiple such as 30.00 gives parameter 3 with factor 0.
  const float tenth = 0.1f;
  float a = std::fabs(c);
  volatile float product = a * tenth;  // keep the single-precision rounding
  int n = static_cast<int>(product);
  float m = a - 10.0f * static_cast<float>(n);
  DecodedCode d;
  d.ParNo = n;
  d.Mult = c < 0.0f ? -m : m;
  return d;
}

float encode_codeword(int ParNo, float Mult) {
  float c = 10.0f * static_cast<float>(ParNo) + std::fabs(Mult);
  return Mult < 0.0f ? -c : c;
}

}  // namespace kestovar
