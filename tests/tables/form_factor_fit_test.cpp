// The least-squares fit of form-factor coefficients to tabulated points.
#include "tables/form_factor_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tables/element_tables.h"

namespace kestovar {
namespace {

std::array<float, 10> internal(const char* key) {
  std::array<float, 10> c{};
  const XrayEntry& e = kXrayTable[find_xray(key)];
  for (int k = 0; k < 9; ++k) c[k + 1] = e.coeff[k];
  return c;
}

// Points of a known expansion are fitted back: the fitted curve follows the points and also
// the curve between them.
TEST(FormFactorFit, ReproducesAnInternalEntryFromItsPoints) {
  struct Case {
    const char* key;
    int npoints;
    float step;
  };
  for (const Case& c : {Case{"fe  ", 31, 0.05f}, Case{"o   ", 20, 0.06f}, Case{"h   ", 12, 0.1f},
                        Case{"fe+3", 60, 0.025f}}) {
    const auto known = internal(c.key);
    std::array<float, N_FORM + 1> s{}, f{};
    for (int k = 1; k <= c.npoints; ++k) {
      s[k] = (k - 1) * c.step;
      f[k] = form_factor_value(known, s[k]);
    }
    const FormFactorFit fit = fit_form_factor(s, f, c.npoints);
    const float smax = s[c.npoints];
    for (float x = 0.0f; x <= smax; x += smax / 97.0f)
      EXPECT_NEAR(form_factor_value(fit.coeff, x), form_factor_value(known, x), 0.002f)
          << c.key << " at s = " << x;
  }
}

TEST(FormFactorFit, FewPointsFitAsManyCoefficients) {
  // Three points: a1, b1 and a2 are fitted; a2 alone acts as a constant.
  std::array<float, N_FORM + 1> s{0, 0.0f, 0.3f, 0.6f}, f{0, 10.0f, 7.0f, 5.0f};
  const FormFactorFit fit = fit_form_factor(s, f, 3);
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(form_factor_value(fit.coeff, s[k]), f[k], 1e-3f);
  for (int k = 4; k <= 9; ++k) EXPECT_EQ(fit.coeff[k], 0.0f) << k;
}

TEST(FormFactorFit, ZeroThirdCoefficientIsMarked) {
  std::array<float, N_FORM + 1> s{0, 0.0f, 0.5f}, f{0, 4.0f, 2.0f};
  const FormFactorFit fit = fit_form_factor(s, f, 2);
  EXPECT_EQ(fit.coeff[3], -1.0e-6f);
  EXPECT_NEAR(form_factor_value(fit.coeff, 0.5f), 2.0f, 1e-3f);
  EXPECT_EQ(fit_form_factor(s, f, 0).coeff[3], -1.0e-6f);
}

}  // namespace
}  // namespace kestovar
