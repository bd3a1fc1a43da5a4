// The kestovar program from the command line: exit statuses, stop texts and the listings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace kestovar {
namespace {

struct RunResult {
  int status = -1;
  std::string output;
};

// Runs a command in the current directory with empty standard input.
RunResult run(const std::string& command) {
  RunResult r;
  FILE* p = popen((command + " < /dev/null 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

const std::string kProgram = KESTOVAR_BINARY;

TEST(Cli, HelpAndVersion) {
  RunResult help = run(kProgram + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: kestovar"), std::string::npos);
  RunResult version = run(kProgram + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.output.find("kestovar 0.3"), std::string::npos);
}

TEST(Cli, MissingControlFileStopsWithNonZeroStatus) {
  test::TempDir dir;
  RunResult r = run(kProgram + " nosuch");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find(" => Error opening file: nosuch.pcr Unit: 1"), std::string::npos)
      << r.output;
  EXPECT_FALSE(std::filesystem::exists("nosuch.out"));
}

TEST(Cli, CancelledDialogLeavesAnEmptyCode) {
  test::TempDir dir;
  RunResult r = run(kProgram);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("Select input PCR file:"), std::string::npos);
  EXPECT_NE(r.output.find(" => Error opening file: .pcr Unit: 1"), std::string::npos) << r.output;
}

TEST(Cli, MalformedControlFileNamesTheLine) {
  test::TempDir dir;
  dir.write("bad.pcr", "COMM bad\n! Job\n   0   5   1   x\n");
  RunResult r = run(kProgram + " bad");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find(" => FindFMT: invalid character in a numeric field !"), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("  => Please check your input file at line:    3 !"), std::string::npos);
  // The listings were opened and hold the start of the job.
  std::string out = dir.read("bad.out");
  EXPECT_NE(out.find(" => PCR file code: bad"), std::string::npos);
}

TEST(Cli, SettingsFileCreatedInTheKestovarDirectory) {
  test::TempDir dir;
  std::filesystem::create_directory("settings");
  RunResult r = run("KESTOVAR=" + (dir.path() / "settings").string() + " " + kProgram + " nosuch");
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(std::filesystem::exists("settings/kestovar.dir"));
}

TEST(Cli, ExampleJobWritesItsListingsAndEndsNormally) {
  test::TempDir dir;
  std::filesystem::copy_file(
      std::filesystem::path(KESTOVAR_TEST_DIR) / "../examples/pbso4_calc.pcr", "pbso4_calc.pcr");
  std::filesystem::create_directory("settings");
  RunResult r =
      run("KESTOVAR=" + (dir.path() / "settings").string() + " " + kProgram + " pbso4_calc");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(" => Files : pbso4_calcpbso4_calc"), std::string::npos);
  EXPECT_NE(r.output.find("[Stop/Warning Box]  END"), std::string::npos);
  for (const char* name : {"pbso4_calc.out", "pbso4_calc.sum"}) {
    const std::string text = test::mask_run_details(dir.read(name));
    for (const char* expected :
         {"        ********************************************************\n",
          "           Rietveld, Profile Matching & Integrated Intensity\n",
          "    Date: dd/mm/yyyy  Time: hh:mm:ss.sss", " => PCR file code: pbso4_calc\n",
          "              CPU Time:     t.ttt seconds\n", "t.ttt minutes\n",
          " => Run finished at:     Date: dd/mm/yyyy  Time: hh:mm:ss.sss"}) {
      EXPECT_NE(text.find(expected), std::string::npos) << name << " lacks: " << expected;
    }
  }
  EXPECT_EQ(dir.read("settings/kestovar.dir"), "\npbso4_calc\n");
}

// A control file cut after any of its lines ends in a stop with a failure status, never in
// a crash or in a normal end.
TEST(Cli, ControlFileCutAfterAnyLineStopsWithFailureStatus) {
  const std::string example = test::TempDir::read_file(std::filesystem::path(KESTOVAR_TEST_DIR) /
                                                       "../examples/pbso4_calc.pcr");
  ASSERT_FALSE(example.empty());
  test::TempDir dir;
  size_t cut = 0;
  int lines = 0;
  while ((cut = example.find('\n', cut)) != std::string::npos && cut + 1 < example.size()) {
    ++cut;
    ++lines;
    dir.write("cut.pcr", example.substr(0, cut));
    RunResult r = run(kProgram + " cut");
    EXPECT_EQ(r.status, 1) << "cut after line " << lines << "\n" << r.output;
  }
}

// Scattering types of every phase resolve for X-rays, neutrons and magnetic phases; a type
// found nowhere stops the job.
TEST(Cli, ScatteringTypesResolveOrStop) {
  const std::filesystem::path tests(KESTOVAR_TEST_DIR);
  const std::string example = test::TempDir::read_file(tests / "../examples/pbso4_calc.pcr");
  auto replace = [](std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  };
  const std::string xray_job = "   2   5   1   0   0   0   0";
  const std::string neutron_job = "   3   5   1   0   0   0   0";
  struct Case {
    std::string name, pcr;
    int status;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"xray", example, 0, {" => X-ray scattering coeff. (A1,B1,A2,...C,Dfp,Dfpp)\n PB  "}},
      {"neutron",
       replace(example, xray_job, neutron_job),
       0,
       {" => Scattering lengths:\n PB     0.9405\n S      0.2847\n O      0.5803\n"}},
      {"magnetic",
       test::TempDir::read_file(tests / "controlfile/fixtures/mno_magnetic.pcr"),
       0,
       {" => Scattering lengths:", " => Magnetic form-factor coeff. (A,a,B,b,C,c,D)\n MMN2"}},
      {"missing",
       replace(example, "S    S   ", "S    XX  "),
       1,
       {" => Scattering coefficients NOT FOUND for *XX  *"}},
      {"missing_neutron",
       replace(replace(example, xray_job, neutron_job), "S    S   ", "S    Xx  "),
       1,
       {" => scattering length NOT FOUND for *Xx  *"}},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    dir.write(c.name + ".pcr", c.pcr);
    RunResult r = run(kProgram + " " + c.name);
    EXPECT_EQ(r.status != 0, c.status != 0) << c.name << "\n" << r.output;
    const std::string out = dir.read(c.name + ".out") + r.output;
    for (const std::string& e : c.expected)
      EXPECT_NE(out.find(e), std::string::npos) << c.name << " lacks: " << e;
  }
}

}  // namespace
}  // namespace kestovar
