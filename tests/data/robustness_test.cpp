// Whatever the data file holds, the reader either fills the pattern or stops the job with a
// StopError: truncated files, junk bytes, mutated fields, very long lines.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "data_reader_support.h"
#include "layout_samples.h"

namespace kestovar::test {
namespace {

// Reads `content` with layout `ins`; fails the test on anything but success or a stop.
void read_any(DataReader& r, int ins, const std::string& content, const std::string& what) {
  r.ts->settings().Ins = ins;
  // A new file each time: replacing the content of the old one costs a disk flush.
  std::filesystem::remove(r.dir.path() / "d.dat");
  r.dir.write("d.dat", content);
  try {
    read_intensity_data(*r.ts);
  } catch (const StopError&) {
    EXPECT_FALSE(r.ts->files.is_open(unit::DAT)) << what;
    return;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "Ins " << ins << ", " << what << ": " << e.what();
    return;
  }
  const Pattern& p = r.p();
  ASSERT_GE(p.NPTS, 1) << what;
  ASSERT_LE(p.NPTS, IDSZ) << what;
  for (int i = 1; i <= p.NPTS; ++i) {
    ASSERT_TRUE(std::isfinite(p.X[i]) && std::isfinite(p.Yobs[i]) && std::isfinite(p.Variance[i]))
        << "Ins " << ins << ", " << what << ", point " << i;
  }
}

TEST(DataRobustness, EveryTruncationOfEveryLayout) {
  DataReader r(0);
  for (const LayoutSample& s : all_samples()) {
    const size_t n = s.content.size();
    for (size_t len = 0; len <= n; ++len)
      read_any(r, s.ins, s.content.substr(0, len), "truncated at " + std::to_string(len));
  }
}

TEST(DataRobustness, MutatedFields) {
  DataReader r(0);
  std::mt19937 rng(12345);
  const std::string replacements(
      "0123456789 .-+eE*/!,x\t\r\n\0\xff"
      "9",
      27);
  for (const LayoutSample& s : all_samples()) {
    for (int k = 0; k < 100; ++k) {
      std::string c = s.content;
      for (int m = 0; m < 3; ++m) c[rng() % c.size()] = replacements[rng() % replacements.size()];
      read_any(r, s.ins, c, "mutation " + std::to_string(k));
    }
  }
}

TEST(DataRobustness, JunkBytesAndVeryLongLines) {
  DataReader r(0);
  std::mt19937 rng(777);
  std::string junk(20000, '\0');
  for (char& ch : junk) ch = static_cast<char>(rng() % 256);
  std::string digits;
  for (int i = 0; i < 100000; ++i) digits += "9 ";
  const std::string huge_numbers = "1e300 1e-300 99999999999999999999 -1e39\n";
  const std::string inputs[] = {junk,
                                std::string(300000, 'x'),
                                digits,
                                huge_numbers + digits,
                                "10 0.01 20" /* no line end */,
                                std::string(5000, '\n')};
  const int layouts[] = {0, 1, 2, 3, 4, -4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (int ins : layouts)
    for (size_t k = 0; k < std::size(inputs); ++k)
      read_any(r, ins, inputs[k], "input " + std::to_string(k));
}

}  // namespace
}  // namespace kestovar::test
