// The PbSO4 round-robin X-ray pattern read through the control-file header.
#include <gtest/gtest.h>

#include <filesystem>

#include "controlfile/control_file.h"
#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

const char* kPbso4Header = R"(COMM PbSO4 round robin, Cu K-alpha X-ray data
! Job Npr Nph Nba Nex Nsc Nor Dum Iwg Ilo Ias Res Ste Nre Cry Uni Cor
   0   5   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0
! Ipr Ppl Ioc Mat Pcr Ls1 Ls2 Ls3 Syo Prf Ins Rpa Sym Hkl Fou Sho Ana
   0   0   1   0   1   0   0   0   0   1  12   0   0   0   0   0   0
! Lambda1 Lambda2 Ratio Bkpos Wdt Cthm muR AsyLim Rpolarz
 1.540560 1.544330 0.5000 60.000 8.0000 0.8000 0.0000 40.00 0.0000
! NCY Eps R_at R_an R_pr R_gl Thmin Step Thmax PSD Sent0
  10 0.10 1.00 1.00 1.00 1.00 10.0000 0.0250 160.0000 0.000 0.000
! Number of refined parameters
   3
! Zero Code Sycos Code Sysin Code Lambda Code MORE
 -0.0300 11.0 0.0000 0.0 0.0000 0.0 0.000000 0.00 0
! Background polynomial
  210.0 -40.0 30.0 0.0 0.0 0.0
  21.0 31.0 0.0 0.0 0.0 0.0
)";

TEST(Pbso4Header, XrayPatternReadToThePhaseSection) {
  const std::string data = test::shared_data_dir();
  if (data.empty()) GTEST_SKIP() << "public data set ../shared/data not found; test skipped";
  test::TempDir dir;
  std::filesystem::copy_file(std::filesystem::path(data) / "PBSO4.XRA", "pbso4.dat");
  dir.write("pbso4.pcr", kPbso4Header);
  test::TestStore ts;
  ts->run.PcrCode = "pbso4";
  ts->run.DatFile = "pbso4";
  open_run_file(*ts, 1);
  open_run_file(*ts, 2);
  ASSERT_NO_THROW(read_header_section(*ts));
  ts->files.close(unit::OUT);
  ts->files.close(unit::SUM);
  const Pattern& p = ts->pattern();
  EXPECT_EQ(p.NPTS, 6001);
  EXPECT_FLOAT_EQ(p.X[1], 10.0f);
  EXPECT_NEAR(p.X[6001], 160.0f, 1e-3);
  EXPECT_FLOAT_EQ(p.Yobs[1], 179.0f);
  EXPECT_FLOAT_EQ(p.Yobs[6001], 368.0f);
  const std::string range =
      " ==> Angular range, step and number of points:\n"
      "     2Thmin:  10.0000  2Thmax: 160.0000  Step:   0.0250  No. of points:   6001\n";
  for (const char* file : {"pbso4.out", "pbso4.sum"}) {
    const std::string text = dir.read(file);
    EXPECT_NE(text.find(" ==> CONDITIONS OF THIS RUN:"), std::string::npos) << file;
    EXPECT_NE(text.find(" => Data read from GSAS file "), std::string::npos) << file;
    EXPECT_NE(text.find(range), std::string::npos) << file;
  }
  EXPECT_NE(dir.read("pbso4.out").find(" => Global Refinement of X-ray powder diffraction data"),
            std::string::npos);
}

}  // namespace
}  // namespace kestovar
