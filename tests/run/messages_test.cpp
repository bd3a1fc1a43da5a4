// Message lines, stop boxes and the names of the files of a job.
#include "run/messages.h"

#include <gtest/gtest.h>

#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

TEST(Messages, PrefixRules) {
  struct Case {
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"", "  "},
      {"    ", "  "},
      {" => Reading", " => Reading"},
      {"==> CONDITIONS", "==> CONDITIONS"},
      {"Reading data   ", " =>Reading data"},
      {" Reading", " => Reading"},
      {"   *****", " =>   *****"},
      {"=", "="},
  };
  for (const Case& c : cases) {
    test::TestStore ts;
    show_message(*ts, c.text);
    ASSERT_EQ(ts.window.lines.size(), 1u);
    EXPECT_EQ(ts.window.lines[0], c.line) << "text '" << c.text << "'";
  }
}

TEST(Messages, ValueLines) {
  EXPECT_EQ(value_line(" Reading parameters for phase:", 12, 0, 1),
            " => Reading parameters for phase:      12");
  EXPECT_EQ(value_line(" => Hole in the matrix!, missing element:", 2, 0, 1),
            "    => Hole in the matrix!, missing element:       2");
  EXPECT_EQ(value_line("x", 3, 1234.6f, 3), " =>x       3and   0.1235E+04");
  EXPECT_EQ(value_line("x", 3, -0.5f, 2), " =>x -0.5000E+00");
  EXPECT_EQ(value_line("x", 3, 1.0f, 0), " =>x");
}

TEST(Messages, MessageUnitSendsLinesToTheLogFile) {
  test::TempDir dir;
  test::TestStore ts;
  ASSERT_TRUE(ts->files.open(unit::LOG, "job.log", OpenStatus::Unknown));
  ts->MessageUnit = unit::LOG;
  show_message(*ts, "to the log");
  show_value(*ts, " value", 5, 0, 1);
  ts->files.close(unit::LOG);
  EXPECT_TRUE(ts.window.lines.empty());
  EXPECT_EQ(dir.read("job.log"), " =>to the log\n => value       5\n");
}

TEST(Messages, StopBoxStopsOrContinues) {
  test::TestStore ts;
  stop_box(*ts, " a warning   ", 0);
  ASSERT_EQ(ts.window.boxes.size(), 1u);
  EXPECT_EQ(ts.window.boxes[0], "Stop/Warning Box| a warning");
  try {
    stop_box(*ts, " Too many data points ", 1);
    FAIL();
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " Too many data points");
    EXPECT_NE(e.exit_status(), 0);
  }
}

TEST(FileNames, EveryKind) {
  test::TestStore ts;
  ts->run.PcrCode = "abc";
  ts->run.DatFile = "d1";
  ts->settings().ResolutionFile = "res.irf";
  using V = std::vector<std::string>;
  struct Case {
    int kind, selector, phase;
    V names;
  };
  const Case cases[] = {
      {1, 1, 1, {"abc.pcr"}},
      {2, 1, 1, {"abc.out", "abc.sum"}},
      {3, 1, 1, {"abc.sym"}},
      {4, 1, 1, {"abc.rpa"}},
      {5, 1, 1, {"d1.dat", "d1.uxd", "d1.acq"}},
      {6, 1, 2, {"abc2.hkl", "d1.int", "hkl2.hkl"}},
      {7, 1, 1, {"abc.fou"}},
      {8, 1, 1, {"abc.hkl"}},
      {9, 1, 1, {"abc.sav"}},
      {10, 1, 3, {"abc3.hkl"}},
      {11, 1, 1, {"abc.prf"}},
      {12, 1, 1, {"d1.bac"}},
      {13, 1, 1, {"res.irf"}},
      {14, 1, 1, {"abc.sim"}},
      {15, 1, 4, {"abc4.sch"}},
      {16, 1, 1, {"abc.new"}},
      {17, 1, 1, {"abc.inp"}},
      {17, 0, 1, {"abc.ins"}},
      {18, 1, 5, {"abc5.atm"}},
      {19, 1, 6, {"abc6.sub"}},
      {20, 1, 1, {"abc.shp", "global.shp"}},
      {21, 1, 1, {"abc.cor", "cor.cor"}},
      {22, 1, 8, {"abc8.int"}},
      {0, 1, 1, {}},
      {23, 1, 1, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(run_file_names(*ts, c.kind, c.selector, c.phase), c.names) << "kind " << c.kind;
  ts->HklSource = 1;
  EXPECT_EQ(run_file_names(*ts, 10, 1, 3), V{"hkl3.hkl"});
}

class OpenFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;
  std::string open_error(int kind, int phase = 1) {
    try {
      open_run_file(*ts, kind, 1, phase);
    } catch (const StopError& e) {
      return e.text();
    }
    return "";
  }
};

TEST_F(OpenFileTest, FailureMessages) {
  ts->run.PcrCode = "nosuch";
  ts->run.DatFile = "d1";
  EXPECT_EQ(open_error(1), " => Error opening file: nosuch.pcr Unit: 1");
  EXPECT_EQ(open_error(5), " ==> Error opening file CODEFIL.DAT(UXD,ACQ) with CODEFIL=d1 Unit: 4");
  EXPECT_EQ(open_error(6, 2),
            " => Error opening a (hkl)-file: nosuch2.hkl,hkl2.hkl,d1.int Unit:15");
  EXPECT_EQ(open_error(20), " => Error opening file: global.shp Unit:24");
  EXPECT_EQ(open_error(21), " => Error opening file: cor.cor Unit:25");
  EXPECT_EQ(open_error(30), " => Illegal option nopf:  30");
}

TEST_F(OpenFileTest, AlternativesAreTriedInOrder) {
  ts->run.PcrCode = "abc";
  ts->run.DatFile = "d1";
  dir.write("d1.acq", "x\n");
  EXPECT_EQ(open_error(5), "");
  EXPECT_EQ(ts->files.name(unit::DAT), "d1.acq");
  dir.write("d1.UXD", "x\n");
  EXPECT_EQ(open_error(5), "");
  EXPECT_EQ(ts->files.name(unit::DAT), "d1.UXD");
  dir.write("d1.int", "x\n");
  EXPECT_EQ(open_error(6, 2), "");
  EXPECT_EQ(ts->HklSource, 1);
  EXPECT_EQ(run_file_names(*ts, 10, 1, 2)[0], "hkl2.hkl");
  dir.write("abc2.hkl", "x\n");
  EXPECT_EQ(open_error(6, 2), "");
  EXPECT_EQ(ts->HklSource, 0);
  dir.write("global.shp", "x\n");
  EXPECT_EQ(open_error(20), "");
  EXPECT_EQ(ts->files.name(unit::SHP), "global.shp");
}

TEST_F(OpenFileTest, AppendKindsKeepOldContentOthersReplaceIt) {
  ts->run.PcrCode = "abc";
  dir.write("abc.rpa", "old\n");
  dir.write("abc.sav", "old\n");
  dir.write("abc.fou", "old\n");
  for (int kind : {4, 9, 7}) {
    open_run_file(*ts, kind);
    ts->files.write_line(ts->CurrentUnit, "new");
    ts->files.close(ts->CurrentUnit);
  }
  EXPECT_EQ(dir.read("abc.rpa"), "old\nnew\n");
  EXPECT_EQ(dir.read("abc.sav"), "old\nnew\n");
  EXPECT_EQ(dir.read("abc.fou"), "new\n");
}

TEST_F(OpenFileTest, StartingCodeCreatesItsControlFile) {
  ts->run.PcrCode = "starting";
  EXPECT_EQ(open_error(1), "");
  EXPECT_TRUE(std::filesystem::exists("starting.pcr"));
  ts->run.PcrCode = "mystarting";
  EXPECT_EQ(open_error(1), " => Error opening file: mystarting.pcr Unit: 1");
}

TEST(Dimensions, ReportLayout) {
  test::TestStore ts;
  print_dimensions(*ts, unit::SCREEN);
  const auto& l = ts.window.lines;
  ASSERT_EQ(l.size(), 6u + 22u);
  EXPECT_EQ(l[0], "");
  EXPECT_EQ(l[1], " " + std::string(52, '-'));
  EXPECT_EQ(l[2], " => Dimensions of arrays in this release of Kestovar:");
  EXPECT_EQ(l[5], " => Approximate array memory:   4224206 bytes");
  EXPECT_EQ(l[6],
            "    NPATT =        1 Max.num. of powder diffraction patterns                    ");
  EXPECT_EQ(l[6].size(), 12u + 8u + 60u);
  EXPECT_EQ(l[6 + 12].substr(0, 20), "    NEQV  =       48");
  EXPECT_EQ(l[6 + 12].size(), 12u + 8u + 65u);
  EXPECT_EQ(l.back().substr(0, 20), "    NSOL  =       10");
}

}  // namespace
}  // namespace kestovar
