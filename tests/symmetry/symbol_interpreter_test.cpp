// The symbol interpreter: generator codes, Laue classes, unique axes, the lattice letter,
// the report lines and the error paths.
#include "symmetry/symbol_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run/stop.h"
#include "support/test_support.h"
#include "symmetry/expansion.h"
#include "symmetry/operator_text.h"
#include "text/fortran_format.h"

namespace kestovar {
namespace {

std::vector<int> codes(const SymbolInfo& info) {
  std::vector<int> c;
  for (int k = 1; k <= info.NumGenerators; ++k) c.push_back(info.Generator[k]);
  return c;
}

TEST(SymbolInterpreter, GeneratorCodesAsPrinted) {
  const struct {
    const char* symbol;
    std::vector<int> codes;
  } cases[] = {{"P 31 2 1", {8200, 273}},
               {"R -3 m", {8192, 8196, 290, 51}},
               {"P 63/m m c", {8196, 546, 768, 51}},
               {"P 4/n", {23, 102, 324}},
               {"C c c a", {68, 518, 544, 260}},
               {"F d 3 m", {576, 516, 16384, 1154, 1064, 392, 17}},
               {"P 21/c", {834, 608}},
               {"A 2/m", {576, 258, 32}},
               {"I 2 2 2", {580, 288, 258}}};
  for (const auto& c : cases) {
    SymbolInfo info = interpret_symbol(c.symbol);
    EXPECT_TRUE(info.ok()) << c.symbol;
    EXPECT_EQ(codes(info), c.codes) << c.symbol;
    EXPECT_EQ(info.Generator[info.NumGenerators + 1], 0) << c.symbol;
  }
}

TEST(SymbolInterpreter, LaueClassAndUniqueAxis) {
  const struct {
    const char* symbol;
    int laue, unique;
  } cases[] = {
      {"P 1", 1, 0},      {"P -1", 1, 0},        {"P 2", 2, 2},        {"p 21/c", 2, 2},
      {"P 21/C", 2, 2},   {"P 1 1 21/b", 2, 3},  {"P 21/b 1 1", 2, 1}, {"P 1 21/n 1", 2, 2},
      {"P b n m", 3, 0},  {"P 4/m", 4, 0},       {"I 41/a m d", 5, 0}, {"R 3 R", 6, 0},
      {"R -3 m R", 7, 0}, {"R -3", 8, 0},        {"R -3 H", 8, 0},     {"P 3 1 1", 8, 0},
      {"R -3 m", 9, 0},   {"P -3 m 1", 9, 0},    {"P -3 1 m", 10, 0},  {"P 6/m", 11, 0},
      {"P -6", 11, 0},    {"P 63/m m c", 12, 0}, {"P m 3", 13, 0},     {"I a 3", 13, 0},
      {"P m 3 m", 14, 0}, {"F d 3 m", 14, 0},    {"P n m a 2", 3, 0}};
  for (const auto& c : cases) {
    SymbolInfo info = interpret_symbol(c.symbol);
    EXPECT_EQ(info.Laue, c.laue) << c.symbol;
    EXPECT_EQ(info.UniqueAxis, c.unique) << c.symbol;
  }
}

TEST(SymbolInterpreter, SpellingsOfTheSameGroupAgree) {
  const std::pair<const char*, const char*> same[] = {
      {"p 21/c", "P 21/C"},
      {"P 21/c", "  P   21/c  "},
      {"R -3 H", "R -3"},
      {"P n m a 2", "P n m a"},
      {"P n m a", "P 21/n 21/m 21/a"},
      {"P 21/c", "P 1 21/c 1"},
      // Full symbols: the origin of the short symbol, not another centre of the group.
      {"C c c a", "C 2/c 2/c 2/a"},
      {"P 4/m b m", "P 4/m 21/b 2/m"},
      {"I 4/m c m", "I 4/m 2/c 2/m"},
      {"P 42/m b c", "P 42/m 21/b 2/c"},
      {"P b n m", "P 21/b 21/n 21/m"},
      {"F d 3 m", "F 41/d 3 2/m"},
      {"R -3 m", "R -3 2/m"}};
  for (const auto& [a, b] : same) {
    SymmetryWork wa, wb;
    ASSERT_TRUE(expand_symbol(a, wa)) << a;
    ASSERT_TRUE(expand_symbol(b, wb)) << b;
    auto texts = [](const SymmetryWork& w) {
      std::vector<std::string> t;
      for (const SymmetryOperator& op : expanded_operators(w)) t.push_back(operator_to_text(op));
      std::sort(t.begin(), t.end());
      return t;
    };
    EXPECT_EQ(texts(wa), texts(wb)) << a << " | " << b;
    EXPECT_EQ(wa.info.Laue, wb.info.Laue);
  }
}

TEST(SymbolInterpreter, RhombohedralAndHexagonalAxes) {
  SymbolInfo hex = interpret_symbol("R -3 m");
  SymbolInfo rho = interpret_symbol("R -3 m R");
  EXPECT_EQ(hex.Generator[1], R_CENTRING_CODE);
  EXPECT_NE(rho.Generator[1], R_CENTRING_CODE);
  SymmetryWork wh, wr;
  ASSERT_TRUE(expand_symbol("R -3 m", wh));
  ASSERT_TRUE(expand_symbol("R -3 m R", wr));
  EXPECT_EQ(wh.Multiplicity(), 36);
  EXPECT_EQ(wr.Multiplicity(), 12);
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol("R -3 m R", g));
  EXPECT_EQ(g.lattice.count, 1);
  EXPECT_FALSE(g.Hexagonal);
  ASSERT_TRUE(space_group_from_symbol("R -3 m", g));
  EXPECT_EQ(g.lattice.count, 3);
  EXPECT_TRUE(g.Hexagonal);
}

TEST(SymbolInterpreter, BadSymbolsFail) {
  for (const char* s :
       {"P 1 1 1", "P m -3 m", "X 2 2 2", "P", "P 5", "P 2.", "P 2 2", "P 4 2 5", "P 2 -1 1",
        "P 4 1 1", "P a a a", "P 6 1 1 m", "R 3 2 1", "P21/c", "F d -3 m", "P 3/m", "P 2 2 3 m"}) {
    SymbolInfo info = interpret_symbol(s);
    EXPECT_FALSE(info.ok()) << s;
    EXPECT_EQ(info.UniqueAxis, 4) << s;
  }
}

TEST(SymbolInterpreter, ReportLinesGoToTheListingUnit) {
  test::TestStore ts;
  interpret_symbol(*ts, "P 21/c", 0, 6);
  interpret_symbol(*ts, "P 21/c", 1, 6);
  std::vector<std::string> want = {"", " => The SPACE GROUP is: P 21/c              ", "",
                                   " => The SPACE GROUP symbol for HKL generation is: P 21/c   "
                                   "           "};
  EXPECT_EQ(ts.window.lines, want);
}

TEST(SymbolInterpreter, ErrorShowsTheSymbolAndStops) {
  for (const char* s : {"X 2 2 2", "P m -3 m", "P 1 1 1"}) {
    test::TestStore ts;
    try {
      interpret_symbol(*ts, s, 0, 6);
      FAIL() << s << " did not stop";
    } catch (const StopError& e) {
      EXPECT_EQ(e.text(), " Error in S.G. symbol");
    }
    const auto& l = ts.window.lines;
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(l[l.size() - 3], " =>   Did you punch the symbol correctly ?");
    EXPECT_EQ(l[l.size() - 2], " =>   Errors of some sort were detected !!");
    EXPECT_EQ(l[l.size() - 1], " =>The symbol was read as " + text::trim_right(text::pad(s, 20)));
  }
}

TEST(LatticeLetter, CentringVectors) {
  const struct {
    const char* symbol;
    char letter;
    int code, count;
    Vec3 second;
  } cases[] = {{"P 1", 'P', 1, 1, {0, 0, 0}},
               {"a 2/m", 'A', 2, 2, {0, 0.5f, 0.5f}},
               {"B 1 1 b", 'B', 3, 2, {0.5f, 0, 0.5f}},
               {"C c c a", 'C', 4, 2, {0.5f, 0.5f, 0}},
               {"  I 4", 'I', 5, 2, {0.5f, 0.5f, 0.5f}},
               {"R -3 m", 'R', 6, 3, {2 / 3.0f, 1 / 3.0f, 1 / 3.0f}},
               {"f m 3 m", 'F', 7, 4, {0.5f, 0.5f, 0}}};
  for (const auto& c : cases) {
    LatticeCentring l;
    ASSERT_TRUE(lattice_centring(c.symbol, l)) << c.symbol;
    EXPECT_EQ(l.letter, c.letter);
    EXPECT_EQ(l.code, c.code);
    EXPECT_EQ(l.count, c.count);
    EXPECT_EQ(l.vector[1], (Vec3{0, 0, 0}));
    if (c.count > 1) {
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(l.vector[2][i], c.second[i], 1e-6) << c.symbol;
    }
    for (int k = c.count + 1; k <= MAX_CENTRING; ++k) EXPECT_EQ(l.vector[k], (Vec3{0, 0, 0}));
  }
}

TEST(LatticeLetter, WrongLetterStops) {
  test::TestStore ts;
  char letter = '?';
  LatticeCentring l = read_lattice_letter(*ts, "c 2/c", &letter);
  EXPECT_EQ(letter, 'C');
  EXPECT_EQ(l.count, 2);
  try {
    read_lattice_letter(*ts, "X 2 2 2");
    FAIL();
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " *** ERROR: Wrong Space Group Symbol");
  }
  EXPECT_EQ(ts.window.lines.back(), " => SPGR:  X 2 2 2");
}

TEST(GeneratorCodes, DecodeKinds) {
  GeneratorParts r = decode_generator(R_CENTRING_CODE);
  EXPECT_EQ(r.kind, 1);
  EXPECT_EQ(r.t12, (std::array<int, 3>{4, 8, 8}));
  GeneratorParts three = decode_generator(8200);  // 3 sub 1 about c
  EXPECT_EQ(three.R, (IntMatrix3{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}}));
  EXPECT_EQ(three.t12, (std::array<int, 3>{0, 0, 4}));
  GeneratorParts cubic = decode_generator(CUBIC_THREEFOLD_CODE);
  EXPECT_EQ(cubic.R, (IntMatrix3{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}));
  GeneratorParts g = decode_generator(834);  // -x, y+1/2, -z+1/2
  EXPECT_EQ(g.R, (IntMatrix3{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}));
  EXPECT_EQ(g.t12, (std::array<int, 3>{0, 6, 6}));
  int code = 0;
  ASSERT_TRUE(encode_generator(g.R, g.t12, code));
  EXPECT_EQ(code, 834);
  // A translation of 5/6 along z uses the further thirds.
  ASSERT_TRUE(encode_generator(IntMatrix3{{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}}, {0, 0, 10}, code));
  EXPECT_EQ(decode_generator(code).t12, (std::array<int, 3>{0, 0, 10}));
  EXPECT_FALSE(encode_generator(IntMatrix3{{{1, -1, 0}, {0, -1, 0}, {0, 0, -1}}}, {0, 0, 0}, code));
  EXPECT_EQ(decode_generator(INVERSION_ROTATION_CODE).R,
            (IntMatrix3{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}));
}

}  // namespace
}  // namespace kestovar
