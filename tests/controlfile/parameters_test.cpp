// Parameter numbering: holes, code limits, hard limits, extra atom values and the
// completion of the imaginary moment.
#include "controlfile/parameters.h"

#include <gtest/gtest.h>

#include <limits>

#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

std::string stop_text(const std::function<void()>& f) {
  try {
    f();
  } catch (const StopError& e) {
    return e.text();
  }
  return "";
}

TEST(CheckParameterNumbers, ListsEveryHoleBeforeStopping) {
  test::TestStore ts;
  RunSettings& s = ts->settings();
  s.NPAR = 5;
  s.Global[1].code = 11.0f;  // parameter 1
  s.Global[8].code = 41.0f;  // parameter 4
  decode_global_codewords(*ts);
  EXPECT_EQ(stop_text([&] { check_parameter_numbers(*ts); }), " Hole(s) in the Normal Matrix");
  std::vector<std::string> expected = {"    => Hole in the matrix!, missing element:       2",
                                       "    => Hole in the matrix!, missing element:       3",
                                       "    => Hole in the matrix!, missing element:       5"};
  EXPECT_EQ(ts.window.lines, expected);
}

TEST(CheckParameterNumbers, CountsEveryGroup) {
  test::TestStore ts;
  RunSettings& s = ts->settings();
  s.NPAR = 4;
  s.Nph = 1;
  Phase& ph = ts->phase(1);
  ph.Nat = 2;
  ph.FirstAtom = 1;
  ph.Nvk = 1;
  s.Global[1].code = 10.0f;                 // parameter 1 with factor 0 still counts
  ph.slot[6].code = 21.0f;                  // parameter 2
  ts->job->atoms[1].slot[1].code = 31.0f;   // parameter 3
  ts->job->atoms[2].slot[1].code = -31.0f;  // tied to it: still one atomic parameter
  ph.kvec[1][2].code = -41.0f;              // parameter 4
  decode_global_codewords(*ts);
  decode_phase_codewords(*ts, 1);
  decode_atom_codewords(*ts, 1);
  EXPECT_EQ(stop_text([&] { check_parameter_numbers(*ts); }), "");
  EXPECT_EQ(ph.AtomicRefined, 1);
  EXPECT_EQ(ph.kvec[1][2].ParNo, 4);
  EXPECT_FLOAT_EQ(ph.kvec[1][2].Mult, -1.0f);
}

TEST(CheckParameterNumbers, PatternCalculationAndSearchAreNotChecked) {
  for (auto [job, cry] : {std::pair{2, 0}, std::pair{0, 2}}) {
    test::TestStore ts;
    ts->settings().Job = job;
    ts->settings().Cry = cry;
    ts->settings().NPAR = 3;
    EXPECT_EQ(stop_text([&] { check_parameter_numbers(*ts); }), "");
  }
}

TEST(DecodeCodewords, NumberAbove300Stops) {
  test::TestStore ts;
  Phase& ph = ts->phase(1);
  ph.slot[1].code = 3001.0f;
  EXPECT_EQ(stop_text([&] { decode_phase_codewords(*ts, 1); }), "");
  EXPECT_EQ(ph.slot[1].ParNo, 300);
  ph.slot[1].code = 3011.0f;
  EXPECT_EQ(stop_text([&] { decode_phase_codewords(*ts, 1); }), " Error in a code");
  ASSERT_EQ(ts.window.lines.size(), 2u);
  EXPECT_EQ(ts.window.lines[0], " =>                        Error in a code:  0.3011E+04");
  EXPECT_EQ(ts.window.lines[1], " =>    The maximum number of parameters is:     300");
  // Codewords beyond the range of int are refused too, not wrapped to a negative number.
  for (float huge : {1.0e12f, -3.0e38f, std::numeric_limits<float>::infinity()}) {
    ph.slot[1].code = huge;
    EXPECT_EQ(stop_text([&] { decode_phase_codewords(*ts, 1); }), " Error in a code") << huge;
  }
}

TEST(DecodeCodewords, AtomExtrasFollowsTheLastAtomThatSetsIt) {
  struct Case {
    std::vector<int> nt;
    int jbt;
    int extras;
  };
  const Case cases[] = {
      {{2, 0}, 0, 1}, {{2, 4}, 0, 3}, {{0, 0}, 0, 0},
      {{0}, 4, 1},    {{2}, 2, 0},  // pattern matching: atoms undecoded, flag untouched
  };
  for (const Case& c : cases) {
    test::TestStore ts;
    Phase& ph = ts->phase(1);
    ph.Jbt = c.jbt;
    ph.FirstAtom = 1;
    ph.Nat = static_cast<int>(c.nt.size());
    for (size_t i = 0; i < c.nt.size(); ++i) ts->job->atoms[1 + i].N_t = c.nt[i];
    decode_atom_codewords(*ts, 1);
    EXPECT_EQ(ph.AtomExtras, c.extras);
  }
}

TEST(DecodeCodewords, ImaginaryMomentCompletedPerpendicular) {
  for (float rz_code : {31.0f, 0.0f}) {
    test::TestStore ts;
    Phase& ph = ts->phase(1);
    ph.Jbt = 1;
    ph.Hel = 1;
    ph.FirstAtom = 1;
    ph.Nat = 1;
    ph.DirectCell = {5, 5, 5, 90, 90, 90};
    auto& sl = ts->job->atoms[1].slot;
    sl[6].value = 1;  // Rx
    sl[7].value = 0;  // Ry
    sl[8].value = 1;  // Rz
    sl[8].code = rz_code;
    sl[9].value = 1;  // Ix
    sl[10].value = 0;
    sl[11].value = 0.5f;
    sl[11].code = 51.0f;
    decode_atom_codewords(*ts, 1);
    if (rz_code != 0.0f) {
      EXPECT_FLOAT_EQ(sl[11].value, -1.0f);
      EXPECT_EQ(sl[11].ParNo, 0);
    } else {
      EXPECT_FLOAT_EQ(sl[11].value, 0.5f);
      EXPECT_EQ(sl[11].ParNo, 5);
    }
    EXPECT_EQ(ph.AtomExtras, 2);
  }
}

TEST(DecodeCodewords, SphericalImaginaryMoment) {
  test::TestStore ts;
  Phase& ph = ts->phase(1);
  ph.Jbt = -1;
  ph.Hel = 1;
  ph.FirstAtom = 1;
  ph.Nat = 1;
  auto& sl = ts->job->atoms[1].slot;
  sl[7] = {30.0f, 21.0f};  // Rphi refined
  sl[8].value = 45.0f;     // Rtheta
  sl[11].value = 135.0f;   // Itheta: cot 45 cot 135 = -1, arccos(1) = 0
  sl[10].code = 61.0f;
  decode_atom_codewords(*ts, 1);
  EXPECT_NEAR(sl[10].value, 30.0f, 1e-3);
  EXPECT_EQ(sl[10].ParNo, 0);
  sl[11].value = 170.0f;  // more than 90 apart
  sl[10].code = 61.0f;
  decode_atom_codewords(*ts, 1);
  EXPECT_FLOAT_EQ(sl[10].value, 30.0f);
  EXPECT_FLOAT_EQ(sl[11].value, 135.0f);
}

TEST(HardLimits, ReadAndListed) {
  test::TempDir dir;
  test::TestStore ts;
  dir.write("job.pcr", "  3  0.0  1.0\n! c\n 7 -2.5 2.5\n");
  ASSERT_TRUE(ts->files.open(unit::PCR, "job.pcr", OpenStatus::Old));
  ASSERT_TRUE(ts->files.open(unit::OUT, "job.out", OpenStatus::Unknown));
  RunSettings& s = ts->settings();
  s.NPAR = 8;
  s.Nre = 2;
  s.Cry = 2;
  read_hard_limits(*ts);
  ts->files.close(unit::OUT);
  const ParameterLimits& lim = ts->job->limits;
  EXPECT_EQ(lim.HasLimits[3], 1);
  EXPECT_EQ(lim.HasLimits[7], 1);
  EXPECT_EQ(lim.HasLimits[4], 0);
  EXPECT_FLOAT_EQ(lim.Low[7], -2.5f);
  EXPECT_FLOAT_EQ(lim.High[7], 2.5f);
  EXPECT_EQ(s.NPAR, 7);  // a search takes the largest number on the lines
  EXPECT_EQ(dir.read("job.out"),
            "\n => The following parameter limits have been read:\n\n"
            "  -> Parameter no.:    3 Limits:     0.0000    1.0000\n"
            "  -> Parameter no.:    7 Limits:    -2.5000    2.5000\n");
}

}  // namespace
}  // namespace kestovar
