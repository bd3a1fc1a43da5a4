#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "profile/intensity_factor.h"
#include "reflection_test_support.h"

namespace kestovar::refl_test {
namespace {

const CellParameters kCubic{4.0f, 4.0f, 4.0f, 90.0f, 90.0f, 90.0f};

TEST_F(ReflectionTest, PrimitiveCubicLowAngleReflectionsAndListing) {
  phase("P m 3 m", kCubic);
  ASSERT_EQ(prepare(), "");
  EXPECT_TRUE(shown(" => Generating reflections"));
  const std::vector<Reflection> r = of_phase();
  ASSERT_GE(r.size(), 3u);
  EXPECT_EQ(hkl(r[0]), (Hkl{1, 0, 0}));
  EXPECT_EQ(hkl(r[1]), (Hkl{1, 1, 0}));
  EXPECT_EQ(hkl(r[2]), (Hkl{1, 1, 1}));
  EXPECT_EQ(r[0].Mult, 6);
  EXPECT_EQ(r[1].Mult, 12);
  EXPECT_EQ(r[2].Mult, 8);
  for (size_t i = 1; i < r.size(); ++i) EXPECT_LE(r[i - 1].Tk, r[i].Tk);
  std::set<Hkl> seen;
  for (const Reflection& x : r) EXPECT_TRUE(seen.insert(hkl(x)).second);
  EXPECT_NEAR(r[0].Tk, two_theta({1, 0, 0}), 1e-3);
  EXPECT_EQ(unpack_reflection_code(r[0].Code).phase, 1);

  // LpMult: intensity factor x the group's intensity factor (4) x multiplicity.
  const float S = 0.25f * r[1].Q * 1.5406f * 1.5406f;
  const float lp = intensity_factor(ts->settings(), S, std::sqrt(1.0f - S), r[1].Tk);
  EXPECT_NEAR(r[1].LpMult, lp * 4.0f * 12.0f, 1e-4f * r[1].LpMult);

  const std::string out = listing();
  const std::string expected =
      "\n"
      " => Laue symmetry  m3m  will be used to gnerate HKL\n"
      " => Reflections generated between S(1/d)min:  0.0566 A-1 and S(1/d)max:  0.5672 A-1\n"
      " =>                                    dmax:  8.8382 A   and      dmin:  0.8815\n"
      "\n"
      "  NSPGRP:    14 -->  P m 3 m             \n"
      "   M(1)   M(2)   M(3)   M(4)   M(5)   M(6)   M(7)   M(8)\n"
      "  16384      2     32    256     17      0      0      0\n";
  EXPECT_NE(out.find(expected), std::string::npos) << out;
  EXPECT_NE(out.find(" => Number of reflections generated for phase 1: " +
                     text::fmt_i(static_cast<int>(r.size()), 6)),
            std::string::npos);
}

TEST_F(ReflectionTest, CentringAndScrewAndGlideAbsences) {
  phase("C 2/c", {9.0f, 6.0f, 7.0f, 90.0f, 100.0f, 90.0f});
  ASSERT_EQ(prepare(), "");
  ASSERT_GT(of_phase().size(), 50u);
  for (const Reflection& x : of_phase()) {
    const Hkl h = hkl(x);
    EXPECT_EQ((h[0] + h[1]) % 2, 0) << h[0] << h[1] << h[2];
  }

  initialise_model(*ts);
  SetUp();
  phase("P 21/c", {5.0f, 6.0f, 7.0f, 90.0f, 100.0f, 90.0f});
  ASSERT_EQ(prepare(), "");
  for (const Reflection& x : of_phase()) {
    const Hkl h = hkl(x);
    if (h[0] == 0 && h[2] == 0) {
      EXPECT_EQ(h[1] % 2, 0) << "0k0 with k odd";
    }
    if (h[1] == 0) {
      EXPECT_EQ(h[2] % 2, 0) << "h0l with l odd";
    }
  }
  EXPECT_TRUE(has({0, 2, 0}));
  EXPECT_FALSE(has({0, 1, 0}));
  EXPECT_TRUE(has({1, 0, 2}) || has({-1, 0, 2}));
  EXPECT_FALSE(has({1, 0, 1}) || has({-1, 0, 1}));
  EXPECT_TRUE(has({1, 1, 0}));
}

TEST_F(ReflectionTest, PositionJustBeyondTheLastPointIsNotStored) {
  phase("P m 3 m", kCubic);
  const float t111 = two_theta({1, 1, 1});
  pattern(10.0f, t111 - 0.01f, 0.01f);
  ts->settings().Wdt = 20.0f;
  const GenerationLimits lim = generation_limits(*ts, 1);
  EXPECT_GT(lim.s_max, std::sqrt(3.0f) / (2.0f * 4.0f));  // 111 inside the widened limit
  ASSERT_EQ(prepare(), "");
  EXPECT_TRUE(has({1, 1, 0}));
  EXPECT_FALSE(has({1, 1, 1}));
  EXPECT_EQ(of_phase().size(), 2u);
}

TEST_F(ReflectionTest, UpperLimitFromTheWidthAndTheLastExcludedRegion) {
  phase("P m 3 m", kCubic);
  RunSettings& s = ts->settings();
  pattern(10.0f, 100.0f, 0.05f);
  Phase& ph = ts->phase(1);
  ph.slot[3].value = 0.0f, ph.slot[4].value = 0.0f, ph.slot[5].value = 0.04f;  // H^2 = 0.04
  s.Wdt = 5.0f;
  GenerationLimits lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, std::sin(0.5f * 102.0f * 0.0174533f) / 1.5406f, 1e-5);
  EXPECT_NEAR(lim.s_min, std::sin(5.0f * 0.0174533f) / 1.5406f, 1e-6);
  // Pattern matching with fixed scale: no widening.
  ph.Jbt = 2;
  lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, std::sin(50.0f * 0.0174533f) / 1.5406f, 1e-5);
  // An excluded region that covers the end moves the upper limit to its start.
  ph.Jbt = 0;
  s.Nex = 1;
  s.ExclLow[1] = 80.0f;
  s.ExclHigh[1] = 180.0f;
  lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, std::sin(41.0f * 0.0174533f) / 1.5406f, 1e-5);
  // The widening is at most half of 2theta max, and theta stays below 90 degrees.
  s.Nex = 0;
  s.Wdt = 1000.0f;
  lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, std::sin(75.0f * 0.0174533f) / 1.5406f, 1e-5);
  pattern(10.0f, 130.0f, 0.05f);
  lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, 1.0f / 1.5406f, 1e-6);
}

TEST_F(ReflectionTest, TwoWavelengths) {
  RunSettings& s = ts->settings();
  s.Lambda2 = 1.5444f;
  s.Ratio = 0.5f;
  phase("P m 3 m", kCubic);
  const GenerationLimits lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_min, std::sin(5.0f * 0.0174533f) / 1.5444f, 1e-6);  // scaled to lambda2
  ASSERT_EQ(prepare(), "");
  int first = 0, second = 0;
  for (const Reflection& r : of_phase()) {
    (wave(r) == 1 ? first : second) += 1;
    if (wave(r) == 2) {
      const float S = 0.25f * r.Q * 1.5444f * 1.5444f;
      EXPECT_NEAR(r.Tk, 2.0f * std::asin(std::sqrt(S)) * 57.29578f, 1e-3);
    }
  }
  EXPECT_EQ(first, second);
  EXPECT_GT(first, 10);
  // A negligible ratio gives one wavelength.
  initialise_model(*ts);
  SetUp();
  ts->settings().Lambda2 = 1.5444f;
  ts->settings().Ratio = 0.0f;
  phase("P m 3 m", kCubic);
  ASSERT_EQ(prepare(), "");
  for (const Reflection& r : of_phase()) EXPECT_EQ(wave(r), 1);
}

TEST_F(ReflectionTest, ZeroShiftAndDisplacementEnterTheRangeTest) {
  phase("P m 3 m", kCubic);
  const float t100 = two_theta({1, 0, 0});
  pattern(t100 - 0.2f, 120.0f, 0.05f);
  ASSERT_EQ(prepare(), "");
  EXPECT_TRUE(has({1, 0, 0}));
  EXPECT_NEAR(of_phase()[0].Tk, t100, 1e-3);
  for (auto [zero, sycos] : {std::pair{-0.3f, 0.0f}, std::pair{0.0f, -0.35f}}) {
    initialise_model(*ts);
    SetUp();
    phase("P m 3 m", kCubic);
    pattern(t100 - 0.2f, 120.0f, 0.05f);
    ts->settings().Global[1].value = zero;
    ts->settings().Global[8].value = sycos;  // displacement: times cos(theta)
    ASSERT_EQ(prepare(), "");
    EXPECT_FALSE(has({1, 0, 0})) << zero << " " << sycos;
    EXPECT_TRUE(has({1, 1, 0}));
  }
}

TEST_F(ReflectionTest, TimeOfFlightRange) {
  RunSettings& s = ts->settings();
  s.Uni = 1;
  s.Job = -1;
  s.Lambda1 = s.Lambda2 = s.Ratio = 1.0f;
  s.Global[8].value = 5000.0f;  // Dtt1
  s.Global[26].value = 1.0f;
  pattern(5000.0f, 12000.0f, 5.0f);  // d from 1.0 to 2.4
  phase("P m 3 m", kCubic);
  const GenerationLimits lim = generation_limits(*ts, 1);
  EXPECT_NEAR(lim.s_max, 0.5f, 1e-5);
  EXPECT_NEAR(lim.s_min, 0.5f / 2.4f, 1e-5);
  ASSERT_EQ(prepare(), "");
  ASSERT_FALSE(of_phase().empty());
  for (const Reflection& r : of_phase()) {
    const float d = 1.0f / std::sqrt(r.Q);
    EXPECT_GE(d, 1.0f - 1e-4f);
    EXPECT_LE(d, 2.4f + 1e-4f);
    EXPECT_NEAR(r.Tk, 5000.0f * d, 0.05f);
    EXPECT_NEAR(r.LpMult, std::pow(d, 4) * 0.5f * 4.0f * static_cast<float>(r.Mult),
                1e-4f * r.LpMult);
  }
  EXPECT_TRUE(has({2, 1, 0}));   // d = 1.789
  EXPECT_FALSE(has({1, 0, 0}));  // d = 4
}

TEST_F(ReflectionTest, CapacityStop) {
  phase("P 1", {30.0f, 31.0f, 32.0f, 90.0f, 90.0f, 90.0f});
  pattern(5.0f, 150.0f, 0.05f);
  EXPECT_EQ(prepare(), " Too many reflections");
  EXPECT_EQ(list().Nref[1], IRS - 1);
}

TEST_F(ReflectionTest, IllegalIrfAndUniqueAxis) {
  phase("P m 3 m", kCubic);
  ts->phase(1).Irf = 5;
  EXPECT_EQ(prepare(), " Illegal IRF value");
  ts->phase(1).Irf = 0;
  ts->job->groups[1].UniqueAxis = 4;
  EXPECT_EQ(prepare(), " Illegal SP symb:if cubic, set 3 instead of -3");
}

TEST_F(ReflectionTest, SecondPhaseFollowsTheFirst) {
  phase("P m 3 m", kCubic, 1);
  phase("F m 3 m", {5.0f, 5.0f, 5.0f, 90.0f, 90.0f, 90.0f}, 2);
  ASSERT_EQ(prepare(1), "");
  ASSERT_EQ(prepare(2), "");
  const int n1 = list().Nref[1];
  EXPECT_EQ(list().first_of(2), n1);
  EXPECT_EQ(unpack_reflection_code(list().refl[n1 + 1].Code).phase, 2);
  EXPECT_EQ(hkl(list().refl[n1 + 1]), (Hkl{1, 1, 1}));
  EXPECT_EQ(list().total(), n1 + list().Nref[2]);
  // The merged order of both phases.
  sort_all_reflections(list());
  for (int i = 2; i <= list().total(); ++i) EXPECT_LE(list().refl[i - 1].Tk, list().refl[i].Tk);
}

TEST_F(ReflectionTest, SatellitesOfPropagationVectors) {
  phase("P -1", {5.0f, 6.0f, 7.0f, 90.0f, 90.0f, 90.0f});
  pattern(5.0f, 120.0f, 0.05f);
  vectors({{0.5f, 0.0f, 0.0f}}, false);
  ts->phase(1).Irf = -1;
  ASSERT_EQ(prepare(), "");
  const std::vector<Reflection> r = of_phase();
  ASSERT_FALSE(r.empty());
  for (const Reflection& x : r) EXPECT_EQ(x.Ivk, 1);  // satellites only
  // The vector itself (satellite of 000) has multiplicity 1 and comes first in position.
  EXPECT_EQ(hkl(r[0]), (Hkl{0, 0, 0}));
  EXPECT_EQ(r[0].Mult, 1);
  // -1 0 0 + k = (-0.5, 0, 0) is the opposite of k: skipped.
  for (const Reflection& x : r) EXPECT_NE(hkl(x), (Hkl{-1, 0, 0}));
  // Satellites of h00 parents of the second pass: -2 0 0 + k = (-1.5, 0, 0) opposes 1 0 0 + k.
  int at_15 = 0;
  for (const Reflection& x : r)
    if (std::fabs(1.0f / std::sqrt(x.Q) - 5.0f / 1.5f) < 1e-3f) ++at_15;
  EXPECT_EQ(at_15, 1);
  EXPECT_TRUE(shown(" => A file with hkl-satellites will be created!!"));
  EXPECT_NE(listing().find(" => (hkl) progenitors generated from space group symbol"),
            std::string::npos);

  // With the list augmented by -k the vector's own satellite counts twice.
  initialise_model(*ts);
  SetUp();
  phase("P -1", {5.0f, 6.0f, 7.0f, 90.0f, 90.0f, 90.0f});
  pattern(5.0f, 120.0f, 0.05f);
  vectors({{0.5f, 0.0f, 0.0f}}, true);
  ASSERT_EQ(prepare(), "");
  const std::vector<Reflection> a = of_phase();
  int nuclear = 0, origin = 0;
  for (const Reflection& x : a) {
    if (x.Ivk == 0) ++nuclear;
    if (x.Ivk != 0 && hkl(x) == (Hkl{0, 0, 0})) {
      ++origin;
      EXPECT_EQ(x.Mult, 2);
    }
  }
  EXPECT_GT(nuclear, 0);  // Irf 0 keeps the nuclear reflections
  EXPECT_EQ(origin, 1);
}

}  // namespace
}  // namespace kestovar::refl_test
