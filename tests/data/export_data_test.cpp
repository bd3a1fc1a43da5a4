// The diffractometer export layout (Ins 9).
#include "data/export_data.h"

#include <gtest/gtest.h>

#include "data_reader_support.h"
#include "layout_samples.h"

namespace kestovar::test {
namespace {

TEST(ExportData, KeysConditionsAndCounts) {
  DataReader r(9);
  ASSERT_EQ(r.read(sample_ins9()), "");
  const Pattern& p = r.p();
  ASSERT_EQ(p.NPTS, 8);  // the unreadable line ended the counts
  EXPECT_FLOAT_EQ(p.Thmin, 10.0f);
  EXPECT_FLOAT_EQ(p.Step, 0.02f);
  EXPECT_NEAR(p.Thmax, 10.14f, 1e-5);
  EXPECT_NEAR(p.X[8], 10.14f, 1e-5);
  EXPECT_FLOAT_EQ(p.Tsample, 25.0f);
  EXPECT_FLOAT_EQ(p.Yobs[2], 20.0f);
  EXPECT_FLOAT_EQ(p.Yobs[3], 1.0f);  // zero count
  EXPECT_FLOAT_EQ(p.Variance[8], 80.0f);
  EXPECT_EQ(p.Ncount[8], 1);
  const std::string block =
      " => Experimental conditions:\n"
      "    Date of experiment: 12-Mar-2001 10:00:00\n"
      "    Data from file:  FILE1   \n"
      "    Data identifier: Quartz standard" +
      std::string(65, ' ') +
      "\n"
      "    Run time:      0.0 for     8 points   Step size =  0.020\n"
      "    Scan mode: COUPLED /continuous scan Counting time:  1.0 secs/step  Sample rotation:  \n"
      "    Angles: 2-theta=   10.000  omega=    0.000  chi=    0.000  phi=    0.000\n"
      "                tr1=    0.000    tr2=    0.000\n"
      "    Generator settings:\n"
      "       KV=  40. kV MA=  30. mA  HV=   0.  Gain=   0.  LLD=  0.000 V  ULD=  0.000 V\n"
      "    Wavelengths:\n"
      "        Anode=Cu  Wav1=  1.54056  Wav2=  0.00000  Wav3=  0.00000  WaveRatio=  0.00000\n";
  EXPECT_EQ(r.listing(), "\n => Reading Intensity data  =>>\n\n" + block);
  EXPECT_EQ(r.summary(), block);
}

TEST(ExportData, SecondRangeOrEndOfFileBeforeCountsStop) {
  {
    DataReader r(9);
    EXPECT_EQ(r.read("; RANGE 2\n_STEPCOUNT=2\n_COUNTS\n      10      20\n"),
              trimmed(DATA_READ_ERROR_TEXT));
    EXPECT_NE(r.listing().find(" => Experimental conditions:"), std::string::npos);
    EXPECT_EQ(r.p().NPTS, 0);
  }
  {
    DataReader r(9);
    EXPECT_EQ(r.read("; scan\n_STEPCOUNT=2\n_2THETA=10.0"), trimmed(DATA_READ_ERROR_TEXT));
  }
  {
    DataReader r(9);
    EXPECT_EQ(r.read("_2THETA=ten\n_COUNTS\n"), trimmed(DATA_READ_ERROR_TEXT));
  }
  {
    DataReader r(9);
    EXPECT_EQ(r.read("_STEPCOUNT=40000\n_COUNTS\n      10\n"), trimmed(TOO_MANY_POINTS_TEXT));
  }
  {
    DataReader r(9);  // counts announced but none read
    EXPECT_EQ(r.read("_STEPCOUNT=3\n_COUNTS\n"), trimmed(DATA_READ_ERROR_TEXT));
  }
}

TEST(ExportData, UnreadableTemperatureIsIgnored) {
  DataReader r(9);
  ASSERT_EQ(r.read("_TEMPERATURE=hot\n_STEPCOUNT=1\n_COUNTS\n      10\n"), "");
  EXPECT_FLOAT_EQ(r.p().Tsample, 293.0f);
}

}  // namespace
}  // namespace kestovar::test
