// The run driver: codes from the command line and the dialogs, the prompts, the settings
// file and the special codes.
#include "run/run_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "run/model_store.h"
#include "support/test_support.h"
#include "ui/console_ui.h"

namespace kestovar {
namespace {

TEST(RunDriver, CodesFromTheCommandLine) {
  struct Case {
    const char* line;
    const char* pcr;
    const char* dat;
  };
  const Case cases[] = {
      {"abc", "abc", ""},     {"abc xyz", "abc", "xyz"},           {"  abc   xyz  ", "abc", "xyz"},
      {"abc.pcr", "abc", ""}, {"run/abc.PCR d1", "run/abc", "d1"},
  };
  for (const Case& c : cases) {
    std::string pcr, dat;
    codes_from_command_line(c.line, pcr, dat);
    EXPECT_EQ(pcr, c.pcr) << c.line;
    EXPECT_EQ(dat, c.dat) << c.line;
  }
}

TEST(RunDriver, SplitPath) {
  std::string name, dir;
  split_path("/home/me/data/a.b.pcr  ", name, dir);
  EXPECT_EQ(name, "a.b.pcr");
  EXPECT_EQ(dir, "/home/me/data/");
  split_path("plain", name, dir);
  EXPECT_EQ(name, "plain");
  EXPECT_EQ(dir, "");
}

TEST(RunDriver, AskContinueAnswers) {
  struct Case {
    std::vector<bool> answers;
    char result;
    size_t questions;
  };
  const Case cases[] = {
      {{true}, 's', 1}, {{false, true}, 'a', 2}, {{false, false}, 'k', 2}, {{}, 'k', 2}};
  for (const Case& c : cases) {
    test::TestStore ts;
    ts.window.answers = c.answers;
    ask_continue(*ts);
    EXPECT_EQ(ts->run.ContinueAnswer, c.result);
    ASSERT_EQ(ts.window.questions.size(), c.questions);
    EXPECT_EQ(ts.window.questions[0], "Kestovar Refinement|Continue with the same data?");
    if (c.questions == 2) {
      EXPECT_EQ(ts.window.questions[1], "Kestovar Refinement|Continue with other data?");
    }
  }
}

TEST(RunDriver, BannerLines) {
  for (const std::string& l : window_banner()) {
    if (!l.empty()) {
      EXPECT_EQ(l.substr(0, 3), "   ");
    }
  }
  EXPECT_EQ(window_banner()[1].size(), 3u + 56u);
  EXPECT_EQ(listing_banner()[3].size(), 8u + 56u);
  EXPECT_NE(window_banner()[1].find("PROGRAM KESTOVAR.99"), std::string::npos);
  EXPECT_NE(window_banner()[1].find("Version 0.3"), std::string::npos);
  EXPECT_NE(window_banner()[1].find("Apr99"), std::string::npos);
}

class ProgramTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ui::RecordingUi window;
  std::string last_box() const { return window.boxes.empty() ? "" : window.boxes.back(); }
};

TEST_F(ProgramTest, DialogChoosesCodeBeforeTheFirstDot) {
  std::filesystem::create_directory("sub");
  window.dialog_results = {(dir.path() / "sub/a.b.pcr").string(), ""};
  EXPECT_NE(run_program(window, {}), 0);
  EXPECT_EQ(last_box(), "Stop/Warning Box| => Error opening file: a.pcr Unit: 1");
  EXPECT_EQ(window.boxes[0], "dialog|Select input PCR file:");
  EXPECT_EQ(window.boxes[1], "dialog|Select data file:");
}

TEST_F(ProgramTest, DataFileOfTheSameCodeSkipsTheSecondDialog) {
  dir.write("a.uxd", "x\n");
  window.dialog_results = {(dir.path() / "a.pcr").string()};
  EXPECT_NE(run_program(window, {}), 0);
  EXPECT_EQ(window.boxes.size(), 2u);  // one dialog and the stop box
}

TEST_F(ProgramTest, DialogsChangeDirectoryButTheSettingsFileStaysWhereItWasFound) {
  std::filesystem::create_directory("sub");
  std::filesystem::create_directory("data");
  std::filesystem::copy_file(
      std::filesystem::path(KESTOVAR_TEST_DIR) / "../examples/pbso4_calc.pcr",
      "sub/pbso4_calc.pcr");
  dir.write("kestovar.dir", "old/\n");
  const std::string data_dir = (dir.path() / "data").string() + "/";
  window.dialog_results = {(dir.path() / "sub/pbso4_calc.pcr").string(), data_dir + "d.dat"};
  EXPECT_EQ(run_program(window, {}), 0) << last_box();
  EXPECT_EQ(window.main_title, "Kestovar.99_Single_Pattern");
  EXPECT_EQ(dir.read("kestovar.dir"), data_dir + "\npbso4_calc\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "sub/kestovar.dir"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "sub/pbso4_calc.out"));
  // The data file was chosen in another directory: its code keeps that directory.
  EXPECT_NE(std::find(window.lines.begin(), window.lines.end(),
                      " => Files : pbso4_calc" + data_dir + "d"),
            window.lines.end());
}

TEST_F(ProgramTest, CyclicCodeIsCaseSensitiveInItsThreeForms) {
  for (const char* code : {"cyc", "CYC", "Cyc"}) {
    ui::RecordingUi w;
    run_program(w, {code});
    EXPECT_EQ(w.boxes.back().find(".pcr"), std::string::npos) << code;
  }
  ui::RecordingUi w;
  EXPECT_NE(run_program(w, {"cycle"}), 0);
  EXPECT_EQ(w.boxes.back(), "Stop/Warning Box| => Error opening file: cycle.pcr Unit: 1");
}

TEST_F(ProgramTest, RunTimeFailureEndsWithABoxAndAFailureStatus) {
  struct FailingDialog : ui::RecordingUi {
    std::optional<std::string> open_file(const std::string&, const std::string&, const std::string&,
                                         const std::string&) override {
      throw std::runtime_error("no display");
    }
  } failing;
  EXPECT_NE(run_program(failing, {}), 0);
  ASSERT_FALSE(failing.boxes.empty());
  EXPECT_EQ(failing.boxes.back(), "Stop/Warning Box| => Run-time error: no display");
}

TEST_F(ProgramTest, SettingsFileCreatedFromTheEnvironment) {
  std::filesystem::create_directory("settings");
  const std::string env = (dir.path() / "settings").string();
  setenv("KESTOVAR", env.c_str(), 1);
  run_program(window, {"nosuch"});
  unsetenv("KESTOVAR");
  EXPECT_TRUE(std::filesystem::exists("settings/kestovar.dir"));
}

}  // namespace
}  // namespace kestovar
