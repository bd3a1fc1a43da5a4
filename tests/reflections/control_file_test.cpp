// Reflections prepared by the control-file reader for a whole control file.
#include "controlfile/control_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "controlfile/reading_steps.h"
#include "reflections/reflection.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

TEST(ControlFileReflections, PbSO4GeneratedSortedAndEchoed) {
  test::TempDir dir;
  test::TestStore ts;
  std::ifstream in(std::filesystem::path(KESTOVAR_TEST_DIR) / "reflections/fixtures/pbso4.pcr");
  std::ostringstream text;
  text << in.rdbuf();
  dir.write("pbso4.pcr", text.str());
  ts->run.PcrCode = "pbso4";
  ts->run.DatFile = "pbso4";
  open_run_file(*ts, 1);
  open_run_file(*ts, 2);
  std::string stop;
  try {
    read_control_file(*ts);
  } catch (const StopError& e) {
    stop = e.text();
  }
  ts->files.close(unit::OUT);
  ts->files.close(unit::SUM);
  ASSERT_EQ(stop, "");

  const ReflectionList& list = ts->job->reflections;
  const int n = list.Nref[1];
  EXPECT_EQ(total_reflection_count(*ts), n);
  ASSERT_GT(n, 400);
  for (int i = 2; i <= n; ++i) EXPECT_LE(list.refl[i - 1].Tk, list.refl[i].Tk) << i;
  for (int i = 1; i <= n; ++i) {
    EXPECT_GE(list.refl[i].Tk, 10.0f);
    EXPECT_LE(list.refl[i].Tk, 160.0f);
  }
  // P n m a with a = 8.48, b = 5.398, c = 6.958: 1 0 1 comes first (d = 5.38), for both
  // wavelengths; 1 0 0, 0 0 1 and 1 1 0 are absent.
  const ReflectionCode first = unpack_reflection_code(list.refl[1].Code);
  EXPECT_EQ((std::array<int, 4>{first.h, first.k, first.l, first.wavelength}),
            (std::array<int, 4>{1, 0, 1, 1}));
  EXPECT_EQ(list.refl[1].Mult, 4);
  const ReflectionCode second = unpack_reflection_code(list.refl[2].Code);
  EXPECT_EQ((std::array<int, 4>{second.h, second.k, second.l, second.wavelength}),
            (std::array<int, 4>{1, 0, 1, 2}));

  const std::string out = dir.read("pbso4.out");
  EXPECT_NE(out.find(" => Laue symmetry  mmm  will be used to gnerate HKL"), std::string::npos);
  EXPECT_NE(
      out.find(
          " => Reflections generated between S(1/d)min:  0.0564 A-1 and S(1/d)max:  0.6491 A-1"),
      std::string::npos);
  EXPECT_NE(out.find(" => Number of reflections generated for phase 1:" + text::fmt_i(n, 7)),
            std::string::npos);
}

}  // namespace
}  // namespace kestovar
