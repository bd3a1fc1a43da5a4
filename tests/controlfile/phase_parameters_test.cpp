// The profile, cell, broadening, propagation-vector and restraint lines of a phase.
#include <gtest/gtest.h>

#include <cmath>

#include "phase_test_support.h"

namespace kestovar::phase_test {
namespace {

struct LinesCase {
  const char* what;
  std::function<void(PhaseLines&, RunSettings&)> setup;
  std::vector<std::pair<int, float>> slots;  // phase slots and their values after reading
};

TEST_F(PhaseTest, ConditionalLinesAndTheirSlots) {
  const std::string right = "0.11 0.12 0.13 0.14 0.15\n 0 0 0 0 0";
  const std::vector<std::pair<int, float>> right_slots = {
      {46, 0.11f}, {47, 0.12f}, {48, 0.13f}, {49, 0.14f}, {50, 0.15f}};
  auto with = [](std::vector<std::pair<int, float>> a, std::vector<std::pair<int, float>> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const LinesCase cases[] = {
      {"the first lines, file Npr 5: no right half",
       [](PhaseLines&, RunSettings&) {},
       {{1, 1.0f},  {17, 0.5f}, {2, 0.3f},   {18, 0.01f}, {19, 0.02f}, {20, 0.03f}, {3, 0.1f},
        {4, -0.2f}, {5, 0.3f},  {15, 0.04f}, {16, 0.05f}, {28, 0.06f}, {29, 0.07f}, {12, 0.1f},
        {13, 0.2f}, {14, 0.3f}, {35, 0.4f},  {36, 0.5f},  {37, 0.6f},  {46, 0.0f}}},
      {"file Npr 11 reads the right half before the cell, then the shape line",
       [&](PhaseLines& p, RunSettings&) {
         p.flags.Npr = 11;
         p.right = right;
         p.tail = "0.21 0 0.22 0";
       },
       with(right_slots, {{41, 0.21f}, {42, 0.22f}})},
      {"time of flight reads the Lorentzian line",
       [&](PhaseLines& p, RunSettings& s) {
         s.Uni = 1;
         p.right = right;
       },
       right_slots},
      {"negative Ratio reads U2 V2 W2",
       [](PhaseLines& p, RunSettings& s) {
         s.RatioNegative = 1;
         p.tail = "0.31 0.32 0.33\n 0 0 0";
       },
       {{43, 0.31f}, {44, 0.32f}, {45, 0.33f}}},
      {"file Npr 4 reads the shape line",
       [](PhaseLines& p, RunSettings&) {
         p.flags.Npr = 4;
         p.tail = "0.21 0 0.22 0";
       },
       {{41, 0.21f}, {42, 0.22f}}},
      {"Sol 1 reads asymmetry and shift, and the shift axis for ModS 1",
       [](PhaseLines& p, RunSettings&) {
         p.flags.More = 1;
         p.second = "0 0 0 1 0 0 0 0 0 0 0";
         p.tail = "0.41 0.42 0.43 1 -1\n 0 0 0\n 0 0 1";
       },
       {{38, 0.41f}, {39, 0.42f}, {40, 0.43f}}},
      {"size model 1 reads its axis",
       [](PhaseLines& p, RunSettings&) {
         p.halfwidth = "0.1 -0.2 0.3 0.04 0.05 0.06 0.07 -1\n 0 0 0 0 0 0 0";
         p.tail = "1 0 0";
       },
       {{29, 0.07f}}},
      {"size model 15 reads nine harmonics",
       [](PhaseLines& p, RunSettings&) {
         p.halfwidth = "0.1 -0.2 0.3 0.04 0.05 0.06 0.07 15\n 0 0 0 0 0 0 0";
         p.tail = "0.51 0.52 0.53 0.54 0.55 0.56\n 0 0 0 0 0 0\n 0.57 0.58 0.59\n 0 0 0";
       },
       {{51, 0.51f}, {56, 0.56f}, {57, 0.57f}, {59, 0.59f}}},
      {"strain model 7 reads its axis, model 9 five more parameters",
       [](PhaseLines& p, RunSettings&) {
         p.scale = "1.0 0.5 0.3 0.01 0.02 0.03 9\n 0 0 0 0 0 0";
         p.tail = "0.61 0.62 0.63 0.64 0.65\n 0 0 0 0 0";
       },
       {{18, 0.01f}, {21, 0.61f}, {25, 0.65f}}},
      {"Furth 2 puts its parameters in slots 60 and 61",
       [](PhaseLines& p, RunSettings&) {
         p.flags.Furth = 2;
         p.tail = "Par1 0.71 0\nPar2 0.72 0";
       },
       {{60, 0.71f}, {61, 0.72f}}},
      {"Str 1: generalized strain replaces slots 18-20",
       [](PhaseLines& p, RunSettings&) {
         p.flags.Str = 1;
         p.tail = "0.81 0.82 0.83 0.84 0.85\n 0 0 0 0 0\n0.86 0.87 0.88 0.89 0.9\n 0 0 0 0 0";
       },
       {{18, 0.81f}, {20, 0.83f}, {22, 0.85f}, {23, 0.86f}, {27, 0.9f}, {29, 0.07f}}},
      {"Str 2: generalized size replaces slot 29",
       [](PhaseLines& p, RunSettings&) {
         p.flags.Str = 2;
         p.tail = "0.91 0.92 0.93 0.94 0.95 0.96\n 0 0 0 0 0 0";
       },
       {{18, 0.01f}, {29, 0.91f}, {34, 0.96f}}},
      {"Str 3: both",
       [](PhaseLines& p, RunSettings&) {
         p.flags.Str = 3;
         p.tail =
             "0.81 0.82 0.83 0.84 0.85\n 0 0 0 0 0\n0.86 0.87 0.88 0.89 0.9\n 0 0 0 0 0\n"
             "0.91 0.92 0.93 0.94 0.95 0.96\n 0 0 0 0 0 0";
       },
       {{18, 0.81f}, {27, 0.9f}, {29, 0.91f}, {34, 0.96f}}},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    PhaseLines p;
    c.setup(p, ts->settings());
    ASSERT_EQ(read_phase(p), "");
    EXPECT_TRUE(at_end());
    for (auto [k, v] : c.slots) EXPECT_FLOAT_EQ(ph().slot[k].value, v) << "slot " << k;
  }
}

TEST_F(PhaseTest, ModelsAndTheirAxes) {
  PhaseLines p;
  p.flags = Flags{.Furth = 1, .More = 1};
  p.second = "0 0 0 1 0 0 0 0 0 0 0";
  p.scale = "1.0 0.5 0.3 0.01 0.02 0.03 7\n 0 0 0 0 0 0";
  p.halfwidth = "0.1 -0.2 0.3 0.04 0.05 0.06 0.07 1\n 0 0 0 0 0 0 0";
  p.tail = "0.41 0.42 0.43 2 -1\n 381 0 0\n 0 0 1\n 1 1 0\n 0 1 0\nTemp 7.5 11";
  ASSERT_EQ(read_phase(p), "");
  EXPECT_TRUE(at_end());
  EXPECT_EQ(ph().StrainModel, 7);
  EXPECT_EQ(ph().SizeModel, 1);
  EXPECT_EQ(ph().ModA, 2);
  EXPECT_EQ(ph().ModS, -1);
  EXPECT_EQ(ph().ShiftAxis, (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(ph().SizeAxis, (std::array<float, 3>{1, 1, 0}));
  EXPECT_EQ(ph().StrainAxis, (std::array<float, 3>{0, 1, 0}));
  EXPECT_EQ(ph().FurthLabel[1], "Temp");
  EXPECT_EQ(ph().slot[60].ParNo, 1);
  EXPECT_EQ(ph().slot[38].ParNo, 38);
  for (const char* line :
       {" => The  1th model for size is used",
        " => Platelet(1) or Needle(-1) axis:   1.0000  1.0000  0.0000",
        " => The  7th model for strain is used", " => Microstrain axis:   0.0000  1.0000  0.0000",
        " => The  2th model for hkl-dependent Asymmetry is used",
        " => The -1th model for hkl-dependent Shift is used",
        " => Shift-cos(1) or Shift-sin(-1) axis:   0.0000  0.0000  1.0000"})
    EXPECT_TRUE(listed(line)) << line;
}

TEST_F(PhaseTest, IntegratedIntensityPhase) {
  ts->settings().Cry = 1;
  PhaseLines p;
  p.flags = Flags{.Str = 3, .Npr = 11, .More = 1};
  p.second = "0 0 0 1 0 0 0 0 0 0 0";  // Sol is cleared for integrated intensities
  p.scale = "1 2 3 4 5 6\n 11 21 31 41 51 61";
  p.halfwidth = "0.1 0.2 0.3 0.4 0.5 0.6 0.7\n 0 0 0 0 0 0 0";
  p.cell = "5.0 6.0 7.0 90.0 95.0 90.0\n 141 151 161 0 171 0";
  p.orientation = "0.01 0.02 0.03 0.04 0.05\n 0 0 0 0 0";
  p.tail = "0.21 0 0.22 0";  // the shape line of file Npr 11 is still read
  ASSERT_EQ(read_phase(p), "");
  EXPECT_TRUE(at_end());
  EXPECT_EQ(ph().Irf, 4);
  EXPECT_EQ(ph().Str, 0);
  EXPECT_EQ(ph().Sol, 0);
  EXPECT_EQ(ts->settings().IntegratedIntensities, 1);
  const int scales[] = {1, 2, 3, 4, 5, 12};
  for (int k = 0; k < 6; ++k) {
    EXPECT_FLOAT_EQ(ph().slot[scales[k]].value, static_cast<float>(k + 1));
    EXPECT_EQ(ph().slot[scales[k]].ParNo, k + 1);
  }
  for (int k = 13; k <= 19; ++k) EXPECT_FLOAT_EQ(ph().slot[k].value, 0.1f * (k - 12));
  for (int k = 35; k <= 39; ++k) EXPECT_FLOAT_EQ(ph().slot[k].value, 0.01f * (k - 34));
  for (int k = 6; k <= 11; ++k) EXPECT_EQ(ph().slot[k].ParNo, 0) << "cell codeword " << k;
  EXPECT_TRUE(listed(" => Integrated intensities as observations for phase:  1"));
  EXPECT_TRUE(
      listed(" => Scale factors: 0.100000E+010.200000E+010.300000E+010.400000E+01"
             "0.500000E+010.600000E+01"));
  EXPECT_TRUE(
      listed(" => Extinction  parameters:    0.1000   0.2000   0.3000   0.4000   0.5000"
             "   0.6000   0.7000"));
  EXPECT_TRUE(
      listed(" => Direct cell parameters:    5.0000   6.0000   7.0000  90.0000  95.0000"
             "  90.0000"));
}

TEST_F(PhaseTest, FixedScalePatternMatchingKeepsItsScale) {
  PhaseLines p;
  p.flags = Flags{.Nat = 2, .Jbt = 2};  // the atom lines of a pattern-matching phase are absent
  ASSERT_EQ(read_phase(p), "");
  EXPECT_TRUE(at_end());
  EXPECT_EQ(ts.window.lines, std::vector<std::string>{" => Scale factor fixed for phase:       1"});
  EXPECT_EQ(ph().slot[1].ParNo, 0);
  EXPECT_EQ(ph().slot[17].ParNo, 2);
}

TEST_F(PhaseTest, NegativeTchWidthsAreFixed) {
  PhaseLines p;
  p.flags = Flags{.Npr = 7};
  p.halfwidth = "0.1 -0.2 0.3 -0.04 0.05 0.06 0.07 0\n 0 0 0 0 0 0 0";
  ASSERT_EQ(read_phase(p), "");
  EXPECT_FLOAT_EQ(ph().slot[15].value, 0.001f);
  EXPECT_FLOAT_EQ(ph().slot[16].value, 0.05f);
  EXPECT_EQ(ts.window.lines,
            (std::vector<std::string>{" => Input X and/or Y parameters negative!",
                                      " =>                (value fixed at 0.001)"}));
}

TEST_F(PhaseTest, PropagationVectors) {
  struct Case {
    int Nvk;
    std::string lines;
    std::vector<std::array<float, 3>> k;
    std::vector<std::array<float, 3>> codes;
    std::vector<bool> equivalent;
  };
  const Case cases[] = {
      {-1,
       "0.5 0 0\n 11 0 -21",
       {{0.5f, 0, 0}, {-0.5f, 0, 0}},
       {{11, 0, -21}, {-11, 0, 21}},
       {false, false}},
      {1, "0.5 0 0\n 0 0 0", {{0.5f, 0, 0}}, {{0, 0, 0}}, {true}},
      {1, "0.33333 0 0.5\n 0 0 0", {{0.33333f, 0, 0.5f}}, {{0, 0, 0}}, {false}},
      {-2,
       "0.5 0 0\n 0 0 0\n0 0.25 0\n 31 0 0",
       {{0.5f, 0, 0}, {0, 0.25f, 0}, {-0.5f, 0, 0}, {0, -0.25f, 0}},
       {{0, 0, 0}, {31, 0, 0}, {0, 0, 0}, {-31, 0, 0}},
       {false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Nvk);
    reset();
    PhaseLines p;
    p.flags = Flags{.Nvk = c.Nvk};
    p.tail = c.lines;
    ASSERT_EQ(read_phase(p), "");
    EXPECT_TRUE(at_end());
    ASSERT_EQ(ph().Nvk, static_cast<int>(c.k.size()));
    for (size_t v = 1; v <= c.k.size(); ++v) {
      for (size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(ph().kvec[v][i].value, c.k[v - 1][i]) << v;
        EXPECT_FLOAT_EQ(ph().kvec[v][i].code, c.codes[v - 1][i]) << v;
      }
      EXPECT_EQ(ph().KvecEquivalent[v], c.equivalent[v - 1]) << v;
    }
  }
  // The last case: every vector echoed, the opposite ones numbered after the read ones.
  for (const char* line : {" => Vector [K]:   1  0.5000  0.0000  0.0000",
                           " => Vector [K]:   3 -0.5000  0.0000  0.0000",
                           " => Vector [K]:   4  0.0000 -0.2500  0.0000",
                           "          Code:   4  -31.00    0.00    0.00"})
    EXPECT_TRUE(listed(line)) << line;
  EXPECT_EQ(ph().kvec[4][0].ParNo, 3);
  EXPECT_FLOAT_EQ(ph().kvec[4][0].Mult, -1.0f);
}

TEST_F(PhaseTest, CellBecomesTheReciprocalMetric) {
  PhaseLines p;  // P 1 with a = 5, b = 6, c = 7, beta = 95
  ASSERT_EQ(read_phase(p), "");
  const float rad = 3.14159265f / 180.0f;
  const float s2 = std::sin(95 * rad) * std::sin(95 * rad);
  EXPECT_EQ(ph().DirectCell, (std::array<float, 6>{5, 6, 7, 90, 95, 90}));
  EXPECT_NEAR(ph().slot[6].value, 1.0f / (25 * s2), 1e-6);
  EXPECT_NEAR(ph().slot[7].value, 1.0f / 36, 1e-6);
  EXPECT_NEAR(ph().slot[8].value, 1.0f / (49 * s2), 1e-6);
  EXPECT_NEAR(ph().slot[9].value, 0.0f, 1e-6);
  EXPECT_NEAR(ph().slot[10].value, -2 * std::cos(95 * rad) / (35 * s2), 1e-6);
  EXPECT_NEAR(ph().slot[11].value, 0.0f, 1e-6);
  // The codewords stay as read: a, b, c and beta drive A, B, C and E.
  EXPECT_EQ(ph().slot[6].ParNo, 14);
  EXPECT_EQ(ph().slot[10].ParNo, 17);
  EXPECT_NEAR(ph().CellVolume, 5 * 6 * 7 * std::sin(95 * rad), 1e-3);
  EXPECT_TRUE(listed(" => Cell constraints according to Laue symmetry:  -1  "));
}

TEST_F(PhaseTest, CellIsConstrainedByTheLaueClass) {
  PhaseLines p;
  p.symmetry = "P 6/m m m";
  p.cell = "5.0 5.1 4.0 90.0 90.0 90.0\n 0 0 0 0 0 0";
  ASSERT_EQ(read_phase(p), "");
  EXPECT_EQ(ph().DirectCell, (std::array<float, 6>{5, 5, 4, 90, 90, 120}));
  EXPECT_NEAR(ph().slot[7].value, 4.0f / 75, 1e-6);                  // b*^2 = 4 / (3 a^2)
  EXPECT_NEAR(ph().slot[11].value, 4.0f / 75, 1e-6);                 // 2 a* b* cos(60)
  EXPECT_NEAR(ph().CellVolume, 25 * 4 * std::sqrt(3.0f) / 2, 1e-3);  // of the constrained cell
}

TEST_F(PhaseTest, SingularCellsStop) {
  for (const char* cell : {"0.0 6.0 7.0 90 90 90", "5 5 5 120 120 120", "5 5 5 90 90 180"}) {
    SCOPED_TRACE(cell);
    reset();
    PhaseLines p;
    p.cell = std::string(cell) + "\n 0 0 0 0 0 0";
    EXPECT_EQ(read_phase(p), "Bad cell parameters!");
  }
}

TEST_F(PhaseTest, DistanceAndMomentRestraints) {
  PhaseLines p;
  p.flags = Flags{.Dis = 2, .Mom = 1, .Jbt = 1};
  p.tail =
      "S    O3     -2   0.00000   0.50000   1.00000   1.47000   0.00000\n"
      "S    O1     26   0.0 0.0 0.0   1.49   0.02\n"
      "Mn   4.580 0.05000";
  ASSERT_EQ(read_phase(p), "");
  EXPECT_TRUE(at_end());
  const DistanceRestraint& d = ph().Distance[1];
  EXPECT_EQ(d.Label1, "S   ");
  EXPECT_EQ(d.Label2, "O3  ");
  EXPECT_EQ(d.Op, -2);
  EXPECT_EQ(d.Trans, (std::array<float, 3>{0, 0.5f, 1}));
  EXPECT_FLOAT_EQ(d.Dist, 1.47f);
  EXPECT_FLOAT_EQ(d.Sigma, 0.001f);  // a zero sigma
  EXPECT_FLOAT_EQ(ph().Distance[2].Sigma, 0.02f);
  EXPECT_EQ(ph().Moment[1].Prefix, "Mn");
  EXPECT_FLOAT_EQ(ph().Moment[1].Moment, 4.58f);
  const std::string listing_expected =
      " => Constraints on distances for phase  1\n"
      "    Distance between S    and O3   is   1.47000 with standard error:   0.00100\n"
      " -> The following operation will be applied to the second atom:\n"
      "    ITnum  Rotation part       Associated Translation\n"
      "     (26)   m ( x, y, 0) + {  0.0000  0.5000  1.0000}\n";
  EXPECT_NE(listing().find(listing_expected), std::string::npos) << listing();
  const std::string summary_expected =
      " => Constraints on distances for phase  1\n"
      "    Distance between S    and O3   is   1.47000 with standard error:   0.00100\n"
      "    (See output file *.OUT for symmetry details)\n"
      "    Distance between S    and O1   is   1.49000 with standard error:   0.02000\n"
      "    (See output file *.OUT for symmetry details)\n"
      " => Constraints on magnetic moments for phase  1\n"
      "    Moment of Mn is    4.580 with standard error:  0.05000\n"
      "\n";
  EXPECT_NE(summary().find(summary_expected), std::string::npos) << summary();
}

TEST_F(PhaseTest, RestraintWithoutAnOperatorStops) {
  PhaseLines p;
  p.flags = Flags{.Dis = 1};
  p.tail = "S    O3      0   0.0 0.0 0.0   1.47   0.01";
  EXPECT_EQ(read_phase(p), "  => Please check your input file at line:   12 !");
}

}  // namespace
}  // namespace kestovar::phase_test
