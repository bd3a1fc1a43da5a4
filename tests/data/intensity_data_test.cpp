// The intensity-data layouts read by read_intensity_data, the step reduction and the stops.
#include "data/intensity_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "data_reader_support.h"
#include "layout_samples.h"

namespace kestovar::test {
namespace {

TEST(FreeFormatData, SkipsCommentsAndShortRangesThenReadsCounts) {
  DataReader r(0);
  r.ts->settings().Rpa = 1;
  ASSERT_EQ(r.read(sample_ins0()), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.NPTS, 201);
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.05f);
  EXPECT_FLOAT_EQ(p.Thmax, 20.0f);
  EXPECT_FLOAT_EQ(p.X[1], 10.0f);
  EXPECT_NEAR(p.X[201], 20.0f, 1e-4);
  EXPECT_NEAR(p.X[202], 20.05f, 1e-4);
  EXPECT_FLOAT_EQ(p.Yobs[1], 101.0f);
  EXPECT_FLOAT_EQ(p.Yobs[201], 301.0f);
  EXPECT_FLOAT_EQ(p.Variance[7], p.Yobs[7]);
  EXPECT_EQ(p.Ncount[5], 1);
  EXPECT_EQ(p.ConstantStep, 1);
  EXPECT_NE(r.listing().find("\n => Reading Intensity data  =>>\n\n"), std::string::npos);
  // Numor and Tsample keep the values the store had.
  EXPECT_EQ(r.rpa(), "DATT        0   0      293.00\n");
}

TEST(FreeFormatData, BankLineGivesBankPointsStartAndStep) {
  DataReader r(0);
  const std::string bank = "BANK" + text::pad("  3  6", 37) + std::string(5, ' ') + "  5.0  0.5";
  ASSERT_EQ(r.read("title\n" + bank + "\n1 2 3\n4 5 6\n"), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.Iset, 3);
  EXPECT_EQ(p.NPTS, 6);
  EXPECT_FLOAT_EQ(p.Thmin, 5.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.5f);
  EXPECT_FLOAT_EQ(p.Thmax, 7.5f);
  EXPECT_FLOAT_EQ(p.Yobs[6], 6.0f);
}

TEST(FreeFormatData, SevenLinesWithoutRangeStop) {
  DataReader r(0);
  EXPECT_EQ(r.read("a\nb\nc\nd\ne\nf\n1 2\n10 1 20\n"),
            trimmed("  Error on Intensity file, check your instr parameter! "));
  // The message names the file and the line before the stop.
  EXPECT_NE(r.screen().find("d.dat: read error at line 7"), std::string::npos);
}

TEST(FreeFormatData, TooManyPointsStopsWithBothLines) {
  DataReader r(0);
  EXPECT_EQ(r.read("0 1 32000\n1 2 3\n"), " Too many points");
  const std::string out = r.listing();
  EXPECT_NE(out.find(" => Program can handle32000 points, \n"
                     "                      32001 points were input\n"),
            std::string::npos);
  EXPECT_NE(r.screen().find(" => Program can handle32000 points, 32001 points were input"),
            std::string::npos);
  EXPECT_EQ(r.p().NPTS, 0);  // nothing of the file reached the store
}

TEST(FreeFormatData, EndOfFileAmongCountsStops) {
  DataReader r(0);
  EXPECT_EQ(r.read("10 1 20\n1 2 3 4 5"), " End of file *.DAT");
}

TEST(CounterPairData, CounterZeroAndCountZeroBecomeOne) {
  DataReader r(1);
  ASSERT_EQ(r.read(sample_ins1()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 3);
  EXPECT_EQ(p.Ncount[1], 1);
  EXPECT_FLOAT_EQ(p.Yobs[1], 1.0f);
  EXPECT_FLOAT_EQ(p.Variance[1], 1.0f);
  EXPECT_EQ(p.Ncount[2], 2);
  EXPECT_FLOAT_EQ(p.Variance[2], 50.0f);
  EXPECT_FLOAT_EQ(p.X[3], 12.0f);
}

TEST(CellDetectorData, FourHundredCellsFromTheAngle) {
  DataReader r(2);
  ASSERT_EQ(r.read(sample_ins2()), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.NPTS, 400);
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.2f);
  EXPECT_FLOAT_EQ(p.Thmax, 89.8f);
  EXPECT_FLOAT_EQ(p.Yobs[1], 1002.0f);  // the first count is replaced by the second
  EXPECT_FLOAT_EQ(p.Yobs[3], 1003.0f);
  EXPECT_FLOAT_EQ(p.Yobs[11], 1011.0f);  // later lines start in column 1
  EXPECT_FLOAT_EQ(p.Yobs[399], 1399.0f);
  EXPECT_FLOAT_EQ(p.Yobs[400], 1399.0f);
  EXPECT_FLOAT_EQ(p.Variance[200], p.Yobs[200]);
  EXPECT_EQ(p.Numor, 4321);
  EXPECT_FLOAT_EQ(p.Tsample, 4321.0f);
  EXPECT_EQ(p.Iset, 1);
  EXPECT_EQ(text::trim_right(p.Title), "Sample title");
  EXPECT_NE(r.listing().find("\n=> Date of experiment: 12-DEC-90"), std::string::npos);
  EXPECT_NE(r.listing().find(" => Numor:    4321 Title of experiment: Sample title"),
            std::string::npos);
  EXPECT_EQ(r.summary(), " -> Numor & Tsample:   4321 4321.00\n");
}

TEST(MulticounterData, ParameterLinesAndCounterPairs) {
  DataReader r(3);
  r.ts->settings().Rpa = 1;
  ASSERT_EQ(r.read(sample_ins3()), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.NPTS, 25);
  EXPECT_FLOAT_EQ(p.Thmin, 5.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.1f);
  EXPECT_NEAR(p.Thmax, 7.4f, 1e-5);
  EXPECT_FLOAT_EQ(p.Tsample, 1.5f);
  EXPECT_EQ(p.Numor, 54321);
  EXPECT_EQ(p.Iset, 3);
  EXPECT_EQ(p.Ncount[2], 1);  // counter 0
  EXPECT_FLOAT_EQ(p.Variance[2], 200.0f);
  EXPECT_FLOAT_EQ(p.Yobs[3], 1.0f);  // count 0
  EXPECT_FLOAT_EQ(p.Variance[4], 200.0f);
  const std::string out = r.listing();
  EXPECT_NE(out.find("     Nset:    2"), std::string::npos);
  EXPECT_NE(out.find("       1   54321       7"), std::string::npos);
  EXPECT_NE(out.find(" => Number of data lines:     3\n\n"), std::string::npos);
  EXPECT_NE(out.find(" -> Numor & Tsample:  54321  1.5000"), std::string::npos);
  EXPECT_EQ(r.summary(), " => Numor & Tsample:  54321    1.50\n");
  EXPECT_EQ(r.rpa().substr(0, 29), "DATT    54321   7        1.50");
}

TEST(CountSigmaData, ReplacesZeroCountsAndSigmas) {
  DataReader r(4);
  ASSERT_EQ(r.read(sample_ins4()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 5);
  EXPECT_FLOAT_EQ(p.Yobs[2], 100.0f);  // the count of the point before
  EXPECT_FLOAT_EQ(p.Variance[2], 25.0f);
  EXPECT_FLOAT_EQ(p.Variance[3], 1.0f);  // sigma 0 becomes 1
  EXPECT_FLOAT_EQ(p.Variance[5], 49.0f);
  EXPECT_NEAR(p.Cnorm, (1.0 + 0.25 + 0.02 + 0.6 + 0.7) / 5, 1e-6);
}

TEST(DatedSetData, DeadTimeAndMonitorCorrection) {
  DataReader r(-4);
  ASSERT_EQ(r.read(sample_ins_minus4()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 5);  // 3 points, then 3 - 1
  EXPECT_FLOAT_EQ(p.Thmin, 0.0f);
  EXPECT_FLOAT_EQ(p.Thmax, 4.0f);
  EXPECT_FLOAT_EQ(p.X[5], 4.0f);
  // r = 100 counts/s, d = 1 - 2.4621e-4, monitor 1000: Y = r/d, variance = 10/d^2.
  EXPECT_NEAR(p.Yobs[1], 100.02462, 1e-3);
  EXPECT_NEAR(p.Variance[5], 10.004925, 1e-4);
  EXPECT_NEAR(p.Cnorm, 10.004925 / 100.02462, 1e-5);
  EXPECT_NE(r.listing().find("Test of dated sets"), std::string::npos);
}

TEST(DatedSetData, MonitorFirstTagAndUnknownTag) {
  std::string set = lines("(I8,F8.0,F10.0)", {I(1), R(1000), R(0)}) +
                    lines("(6F8.0)", {R(0), R(1), R(1), R(10), R(100), R(0)});
  std::string points;
  for (int k = 0; k < 2; ++k) points += lines("(51X,F10.0,1X,F10.0)", {R(1100), R(1000)});
  {
    DataReader r(-4);
    ASSERT_EQ(r.read("AUG86title\n" + set + points), "");
    EXPECT_EQ(r.p().NPTS, 2);
    EXPECT_NEAR(r.p().Yobs[2], 100.02462, 1e-3);
  }
  {
    DataReader r(-4);
    EXPECT_EQ(r.read("MAY90title\n" + set + points),
              trimmed("  Error on Intensity file, check your instr parameter! "));
    EXPECT_NE(r.listing().find("     When was this data taken. OCT85,FEB86 or AUG86 ?"),
              std::string::npos);
  }
}

TEST(TwoAxisData, MonitorRatioOrSigmasFromFile) {
  {
    DataReader r(5);
    r.ts->settings().Rpa = 1;
    ASSERT_EQ(r.read(sample_ins5(0)), "");
    const Pattern& p = r.p();
    ASSERT_EQ(p.NPTS, 4);
    EXPECT_FLOAT_EQ(p.Cnorm, 2.0f);
    EXPECT_FLOAT_EQ(p.Variance[3], 60.0f);
    EXPECT_FLOAT_EQ(p.Tsample, 10.0f);
    EXPECT_FLOAT_EQ(p.X[4], 21.5f);
    const std::string out = r.listing();
    EXPECT_NE(out.find(" -> Heading of input data:\n\n   -> head one\n"), std::string::npos);
    EXPECT_NE(out.find("   -> NPTS:     4 Temperature (Sample & Regul):    10.00   12.00"),
              std::string::npos);
    EXPECT_NE(out.find("   -> Standard deviations of Yi assumed SQRT(Yi*Cnorm/Monitor) "),
              std::string::npos);
    EXPECT_EQ(r.rpa(), "DATT        0   0       10.00\n");
  }
  {
    DataReader r(5);
    ASSERT_EQ(r.read(sample_ins5(1)), "");
    const Pattern& p = r.p();
    EXPECT_FLOAT_EQ(p.Yobs[2], 1.0e-4f);
    EXPECT_FLOAT_EQ(p.Variance[3], 1.0f);  // sigma 0
    EXPECT_FLOAT_EQ(p.Variance[4], 16.0f);
    EXPECT_NEAR(p.Cnorm, (0.1 + 4.0 / 1e-4 + 1.0 / 30 + 0.4) / 4, 0.01);
    EXPECT_NE(r.listing().find("   -> Standard deviations of Yi read from file "),
              std::string::npos);
  }
}

TEST(SummedPairData, MarkerDropsTheLastCompleteLine) {
  DataReader r(6);
  ASSERT_EQ(r.read(sample_ins6()), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.NPTS, 20);
  EXPECT_NEAR(p.Thmax, 10.95f, 1e-5);
  EXPECT_FLOAT_EQ(p.Cnorm, 2.0f);
  EXPECT_EQ(p.Ncount[1], 2);
  EXPECT_FLOAT_EQ(p.Variance[1], 10.0f);  // 10 * 2 / 2
  EXPECT_FLOAT_EQ(p.Variance[20], 400.0f);
  EXPECT_EQ(text::trim_right(p.Title), "Summed D1A data");
  EXPECT_NE(r.listing().find("   ->    Step:    0.050"), std::string::npos);
}

TEST(TripletData, OwnAbscissas) {
  DataReader r(7);
  ASSERT_EQ(r.read(sample_ins7()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 3);
  EXPECT_EQ(p.ConstantStep, 0);
  EXPECT_FLOAT_EQ(p.X[3], 2.5f);
  EXPECT_FLOAT_EQ(p.X[4], 3.5f);
  EXPECT_FLOAT_EQ(p.Step, 0.5f);
  EXPECT_FLOAT_EQ(p.Thmax, 2.5f);
  EXPECT_FLOAT_EQ(p.Variance[2], 200.0f);
  EXPECT_NEAR(p.Cnorm, (0.5 + 1.0 + 2.0 / 0.001) / 3, 1e-2);
  EXPECT_FLOAT_EQ(p.Tsample, 4.0f);
}

TEST(CountThenSigmaData, SigmasOptionalAtEndOfFile) {
  {
    DataReader r(8);
    ASSERT_EQ(r.read(sample_ins8()), "");
    const Pattern& p = r.p();
    ASSERT_EQ(p.NPTS, 5);
    EXPECT_FLOAT_EQ(p.Variance[4], 1600.0f);
    EXPECT_NEAR(p.Cnorm, (1.0 + 2.0 + 3.0 + 4.0 + 1000.0) / 5, 1e-3);
  }
  {
    // Without sigmas the counts keep their own variance; zero variances would replace
    // every point by the zero-count repair.
    DataReader r(8);
    std::string d = sample_ins8();
    d.resize(d.rfind('\n', d.size() - 2) + 1);  // without the sigma line
    ASSERT_EQ(r.read(d), "");
    EXPECT_FLOAT_EQ(r.p().Yobs[3], 300.0f);
    EXPECT_FLOAT_EQ(r.p().Variance[3], 300.0f);
    EXPECT_FLOAT_EQ(r.p().Cnorm, 1.0f);
  }
}

TEST(XySigmaData, SixCommentLinesZeroLineAndNoSigmas) {
  DataReader r(10);
  ASSERT_EQ(r.read(sample_ins10()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 3);
  EXPECT_EQ(p.ConstantStep, 0);
  EXPECT_FLOAT_EQ(p.X[3], 10.3f);
  EXPECT_FLOAT_EQ(p.Variance[2], 200.0f);
  EXPECT_FLOAT_EQ(p.Cnorm, 1.0f);
  EXPECT_NEAR(p.Step, 0.15f, 1e-5);
  const std::string out = r.listing();
  EXPECT_NE(out.find(" -> No recognizable heading in input data file X,Y,sigma\n"
                     "    First 6 lines are considered as COMMENTS \n -> COMMENT: c1\n"),
            std::string::npos);
  EXPECT_NE(out.find(" -> COMMENT: c6\n"), std::string::npos);
}

TEST(XySigmaData, InterLineResamplesAndFloorsAtOne) {
  DataReader r(10);
  ASSERT_EQ(r.read(sample_ins10_inter()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 21);
  EXPECT_EQ(p.ConstantStep, 1);
  EXPECT_FLOAT_EQ(p.Step, 0.05f);
  EXPECT_NEAR(p.Thmax, 1.0f, 1e-5);
  EXPECT_NEAR(p.X[2], 0.05f, 1e-6);
  EXPECT_NEAR(p.Yobs[2], 100.5f, 1e-3);  // the spline reproduces a straight line
  EXPECT_NEAR(p.Yobs[21], 110.0f, 1e-3);
  EXPECT_FLOAT_EQ(p.Variance[2], 1.0f);  // 0.25 floored
  EXPECT_FLOAT_EQ(p.Tsample, 77.5f);
  EXPECT_FLOAT_EQ(p.Backg[3], 0.0f);  // scratch cleared
  EXPECT_FLOAT_EQ(p.Ycalc[3], 0.0f);
  const std::string out = r.listing();
  EXPECT_NE(out.find(" => Heading of input data file X,Y,sigma\n -> INTER 1.0 1.0 1 0.05\n"),
            std::string::npos);
  EXPECT_NE(out.find(" -> Input X-values multiplied internally by       1.0000"),
            std::string::npos);
  EXPECT_NE(out.find(" -> Internal interpolation for constant STEP =  0.05000"), std::string::npos);
}

TEST(XySigmaData, MultipliersAndCoincidentAbscissas) {
  {
    DataReader r(10);
    ASSERT_EQ(r.read("XYDATA\nINTER 2.0 -1 0 0\nh\nh\nh\nh\n1 10 2\n2 20 2\n"), "");
    EXPECT_FLOAT_EQ(r.p().X[2], 4.0f);
    EXPECT_FLOAT_EQ(r.p().Yobs[2], 20.0f);  // a multiplier not positive becomes 1
    EXPECT_FLOAT_EQ(r.p().Variance[2], 4.0f);
  }
  {
    DataReader r(10);
    EXPECT_EQ(r.read("XYDATA\nINTER 1 1 1 0.1\nh\nh\nh\nh\n1 10 2\n1 20 2\n2 20 2\n"),
              trimmed(" => Problem with interpolation!, check your background points! "));
    EXPECT_NE(r.screen().find(" => Problem with interpolation!, check your background points!"),
              std::string::npos);
  }
  {
    DataReader r(10);  // a heading and no data
    EXPECT_EQ(r.read("c\nc\nc\nc\nc\nc\n"), " End of file *.DAT");
  }
}

// The public POWGEN time-of-flight pattern (TOF, Y, esd records after a BANK line) turned into
// an X, Y, sigma file with an XYDATA heading of six lines whose second line is `second`.
struct TofSet {
  std::string file;
  std::vector<double> t, y, e;
};

TofSet powgen_as_xy_sigma(const std::string& second) {
  TofSet s;
  std::ifstream in(shared_data_dir() + "/PG3_22048.gsa");
  std::string line;
  std::vector<std::string> head;
  while (std::getline(in, line) && line.rfind("BANK", 0) != 0) head.push_back(line);
  s.file =
      "XYDATA\n" + second + "\n" + head[0] + "\n" + head[5] + "\n" + head[11] + "\n" + line + "\n";
  while (std::getline(in, line)) {
    std::istringstream v(line);
    double t = 0, y = 0, e = 0;
    if (!(v >> t >> y >> e)) continue;
    s.t.push_back(t);
    s.y.push_back(y);
    s.e.push_back(e);
    s.file += line + "\n";
  }
  return s;
}

TEST(XySigmaData, TimeOfFlightPatternOfThePublicSet) {
  if (shared_data_dir().empty())
    GTEST_SKIP() << "public data directory " << KESTOVAR_SHARED_DATA << " is absent";
  const TofSet s = powgen_as_xy_sigma("TEMP 300.0");
  const int n = static_cast<int>(s.t.size());
  ASSERT_EQ(n, 6825);
  DataReader r(10, -1);
  ASSERT_EQ(r.read(s.file), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, n);
  EXPECT_EQ(p.ConstantStep, 0);
  EXPECT_FLOAT_EQ(p.Tsample, 300.0f);
  EXPECT_FLOAT_EQ(p.Thmin, 6777.0815f);
  EXPECT_FLOAT_EQ(p.Thmax, 103815.5135f);
  double cnorm = 0;
  int zero_counts = 0;
  for (int i = 1; i <= n; ++i) {
    const size_t k = static_cast<size_t>(i - 1);
    ASSERT_FLOAT_EQ(p.X[i], static_cast<float>(s.t[k])) << i;
    ASSERT_FLOAT_EQ(p.Yobs[i], static_cast<float>(s.y[k])) << i;
    const float sigma = static_cast<float>(s.e[k]);
    ASSERT_FLOAT_EQ(p.Variance[i], sigma * sigma) << i;
    cnorm += s.e[k] * s.e[k] / std::max(s.y[k], 0.001);
    if (p.Yobs[i] == 0.0f) {
      ++zero_counts;
      EXPECT_NEAR(p.X[i], 102863.47f, 0.01f);  // kept as read, its sigma from the file
      EXPECT_NEAR(p.Variance[i], 182.54f * 182.54f, 1.0f);
    }
  }
  EXPECT_EQ(zero_counts, 1);
  EXPECT_NEAR(p.Cnorm, cnorm / n, 1e-4 * cnorm / n);
  // Logarithmic bins: the mean step, and the extra abscissa from the last bin.
  EXPECT_NEAR(p.Step, (s.t.back() - s.t.front()) / (n - 1), 1e-3);
  EXPECT_NEAR(p.X[n + 1], 2 * s.t[n - 1] - s.t[n - 2], 0.01);
  const std::string out = r.listing();
  EXPECT_NE(out.find(" => Heading of input data file X,Y,sigma\n -> TEMP 300.0\n"
                     " -> Sample Run: 22048"),
            std::string::npos);
  EXPECT_NE(out.find(" -> BANK 2 6825 6825 SLOG"), std::string::npos);
}

TEST(XySigmaData, TimeOfFlightPatternResampledToAConstantStep) {
  if (shared_data_dir().empty())
    GTEST_SKIP() << "public data directory " << KESTOVAR_SHARED_DATA << " is absent";
  const TofSet s = powgen_as_xy_sigma("INTER 1.0 1.0 1 10.0");
  DataReader r(10, -1);
  ASSERT_EQ(r.read(s.file), "");
  const Pattern& p = r.p();
  const float x1 = static_cast<float>(s.t.front()), xn = static_cast<float>(s.t.back());
  const int n = static_cast<int>((xn - x1) / 10.0f + 1.05f);
  ASSERT_EQ(p.NPTS, n);
  EXPECT_EQ(p.ConstantStep, 1);
  EXPECT_FLOAT_EQ(p.Step, 10.0f);
  EXPECT_FLOAT_EQ(p.X[1], x1);
  EXPECT_NEAR(p.X[n], x1 + (n - 1) * 10.0f, 0.01f);
  EXPECT_NEAR(p.Thmax, p.X[n], 0.01f);
  // The spline passes through the first point read.
  EXPECT_NEAR(p.Yobs[1], s.y.front(), 1e-3);
  EXPECT_NEAR(p.Variance[1], s.e.front() * s.e.front(), 1e-2);
  for (int i = 1; i <= n; ++i) {
    ASSERT_GE(p.Yobs[i], 1.0f) << i;
    ASSERT_GE(p.Variance[i], 1.0f) << i;
  }
}

TEST(VariableTimeData, NormalisedToTheMeanTime) {
  DataReader r(11);
  ASSERT_EQ(r.read(sample_ins11()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 3);
  EXPECT_FLOAT_EQ(p.Yobs[1], 200.0f);
  EXPECT_FLOAT_EQ(p.Yobs[2], 100.0f);
  EXPECT_FLOAT_EQ(p.Variance[3], 200.0f);
  const std::string out = r.listing();
  EXPECT_NE(out.find("   -> THMIN,STEP,THMAX, NPTS:    10.0000    1.0000   12.0000       3"),
            std::string::npos);
  EXPECT_NE(out.find(" => Variable time data collection, Normalizing Time:     2.0000"),
            std::string::npos);
}

TEST(VariableTimeData, ZeroTimeStops) {
  DataReader r(11);
  EXPECT_EQ(r.read("h1\nh2\nh3\nh4\n10 1 12\n" +
                   lines("(5(F6.0,F10.0))", {R(1), R(100), R(0), R(100), R(3), R(300)})),
            " Zero time in *.DAT");
  EXPECT_NE(r.screen().find("stopped at line 6"), std::string::npos);
}

TEST(StepReduction, KeepsEveryThirdPoint) {
  DataReader r(0);
  r.ts->settings().Ste = 3;
  std::string d = "0 0.01 9.99\n";
  for (int i = 1; i <= 1000; ++i) d += std::to_string(i) + "\n";
  ASSERT_EQ(r.read(d), "");
  const Pattern& p = r.p();
  EXPECT_EQ(p.NPTS, 333);
  EXPECT_FLOAT_EQ(p.Step, 0.03f);
  EXPECT_FLOAT_EQ(p.Yobs[2], 4.0f);  // the fourth point read
  EXPECT_NEAR(p.X[2], 0.03f, 1e-6);
  EXPECT_FLOAT_EQ(p.Yobs[333], 997.0f);
  EXPECT_NEAR(p.Thmax, 332 * 0.03f, 1e-4);
  EXPECT_NEAR(p.X[334], 333 * 0.03f, 1e-4);
}

TEST(StepReduction, FewerPointsThanTheFactorKeepsOne) {
  Pattern p;
  p.NPTS = 2;
  p.Step = 0.1f;
  p.X[1] = 1.0f;
  p.X[2] = 1.1f;
  reduce_steps(p, 5);
  set_extra_abscissa(p);
  EXPECT_EQ(p.NPTS, 1);
  EXPECT_NEAR(p.X[2], 1.5f, 1e-6);
}

TEST(IntensityData, LayoutOutsideTheTableStops) {
  for (int ins : {13, -1, 99}) {
    DataReader r(ins);
    EXPECT_EQ(r.read("10 1 20\n"), " Invalid instr parameter") << ins;
  }
}

TEST(IntensityData, FallsBackToTheUxdFile) {
  DataReader r(1);
  ASSERT_EQ(r.read(sample_ins1(), "d.uxd"), "");
  EXPECT_EQ(r.p().NPTS, 3);
  EXPECT_FALSE(r.ts->files.is_open(unit::DAT));
}

TEST(IntensityData, StopLeavesTheStoredPatternAndClosesTheFile) {
  DataReader r(1);
  r.ts->pattern().NPTS = 7;
  r.ts->pattern().Yobs[1] = 5.0f;
  EXPECT_EQ(r.read("10 1 30\n 1   100\n"), " End of file *.DAT");
  EXPECT_EQ(r.p().NPTS, 7);
  EXPECT_FLOAT_EQ(r.p().Yobs[1], 5.0f);
  EXPECT_FALSE(r.ts->files.is_open(unit::DAT));
}

TEST(IntensityData, CountsThatAreNotNumbersStop) {
  DataReader r(1);
  EXPECT_EQ(r.read("10 1 12\n 1   100 1   abc\n"),
            trimmed("  Error on Intensity file, check your instr parameter! "));
  DataReader r2(1);
  EXPECT_EQ(r2.read("10 x 12\n"),
            trimmed("  Error on Intensity file, check your instr parameter! "));
  DataReader r3(1);
  EXPECT_EQ(r3.read("10 0 12\n"),
            trimmed("  Error on Intensity file, check your instr parameter! "));
}

}  // namespace
}  // namespace kestovar::test
