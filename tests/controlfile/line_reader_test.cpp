// The free-format decoder and the control-file line reader.
#include "controlfile/line_reader.h"

#include <gtest/gtest.h>

#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

struct FmtCase {
  const char* line;
  const char* spec;
  const char* format;  // expected format when error is 0
  int error;
  int column;  // expected marker column when error is not 0
};

TEST(FindFmt, BuildsFormatsAndReportsErrors) {
  const FmtCase cases[] = {
      {"   1   2   3", "III", "(I4,I4,I4)", 0, 0},
      {"   1   2   3", "IIIIIIIIIIIIIIIII", "(I4,I4,I4,I1,I1,I1,I1,I1,I1,I1,I1,I1,I1,I1,I1,I1,I1)",
       0, 0},
      {"1.5-2.5", "FF", "(F3.0,F4.0)", 0, 0},
      {"12-5", "II", "(I2,I2)", 0, 0},
      {"1.0E-3", "F", "(F6.0)", 0, 0},
      {" -1.0d+2  .5", "FF", "(F8.0,F4.0)", 0, 0},
      {"Pb   1.0 ", "4F", "(A2,F6.0)", 0, 0},
      {"  Pb   1.0", "4F", "(2x,A2,F6.0)", 0, 0},
      {"1 ABCDEFG 2", "I4I", "(I1,1x,A4)", 10, 7},  // the word is cut at 4: "EFG" has no separator
      {"1.5-ab", "F4", "", 10, 4},                  // a word directly after a number
      {"11.0 0.00", "FF", "(F4.0,F5.0)", 0, 0},
      {"3 x", "IF", "", 7, 3},
      {"12.5", "I", "", 3, 3},
      {"1..5", "F", "", 4, 3},
      {"1.5.2", "F", "", 4, 4},
      {"E5", "F", "", 11, 1},
      {"E5", "I", "", 5, 1},
      {"5 .", "II", "", 3, 3},
      {"1 --2", "II", "", 4, 4},
      {"1 - 2", "II", "", 12, 4},
      {"1 2E", "FF", "", 12, 4},
      {"1.0e", "F", "", 12, 4},
      {"1.0E+-2", "F", "", 4, 6},
      {"12ab", "I4", "", 7, 3},
      {"12ab", "IF", "", 7, 3},
      {"1.0ab", "F4", "", 7, 4},
      {"1 2", "IX", "", 6, 0},
      {"1 2", "", "", 1, 0},
      {"12", "i", "(I2)", 0, 0},
      {"5 6", "if", "(I1,F2.0)", 0, 0},
      {"1\t2", "II", "(I1,I2)", 0, 0},
  };
  for (const FmtCase& c : cases) {
    SCOPED_TRACE(std::string("line '") + c.line + "' spec '" + c.spec + "'");
    DecodedLine d = find_fmt(c.line, c.spec);
    EXPECT_EQ(d.error, c.error);
    if (c.error == 0) {
      EXPECT_EQ(d.format, c.format);
    } else if (c.column > 0) {
      EXPECT_EQ(d.column, c.column);
    }
  }
}

TEST(FindFmt, ReadsValuesWithTheBuiltFormat) {
  struct ReadCase {
    const char* line;
    const char* spec;
    std::vector<double> values;
  };
  const ReadCase cases[] = {
      {"1.5-2.5", "FF", {1.5, -2.5}},
      {"1.0E-3", "F", {0.001}},
      {"   1   2   3", "IIIIIIIIIIIIIIIII", {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"12-5", "II", {12, -5}},
      {"  5  11.00", "IF", {5, 11.0}},
      {"0.5", "FF", {0.5, 0}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.line);
    DecodedLine d = find_fmt(c.line, c.spec);
    ASSERT_EQ(d.error, 0);
    std::vector<text::Field> f = text::read_formatted(d.format, c.line);
    ASSERT_EQ(f.size(), c.values.size());
    for (size_t i = 0; i < f.size(); ++i) {
      double v = f[i].kind == text::Field::Kind::Integer ? static_cast<double>(f[i].i) : f[i].r;
      EXPECT_NEAR(v, c.values[i], 1e-9) << "field " << i;
    }
  }
}

TEST(FindFmt, WordsReadBackWithTheirSeparators) {
  DecodedLine d = find_fmt("  Pb   1.0", "4F");
  ASSERT_EQ(d.error, 0);
  auto f = text::read_formatted(d.format, "  Pb   1.0");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].a, "Pb");
  EXPECT_DOUBLE_EQ(f[1].r, 1.0);
}

class LineReaderTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  void open_pcr(const std::string& content) {
    dir.write("job.pcr", content);
    ASSERT_TRUE(ts->files.open(unit::PCR, "job.pcr", OpenStatus::Old));
    ts->job->reader.PcrLine = 1;  // the title has been read
    std::string title;
    ts->files.read_line(unit::PCR, title);
  }
  std::string stop_text(const std::string& spec) {
    try {
      read_pcr_line(*ts, spec);
    } catch (const StopError& e) {
      return e.text();
    }
    return "";
  }
};

TEST_F(LineReaderTest, SkippedCommentsAndBlanksKeepThePhysicalLineNumber) {
  open_pcr("title\r\n! comment\r\n\r\n   \r\n  3  4\r\n!x\r\n5 6.5\r\n");
  auto f = read_pcr_line(*ts, "II");
  EXPECT_EQ(ts->job->reader.PcrLine, 5);
  EXPECT_EQ(f[0].i, 3);
  EXPECT_EQ(f[1].i, 4);
  f = read_pcr_line(*ts, "IF");
  EXPECT_EQ(ts->job->reader.PcrLine, 7);
  EXPECT_EQ(f[0].i, 5);
  EXPECT_FLOAT_EQ(static_cast<float>(f[1].r), 6.5f);
}

TEST_F(LineReaderTest, CommentMustStandInColumnOne) {
  open_pcr("title\n  ! not a comment\n");
  EXPECT_EQ(stop_text("I"), "  => Please check your input file at line:    2 !");
}

TEST_F(LineReaderTest, ErrorReportShowsMessageLineAndMarker) {
  open_pcr("title\n!c\n  12.5  3\n");
  EXPECT_EQ(stop_text("II"), "  => Please check your input file at line:    3 !");
  const auto& lines = ts.window.lines;
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], " => FindFMT: integer field found real !");
  EXPECT_EQ(lines[lines.size() - 2], " => \"  12.5  3\"");
  // The "^" stands under the offending "." (column 5 of the line).
  EXPECT_EQ(lines[lines.size() - 1], " => -----^");
  EXPECT_EQ(lines[lines.size() - 2].find('.'), lines[lines.size() - 1].find('^'));
}

TEST_F(LineReaderTest, MarkerInColumnOneAndWordWithoutSeparator) {
  open_pcr("title\nx\n");
  EXPECT_NE(stop_text("I"), "");
  EXPECT_EQ(ts.window.lines.back(), " =>   ^----");
}

TEST_F(LineReaderTest, EndOfControlFileStopsWithoutBox) {
  open_pcr("title\n");
  try {
    read_pcr_line(*ts, "I");
    FAIL();
  } catch (const StopError& e) {
    EXPECT_FALSE(e.show_box());
  }
  EXPECT_EQ(ts.window.lines.back(), " => Not FATAL End of file !,  logical unit:    1");
}

TEST_F(LineReaderTest, EndOfDataFileReturnsMinusOne) {
  dir.write("d.dat", "1 2\n");
  ASSERT_TRUE(ts->files.open(unit::DAT, "d.dat", OpenStatus::Old));
  std::string line, format;
  int n = 0;
  EXPECT_EQ(next_line(*ts, unit::DAT, line, "II", format, n), 0);
  EXPECT_EQ(format, "(I1,I2)");
  EXPECT_EQ(next_line(*ts, unit::DAT, line, "II", format, n), -1);
}

TEST_F(LineReaderTest, CommasSeparateFields) {
  open_pcr("title\n1,2,  3.5\n");
  auto f = read_pcr_line(*ts, "IIF");
  EXPECT_EQ(f[0].i, 1);
  EXPECT_EQ(f[1].i, 2);
  EXPECT_DOUBLE_EQ(f[2].r, 3.5);
}

TEST_F(LineReaderTest, ExponentInIntegerFieldIsAReadError) {
  open_pcr("title\n1E5\n");
  EXPECT_EQ(stop_text("I"), "  => Please check your input file at line:    2 !");
}

}  // namespace
}  // namespace kestovar
