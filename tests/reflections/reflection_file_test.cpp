#include <gtest/gtest.h>

#include <cmath>

#include "reflection_test_support.h"

namespace kestovar::refl_test {
namespace {

const CellParameters kOrtho{5.0f, 6.0f, 7.0f, 90.0f, 90.0f, 90.0f};

class ReflectionFileTest : public ReflectionTest {
 protected:
  void SetUp() override {
    ReflectionTest::SetUp();
    pattern(5.0f, 120.0f, 0.05f);
  }
};

TEST_F(ReflectionFileTest, SatelliteFileWrittenAndReadBack) {
  phase("P m m m", kOrtho);
  vectors({{0.0f, 0.5f, 0.0f}, {0.25f, 0.0f, 0.1f}}, false);
  ts->phase(1).Irf = -1;
  ASSERT_EQ(prepare(), "");
  const std::vector<Reflection> generated = of_phase();
  ASSERT_GT(generated.size(), 20u);

  const std::string file = dir.read("job1.hkl");
  EXPECT_EQ(file.substr(0, file.find('\n')), "Phase P m m m");
  EXPECT_NE(file.find("\n Number of propagation vectors:  2\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\n  1    0.000000    0.500000    0.000000\n"), std::string::npos);

  // The same phase reading the file: the same records.
  initialise_model(*ts);
  ReflectionTest::SetUp();
  pattern(5.0f, 120.0f, 0.05f);
  phase("P m m m", kOrtho);
  vectors({{0.0f, 0.5f, 0.0f}, {0.25f, 0.0f, 0.1f}}, false);
  ts->phase(1).Irf = 1;
  ASSERT_EQ(prepare(), "");
  EXPECT_TRUE(shown(" => Reading reflections"));
  const std::vector<Reflection> read = of_phase();
  ASSERT_EQ(read.size(), generated.size());
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].Code, generated[i].Code) << i;
    EXPECT_EQ(read[i].Ivk, generated[i].Ivk) << i;
    EXPECT_EQ(read[i].Mult, generated[i].Mult) << i;
    EXPECT_FLOAT_EQ(read[i].Tk, generated[i].Tk) << i;
    EXPECT_FLOAT_EQ(read[i].LpMult, generated[i].LpMult) << i;
  }
  EXPECT_NE(listing().find(" => Given Laue symmetry  mmm  Indices are read from file"),
            std::string::npos);
}

TEST_F(ReflectionFileTest, ExplicitOperatorsWriteTheReducedSet) {
  phase("P m 3 m", {4.0f, 4.0f, 4.0f, 90.0f, 90.0f, 90.0f});
  // Explicit operators: the phase's flag decides (a pattern-matching phase reads no
  // operators, so its group keeps Isy 0).
  ts->phase(1).Isy = -1;
  ASSERT_EQ(prepare(), "");
  const std::string file = dir.read("job1.hkl");
  EXPECT_NE(file.find("\n   1   0   0    6\n   1   1   0   12\n   1   1   1    8\n"),
            std::string::npos)
      << file;
  EXPECT_NE(
      listing().find(" => A new file with relevant HKLs for the present model will be written"),
      std::string::npos);
}

TEST_F(ReflectionFileTest, WrongNumberOfVectorsStops) {
  phase("P m m m", kOrtho);
  vectors({{0.0f, 0.5f, 0.0f}, {0.5f, 0.0f, 0.0f}}, false);
  ts->phase(1).Irf = 1;
  dir.write("job1.hkl",
            "title\nsecond\n Number of propagation vectors:  3\n 1 0 0.5 0\n 2 0.5 0 0\n"
            " 3 0 0 0.5\n 1 0 0 1 2\n");
  EXPECT_EQ(prepare(), " Wrong number of k-vectors!!");
  EXPECT_TRUE(shown(" => Header:  Number of propagation vectors:  3"));
}

TEST_F(ReflectionFileTest, DifferentVectorWarnsAndTheControlFileVectorIsUsed) {
  phase("P m m m", kOrtho);
  vectors({{0.0f, 0.5f, 0.0f}}, false);
  ts->phase(1).Irf = 1;
  dir.write("job1.hkl",
            "title\r\nsecond\r\n Number of propagation vectors:  1\r\n 1 0 0.5002 0\r\n"
            " 1 0 0 1 2\r\n 0 1 0 1 2");
  ASSERT_EQ(prepare(), "");
  EXPECT_TRUE(shown(" => Warning! difference between read and supplied K-vectors:       1"));
  ASSERT_EQ(of_phase().size(), 2u);
  const Reflection r = of_phase()[0];
  EXPECT_EQ(hkl(r), (Hkl{1, 0, 0}));
  EXPECT_EQ(r.Ivk, 1);
  EXPECT_FLOAT_EQ(r.Q, 1.0f / 25.0f + 0.25f / 36.0f);
}

TEST_F(ReflectionFileTest, BadLineNamesItsNumber) {
  // A bad number, a multiplicity below 1, an index that cannot be packed.
  for (const char* bad : {" 1 x 0 2", " 1 1 0 0", " 1 1 0 -4", " 200 0 0 2"}) {
    initialise_model(*ts);
    SetUp();
    ts.window.lines.clear();
    phase("P m m m", kOrtho);
    ts->phase(1).Irf = 1;
    dir.write("job1.hkl", std::string("title\nsecond\n 1 0 0 2\n") + bad + "\n");
    EXPECT_EQ(prepare(), " Error reading the reflection file") << bad;
    EXPECT_TRUE(shown(" => Error reading the reflection file at line:       4"))
        << bad << ::testing::PrintToString(ts.window.lines);
  }
}

TEST_F(ReflectionFileTest, ValuesOfEachKindOfFile) {
  // Irf 1 with Sol 1: a phase angle.
  phase("P m m m", kOrtho);
  ts->phase(1).Irf = 1;
  ts->phase(1).Sol = 1;
  dir.write("job1.hkl", "t\ns\n 1 0 0 2 1.25\n");
  ASSERT_EQ(prepare(), "");
  ASSERT_EQ(of_phase().size(), 1u);
  EXPECT_FLOAT_EQ(of_phase()[0].PhaseAngle, 1.25f);

  // Irf 2, Jbt 2: integrated intensity -> |F|^2 = I / (scale x Lp x mult).
  initialise_model(*ts);
  SetUp();
  phase("P m m m", kOrtho);
  ts->phase(1).Irf = 2;
  ts->phase(1).Jbt = 2;
  ts->phase(1).slot[1].value = 0.5f;
  dir.write("job1.hkl", "t\ns\n 1 1 0 4 1000.0\n");
  ASSERT_EQ(prepare(), "");
  ASSERT_EQ(of_phase().size(), 1u);
  const Reflection r = of_phase()[0];
  EXPECT_EQ(r.Mult, 4);
  const float lp = r.LpMult / 4.0f;
  EXPECT_NEAR(r.FsqRaw, 1000.0f / (0.5f * lp * 4.0f), 1e-3f);

  // Irf -2, Jbt -2: |F| -> |F|^2.
  initialise_model(*ts);
  SetUp();
  phase("P m m m", kOrtho);
  ts->phase(1).Irf = -2;
  ts->phase(1).Jbt = -2;
  dir.write("job1.hkl", "t\ns\n 1 1 0 4 3.0\n");
  ASSERT_EQ(prepare(), "");
  EXPECT_FLOAT_EQ(of_phase()[0].FsqRaw, 9.0f);

  // Irf 3: fixed partial structure factors.
  initialise_model(*ts);
  SetUp();
  phase("P m m m", kOrtho);
  ts->phase(1).Irf = 3;
  dir.write("job1.hkl", "t\ns\n 1 1 0 4 3.0 -1.5\n 9 9 9 8 1 1\n");
  ASSERT_EQ(prepare(), "");
  ASSERT_EQ(of_phase().size(), 1u);  // 9 9 9 lies beyond the pattern
  EXPECT_FLOAT_EQ(of_phase()[0].Apart, 3.0f);
  EXPECT_FLOAT_EQ(of_phase()[0].Bpart, -1.5f);
  EXPECT_NE(listing().find(" => Reflection list & partial structure factors read from file"),
            std::string::npos);
}

TEST_F(ReflectionFileTest, TwoWavelengthsShareTheIntensityOfAFixedScalePhase) {
  RunSettings& s = ts->settings();
  s.Lambda2 = 1.5444f;
  s.Ratio = 0.5f;
  phase("P m m m", kOrtho);
  ts->phase(1).Irf = 2;
  ts->phase(1).Jbt = 2;
  dir.write("job1.hkl", "t\ns\n 1 1 0 4 1000.0\n");
  ASSERT_EQ(prepare(), "");
  ASSERT_EQ(of_phase().size(), 2u);
  for (const Reflection& r : of_phase()) {
    const float weight = wave(r) == 2 ? 0.5f : 1.0f;
    EXPECT_NEAR(r.FsqRaw, 1000.0f * weight / r.LpMult, 1e-3f);
  }
}

}  // namespace
}  // namespace kestovar::refl_test
