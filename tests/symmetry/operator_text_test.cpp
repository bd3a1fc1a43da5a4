// Operator text: SYMM and MSYM lines, rotation identification, the rotation table and the
// writer of operators as text.
#include "symmetry/operator_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run/stop.h"
#include "support/test_support.h"
#include "symmetry/expansion.h"

namespace kestovar {
namespace {

const IntMatrix3 I3 = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

SymmetryOperator parse(const std::string& text, OperatorParse* result = nullptr) {
  SymmetryOperator op;
  std::string line = "SYMM " + text;
  int column = 6;
  OperatorParse p = try_parse_operator(line, column, op);
  if (result) *result = p;
  return op;
}

TEST(OperatorText, ParsesComponents) {
  const struct {
    const char* text;
    IntMatrix3 R;
    Vec3 t;
  } cases[] = {
      {"-x+1/2,y,-z+1/2", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, {0.5f, 0, 0.5f}},
      {"X , Y , Z", I3, {0, 0, 0}},
      {"x-y,x,z+1/6", {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, {0, 0, 1 / 6.0f}},
      {"x-1/2, 1/2-y, 0.25+z", {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, {-0.5f, 0.5f, 0.25f}},
      {"x,y,z+1/12", I3, {0, 0, 0.5f}},  // 1/12 is read as 1 divided by 1 and then by 2
      {"2x-y,y*z", {{{2, -1, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0, 0}},  // * ends a component
      {"-y+3/4,x+1/4,z+1/4", {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, {0.75f, 0.25f, 0.25f}},
  };
  for (const auto& c : cases) {
    OperatorParse p;
    SymmetryOperator op = parse(c.text, &p);
    EXPECT_EQ(p.error, OperatorError::None) << c.text;
    EXPECT_EQ(op.R, c.R) << c.text;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(op.t[i], c.t[i], 1e-6) << c.text;
  }
}

TEST(OperatorText, Errors) {
  const struct {
    const char* text;
    OperatorError error;
    char bad;
  } cases[] = {{"x,y", OperatorError::BlankField, ' '},
               {"x,,z", OperatorError::BlankField, ' '},
               {"x,x,z", OperatorError::Wrong, ' '},
               {"x,y,z+q", OperatorError::InvalidCharacter, 'q'},
               {"x;y;z", OperatorError::InvalidCharacter, ';'}};
  for (const auto& c : cases) {
    OperatorParse p;
    parse(c.text, &p);
    EXPECT_EQ(p.error, c.error) << c.text;
    if (c.error == OperatorError::InvalidCharacter) {
      EXPECT_EQ(p.bad, c.bad) << c.text;
    }
  }
  EXPECT_EQ(operator_error_text(OperatorError::InvalidCharacter, 'q', false),
            " *** ERROR: Invalid character... q in Sym. Op. ");
  EXPECT_EQ(operator_error_text(OperatorError::BlankField, ' ', false),
            " *** ERROR: Blank operator field");
  EXPECT_EQ(operator_error_text(OperatorError::BlankField, ' ', true),
            " *** ERROR: Blank operator field ");
  EXPECT_EQ(operator_error_text(OperatorError::Wrong, ' ', false),
            "  *** ERROR: The above operator is wrong");
}

TEST(OperatorText, StopShowsTheLine) {
  const struct {
    const char* line;
    const char* stop;
  } cases[] = {{"SYMM x,y,z+q", " *** ERROR: Invalid character... q in Sym. Op."},
               {"SYMM x,y", " *** ERROR: Blank operator field"},
               {"SYMM x,x,z", "  *** ERROR: The above operator is wrong"}};
  for (const auto& c : cases) {
    test::TestStore ts;
    int column = 6;
    try {
      parse_operator(*ts, c.line, column);
      FAIL() << c.line;
    } catch (const StopError& e) {
      EXPECT_EQ(e.text(), c.stop);
    }
    ASSERT_FALSE(ts.window.lines.empty());
    EXPECT_EQ(ts.window.lines.back(), std::string(" =>") + c.line);
  }
}

TEST(OperatorText, MagneticLines) {
  MagneticOperator m;
  EXPECT_EQ(try_parse_magnetic_operator("MSYM -u,-v,w,0.5", m).error, OperatorError::None);
  EXPECT_EQ(m.M, (IntMatrix3{{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}));
  EXPECT_FLOAT_EQ(m.phase, 0.5f);
  EXPECT_EQ(try_parse_magnetic_operator("MSYM  V, U, -W , -0.25", m).error, OperatorError::None);
  EXPECT_EQ(m.M, (IntMatrix3{{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}}));
  EXPECT_FLOAT_EQ(m.phase, -0.25f);
  // Without a phase the text after the last comma is taken as the phase (unreadable: 0)
  // and only two components remain.
  OperatorParse p = try_parse_magnetic_operator("MSYM -u,-v,w", m);
  EXPECT_EQ(p.error, OperatorError::BlankField);
  EXPECT_FLOAT_EQ(m.phase, 0.0f);
  EXPECT_EQ(try_parse_magnetic_operator("MSYM u,v+1,w,0", m).error,
            OperatorError::InvalidCharacter);
  test::TestStore ts;
  try {
    parse_magnetic_operator(*ts, "MSYM -u,-v,w");
    FAIL();
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " *** ERROR: Blank operator field");
  }
}

TEST(RotationTable, EntriesAndTexts) {
  const RotationTable& t = rotation_table();
  for (int k = 1; k <= N_ROTATIONS; ++k) {
    const RotationEntry& e = t.entry[k];
    EXPECT_EQ(determinant(e.R), 1) << k;
    EXPECT_EQ(e.symbol.size(), 14u) << k;
    EXPECT_EQ(e.improper_symbol.size(), 14u) << k;
    EXPECT_EQ(e.triplet.size(), k <= 24 ? 10u : 14u) << k;
    EXPECT_EQ(e.moment.size(), 19u) << k;
    EXPECT_EQ(find_rotation(e.R, k <= 24 ? 1 : 25, k <= 24 ? 24 : 36), k);
    EXPECT_EQ(rotation_matrix(-k),
              rotation_matrix(k) == I3 ? rotation_matrix(-1) : rotation_matrix(-k));
  }
  EXPECT_EQ(rotation_symbol(2), "  2 ( 0, 0, z)");
  EXPECT_EQ(rotation_symbol(-5), "-3+ ( x, x, x)");
  EXPECT_EQ(rotation_triplet(2), "(-x,-y, z)");
  EXPECT_EQ(rotation_triplet(26), "(  -y, x-y, z)");
  EXPECT_EQ(moment_text(1), "( Mx, My, Mz)      ");
  EXPECT_EQ(moment_text(2), "(-Mx,-My, Mz)      ");
  EXPECT_EQ(moment_text(26), "(   -My, Mx-My, Mz)");
  EXPECT_EQ(listing_number(5), 5);
  EXPECT_EQ(listing_number(-5), 29);
  EXPECT_EQ(listing_number(30), 6);
  EXPECT_EQ(listing_number(-30), 18);
  EXPECT_EQ(rotation_symbol(30), " 6+ ( 0, 0, z)");
  EXPECT_EQ(find_rotation(parse("x-y,x,z+1/6").R, 25, 36), 30);
  EXPECT_EQ(find_rotation(parse("-x,-y,-z").R, 1, 24), -1);
  EXPECT_EQ(find_rotation(parse("y,z,x").R, 25, 36), 0);
}

TEST(RotationTable, UnknownRotationStops) {
  const struct {
    int first, last;
    std::vector<std::string> tail;
  } cases[] = {{25, 36, {"    identical to a S.O. of the space group P 6/m m m"}},
               {1, 24, {"    identical to a S.O. of the space group P m -3 m"}},
               {1,
                36,
                {"    identical to a S.O. of the space group P m -3 m",
                 " or identical to a S.O. of the space group P 6/m m m"}}};
  for (const auto& c : cases) {
    test::TestStore ts;
    IntMatrix3 R = c.first == 25 ? parse("y,z,x").R : parse("x,y,x+z").R;
    try {
      identify_rotation(*ts, R, c.first, c.last);
      FAIL();
    } catch (const StopError& e) {
      EXPECT_EQ(e.text(), "Illegal Symmetry Operator");
    }
    const auto& l = ts.window.lines;
    ASSERT_GE(l.size(), 6u + c.tail.size());
    EXPECT_EQ(l[0], " => The supplied S.O. is not standard :");
    EXPECT_EQ(l[l.size() - c.tail.size() - 1],
              " => Try to re-write your S.O. using a rotational part");
    for (size_t k = 0; k < c.tail.size(); ++k)
      EXPECT_EQ(l[l.size() - c.tail.size() + k], " =>" + c.tail[k]);
  }
}

TEST(OperatorToText, Forms) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"-x+1/2,y,-z+1/2", "-x+1/2,y,-z+1/2"},
               {"x-y,x,z+1/6", "x-y,x,z+1/6"},
               {"x,y,z", "x,y,z"},
               {"-y+3/4,x+1/4,z-1/4", "-y+3/4,x+1/4,z-1/4"},
               {"2x,-x+y,z+2/3", "2x,-x+y,z+2/3"},
               {"x+1,y-1,z", "x+1,y-1,z"}};
  for (const auto& c : cases) {
    SymmetryOperator op = parse(c.in);
    EXPECT_EQ(operator_to_text(op), c.out) << c.in;
  }
}

// Every operator of the general positions of a sample of groups survives text and back.
TEST(OperatorToText, RoundTripOverGroups) {
  for (const char* s : {"P 21/c", "F d 3 m", "P 61 2 2", "R -3 c", "I 41/a c d", "P n 3 n"}) {
    SpaceGroup g;
    ASSERT_TRUE(space_group_from_symbol(s, g));
    for (const SymmetryOperator& op : general_positions(g)) {
      std::string text = operator_to_text(op);
      OperatorParse p;
      SymmetryOperator back = parse(text, &p);
      EXPECT_EQ(p.error, OperatorError::None) << text;
      EXPECT_EQ(back.R, op.R) << text;
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(back.t[i], op.t[i], 1e-5) << text;
    }
  }
}

}  // namespace
}  // namespace kestovar
