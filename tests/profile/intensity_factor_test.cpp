#include "profile/intensity_factor.h"

#include <gtest/gtest.h>

#include <cmath>

#include "controlfile/run_settings.h"

namespace kestovar {
namespace {

constexpr double kDeg = 0.017453292519943295;

struct Angle {
  float S, C, T;  // sin^2(theta), cos(theta), 2theta
};
Angle at(double two_theta) {
  const double t = 0.5 * two_theta * kDeg;
  return {static_cast<float>(std::sin(t) * std::sin(t)), static_cast<float>(std::cos(t)),
          static_cast<float>(two_theta)};
}
double lorentz(const Angle& a) {
  return 1.0 / (2.0 * a.S * a.C);
}
double cos2_2theta(const Angle& a) {
  return (1.0 - 2.0 * a.S) * (1.0 - 2.0 * a.S);
}

RunSettings xray_bragg_brentano() {
  RunSettings s;
  s.Job = 0;
  s.Ilo = 0;
  s.Uni = 0;
  return s;
}

TEST(IntensityFactor, LorentzAndMonochromatorPolarisationInBraggBrentano) {
  for (double tth : {10.0, 47.3, 90.0, 151.0}) {
    const Angle a = at(tth);
    RunSettings s = xray_bragg_brentano();
    EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), lorentz(a), 1e-5 * lorentz(a)) << tth;
    s.Cthm = 1.0f;
    const double expected = lorentz(a) * (1.0 + cos2_2theta(a));
    EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), expected, 1e-5 * expected) << tth;
  }
}

TEST(IntensityFactor, NeutronJobsHaveNoPolarisationNorLowAngleFactor) {
  RunSettings s = xray_bragg_brentano();
  s.Job = 1;
  s.Cthm = 0.8f;
  s.Sent0 = 20.0f;
  const Angle a = at(10.0);
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), lorentz(a), 1e-5 * lorentz(a));
}

TEST(IntensityFactor, LowAngleFactorBelowSent0Only) {
  RunSettings s = xray_bragg_brentano();
  s.Sent0 = 20.0f;
  const Angle low = at(10.0);
  const double expected = lorentz(low) * std::sin(5.0 * kDeg) / std::sin(10.0 * kDeg);
  EXPECT_NEAR(intensity_factor(s, low.S, low.C, low.T), expected, 1e-5 * expected);
  const Angle high = at(25.0);
  EXPECT_NEAR(intensity_factor(s, high.S, high.C, high.T), lorentz(high), 1e-5 * lorentz(high));
  // Only the Bragg-Brentano geometry has the factor.
  s.Ilo = 3;
  s.Rpolarz = 0.0f;
  EXPECT_NEAR(intensity_factor(s, low.S, low.C, low.T), lorentz(low), 1e-5 * lorentz(low));
}

TEST(IntensityFactor, PositionSensitiveDetectorTerm) {
  RunSettings s = xray_bragg_brentano();
  s.Ilo = 1;
  s.Cthm = 0.5f;
  const Angle a = at(40.0);
  const double pol = 1.0 + 0.5 * cos2_2theta(a);
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), lorentz(a) * pol, 1e-5 * lorentz(a));  // PSD 0
  s.PSD = 10.0f;
  const double P = 1.0 + std::sin(10.0 * kDeg) / std::sin(30.0 * kDeg);
  const double expected = lorentz(a) / P * pol;
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), expected, 1e-5 * expected);
}

TEST(IntensityFactor, AbsorptionTerms) {
  const Angle a = at(60.0);
  RunSettings s = xray_bragg_brentano();
  s.muR = 0.5f;
  const double A = std::exp(-(1.7133 - 0.0368 * a.S) * 0.5 + (0.0927 + 0.375 * a.S) * 0.25);
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), lorentz(a) * A, 1e-5 * lorentz(a));
  s.muR = -2.0f;  // negative values mean no absorption
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), lorentz(a), 1e-5 * lorentz(a));

  // Transmission, X-rays: A / (2 sin(theta) cos(theta)) and the two-term polarisation.
  s.Ilo = 2;
  s.muR = 0.3f;
  s.Cthm = 0.64f;
  s.Rpolarz = 0.25f;
  const double At = std::exp(-0.3 / a.C) / a.C;
  const double c = cos2_2theta(a);
  const double q1 = (1.0 + 0.8 * c) / 1.8, q2 = (1.0 + 0.64 * c) / 1.64;
  const double expected = At / (2.0 * std::sqrt(a.S) * a.C) * (0.25 * q2 + 0.75 * q1);
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), expected, 1e-5 * expected);
  // Neutrons in transmission: the Lorentz part of the other geometries.
  s.Job = 1;
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), At * lorentz(a), 1e-5 * At * lorentz(a));
}

TEST(IntensityFactor, SynchrotronPolarisation) {
  const Angle a = at(30.0);
  const double c = cos2_2theta(a);
  RunSettings s = xray_bragg_brentano();
  s.Rpolarz = 0.9f;
  s.Cthm = 0.7f;  // not used by either synchrotron form
  s.Ins = 4;
  const double expected = lorentz(a) * (0.9 * c + 0.1);
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), expected, 1e-5 * expected);
  s.Ins = 0;
  s.Ilo = 3;
  EXPECT_NEAR(intensity_factor(s, a.S, a.C, a.T), expected, 1e-5 * expected);
}

TEST(CorrectionFactor, TableInterpolation) {
  RunSettings s;
  s.Cor = 1;
  s.NCor = 2;
  s.CorB[1] = 10.0f;
  s.CorA[1] = 1.0f;
  s.CorB[2] = 50.0f;
  s.CorA[2] = 2.0f;
  EXPECT_FLOAT_EQ(correction_factor(s, 30.0f), 1.5f);
  EXPECT_FLOAT_EQ(correction_factor(s, 0.0f), 0.75f);  // first interval extended
  EXPECT_FLOAT_EQ(correction_factor(s, 80.0f), 2.0f);  // last value held
  // Decreasing abscissas and more entries.
  s.NCor = 3;
  s.CorB[1] = 90.0f, s.CorA[1] = 3.0f;
  s.CorB[2] = 50.0f, s.CorA[2] = 2.0f;
  s.CorB[3] = 10.0f, s.CorA[3] = 1.0f;
  EXPECT_FLOAT_EQ(correction_factor(s, 70.0f), 2.5f);
  EXPECT_FLOAT_EQ(correction_factor(s, 30.0f), 1.5f);
  EXPECT_FLOAT_EQ(correction_factor(s, 5.0f), 1.0f);
  // A single entry holds its value.
  s.NCor = 1;
  EXPECT_FLOAT_EQ(correction_factor(s, 5.0f), 3.0f);

  // The factor enters the intensity factor at the reflection's position.
  RunSettings x = xray_bragg_brentano();
  x.Cor = 1;
  x.NCor = 2;
  x.CorB[1] = 10.0f, x.CorA[1] = 1.0f;
  x.CorB[2] = 50.0f, x.CorA[2] = 2.0f;
  const Angle a = at(30.0);
  EXPECT_NEAR(intensity_factor(x, a.S, a.C, a.T), 1.5 * lorentz(a), 1e-5 * lorentz(a));
}

TEST(CorrectionFactor, PolynomialAndDefaults) {
  RunSettings s;
  EXPECT_FLOAT_EQ(correction_factor(s, 42.0f), 1.0f);  // no correction file
  s.Cor = 2;
  s.CorKind = 1;
  s.NCor = 3;
  s.CorA[1] = 1.0f;
  s.CorA[2] = 0.5f;
  s.CorA[3] = 0.25f;
  EXPECT_FLOAT_EQ(correction_factor(s, 2.0f), 1.0f + 1.0f + 1.0f);
  // Point-by-point corrections of the data (Cor 2, CorKind 2) leave the factor alone.
  RunSettings x = xray_bragg_brentano();
  x.Cor = 2;
  x.CorKind = 2;
  x.NCor = 2;
  x.CorA[1] = 5.0f;
  const Angle a = at(30.0);
  EXPECT_NEAR(intensity_factor(x, a.S, a.C, a.T), lorentz(a), 1e-5 * lorentz(a));
}

TEST(IntensityFactor, TimeOfFlightEnergyAndOtherAbscissas) {
  RunSettings s;
  s.Uni = 1;
  s.Job = -1;
  s.Global[8].value = 5000.0f;  // Dtt1
  s.Global[26].value = 1.0f;    // 2 sin(theta) of the detector
  const float d = 1.7f;
  EXPECT_NEAR(intensity_factor(s, 0.0f, 1.0f, 5000.0f * d), std::pow(d, 4) / 2.0, 1e-4);
  s.Global[26].value = 1.6f;
  EXPECT_NEAR(intensity_factor(s, 0.0f, 1.0f, 5000.0f * d), std::pow(d, 4) * 0.8, 1e-4);

  s.Uni = 2;
  s.Global[8].value = 40.0f;  // energy = 40 / d
  EXPECT_NEAR(intensity_factor(s, 0.0f, 1.0f, 40.0f / d), d * d, 1e-4);

  s.Uni = 3;
  EXPECT_FLOAT_EQ(intensity_factor(s, 0.2f, 0.9f, 3.0f), 1.0f);
}

}  // namespace
}  // namespace kestovar
