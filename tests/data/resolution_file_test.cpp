// The instrumental resolution file: reading, listing echo, the terms of a reflection and
// the failures.
#include "data/resolution_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

class ResolutionFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  // Writes `content` as res.irf and reads it with selector `res`; returns the stop text, ""
  // when the file was read.
  std::string read(int res, const std::string& content) {
    dir.write("res.irf", content);
    ts->settings().Res = res;
    ts->settings().ResolutionFile = "res.irf";
    EXPECT_TRUE(ts->files.open(unit::OUT, "job.out", OpenStatus::Unknown));
    std::string stop;
    try {
      resolution_read(*ts);
    } catch (const StopError& e) {
      stop = e.text();
    }
    ts->files.close(unit::OUT);
    return stop;
  }

  ResolutionTerms terms(float two_theta, int wavelength = 1) {
    const double t = std::tan(two_theta * M_PI / 360.0);
    return resolution_terms(*ts, wavelength, two_theta, static_cast<float>(t * t),
                            static_cast<float>(t));
  }
};

TEST_F(ResolutionFileTest, AnalyticFunctionsPerSelector) {
  const std::string file =
      "Instrument X\n 0.0 0.0 0.0004 0.01 5.0 0.02\n 0.001 0.002 0.003 0.004 0.005 0.006\n";
  ASSERT_EQ(read(1, file), "");
  ResolutionTerms r = terms(90.0f);  // tan(theta) = 1; Y has no effect
  EXPECT_NEAR(r.G, 0.0004f, 1e-7f);
  EXPECT_NEAR(r.L, 0.03f, 1e-6f);
  // Second wavelength: the coefficients of the third line.
  r = terms(90.0f, 2);
  EXPECT_NEAR(r.G, 0.001f + 0.002f + 0.003f, 1e-6f);
  EXPECT_NEAR(r.L, 0.004f + 0.006f, 1e-6f);

  ts->settings().Res = 2;  // Lorentzian term in 2theta
  r = terms(90.0f);
  EXPECT_NEAR(r.G, 0.0004f, 1e-7f);
  EXPECT_NEAR(r.L, 0.01f * 8100.0f + 5.0f * 90.0f + 0.02f, 1e-2f);

  ts->settings().Res = 3;  // both terms in 2theta, not in tan(theta)
  r = terms(50.0f, 2);
  EXPECT_NEAR(r.G, 0.001f * 2500.0f + 0.002f * 50.0f + 0.003f, 1e-5f);
  EXPECT_NEAR(r.L, 0.004f * 2500.0f + 0.005f * 50.0f + 0.006f, 1e-5f);

  ts->settings().Res = 7;  // no function: nothing changes
  r = terms(50.0f);
  EXPECT_EQ(r.G, 0.0f);
  EXPECT_EQ(r.L, 0.0f);
}

TEST_F(ResolutionFileTest, AnalyticEcho) {
  ASSERT_EQ(read(1, "Instrument X\r\n 0 0 0.0004 0.01 0 0.02\r\n1 2 3 4 5 6"), "");
  EXPECT_EQ(dir.read("job.out"),
            " => Instrumental Resolution read from file: res.irf\n"
            " => Title of data: Instrument X                            \n"
            "\n"
            " => The resolution function is IRESOL:   1\n"
            "    Input resolution parameters:\n"
            "\n"
            "   U-inst    V-inst     W-inst     X-inst     Y-inst     Z-inst\n"
            "   0.00000    0.00000    0.00040    0.01000    0.00000    0.02000\n"
            "   1.00000    2.00000    3.00000    4.00000    5.00000    6.00000\n");
}

TEST_F(ResolutionFileTest, TableIsInterpolatedBeforeSquaring) {
  // Triplets may spread over lines in any way.
  ASSERT_EQ(read(4, "Table\n 2\n 20 0.1\n 0.05 40 0.2 0.07\n"), "");
  const struct {
    float x, g, l;
  } cases[] = {{30, 0.0225f, 0.06f},
               {10, 0.01f, 0.05f},
               {50, 0.04f, 0.07f},
               {40, 0.04f, 0.07f},
               {20, 0.01f, 0.05f}};
  for (const auto& c : cases) {
    const ResolutionTerms r = terms(c.x);
    EXPECT_NEAR(r.G, c.g, 1e-6f) << c.x;
    EXPECT_NEAR(r.L, c.l, 1e-6f) << c.x;
  }
  EXPECT_EQ(dir.read("job.out"),
            " => Instrumental Resolution read from file: res.irf\n"
            " => Title of data: Table                                   \n"
            "\n"
            " => The resolution function is IRESOL:   4\n"
            "    Input resolution parameters:\n"
            "\n"
            "    2-Theta    Gaussian-HW   Lorentzian-HW\n"
            "\n"
            "     20.0000      0.100000       0.050000\n"
            "     40.0000      0.200000       0.070000\n"
            " \n");
}

TEST_F(ResolutionFileTest, OnePointTableHoldsEverywhere) {
  // The free-format read of the number of points passes over a blank line.
  for (const char* file : {"One\n1\n30 0.3 0.1\n", "One\n\n  \n1\n30 0.3 0.1\n"}) {
    ASSERT_EQ(read(4, file), "") << file;
    for (float x : {5.0f, 30.0f, 120.0f}) {
      EXPECT_NEAR(terms(x).G, 0.09f, 1e-6f);
      EXPECT_NEAR(terms(x).L, 0.1f, 1e-6f);
    }
  }
}

TEST_F(ResolutionFileTest, Failures) {
  std::string thirty_one = "Big\n31\n";
  for (int i = 0; i < 31; ++i) thirty_one += std::to_string(10 + i) + " 0.1 0.1\n";
  const struct {
    int res;
    std::string content, stop;
  } cases[] = {
      {1, "", " Error reading the resolution file at line: 1"},
      {1, "T\n 1 2 3 4 5 6\n 1 2 3\n", " Error reading the resolution file at line: 4"},
      {2, "T\n 1 2 x 4 5 6\n", " Error reading the resolution file at line: 2"},
      {4, "T\n 2.5\n", " Error reading the resolution file at line: 2"},
      {4, "T\n 0\n", " Error reading the resolution file at line: 2"},
      {4, "T\n 2\n 20 0.1 0.1\n", " Error reading the resolution file at line: 4"},
      {4, "T\n 2\n 40 0.1 0.1\n 20 0.1 0.1\n", " Error reading the resolution file at line: 4"},
      {4, thirty_one, " Error reading the resolution file at line: 2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.res, c.content), c.stop) << c.content;
    EXPECT_FALSE(ts->files.is_open(unit::RES));
  }
  EXPECT_EQ(ts.window.lines.back(), " => Too many points (31) at line: 2");

  ts->settings().ResolutionFile = "missing.irf";
  try {
    resolution_read(*ts);
    FAIL() << "no stop";
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " => Error opening file: missing.irf Unit:13");
  }
}

}  // namespace
}  // namespace kestovar
