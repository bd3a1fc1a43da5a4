// Fortran-style formatted output, formatted input and list-directed reading. The expected
// texts of the output tables were produced by a Fortran compiler's run time.
#include "text/fortran_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kestovar::text {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

struct OutputCase {
  const char* descriptor;
  Item value;
  const char* expected;
};

TEST(FortranFormatOutput, SingleDescriptorsGiveTheFortranText) {
  const std::vector<OutputCase> cases = {
      {"I5", -12LL, "  -12"},
      {"I2", -12LL, "**"},
      {"I3", 0LL, "  0"},
      {"I5.3", -1LL, " -001"},
      {"I5.0", 0LL, "     "},
      {"I0", -123LL, "-123"},
      {"I20", LLONG_MIN, "-9223372036854775808"},
      {"I19", LLONG_MIN, "*******************"},
      {"F5.2", 0.125, " 0.12"},
      {"F5.2", 0.375, " 0.38"},
      {"F3.0", 2.5, " 2."},
      {"F3.0", 0.5, " 0."},
      {"F12.2", 0.005, "        0.01"},
      {"F12.2", 0.015, "        0.01"},
      {"F12.2", 0.025, "        0.03"},
      {"F12.1", 0.35, "         0.3"},
      {"F4.1", 99.96, "****"},
      {"F5.2", -0.0, "-0.00"},
      {"F5.2", -0.001, "-0.00"},
      {"F4.2", -0.001, "-.00"},
      {"F3.2", -0.001, "***"},
      {"F4.3", 0.123, ".123"},
      {"F5.3", -0.123, "-.123"},
      {"F4.3", -0.123, "****"},
      {"F2.0", 0.4, "0."},
      {"F1.0", 0.4, "*"},
      {"F3.0", -0.4, "-0."},
      {"F2.0", -0.4, "**"},
      {"F0.3", 0.5, ".500"},
      {"F0.3", -12.5, "-12.500"},
      {"F10.3", 1e5, "100000.000"},
      {"F10.3", 1e6, "**********"},
      {"F6.2", 1e300, "******"},
      {"F60.40", 0.1, "                  0.1000000000000000055511151231257827021182"},
      {"F20.15", double(0.1f), "   0.100000001490116"},
      {"F10.3", 42LL, "    42.000"},
      {"F8.3", kInf, "Infinity"},
      {"F9.3", -kInf, "-Infinity"},
      {"F8.3", -kInf, "    -Inf"},
      {"F4.3", -kInf, "-Inf"},
      {"F2.3", kInf, "**"},
      {"F10.3", kNan, "       NaN"},
      {"E12.4", 12.34, "  0.1234E+02"},
      {"E12.4", -12.34, " -0.1234E+02"},
      {"E12.4", 0.0, "  0.0000E+00"},
      {"E12.4", -0.0, " -0.0000E+00"},
      {"E10.4", 12.34, "0.1234E+02"},
      {"E9.4", 12.34, ".1234E+02"},
      {"E8.4", 12.34, "********"},
      {"E10.4", -12.34, "-.1234E+02"},
      {"E12.4", 0.99996, "  0.1000E+01"},
      {"E12.4", 1.234e100, "  0.1234+101"},
      {"E12.4", 1.234e-100, "  0.1234E-99"},
      {"E12.4", 4.9406564584124654e-324, "  0.4941-323"},
      {"E12.3", 0.125, "   0.125E+00"},
      {"E12.4E3", 12.34, " 0.1234E+002"},
      {"E12.4E1", 12.34, "   0.1234E+2"},
      {"E10.4E1", 1e-20, "**********"},
      {"D12.4", 12.34, "  0.1234D+02"},
      {"D12.4", 1.234e100, "  0.1234+101"},
      {"E12.4", -5LL, " -0.5000E+01"},
      {"G12.4", 12.34, "   12.34    "},
      {"G12.4", 0.0, "   0.000    "},
      {"G12.4", 0.01, "  0.1000E-01"},
      {"G12.4", 0.1, "  0.1000    "},
      {"G12.4", 0.09996, "  0.9996E-01"},
      {"G12.4", 9999.4, "   9999.    "},
      {"G12.4", 9999.5, "  0.1000E+05"},
      {"G5.4", 1.0, "*****"},
      {"G12.4E3", 3e10, " 0.3000E+011"},
      {"G12.4", 17LL, "          17"},
      {"G6.1", 3.0, "3.    "},
      {"A5", std::string("ab"), "   ab"},
      {"A2", std::string("abcd"), "ab"},
      {"A", std::string("abcd"), "abcd"},
      {"SP,F7.2", 1.5, "  +1.50"},
      {"SP,I4", 0LL, "  +0"},
      {"SP,E12.4", 1.5, " +0.1500E+01"},
      {"SP,F4.1", 0.01, "+0.0"},
  };
  for (const OutputCase& c : cases) {
    const std::string fmt = std::string("(") + c.descriptor + ")";
    EXPECT_EQ(format(fmt, {c.value}), c.expected) << fmt;
  }
}

TEST(FortranFormatOutput, DescriptorFunctionsMatchTheFormatItems) {
  EXPECT_EQ(fmt_i(-12, 5), "  -12");
  EXPECT_EQ(fmt_i(7, 4, 3), " 007");
  EXPECT_EQ(fmt_f(-0.001, 4, 2), "-.00");
  EXPECT_EQ(fmt_f(3.14159, 8, 4), "  3.1416");
  EXPECT_EQ(fmt_e(12.34, 9, 4), ".1234E+02");
  EXPECT_EQ(fmt_e(12.34, 12, 4, 3), " 0.1234E+002");
  EXPECT_EQ(fmt_d(12.34, 12, 4), "  0.1234D+02");
  EXPECT_EQ(fmt_g(9999.4, 12, 4), "   9999.    ");
  EXPECT_EQ(fmt_a("abcd", 2), "ab");
  EXPECT_EQ(fmt_a("ab", 5), "   ab");
  EXPECT_EQ(fmt_a("abc", -1), "abc");
  EXPECT_THROW(fmt_f(1.0, -1, 2), FormatError);
  EXPECT_THROW(fmt_e(1.0, 10, 0), FormatError);
}

struct RecordsCase {
  const char* format;
  std::vector<Item> items;
  std::vector<std::string> expected;
};

TEST(FortranFormatOutput, RecordsGroupsReversionAndPositions) {
  using V = std::vector<Item>;
  const std::vector<RecordsCase> cases = {
      // Literals before the next data descriptor are written once the list is done.
      {"(I3,'a',I3,'b')", V{1LL}, {"  1a"}},
      {"(I3,\"|\")", V{1LL}, {"  1|"}},
      {"(I2,:,'x')", V{1LL}, {" 1"}},
      {"('[',2(I2,:,','),']')", V{1LL, 2LL}, {"[ 1, 2"}},
      // Reversion to the last top-level group with its repeat count, or to the start.
      {"(2(I3,'a'),'z')", V{1LL, 2LL, 3LL, 4LL, 5LL}, {"  1a  2az", "  3a  4az", "  5a"}},
      {"(I3,2(I3,'a',3(I2)),'z')",
       V{1LL, 2LL, 3LL, 4LL, 5LL, 6LL, 7LL, 8LL, 9LL, 10LL, 11LL, 12LL, 13LL},
       {"  1  2a 3 4 5  6a 7 8 9z", " 10a111213"}},
      {"('x',2I3)", V{1LL, 2LL, 3LL, 4LL, 5LL}, {"x  1  2", "x  3  4", "x  5"}},
      {"(3('|',I2))", V{1LL, 2LL, 3LL, 4LL}, {"| 1| 2| 3", "| 4|"}},
      {"(I2/ I2)", V{1LL, 2LL, 3LL}, {" 1", " 2", " 3", ""}},
      {"(*(I2))", V{1LL, 2LL, 3LL}, {" 1 2 3"}},
      // Records, blanks and tabs.
      {"(I3,/)", V{1LL}, {"  1", ""}},
      {"(I3,/,/,I3)", V{1LL}, {"  1", "", ""}},
      {"(/)", V{}, {"", ""}},
      {"(I3)", V{}, {""}},
      {"('a',3X)", V{}, {"a"}},
      {"('a',3X,'b')", V{}, {"a   b"}},
      {"(I3,T2,'ab')", V{123LL}, {"1ab"}},
      {"(I3,TL2,'ab',TR3,'c')", V{123LL}, {"1ab   c"}},
      {"('abc',T10,'d')", V{}, {"abc      d"}},
      // Literal forms, blanks and lower case in the format text.
      {"('it''s',\"say \"\"hi\"\"\",5Hab'cd)", V{}, {"it'ssay \"hi\"ab'cd"}},
      {" ( f 8 . 3 , e10.2 i3 a ) trailing text",
       V{1.5, 1.5, 3LL, std::string("x")},
       {"   1.500  0.15E+01  3x"}},
      {"(SS,I3,SP,I3,S,I3)", V{1LL, 2LL, 3LL}, {"  1 +2  3"}},
  };
  for (const RecordsCase& c : cases)
    EXPECT_EQ(format_records(c.format, c.items), c.expected) << c.format;
  EXPECT_EQ(format("(2I3)", {1LL, 2LL, 3LL}), "  1  2\n  3");
}

TEST(FortranFormatOutput, BadFormatsAndItemsThrow) {
  using V = std::vector<Item>;
  const std::vector<std::pair<const char*, V>> cases = {
      {"(I3)", V{1.5}},                   // a real for I
      {"(F5.1)", V{std::string("a")}},    // text for F
      {"(A)", V{1LL}},                    // a number for A
      {"('a')", V{1LL}},                  // no data descriptor
      {"(I3,2('x'))", V{1LL, 2LL}},       // none in the part that repeats
      {"(*('x'))", V{1LL}},               // unlimited group without data
      {"(I3", V{1LL}},                    // unclosed
      {"I3", V{1LL}},                     // no parenthesis
      {"(Q3)", V{1LL}},                   // unknown descriptor
      {"(E10.0)", V{1.0}},                // E needs digits
      {"(F8)", V{1.0}},                   // F needs decimals
      {"(1PE10.3)", V{1.0}},              // scale factors are not supported
      {"('abc)", V{}},                    // unterminated literal
      {"(0I3)", V{1LL}},                  // zero repeat
      {"(T0)", V{}},                      // column 0
      {"(3000000I2)", V{}},               // absurd count
      {"(1000000(1000000(1X)))", V{}},    // endless blank moves
      {"(1000000(1000000('xy')))", V{}},  // endless output
  };
  for (const auto& [fmt, items] : cases)
    EXPECT_THROW(format_records(fmt, items), FormatError) << fmt;
  try {
    format("(2X,I4)", {2.5});
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_STREQ(e.what(), "cannot write a real value with I4");
  }
}

TEST(FortranFormatOutput, LongFormatsAndListsAreFine) {
  std::string fmt = "(";
  std::vector<Item> items(5000);
  for (size_t k = 0; k < items.size(); ++k) {
    fmt += "I6,";
    items[k] = static_cast<long long>(k);
  }
  fmt.back() = ')';
  std::vector<std::string> records = format_records(fmt, items);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].size(), 30000u);
  EXPECT_EQ(records[0].substr(29994), "  4999");

  std::vector<Item> many(32000, Item{1.5});
  records = format_records("(8F10.3)", many);
  ASSERT_EQ(records.size(), 4000u);
  std::string line;
  for (int k = 0; k < 8; ++k) line += "     1.500";
  EXPECT_EQ(records.back(), line);
}

// Renders read fields as "i12 r0.5 a'ab'" for compact comparisons.
std::string show(const std::vector<Field>& fields) {
  std::string s;
  for (const Field& f : fields) {
    if (!s.empty()) s += ' ';
    char buf[64];
    switch (f.kind) {
      case Field::Kind::Integer:
        s += "i" + std::to_string(f.i);
        break;
      case Field::Kind::Real:
        std::snprintf(buf, sizeof buf, "r%.10g", f.r);
        s += buf;
        break;
      case Field::Kind::Text:
        s += "a'" + f.a + "'";
        break;
    }
  }
  return s;
}

struct InputCase {
  const char* format;
  const char* record;
  const char* expected;
};

TEST(FortranFormatInput, FieldsAreTakenByColumn) {
  const std::vector<InputCase> cases = {
      {"(I5)", "    ", "i0"},
      {"(I5)", " 1 2", "i12"},
      {"(I5)", " 125", "i125"},
      {"(BZ,I4)", " 12 ", "i120"},
      {"(F7.2)", "    ", "r0"},
      {"(F7.2)", " 125", "r1.25"},  // implied decimals
      {"(F7.2)", " 1 2", "r0.12"},
      {"(F7.2)", " 1.25", "r1.25"},   // a point present wins
      {"(F7.2)", "1.5-2", "r0.015"},  // exponent without letter
      {"(F7.2)", "1.5+2", "r150"},
      {"(F7.2)", "1.5d3", "r1500"},
      {"(F7.2)", "1.5 E 2", "r150"},
      {"(F7.2)", "-.5", "r-0.5"},
      {"(F7.2)", "12-5", "r1.2e-06"},  // implied decimals, then the exponent
      {"(F7.2)", "   -", "r0"},        // a sign alone reads as zero
      {"(F7.2)", "   .", "r0"},
      {"(F7.2)", "99999999999", "r99999.99"},  // only 7 columns
      {"(F10.3)", " 1.0D-3", "r0.001"},
      {"(F10.3)", " 1.0e-999", "r0"},
      {"(E10.3)", "  1234", "r1.234"},
      {"(G10.3)", "  1234", "r1.234"},
      {"(I4,F8.0,1x,A4)", "  12     3.5 abcd", "i12 r3.5 a'abcd'"},
      {"(I4,F8.0,1x,A4)", "  12", "i12 r0 a'    '"},  // a short record reads as blanks
      {"(3I4,2F10.2,I4,3F10.4)", "   1  -2   3    100.50      2.25   7    0.1234    1.5       -2",
       "i1 i-2 i3 r100.5 r2.25 i7 r0.1234 r1.5 r-0.0002"},
      {"(2X,'ab',I2)", "xxxx12", "i12"},
      {"(T5,I2,TL4,I2,TR1,I1)", "123456789", "i56 i34 i6"},
      {"(A)", "hello world", "a'hello world'"},
      {"(A3,A)", "hello world", "a'hel' a'lo world'"},
      {"(A8)", "hi", "a'hi      '"},
      {"(I2/)", " 1 2", "i1"},
      {"(I2,\t'x')", " 1", "i1"},
  };
  for (const InputCase& c : cases)
    EXPECT_EQ(show(read_formatted(c.format, c.record)), c.expected)
        << c.format << " [" << c.record << "]";
}

TEST(FortranFormatInput, BadFieldsNameTheTextAndTheDescriptor) {
  const std::vector<InputCase> cases = {
      {"(I4)", " x12", "bad integer 'x12' for I4"},
      {"(I5)", "   -", "bad integer '-' for I5"},
      {"(I5)", "1.5", "bad integer '1.5' for I5"},
      {"(I5)", "12-5", "bad integer '12-5' for I5"},
      {"(I30)", "99999999999999999999", "integer out of range '99999999999999999999' for I30"},
      {"(F7.2)", "  12e", "bad real '12e' for F7.2"},
      {"(F7.2)", " inf", "bad real 'inf' for F7.2"},
      {"(F6.0)", "1.5.3", "bad real '1.5.3' for F6.0"},
      {"(E10.3)", "1e999", "real out of range '1e999' for E10.3"},
      {"(I4,F8.0,1x,A4)", "  12   3.5 abcd", "bad real '3.5 a' for F8.0"},
      {"(I2/I2)", " 1 2", "format '(I2/I2)' reads more than one record"},
      {"(I2,Z)", " 1 2", "bad format '(I2,Z)': unexpected 'Z' at column 5"},
  };
  for (const InputCase& c : cases) {
    try {
      read_formatted(c.format, c.record);
      ADD_FAILURE() << c.format << " [" << c.record << "] did not throw";
    } catch (const FormatError& e) {
      EXPECT_STREQ(e.what(), c.expected);
    }
  }
}

// Supplies lines one by one and counts what was taken.
struct Lines {
  std::vector<std::string> lines;
  size_t taken = 0;
  std::function<bool(std::string&)> next() {
    return [this](std::string& s) {
      if (taken >= lines.size()) return false;
      s = lines[taken++];
      return true;
    };
  }
};

TEST(FortranFormatInput, RecordsFollowSlashesAndReversion) {
  Lines in{{" 1 2 3", " 4 5 6", " 7"}};
  EXPECT_EQ(show(read_formatted_records("(3I2)", 7, in.next())), "i1 i2 i3 i4 i5 i6 i7");
  EXPECT_EQ(in.taken, 3u);

  // The third record comes from the reversion to the group (2F4.1).
  Lines header{{"  10 title", " 1.5 2.5", " 3.5", "rest"}};
  EXPECT_EQ(show(read_formatted_records("(I4,1X,A5/(2F4.1))", 5, header.next())),
            "i10 a'title' r1.5 r2.5 r3.5");
  EXPECT_EQ(header.taken, 3u);

  // A "/" after the last field skips its record, and does not fail at the end of input.
  Lines skip{{" 1", "skipped", " 2"}};
  EXPECT_EQ(show(read_formatted_records("(I2/)", 1, skip.next())), "i1");
  EXPECT_EQ(show(read_formatted_records("(I2/)", 1, skip.next())), "i2");
  EXPECT_EQ(skip.taken, 3u);

  Lines early{{" 1 2 3"}};
  try {
    read_formatted_records("(3I2)", 4, early.next());
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_STREQ(e.what(), "input ended before the format '(3I2)' read its 4 fields");
  }
}

TEST(FortranFormatInput, LongRecordsAndFormats) {
  std::string record;
  std::string fmt = "(";
  for (int k = 0; k < 3000; ++k) {
    record += fmt_i(k, 5);
    fmt += "I5,";
  }
  fmt.back() = ')';
  std::vector<Field> fields = read_formatted(fmt, record);
  ASSERT_EQ(fields.size(), 3000u);
  EXPECT_EQ(fields[2999].i, 2999);
  EXPECT_EQ(read_formatted("(1000(I1))", "7").size(), 1000u);
  EXPECT_THROW(read_formatted("(1000(1000(1000(I1))))", "7"), FormatError);
}

TEST(FortranFormatListDirected, TokensSplitAtBlanksTabsAndCommas) {
  using T = std::vector<std::string>;
  const std::vector<std::pair<const char*, T>> cases = {
      {"1 2,3", T{"1", "2", "3"}},
      {"1\t2 , 3,", T{"1", "2", "3"}},
      {" 3*1.5 x", T{"1.5", "1.5", "1.5", "x"}},
      {"2* 7", T{"", "", "7"}},  // n* alone gives null values
      {"1,,3", T{"1", "", "3"}},
      {",1", T{"", "1"}},
      {"'it''s a' \"b, c\" x/ 5 6", T{"it's a", "b, c", "x"}},
      {"1/2", T{"1"}},
      {"2*'q r'", T{"q r", "q r"}},
      {"0*5 12*", T{"0*5", "", "", "", "", "", "", "", "", "", "", "", ""}},
      {"", T{}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(list_tokens(line), expected) << line;
  EXPECT_THROW(list_tokens("99999999999*1"), FormatError);
}

TEST(FortranFormatListDirected, NumbersInFortranForms) {
  const std::vector<std::pair<const char*, double>> reals = {
      {"1", 1},        {"-1.5", -1.5},  {".5", 0.5}, {"1.e3", 1000}, {"1.0D-3", 0.001},
      {"1.0d+2", 100}, {"1.0-3", 1e-3}, {"+2", 2},   {"2.5E1", 25},  {" 7 ", 7},
  };
  for (const auto& [text, value] : reals) {
    double v = -99;
    EXPECT_TRUE(parse_real(text, v)) << text;
    EXPECT_DOUBLE_EQ(v, value) << text;
  }
  for (const char* bad :
       {"", "-", ".", "e5", "1.5.2", "1e", "1e+", "abc", "1,5", "inf", "nan", "1e999"}) {
    double v = -99;
    EXPECT_FALSE(parse_real(bad, v)) << bad;
    EXPECT_EQ(v, -99) << bad;
  }
  long long i = 0;
  EXPECT_TRUE(parse_integer("-42", i));
  EXPECT_EQ(i, -42);
  EXPECT_TRUE(parse_integer("+9223372036854775807", i));
  EXPECT_EQ(i, LLONG_MAX);
  for (const char* bad : {"", "1.0", "1e3", "12a", "9223372036854775808", "-"})
    EXPECT_FALSE(parse_integer(bad, i)) << bad;

  EXPECT_EQ(list_numbers("1 2.5,3*4 ,, 1.0D1"), (std::vector<double>{1, 2.5, 4, 4, 4, 0, 10}));
  EXPECT_EQ(list_numbers("1 2 3 4 5", 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(list_numbers("1000000000*0", 2), (std::vector<double>{0, 0}));
  try {
    list_numbers("1.5 2.x 3");
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_STREQ(e.what(), "bad number '2.x'");
  }
}

// Junk formats and records must give results or FormatError, never crash or run away.
TEST(FortranFormatRobustness, JunkNeverCrashes) {
  const std::string alphabet = "()IFEDGAXTLRHSPBNZ/:*'\",.+-0123456789 \tx";
  unsigned state = 12345;
  auto next = [&] {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7fff;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string fmt = "(";
    const unsigned len = next() % 24;
    for (unsigned k = 0; k < len; ++k) fmt += alphabet[next() % alphabet.size()];
    if (next() % 4 != 0) fmt += ')';
    std::string record;
    const unsigned rlen = next() % 30;
    for (unsigned k = 0; k < rlen; ++k) record += alphabet[next() % alphabet.size()];
    try {
      format_records(fmt, {1LL, 2.5, std::string("ab"), -3LL});
    } catch (const FormatError&) {
    }
    try {
      read_formatted(fmt, record);
    } catch (const FormatError&) {
    }
    try {
      list_numbers(record);
    } catch (const FormatError&) {
    }
  }
}

}  // namespace
}  // namespace kestovar::text
