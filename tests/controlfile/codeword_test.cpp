// Decoding and encoding of refinement codewords.
#include "controlfile/codeword.h"

#include <gtest/gtest.h>

namespace kestovar {
namespace {

TEST(Codeword, DecodesParameterNumberAndFactor) {
  struct Case {
    float code;
    int par;
    float mult;
  };
  const Case cases[] = {
      {11.00f, 1, 1.0f},    {-21.00f, 2, -1.0f},  {31.50f, 3, 1.5f}, {0.0f, 0, 0.0f},
      {9.99f, 0, 9.99f},    {30.00f, 3, 0.0f},    {10.00f, 1, 0.0f}, {-31.00f, 3, -1.0f},
      {3001.0f, 300, 1.0f}, {3011.0f, 301, 1.0f}, {40.50f, 4, 0.5f}, {-0.5f, 0, -0.5f},
      {20.0f, 2, 0.0f},     {121.0f, 12, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    DecodedCode d = decode_codeword(c.code);
    EXPECT_EQ(d.ParNo, c.par);
    EXPECT_NEAR(d.Mult, c.mult, 1e-4);
  }
}

TEST(Codeword, EncodingRoundTrips) {
  EXPECT_FLOAT_EQ(encode_codeword(2, -1.5f), -21.5f);
  EXPECT_FLOAT_EQ(encode_codeword(0, 0.0f), 0.0f);
  EXPECT_FLOAT_EQ(encode_codeword(3, 0.0f), 30.0f);
  for (int par : {1, 2, 7, 10, 99, 150, 299, 300}) {
    for (float mult : {1.0f, -1.0f, 0.5f, -0.25f, 2.0f, 0.0f, 9.5f}) {
      DecodedCode d = decode_codeword(encode_codeword(par, mult));
      EXPECT_EQ(d.ParNo, par) << par << " " << mult;
      EXPECT_NEAR(d.Mult, mult, 1e-3) << par << " " << mult;
    }
  }
}

}  // namespace
}  // namespace kestovar
