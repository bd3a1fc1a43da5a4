// The cubic-spline pair.
#include "data/spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar::test {
namespace {

struct Table {
  std::vector<float> x{0.0f}, y{0.0f}, y2;  // element 0 unused
  int n() const { return static_cast<int>(x.size()) - 1; }
};

Table tabulate(const std::vector<float>& xs, float (*f)(float)) {
  Table t;
  for (float v : xs) {
    t.x.push_back(v);
    t.y.push_back(f(v));
  }
  t.y2.assign(t.x.size(), 0.0f);
  return t;
}

float cubic(float x) {
  return x * x * x - 2.0f * x + 1.0f;
}
float line(float x) {
  return 3.0f * x - 1.0f;
}

TEST(Spline, NaturalSplineReproducesAStraightLine) {
  TestStore ts;
  Table t = tabulate({0.0f, 0.5f, 1.5f, 2.0f, 4.0f}, line);
  spline_setup(*ts, t.x, t.y, t.n(), SPLINE_NATURAL, SPLINE_NATURAL, t.y2);
  for (float xv : {0.0f, 0.25f, 1.0f, 3.3f, 4.0f})
    EXPECT_NEAR(spline_value(*ts, t.x, t.y, t.y2, t.n(), xv), line(xv), 1e-5) << xv;
}

TEST(Spline, ClampedEndsReproduceACubic) {
  TestStore ts;
  Table t = tabulate({-1.0f, -0.2f, 0.5f, 1.0f, 2.0f}, cubic);
  // Derivative 3x^2 - 2 at both ends.
  spline_setup(*ts, t.x, t.y, t.n(), 1.0f, 10.0f, t.y2);
  for (float xv : {-0.8f, 0.0f, 0.75f, 1.6f})
    EXPECT_NEAR(spline_value(*ts, t.x, t.y, t.y2, t.n(), xv), cubic(xv), 1e-4) << xv;
  // Natural ends still interpolate the table itself.
  spline_setup(*ts, t.x, t.y, t.n(), SPLINE_NATURAL, SPLINE_NATURAL, t.y2);
  EXPECT_NEAR(spline_value(*ts, t.x, t.y, t.y2, t.n(), 0.5f), cubic(0.5f), 1e-5);
  EXPECT_FLOAT_EQ(t.y2[1], 0.0f);
  EXPECT_FLOAT_EQ(t.y2[5], 0.0f);
}

TEST(Spline, CoincidentAbscissasStopWithTheMessage) {
  TestStore ts;
  Table t = tabulate({0.0f, 1.0f, 1.0f, 2.0f}, line);
  try {
    spline_setup(*ts, t.x, t.y, t.n(), SPLINE_NATURAL, SPLINE_NATURAL, t.y2);
    FAIL() << "no stop";
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " => Problem with interpolation!, check your background points!");
  }
  ASSERT_FALSE(ts.window.lines.empty());
  EXPECT_EQ(ts.window.lines.back(),
            " => Problem with interpolation!, check your background points!");
  // A table of one point has no interval to evaluate in.
  Table one = tabulate({1.0f}, line);
  spline_setup(*ts, one.x, one.y, 1, SPLINE_NATURAL, SPLINE_NATURAL, one.y2);
  EXPECT_THROW(spline_value(*ts, one.x, one.y, one.y2, 1, 1.0f), StopError);
}

}  // namespace
}  // namespace kestovar::test
