// GSAS powder files (Ins 12): the public PbSO4 and fluorapatite patterns, and small files
// for the ESD and ALT records and the stops.
#include "data/gsas_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "data_reader_support.h"
#include "layout_samples.h"

namespace kestovar::test {
namespace {

// Copies a file of the shared data set into the scratch directory as d.dat and reads it.
std::string read_shared(DataReader& r, const std::string& name) {
  std::ifstream f(shared_data_dir() + "/" + name, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return r.read(s.str());
}

#define REQUIRE_SHARED_DATA()    \
  if (shared_data_dir().empty()) \
  GTEST_SKIP() << "public data directory " << KESTOVAR_SHARED_DATA << " is absent"

TEST(GsasSharedData, PbSO4XrayStandardRecords) {
  REQUIRE_SHARED_DATA();
  DataReader r(12);
  ASSERT_EQ(read_shared(r, "PBSO4.XRA"), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 6001);
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.025f);
  EXPECT_NEAR(p.Thmax, 160.0f, 1e-3);
  EXPECT_NEAR(p.X[6001], 160.0f, 1e-3);
  EXPECT_NEAR(p.X[6002], 160.025f, 1e-3);
  const float first[] = {179, 147, 165, 172, 150};
  const float last[] = {420, 374, 352, 328, 368};
  for (int k = 0; k < 5; ++k) {
    EXPECT_FLOAT_EQ(p.Yobs[1 + k], first[k]);
    EXPECT_FLOAT_EQ(p.Yobs[5997 + k], last[k]);
  }
  float lo = 1e9f, hi = 0;
  for (int i = 1; i <= p.NPTS; ++i) {
    ASSERT_EQ(p.Ncount[i], 1) << i;
    ASSERT_FLOAT_EQ(p.Variance[i], p.Yobs[i]) << i;
    lo = std::min(lo, p.Yobs[i]);
    hi = std::max(hi, p.Yobs[i]);
  }
  EXPECT_FLOAT_EQ(lo, 67.0f);
  EXPECT_FLOAT_EQ(hi, 15702.0f);
  EXPECT_FLOAT_EQ(p.Cnorm, 1.0f);
  const std::string out = r.listing();
  EXPECT_NE(out.find("\n => Heading of GSAS file:\n    "
                     "  10.000   0.025 159.00  CPD RRRR   PbSO4  Cu Ka X-ray data  22.9.89"),
            std::string::npos);
  EXPECT_NE(out.find(" => Number of items read in BANK line:  9\n"
                     " -> IBANK,NCHAN,NREC:     1 6001  601\n"
                     " -> BINTYP          : CONST   \n"
                     " -> COEFFS          :       1000.000         2.500         0.000         "
                     "0.000\n"
                     " -> DATTYP          : STD     \n"),
            std::string::npos);
}

TEST(GsasSharedData, PbSO4NeutronCounterNumbers) {
  REQUIRE_SHARED_DATA();
  DataReader r(12, 1);
  ASSERT_EQ(read_shared(r, "PBSO4.CWN"), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 2919);
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.05f);
  EXPECT_NEAR(p.Thmax, 155.9f, 1e-3);
  EXPECT_FLOAT_EQ(p.Yobs[1], 220.0f);
  EXPECT_FLOAT_EQ(p.Yobs[2919], 450.0f);
  std::map<int, int> counters;
  float lo = 1e9f, hi = 0;
  int first_not_one = 0;
  for (int i = 1; i <= p.NPTS; ++i) {
    ++counters[p.Ncount[i]];
    if (p.Ncount[i] != 1 && first_not_one == 0) first_not_one = i;
    ASSERT_FLOAT_EQ(p.Variance[i], p.Yobs[i] / static_cast<float>(p.Ncount[i])) << i;
    lo = std::min(lo, p.Yobs[i]);
    hi = std::max(hi, p.Yobs[i]);
  }
  const std::map<int, int> expected{{1, 160}, {2, 238}, {3, 244}, {4, 237}, {5, 242},
                                    {6, 237}, {7, 244}, {8, 238}, {9, 239}, {10, 840}};
  EXPECT_EQ(counters, expected);
  EXPECT_EQ(first_not_one, 42);
  EXPECT_FLOAT_EQ(lo, 176.0f);
  EXPECT_FLOAT_EQ(hi, 2459.0f);
  // Eight items: the record type defaults to STD.
  EXPECT_NE(r.listing().find(" => Number of items read in BANK line:  8\n"), std::string::npos);
  EXPECT_NE(r.listing().find(" -> DATTYP          : STD     \n"), std::string::npos);
}

TEST(GsasSharedData, FluorapatiteWithZeroCountsAtTheEnd) {
  REQUIRE_SHARED_DATA();
  DataReader r(12);
  ASSERT_EQ(read_shared(r, "FAP.XRA"), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 5753);
  EXPECT_FLOAT_EQ(p.Thmin, 15.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.02f);
  EXPECT_NEAR(p.Thmax, 130.04f, 1e-3);
  EXPECT_FLOAT_EQ(p.Yobs[1], 609.0f);
  // The two last channels hold 0 counts: they become 1 with variance 1.
  EXPECT_FLOAT_EQ(p.Yobs[5752], 1.0f);
  EXPECT_FLOAT_EQ(p.Variance[5753], 1.0f);
  EXPECT_FLOAT_EQ(p.Yobs[5751], 84.0f);
}

TEST(GsasData, StandardRecordsInCentidegrees) {
  DataReader r(12);
  ASSERT_EQ(r.read(sample_ins12()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 12);
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.05f);
  EXPECT_FLOAT_EQ(p.Thmax, 10.55f);
  EXPECT_EQ(p.Ncount[1], 1);  // counter 0, count 0
  EXPECT_FLOAT_EQ(p.Yobs[1], 1.0f);
  EXPECT_FLOAT_EQ(p.Variance[1], 1.0f);
  EXPECT_EQ(p.Ncount[2], 2);
  EXPECT_FLOAT_EQ(p.Variance[2], 51.0f);
  EXPECT_FLOAT_EQ(p.Yobs[12], 112.0f);
}

TEST(GsasData, TimeOfFlightCoefficientsAreMicroseconds) {
  DataReader r(12, -1);
  ASSERT_EQ(r.read(sample_ins12()), "");
  EXPECT_FLOAT_EQ(r.p().Thmin, 1000.0f);
  EXPECT_FLOAT_EQ(r.p().Step, 5.0f);
}

TEST(GsasData, EsdRecords) {
  DataReader r(12);
  const std::string d = "t\nBANK 1 6 2 CONST 2000 10 0 0 ESD\n" +
                        lines("(10F8.0)", {R(100), R(10), R(200), R(20), R(0), R(1), R(400), R(40),
                                           R(500), R(50), R(600), R(60)});
  ASSERT_EQ(r.read(d), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 6);
  EXPECT_FLOAT_EQ(p.Thmin, 20.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.1f);
  EXPECT_FLOAT_EQ(p.Variance[2], 400.0f);
  EXPECT_FLOAT_EQ(p.Yobs[3], 0.0f);  // not changed; only the ratio uses 0.001
  EXPECT_NEAR(p.Cnorm, (1.0 + 2.0 + 1000.0 + 4.0 + 5.0 + 6.0) / 6, 1e-3);
}

// ALT records of n channels: X = 32 * (1000 + 10 i), Y 1.0, sigma 0.1.
std::string alt_file(const std::string& bank, int n) {
  std::vector<Item> v;
  for (int i = 1; i <= n; ++i) {
    v.push_back(R(32.0 * (1000 + 10 * i)));
    v.push_back(R(1.0));
    v.push_back(R(0.1));
  }
  return "TOF test\n" + bank + "\n" + lines("(4(F8.0,F7.4,F5.4))", v);
}

TEST(GsasData, AltRalfRecordsGiveOnePointFewer) {
  DataReader r(12, -1);
  ASSERT_EQ(r.read(alt_file("BANK 1 101 26 RALF 32320 320 0 0 ALT", 101)), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 100);
  EXPECT_EQ(p.ConstantStep, 0);
  EXPECT_FLOAT_EQ(p.Thmin, 1010.0f);
  EXPECT_FLOAT_EQ(p.Step, 10.0f);
  EXPECT_FLOAT_EQ(p.X[1], 1010.0f);
  EXPECT_FLOAT_EQ(p.Thmax, 2000.0f);
  EXPECT_FLOAT_EQ(p.Yobs[1], 100.0f);  // 1000 * 1.0 / 10
  EXPECT_FLOAT_EQ(p.Variance[100], 100.0f);
  EXPECT_NEAR(p.Cnorm, 100.0 / 101.0, 1e-5);
  const std::string out = r.listing();
  EXPECT_NE(out.find(" => Input Data for format RALF are internally modified\n"
                     " => The format of the triplets TOF,Y,Sigma is read as\n"
                     "                FMT = 4(F8.0,F7.4,F5.4)\n"),
            std::string::npos);
  EXPECT_NE(out.find("          Scorr(i)=1000*Sread(i)/(TOF(i+1)-TOF(i))\n"), std::string::npos);
}

TEST(GsasData, AltConstRecordsKeepTheirAbscissas) {
  DataReader r(12, -1);
  ASSERT_EQ(r.read(alt_file("BANK 1 4 1 CONST 1010 10 0 0 ALT", 4)), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 4);
  EXPECT_EQ(p.ConstantStep, 1);
  EXPECT_FLOAT_EQ(p.Thmin, 1010.0f);
  EXPECT_FLOAT_EQ(p.X[4], 1040.0f);
  EXPECT_FLOAT_EQ(p.Thmax, 1040.0f);
  EXPECT_FLOAT_EQ(p.Yobs[2], 1.0f);
  EXPECT_NEAR(p.Variance[2], 0.01f, 1e-7);
}

TEST(GsasData, StopsOnBadHeadings) {
  const std::string pairs = lines("(10(I2,F6.0))", {I(1), R(10), I(1), R(20)});
  const struct {
    std::string file;
    const char* stop;
  } cases[] = {
      {"1\n2\n3\n4\n5\n6\n7\nBANK 1 2 1 CONST 1000 5 0 0\n" + pairs, GSAS_NO_BANK_TEXT},
      {"t\n", GSAS_NO_BANK_TEXT},
      {"t\nBANK 1 2 1 SLOG 1000 5 0 0 STD\n" + pairs, GSAS_STD_BINTYP_TEXT},
      {"t\nBANK 1 2 1 RALF 1000 5 0 0 ESD\n" + pairs, GSAS_ESD_BINTYP_TEXT},
      {"t\nBANK 1 2 1 SLOG 1000 5 0 0 ALT\n" + pairs, GSAS_ALT_BINTYP_TEXT},
      {"t\nBANK 1 2 1 CONST 1000 5 0 0 FXYE\n" + pairs, DATA_READ_ERROR_TEXT},
      {"t\nBANK 1 2.5 1 CONST 1000 5 0 0\n" + pairs, DATA_READ_ERROR_TEXT},
      {"t\nBANK 1 0 1 CONST 1000 5 0 0\n", DATA_READ_ERROR_TEXT},
      {"t\nBANK 1 40000 1 CONST 1000 5 0 0\n" + pairs, TOO_MANY_POINTS_TEXT},
      {"t\nBANK 1 12 2 CONST 1000 5 0 0\n" + pairs, DATA_EOF_TEXT},
  };
  for (const auto& c : cases) {
    DataReader r(12);
    EXPECT_EQ(r.read(c.file), trimmed(c.stop)) << c.file;
  }
}

}  // namespace
}  // namespace kestovar::test
