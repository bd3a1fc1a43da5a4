// Cell constraints by Laue class and the reciprocal metric.
#include "symmetry/cell.h"

#include <gtest/gtest.h>

#include <cmath>

#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

TEST(CellConstraints, ByLaueClass) {
  const struct {
    int laue, axis;
    bool from_symbol;
    CellParameters in, out;
  } cases[] = {
      {1, 0, true, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 80, 85, 95}},
      {2, 1, true, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 80, 90, 90}},
      {2, 2, true, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 90, 85, 90}},
      {2, 3, true, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 90, 90, 95}},
      {2, 2, false, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 80, 85, 95}},
      {3, 0, true, {5, 6, 7, 80, 85, 95}, {5, 6, 7, 90, 90, 90}},
      {5, 0, true, {5, 6, 7, 80, 85, 95}, {5, 5, 7, 90, 90, 90}},
      {7, 0, true, {5, 6, 7, 80, 85, 95}, {5, 5, 5, 80, 80, 80}},
      {12, 0, true, {5.0f, 5.1f, 7, 90, 90, 90}, {5, 5, 7, 90, 90, 120}},
      {14, 0, true, {5, 6, 7, 80, 85, 95}, {5, 5, 5, 90, 90, 90}},
  };
  for (const auto& c : cases) {
    CellParameters cell = c.in;
    EXPECT_TRUE(constrain_cell(c.laue, c.axis, c.from_symbol, cell));
    EXPECT_EQ(cell, c.out) << c.laue << " " << c.axis;
  }
}

// 1/d^2 from the metric agrees with the inverse of the direct metric tensor.
TEST(ReciprocalMetric, MatchesTheInverseDirectMetric) {
  CellParameters cell = {5.1f, 6.3f, 7.7f, 81.0f, 95.5f, 103.0f};
  ReciprocalMetric m = reciprocal_metric(cell);
  double d2r = 3.14159265358979 / 180;
  double a = cell[0], b = cell[1], c = cell[2];
  double ca = std::cos(cell[3] * d2r), cb = std::cos(cell[4] * d2r), cg = std::cos(cell[5] * d2r);
  double G[3][3] = {{a * a, a * b * cg, a * c * cb},
                    {a * b * cg, b * b, b * c * ca},
                    {a * c * cb, b * c * ca, c * c}};
  double det = G[0][0] * (G[1][1] * G[2][2] - G[1][2] * G[2][1]) -
               G[0][1] * (G[1][0] * G[2][2] - G[1][2] * G[2][0]) +
               G[0][2] * (G[1][0] * G[2][1] - G[1][1] * G[2][0]);
  auto inv = [&](int i, int j) {
    int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
    return (G[j1][i1] * G[j2][i2] - G[j1][i2] * G[j2][i1]) / det;
  };
  const int hkl[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, -2, 3}, {2, 1, -1}};
  for (const auto& h : hkl) {
    double want = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) want += h[i] * h[j] * inv(i, j);
    double got = m.A * h[0] * h[0] + m.B * h[1] * h[1] + m.C * h[2] * h[2] + m.D * h[1] * h[2] +
                 m.E * h[0] * h[2] + m.F * h[0] * h[1];
    EXPECT_NEAR(got, want, 1e-5 * want) << h[0] << h[1] << h[2];
  }
  ReciprocalMetric cubic = reciprocal_metric({4, 4, 4, 90, 90, 90});
  EXPECT_NEAR(cubic.A, 1.0f / 16, 1e-7);
  EXPECT_NEAR(cubic.D, 0.0f, 1e-7);
}

TEST(CellConstraints, AsTheCellReaderCallsThem) {
  test::TestStore ts;
  CellParameters cell = {5.0f, 5.1f, 7.0f, 90, 90, 90};
  ReciprocalMetric m = apply_cell_constraints(*ts, 12, 0, true, cell, 6);
  ASSERT_EQ(ts.window.lines.size(), 1u);
  EXPECT_EQ(ts.window.lines[0], " => Cell constraints according to Laue symmetry: 6/mmm");
  EXPECT_FLOAT_EQ(cell[1], 5.0f);
  EXPECT_FLOAT_EQ(cell[5], 120.0f);
  EXPECT_NEAR(m.A, 4.0f / (3.0f * 25.0f), 1e-6);
  EXPECT_NEAR(m.F, 4.0f / (3.0f * 25.0f), 1e-6);
  try {
    apply_cell_constraints(*ts, 2, 4, true, cell, 6);
    FAIL();
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " Something is wrong in S.G. symbol!!");
  }
}

}  // namespace
}  // namespace kestovar
