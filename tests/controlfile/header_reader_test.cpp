// The control-file header and pattern section.
#include "controlfile/header_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "controlfile/control_file.h"
#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

// A pattern-calculation header (no data file needed), with lines that tests replace.
struct Header {
  std::string title = "COMM Test header";
  std::string job = "   2   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0";
  std::string flags = "   0   0   1   0   1   0   0   0   0   1   0   0   0   0   0   0   0";
  std::string instrument = " 1.540560 1.544390 0.5000 40.000 8.0000 0.7998 0.0000 40.00 0.0000";
  std::string cycle = "   1 0.20 1.00 1.00 1.00 1.00 10.0000 0.0500 20.0000 0.000 0.000";
  std::string extra;  // background points, excluded regions, scattering entries
  std::string npar = "   0";
  std::string globals = "  0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0";
  std::string background = "  1 2 3 4 5 6\n 0 0 0 0 0 0";
  std::string tail;

  std::string text() const {
    std::string t = title + "\n!Job Npr ...\n" + job + "\n! flags\n" + flags + "\n";
    if (!instrument.empty()) t += instrument + "\n";
    t += cycle + "\n" + extra + npar + "\n";
    if (!globals.empty()) t += globals + "\n";
    if (!background.empty()) t += background + "\n";
    return t + tail;
  }
};

class HeaderTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  // Reads the header section of `h`; returns the stop text, "" when it was read.
  std::string read(const Header& h) {
    dir.write("job.pcr", h.text());
    ts->run.PcrCode = "job";
    ts->run.DatFile = "job";
    open_run_file(*ts, 1);
    open_run_file(*ts, 2);
    std::string stop;
    try {
      read_header_section(*ts);
    } catch (const StopError& e) {
      stop = e.text();
    }
    ts->files.close(unit::OUT);
    ts->files.close(unit::SUM);
    return stop;
  }
  // Reads a header whose job line asks (Cor = `cor`) for the correction file `name`.
  std::string read_with_corrections(const char* name, const char* content, int cor) {
    dir.write(name, content);
    Header h;
    h.job =
        "   2   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   " + std::to_string(cor);
    return read(h);
  }
  std::string listing() { return dir.read("job.out"); }
  std::string summary() { return dir.read("job.sum"); }
  RunSettings& s() { return ts->settings(); }
};

TEST_F(HeaderTest, PatternCalculationBuildsItsAbscissas) {
  Header h;
  ASSERT_EQ(read(h), "");
  const Pattern& p = ts->pattern();
  EXPECT_EQ(p.NPTS, 201);
  EXPECT_FLOAT_EQ(p.X[1], 10.0f);
  EXPECT_FLOAT_EQ(p.X[201], 20.0f);
  EXPECT_NEAR(p.X[202], 20.05f, 1e-4);
  EXPECT_EQ(s().Title.substr(0, 13), " Test header ");
  EXPECT_EQ(s().Title.size(), 66u);
  EXPECT_EQ(s().Npr, 6);  // internal value
  EXPECT_FLOAT_EQ(s().Global[2].value, 1.0f);
  EXPECT_FLOAT_EQ(s().Global[7].value, 6.0f);
  EXPECT_FLOAT_EQ(s().Global[22].value, 1.0f);
  test::expect_golden(listing(), "controlfile/golden/header_calc.out");
  test::expect_golden(summary(), "controlfile/golden/header_calc.sum");
}

TEST_F(HeaderTest, JobLineAdjustments) {
  Header h;
  // Nph -2 selects the 1982 asymmetry correction; Npr 10 is taken as 9; Dum 3.
  h.job = "   2  10  -2   0   0   0   0   3   0   0   0   0   0   0   0   0   0";
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().Nph, 2);
  EXPECT_EQ(s().AsyMode, 1);
  EXPECT_EQ(s().Npr, 10);
  EXPECT_FLOAT_EQ(s().DumFactor, 1.0f);
  EXPECT_NE(listing().find(" => Asymmetry correction as in J.Appl.Cryst. 15,615(1982)"),
            std::string::npos);
  EXPECT_NE(listing().find(" => T.O.F Profile Function #1 "), std::string::npos);
}

TEST_F(HeaderTest, IntegratedIntensitiesIgnorePatternFlags) {
  Header h;
  h.job = "   2   7   1   5   3   0   0   2   0   0   0   1   3   0   1   0   0";
  h.instrument.clear();  // no instrument line with Cry not 0
  h.globals.clear();
  h.background.clear();
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().Nba, 0);
  EXPECT_EQ(s().Nex, 0);
  EXPECT_EQ(s().Res, 0);
  EXPECT_EQ(s().Ste, 0);
  EXPECT_EQ(s().Dum, 0);
  EXPECT_EQ(s().Npr, 1);
  EXPECT_FLOAT_EQ(s().Ratio, 0.0f);
  EXPECT_FLOAT_EQ(s().Lambda1, 0.0f);
}

TEST_F(HeaderTest, BackgroundPointsExcludedRegionsAndNegativeRatio) {
  Header h;
  h.job = "   2   5   1  -4   2   0   0   0   0   0   0   0   0   0   0   0   0";
  h.instrument = " 1.540560 1.544390 -0.5 40.000 8.0000 0.7998 0.0000 40.00 0.0000";
  h.extra = " 10.0 100.0\n 12.0 110\n!c\n 15 90\n 20 80\n 0 10.5\n 18.5 19\n";
  h.background.clear();
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().Nba, 4);
  EXPECT_EQ(s().NbaSign, -1);
  EXPECT_FLOAT_EQ(s().BackInt[2], 110.0f);
  EXPECT_FLOAT_EQ(s().ExclHigh[2], 19.0f);
  EXPECT_FLOAT_EQ(s().Ratio, 0.5f);
  EXPECT_EQ(s().RatioNegative, 1);
  const std::string out = listing();
  EXPECT_NE(out.find(" => Background interpolated by cubic splines between the    4 points given"),
            std::string::npos);
  EXPECT_NE(out.find("       15.00       90.00\n"), std::string::npos);
  EXPECT_NE(out.find("     18.5000     19.0000\n"), std::string::npos);
  EXPECT_NE(out.find(" => Different U,V,W parameters for Lambda(2) will be read"),
            std::string::npos);
}

TEST_F(HeaderTest, FourierWindowAndPolynomialModels) {
  Header h;
  h.job = "   2   5   1  -2   0   0   0   0   0   0   0   0   0   0   0   0   0";
  h.background = "  5.5";
  ASSERT_EQ(read(h), "");
  EXPECT_FLOAT_EQ(s().FourierWindow, 5.5f);
  EXPECT_EQ(s().Ppl, 2);
  EXPECT_NE(summary().find(" => Window for Fourier filtering :    5.50"), std::string::npos);

  Header d;
  d.job = "   2   5   1  -1   0   0   0   0   0   0   0   0   0   0   0   0   0";
  d.background =
      " 1 2 3 4 5 6\n 0 0 0 0 0 0\n 7 8 9 10 11 12\n 0 0 0 0 0 0\n 0 2 0 0 0 0\n 0 0 0 0 0 0";
  test::TestStore fresh;
  ts.store.swap(fresh.store);
  ASSERT_EQ(read(d), "");
  EXPECT_FLOAT_EQ(s().Global[15].value, 12.0f);
  EXPECT_FLOAT_EQ(s().Global[16].value, 1.0f);  // distances below 1E-5 become 1
  EXPECT_FLOAT_EQ(s().Global[17].value, 2.0f);
}

TEST_F(HeaderTest, BackgroundFileIsReadForAPatternCalculationToo) {
  std::string bac = "background\n";
  for (int i = 1; i <= 201; ++i) bac += " " + std::to_string(i) + (i % 10 == 0 ? "\n" : "");
  dir.write("job.bac", bac + "\n");
  Header h;
  h.job = "   2   5   1   1   0   0   0   0   0   0   0   0   0   0   0   0   0";
  h.background = " 2.0 0.0 0.0 0.0\n 0 0 0 0";
  ASSERT_EQ(read(h), "");
  EXPECT_FLOAT_EQ(s().Global[22].value, 2.0f);
  EXPECT_FLOAT_EQ(ts->pattern().BackRead[1], 1.0f);
  EXPECT_FLOAT_EQ(ts->pattern().BackRead[201], 201.0f);
}

TEST_F(HeaderTest, RefinedWavelength) {
  Header h;
  h.job = "   0   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0";
  h.globals = "  0.0 0.0 0.0 0.0 0.0 0.0 1.5410 11.0 0";
  h.npar = "  1";
  // No data file: the reading stops at the data, after the global lines.
  EXPECT_NE(read(h), "");
  EXPECT_FLOAT_EQ(s().Lambda1, 1.541f);
  EXPECT_FLOAT_EQ(s().Lambda2, 1.541f);
  EXPECT_NE(summary().find(" => Wavelength is refined"), std::string::npos);
}

TEST_F(HeaderTest, ScatteringEntries) {
  Header h;
  h.job = "   3   5   1   0   0   2   0   0   0   0   0   0   0   0   0   0   0";
  h.extra = "Va   -0.0382  0.0  0\nFe 0.954 0 0\n";
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().Scatter[1].label, "Va  ");
  EXPECT_FLOAT_EQ(s().Scatter[1].v1, -0.0382f);
  EXPECT_FLOAT_EQ(s().Scatter[2].v1, 0.954f);

  Header x;  // X-ray: a table of points for negative Nsc, kind-0 labels in lower case
  x.job = "   2   5   1   0   0  -1   0   0   0   0   0   0   0   0   0   0   0";
  x.extra = "CU  0.1 3.2 1\n 0.0 29.0\n 0.5 12.0\n -100 0\n";
  test::TestStore fresh;
  ts.store.swap(fresh.store);
  ASSERT_EQ(read(x), "");
  EXPECT_EQ(s().Scatter[1].npoints, 2);
  EXPECT_FLOAT_EQ(s().Scatter[1].f[2], 12.0f);
  EXPECT_FLOAT_EQ(s().Scatter[1].v2, 3.2f);

  Header c;  // X-ray coefficients on one line
  c.job = "   2   5   1   0   0   1   0   0   0   0   0   0   0   0   0   0   0";
  c.extra = "XX  0.0 0.0 0\n 1 2 3 4 5 6 7 8 9\n";
  test::TestStore fresh2;
  ts.store.swap(fresh2.store);
  ASSERT_EQ(read(c), "");
  EXPECT_EQ(s().Scatter[1].label, "xx  ");
  EXPECT_TRUE(s().Scatter[1].has_coefficients);
  EXPECT_FLOAT_EQ(s().Scatter[1].coeff[9], 9.0f);
}

TEST_F(HeaderTest, RpaHeaderAndSymFile) {
  Header h;
  h.flags = "   0   0   1   0   1   0   0   0   0   1   0   1   1   0   0   0   0";
  ASSERT_EQ(read(h), "");
  ts->files.close(unit::RPA);
  ts->files.close(unit::SYM);
  std::string rpa = dir.read("job.rpa");
  EXPECT_EQ(rpa.substr(0, 5), "TITL ");
  EXPECT_NE(rpa.find("\nFILES => PCR-file : job\n"), std::string::npos);
  EXPECT_NE(rpa.find("\nGLB1     1       0       0       0       0   \n"), std::string::npos);
  EXPECT_NE(rpa.find("\nGLB1     2       5       0       0       0       0   \n"),
            std::string::npos);
  EXPECT_NE(rpa.find("\nOUT2    0     1     1     0     0     0     0  \n"), std::string::npos);
  std::string sym = dir.read("job.sym");
  EXPECT_EQ(sym, "  Test header" + std::string(58, ' ') + "\n    0  3.5000\n");
}

TEST_F(HeaderTest, CyclicModeOverridesOutputFlags) {
  Header h;
  h.flags = "   1   1   1   1   0   1   1   1   1   1   0   0   1   1   1   0   1";
  ts->run.CyclicMode = 1;
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().Pcr, 1);
  EXPECT_EQ(s().Sho, 1);
  EXPECT_EQ(s().Rpa, 1);
  EXPECT_EQ(s().Ipr + s().Ppl + s().Ioc + s().Mat + s().Ls1 + s().Ls2 + s().Ls3 + s().Syo +
                s().Prf + s().Sym + s().Hkl + s().Fou + s().Ana,
            0);
}

TEST_F(HeaderTest, Stops) {
  struct Case {
    const char* job;
    const char* stop;
  };
  const Case cases[] = {
      {"   4   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0", " Invalid JOBTYP"},
      {"   2   5   1 101   0   0   0   0   0   0   0   0   0   0   0   0   0",
       " Too many background points"},
      {"   2   5   1   0  31   0   0   0   0   0   0   0   0   0   0   0   0",
       " Too many excluded regions"},
      {"   2   5   1   0   0   0   0   0   0   0   0   1   0   0   0   0   0",
       "        NPROF must be equal to 7!"},
      {"   2   5   1   0   0   0   0   0   0   0   0   0   0   0   2   0   0",
       "Montecarlo search for 0 parameters???"},
      {"   2   5   1   0   0  17   0   0   0   0   0   0   0   0   0   0   0",
       " Too many chemical species"},
      {"   2   5  -9   0   0   0   0   0   0   0   0   0   0   0   0   0   0", " Too many phases"},
  };
  for (const Case& c : cases) {
    test::TestStore fresh;
    ts.store.swap(fresh.store);
    Header h;
    h.job = c.job;
    EXPECT_EQ(read(h), c.stop) << c.job;
  }
  Header big;
  big.cycle = "   1 0.20 1.00 1.00 1.00 1.00 0.0000 0.0010 40.0000 0.000 0.000";
  test::TestStore fresh;
  ts.store.swap(fresh.store);
  EXPECT_EQ(read(big), " Too many data points");
  EXPECT_NE(listing().find(" => Program can handle only 32000 points"), std::string::npos);
  for (const char* cycle : {"   1 0.20 1.00 1.00 1.00 1.00 10.0 0.0 20.0 0.000 0.000",
                            "   1 0.20 1.00 1.00 1.00 1.00 10.0 0.05 9.97 0.000 0.000"}) {
    Header empty;  // a range without a point
    empty.cycle = cycle;
    test::TestStore fresh2;
    ts.store.swap(fresh2.store);
    EXPECT_EQ(read(empty), " => Invalid range or step of the calculated pattern") << cycle;
  }
  Header full;  // exactly 32000 points are accepted
  full.cycle = "   1 0.20 1.00 1.00 1.00 1.00 0.0000 1.0000 31999.0 0.000 0.000";
  test::TestStore fresh3;
  ts.store.swap(fresh3.store);
  EXPECT_EQ(read(full), "");
  EXPECT_EQ(ts->pattern().NPTS, IDSZ);
}

TEST_F(HeaderTest, MalformedLineNamesItsPhysicalLine) {
  Header h;
  h.cycle = "\n! comment\n   1 0.20 1.0x 1.00";
  EXPECT_EQ(read(h), "  => Please check your input file at line:    9 !");
}

TEST_F(HeaderTest, ZeroVariancesAreRepaired) {
  Header h;
  ASSERT_EQ(read(h), "");
  ts->pattern().Variance[3] = 0.0f;
  ASSERT_TRUE(ts->files.open(unit::OUT, "job.out", OpenStatus::Unknown));
  repair_zero_counts(*ts);
  ts->files.close(unit::OUT);
  EXPECT_FLOAT_EQ(ts->pattern().Yobs[3], 1.0f);
  EXPECT_FLOAT_EQ(ts->pattern().Variance[3], 1.0e6f);
  EXPECT_EQ(listing(), " => Zero counts at step no.      3 at 2theta/TOF/E(KeV):  10.1000\n");
}

}  // namespace
}  // namespace kestovar

namespace kestovar {
namespace {

TEST_F(HeaderTest, CorrectionFileAndPointCorrections) {
  ASSERT_EQ(read_with_corrections("cor.cor", "corrections\n 2 1 2\n 2.0 0.5 0.0 0.0\n", 2), "");
  EXPECT_EQ(s().CorKind, 2);
  EXPECT_EQ(s().CorFunc, 1);
  EXPECT_EQ(s().NCor, 2);
  EXPECT_FLOAT_EQ(s().CorA[1], 2.0f);
  EXPECT_FLOAT_EQ(s().CorB[1], 0.5f);
  EXPECT_NE(listing().find(" => Intensities corrections in file *.cor"), std::string::npos);
  Pattern& p = ts->pattern();
  p.Yobs[1] = 100.0f;
  p.Variance[1] = 100.0f;
  p.NPTS = 1;
  apply_intensity_corrections(*ts);
  // c = 2, s = 0.25: y = 100/2, v = 0.25/100 + 100/4.
  EXPECT_FLOAT_EQ(p.Yobs[1], 50.0f);
  EXPECT_FLOAT_EQ(p.Variance[1], 25.0025f);
}

TEST_F(HeaderTest, CorrectionPairsOfTheFirstKind) {
  ASSERT_EQ(read_with_corrections("job.cor", "title\n 0.1 1.0\n 0.2 2.0\n\n 0.3 3.0\n", 1), "");
  EXPECT_EQ(s().NCor, 3);
  EXPECT_FLOAT_EQ(s().CorB[3], 0.3f);
  EXPECT_FLOAT_EQ(s().CorA[3], 3.0f);
}

TEST_F(HeaderTest, CorrectionKindWithoutValues) {
  ASSERT_EQ(read_with_corrections("job.cor", "title\n 3 1 2\n", 2), "");
  EXPECT_EQ(s().CorKind, 3);
  EXPECT_EQ(s().NCor, 2);
}

TEST_F(HeaderTest, FaultsOfTheAuxiliaryFilesNameTheirLine) {
  struct Case {
    const char* file;
    const char* content;
    const char* job;
    const char* background;
    const char* stop;
    const char* message;
  };
  const char* poly = "  1 2 3 4 5 6\n 0 0 0 0 0 0";
  const Case cases[] = {
      {"job.cor", "title\n 0.1 1.0\n 0.2 x\n",
       "   2   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   1", poly,
       " => Error reading the intensity-correction file job.cor",
       " => File job.cor: read error at line 3"},
      {"job.cor", "title\n 2 1 3\n 1.0 0.5\n",
       "   2   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   2", poly,
       " => Error reading the intensity-correction file job.cor",
       " => File job.cor: end of file after line 3"},
      {"global.shp", "shapes\n 3 2\n 20.0 60.0\n -0.1 1 2 3 4\n 0.0 5 x\n",
       "   2   8   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0", poly,
       " => Error reading the numerical profile file global.shp",
       " => File global.shp: read error at line 5"},
      {"job.bac", "background\n 1 2 3\n 4 abc\n",
       "   2   5   1   1   0   0   0   0   0   0   0   0   0   0   0   0   0",
       " 1.0 0.0 0.0 0.0\n 0 0 0 0", " End of file *.BAC",
       " => Background file job.bac: read error at line 3"},
      {"job.bac", "background\n 1 2 3\n",
       "   2   5   1   1   0   0   0   0   0   0   0   0   0   0   0   0   0",
       " 1.0 0.0 0.0 0.0\n 0 0 0 0", " End of file *.BAC",
       " => Background file job.bac: end of file after line 2"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(c.file);
    dir.write(c.file, c.content);
    test::TestStore fresh;
    ts.store.swap(fresh.store);
    Header h;
    h.job = c.job;
    h.background = c.background;
    EXPECT_EQ(read(h), c.stop) << c.content;
    std::string screen;
    for (const std::string& l : fresh.window.lines) screen += l + "\n";
    EXPECT_NE(screen.find(c.message), std::string::npos) << screen;
    std::filesystem::remove(c.file);
  }
}

TEST_F(HeaderTest, NumericalProfileFile) {
  dir.write("global.shp",
            "shapes\n 3 2\n 20.0 60.0\n -0.1 1 2 3 4\n 0.0 5 6 7 8\n 0.1 9 10 11 12\n");
  Header h;
  h.job = "   2   8   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0";
  ASSERT_EQ(read(h), "");
  EXPECT_EQ(s().NpNum, 3);
  EXPECT_EQ(s().NtNum, 2);
  EXPECT_FLOAT_EQ(s().NumT[2], 60.0f);
  EXPECT_FLOAT_EQ(s().NumX[3], 0.1f);
  EXPECT_FLOAT_EQ(s().NumG[3 * (INPR + 1) + 2], 11.0f);
  EXPECT_FLOAT_EQ(s().NumD[3 * (INPR + 1) + 2], 12.0f);
  EXPECT_NE(listing().find(" => Numerical profile provided by user in file GLOBAL.SHP"),
            std::string::npos);

  dir.write("global.shp", "shapes\n 151 1\n 20.0\n");
  test::TestStore fresh;
  ts.store.swap(fresh.store);
  EXPECT_EQ(read(h), " => Too many points in numerical profile!");
  std::filesystem::remove("global.shp");
  test::TestStore fresh2;
  ts.store.swap(fresh2.store);
  EXPECT_EQ(read(h), " => Error opening file: global.shp Unit:24");
}

}  // namespace
}  // namespace kestovar
