// Expansion of the generators, the reduced operator list, the symmetry listing and the
// operators read from the control file.
#include "symmetry/expansion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"
#include "symmetry/operator_text.h"
#include "text/fortran_format.h"

namespace kestovar {
namespace {

std::vector<std::string> texts(const std::vector<SymmetryOperator>& ops) {
  std::vector<std::string> out;
  for (const SymmetryOperator& op : ops) out.push_back(operator_to_text(op));
  return out;
}

bool contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(Expansion, P21cInGenerationOrder) {
  SymmetryWork work;
  ASSERT_TRUE(expand_symbol("P 21/c", work));
  EXPECT_EQ(texts(expanded_operators(work)),
            (std::vector<std::string>{"x,y,z", "-x,y+1/2,-z+1/2", "x,-y+1/2,z+1/2", "-x,-y,-z"}));
  EXPECT_FALSE(work.NonCentro);
  SpaceGroup g;
  ASSERT_TRUE(fill_group_from_symbol("P 21/c", work, g));
  EXPECT_EQ(g.Multiplicity, 4);
  EXPECT_EQ(g.Cen, 2);
  ASSERT_EQ(g.Nop, 2);
  EXPECT_EQ(operator_to_text(stored_operator(g, 1)), "x,y,z");
  EXPECT_EQ(operator_to_text(stored_operator(g, 2)), "-x,y+1/2,-z+1/2");
  EXPECT_EQ(g.IntensityFactor, 4);
}

TEST(Expansion, ReducedListsOfCentredAndCubicGroups) {
  const struct {
    const char* symbol;
    int multiplicity, stored, cen, count, factor;
    bool hexagonal;
  } cases[] = {{"C 2/c", 8, 2, 2, 2, 16, false},       {"F m 3 m", 192, 24, 2, 4, 64, false},
               {"P 63/m m c", 24, 12, 2, 1, 4, true},  {"R 3 m", 18, 6, 1, 3, 9, true},
               {"I 41/a m d", 32, 8, 2, 2, 16, false}, {"P 21 21 21", 4, 4, 1, 1, 1, false},
               {"R -3 m R", 12, 6, 2, 1, 4, false}};
  for (const auto& c : cases) {
    SpaceGroup g;
    ASSERT_TRUE(space_group_from_symbol(c.symbol, g)) << c.symbol;
    EXPECT_EQ(g.Multiplicity, c.multiplicity) << c.symbol;
    EXPECT_EQ(g.Nop, c.stored) << c.symbol;
    EXPECT_EQ(g.Cen, c.cen) << c.symbol;
    EXPECT_EQ(g.lattice.count, c.count) << c.symbol;
    EXPECT_EQ(g.IntensityFactor, c.factor) << c.symbol;
    EXPECT_EQ(g.Hexagonal, c.hexagonal) << c.symbol;
  }
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol("F m 3 m", g));
  std::vector<int> numbers;
  for (int k = 1; k <= g.Nop; ++k) numbers.push_back(listing_number(g.op[k].rotation));
  std::sort(numbers.begin(), numbers.end());
  for (int k = 1; k <= 24; ++k) EXPECT_EQ(numbers[k - 1], k);
  ASSERT_TRUE(space_group_from_symbol("P 63/m m c", g));
  numbers.clear();
  for (int k = 1; k <= g.Nop; ++k) numbers.push_back(listing_number(g.op[k].rotation));
  std::sort(numbers.begin(), numbers.end());
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(numbers[k - 1], k);
}

TEST(Expansion, OriginsAtTheCentre) {
  SymmetryWork work;
  ASSERT_TRUE(expand_symbol("P n n n", work));
  std::vector<std::string> ops = texts(expanded_operators(work));
  for (const char* s : {"-x,-y,-z", "-x+1/2,-y+1/2,z", "x+1/2,y+1/2,-z"})
    EXPECT_TRUE(contains(ops, s)) << s;
  ASSERT_TRUE(expand_symbol("P b n m", work));
  ops = texts(expanded_operators(work));
  for (const char* s : {"-x+1/2,y+1/2,z", "x+1/2,-y+1/2,z+1/2", "x,y,-z+1/2"})
    EXPECT_TRUE(contains(ops, s)) << s;
}

TEST(Expansion, ImagesOfTheReferencePoint) {
  // Each coordinate of an image tells one row and its translation in twelfths.
  const char* ops[] = {"-x+y+1/3,-x+2/3,-z+5/6", "y+3/4,-x+1/4,z+1/2", "-z,x+1/6,y"};
  for (const char* text : ops) {
    SymmetryOperator op;
    std::string line = std::string("SYMM ") + text;
    int column = 6;
    ASSERT_EQ(try_parse_operator(line, column, op).error, OperatorError::None);
    SymmetryOperator back = decode_image(reference_image(op));
    EXPECT_EQ(back.R, op.R) << text;
    for (int i = 0; i < 3; ++i) {
      float want = op.t[i] - std::floor(op.t[i]);
      EXPECT_NEAR(back.t[i], want, 1e-6) << text;
    }
  }
}

TEST(Expansion, InconsistentGeneratorsAreReported) {
  SymmetryWork work;
  work.info.Generator[1] = INVERSION_ROTATION_CODE;
  work.info.Generator[2] = INVERSION_ROTATION_CODE;  // the inversion twice
  int bad = 0;
  EXPECT_FALSE(expand_generators(work, &bad));
  EXPECT_EQ(bad, INVERSION_ROTATION_CODE);
  work.info.Generator[2] = 0;
  EXPECT_TRUE(expand_generators(work, &bad));
  build_rotation_list(work);
  EXPECT_FALSE(work.NonCentro);
  EXPECT_EQ(work.Multiplicity(), 2);
}

TEST(Expansion, CentringCopiesAreRemovedOnlyFromGeneratedLists) {
  SpaceGroup g;
  g.lattice = LatticeCentring{};
  ASSERT_TRUE(lattice_centring("C 1", g.lattice));
  std::vector<SymmetryOperator> ops(2);
  ops[0].R = rotation_matrix(1);
  ops[1].R = rotation_matrix(1);
  ops[1].t = {0.5f, 0.5f, 0.0f};
  EXPECT_TRUE(store_reduced_operators(ops, true, false, g));
  EXPECT_EQ(g.Nop, 1);
  EXPECT_TRUE(store_reduced_operators(ops, false, false, g));
  EXPECT_EQ(g.Nop, 2);
  // At most 48 are kept.
  std::vector<SymmetryOperator> many(49);
  for (size_t k = 0; k < many.size(); ++k) many[k].t = {k / 64.0f, 0, 0};
  EXPECT_FALSE(store_reduced_operators(many, false, false, g));
  EXPECT_EQ(g.Nop, NEQV);
}

TEST(SymmetryListing, GeneratedCase) {
  SpaceGroup g;
  ASSERT_TRUE(space_group_from_symbol("P 21/c", g));
  std::vector<std::string> want = {
      "",
      " => Symmetry information on space group: P 21/c              ",
      "",
      " -> The multiplicity of the general position is:   4",
      " -> The space group is centrosymmetric    ",
      " -> Lattice type  P: { 000 }" + std::string(39, ' '),
      " -> Reduced set of symmetry operators:",
      "  No.  IT   Symmetry symbol    Rotation part     Associated Translation",
      "   1: ( 1)   1            -->     ( x, y, z) + {  0.0000  0.0000  0.0000}",
      "   2: ( 3)   2 ( 0, y, 0) -->     (-x, y,-z) + {  0.0000  0.5000  0.5000}"};
  EXPECT_EQ(symmetry_listing(g), want);
  ASSERT_TRUE(space_group_from_symbol("P 63/m m c", g));
  std::vector<std::string> l = symmetry_listing(g);
  EXPECT_EQ(l[5], " -> Lattice type  P: { 000 }" + std::string(39, ' '));
  EXPECT_EQ(l[9], "   2: ( 2)  3+ ( 0, 0, z) --> (  -y, x-y, z) + {  0.0000  0.0000  0.0000}");
  ASSERT_TRUE(space_group_from_symbol("F d 3 m", g));
  EXPECT_EQ(symmetry_listing(g)[5],
            " -> Lattice type  F: { 000;  0  1/2 1/2; 1/2  0  1/2; 1/2 1/2  0 }+");
}

// A control file positioned at the operator lines of a phase.
struct ControlFile {
  test::TempDir dir;
  test::TestStore ts;
  explicit ControlFile(const std::string& content) {
    dir.write("ops.pcr", content);
    EXPECT_TRUE(ts->files.open(unit::PCR, "ops.pcr", OpenStatus::Old));
    ts->job->reader.PcrLine = 10;
  }
};

TEST(ReadOperators, TextLinesAreStoredAsRead) {
  ControlFile f(
      "   3   2   3   0\n"
      "! a comment\n"
      "SYMM x,y,z\n"
      "SYMM -x+1/2,-y,z+1/2\n"
      "SYMM x+1/2,y+1/2,z\r\n");
  SymmetryInput in;
  in.symbol = "P m m n";
  in.Isy = -1;
  in.Irf = 1;
  SpaceGroup& g = f.ts->job->groups[1];
  read_symmetry_operators(*f.ts, in, g);
  EXPECT_EQ(g.Nop, 3);  // the copy by a centring vector is kept
  EXPECT_EQ(g.Cen, 2);
  EXPECT_EQ(g.Laue, 3);
  EXPECT_EQ(g.Multiplicity, 3);
  EXPECT_EQ(g.IntensityFactor, 4);
  EXPECT_EQ(g.op[2].rotation, 2);
  EXPECT_FLOAT_EQ(g.op[2].t[0], 0.5f);
  EXPECT_EQ(f.ts->job->reader.PcrLine, 15);
  std::vector<std::string> l = symmetry_listing(g);
  EXPECT_EQ(l[0], " => Symmetry operators read from file");
  EXPECT_EQ(l[1], "  => NUMSPG:  3 NMAGR:  0");
  EXPECT_EQ(l[4], " -> The structure is treated as centrosymmetric    ");
}

TEST(ReadOperators, IntegerLinesWithMagneticMatrices) {
  ControlFile f(
      "   2   1   1   1\n"
      "  1  0  0  0.0  0  1  0  0.0  0  0  1  0.0\n"
      "  1  0  0  0  1  0  0  0  1  0.0\n"
      " -1  0  0  0.5  0 -1  0  0.0  0  0  1  0.5\n"
      " -1  0  0  0  -1  0  0  0  1  0.25\n");
  SymmetryInput in;
  in.symbol = "P 2";
  in.Isy = 1;
  in.Jbt = 1;
  in.Irf = 1;
  SpaceGroup& g = f.ts->job->groups[1];
  read_symmetry_operators(*f.ts, in, g);
  ASSERT_EQ(g.Nop, 2);
  EXPECT_EQ(g.MagMat, 1);
  EXPECT_EQ(g.op[2].rotation, 2);
  EXPECT_EQ(g.mag[2][1].rotation, 2);
  EXPECT_FLOAT_EQ(g.mag[2][1].phase, 0.25f);
  EXPECT_EQ(g.IntensityFactor, 1);
  std::vector<std::string> l = symmetry_listing(g);
  EXPECT_EQ(l.back(), "      ( 1): (-Mx,-My, Mz) MPhas:       0.2500");
}

TEST(ReadOperators, MagneticTextLinesAndLimits) {
  ControlFile f(
      "   1   1   1   1\n"
      "SYMM -x,-y,z\n"
      "MSYM -u,-v,w,0.5\n");
  SymmetryInput in;
  in.symbol = "P 2";
  in.Isy = -1;
  in.Jbt = -1;
  SpaceGroup& g = f.ts->job->groups[1];
  read_symmetry_operators(*f.ts, in, g);
  EXPECT_EQ(g.mag[1][1].rotation, 2);
  EXPECT_FLOAT_EQ(g.mag[1][1].phase, 0.5f);

  ControlFile too_many("   1   1   1   9\n");
  in.Jbt = 1;
  try {
    read_symmetry_operators(*too_many.ts, in, too_many.ts->job->groups[1]);
    FAIL();
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " Too many magnetic rotation matrices");
  }
}

TEST(ReadOperators, EightyColumnsAndTheEndOfTheFile) {
  // Columns after the 80th are not part of an operator line.
  ControlFile f("   2   1   1   0\nSYMM x,y,z" + std::string(70, ' ') + "! note\n");
  SymmetryInput in;
  in.Isy = -1;
  SpaceGroup& g = f.ts->job->groups[1];
  try {
    read_symmetry_operators(*f.ts, in, g);
    FAIL() << "the second operator is missing";
  } catch (const StopError& e) {
    EXPECT_EQ(e.text(), " => Not FATAL End of file !");
    EXPECT_FALSE(e.show_box());
  }
  EXPECT_EQ(g.Nop, 1);
  EXPECT_EQ(f.ts.window.lines.back(), " => Not FATAL End of file !,  logical unit:    1");
}

TEST(ReadOperators, FaultsNameTheirLine) {
  // The operator lines start at line 11 of the control file.
  const struct {
    const char* lines;
    int Isy;
    const char* stop;
    int line;
  } cases[] = {
      {"   2   1   1   0\nSYMM x,y,z\n! comment\nSYMM -x,-y,z+q\n", -1,
       " *** ERROR: Invalid character... q in Sym. Op.", 14},
      {"   2   1   1   0\nSYMM x,y,z\nSYMM x-y,x,z\n", -1, "Illegal Symmetry Operator", 13},
      {"   2   1   1   1\nSYMM x,y,z\nMSYM u,v,w,0.0\nSYMM x,y,-z\nMSYM u,v,0.0\n", -1,
       " *** ERROR: Blank operator field", 15},
      {"   2   1   1   0\n 1 0 0 0.0 0 1 0 0.0 0 0 1 0.0\n 1 -1 0 0.0 1 0 0 0.0 0 0 1 0.0\n", 1,
       "Illegal Symmetry Operator", 13}};
  for (const auto& c : cases) {
    ControlFile f(c.lines);
    SymmetryInput in;
    in.Isy = c.Isy;
    in.Jbt = 1;
    try {
      read_symmetry_operators(*f.ts, in, f.ts->job->groups[1]);
      FAIL() << c.lines;
    } catch (const StopError& e) {
      EXPECT_EQ(e.text(), c.stop) << c.lines;
    }
    EXPECT_TRUE(contains(f.ts.window.lines, " => Please check your input file at line: " +
                                                text::fmt_i(c.line, 4) + " !"))
        << c.lines;
  }
}

TEST(ReadOperators, NonMagneticJobIgnoresMagneticCount) {
  ControlFile f("   1   1   1   2\nSYMM x,y,z\n");
  SymmetryInput in;
  in.Isy = -1;
  in.Jbt = 0;
  SpaceGroup& g = f.ts->job->groups[1];
  read_symmetry_operators(*f.ts, in, g);
  EXPECT_EQ(g.MagMat, 0);
  EXPECT_EQ(g.Nop, 1);
}

TEST(SetupPhaseSymmetry, FromTheSymbol) {
  test::TestStore ts;
  SymmetryInput in;
  in.symbol = "P 21/c";
  in.unit = 6;
  setup_phase_symmetry(*ts, 2, in);
  const SpaceGroup& g = ts->job->groups[2];
  EXPECT_EQ(g.Nop, 2);
  EXPECT_EQ(g.Laue, 2);
  EXPECT_EQ(g.UniqueAxis, 2);
  EXPECT_EQ(g.Generator[1], 834);
  EXPECT_TRUE(contains(ts.window.lines, " => The SPACE GROUP is: P 21/c              "));
  EXPECT_TRUE(contains(ts.window.lines, " -> Reduced set of symmetry operators:"));
  // A pattern-matching phase gets its group but no listing.
  test::TestStore quiet;
  in.Jbt = 2;
  setup_phase_symmetry(*quiet, 1, in);
  EXPECT_EQ(quiet->job->groups[1].Nop, 2);
  EXPECT_FALSE(contains(quiet.window.lines, " -> Reduced set of symmetry operators:"));
}

TEST(SetupPhaseSymmetry, TimeReversalOfAMagneticGroup) {
  ControlFile f(" 1 -1 -1\n");
  SymmetryInput in;
  in.symbol = "P 21/c";
  in.Jbt = 10;
  in.MagneticGroup = true;
  in.unit = 6;
  setup_phase_symmetry(*f.ts, 1, in);
  const SpaceGroup& g = f.ts->job->groups[1];
  EXPECT_EQ(g.MagMat, 1);
  EXPECT_EQ(g.mag[1][1].rotation, 1);
  EXPECT_EQ(g.mag[2][1].rotation, -3);
  EXPECT_EQ(g.MagInversionSign, -1);
  EXPECT_TRUE(contains(f.ts.window.lines, " => The magnetic structure is non-centrosymmetric"));
}

TEST(SetupPhaseSymmetry, ReadOperatorsWithGeneratedReflections) {
  ControlFile f("   2   1   1   0\nSYMM x,y,z\nSYMM -x,-y,z\n");
  SymmetryInput in;
  in.symbol = "P 2 2 2";
  in.Isy = -1;
  in.Irf = 0;
  in.unit = 6;
  setup_phase_symmetry(*f.ts, 1, in);
  const SpaceGroup& g = f.ts->job->groups[1];
  EXPECT_EQ(g.Nop, 2);
  EXPECT_EQ(g.Laue, 3);  // from the symbol
  EXPECT_EQ(g.IntensityFactor, 1);
  const auto& l = f.ts.window.lines;
  EXPECT_TRUE(contains(l, " => Sym.Op. read from file but H,K,L generated from: P 2 2 2"));
  EXPECT_TRUE(contains(l, " => Output a file with a reduced hkl-set"));
  EXPECT_TRUE(
      contains(l, " => The SPACE GROUP symbol for HKL generation is: P 2 2 2             "));
}

TEST(SetupPhaseSymmetry, BadSymbolStops) {
  test::TestStore ts;
  SymmetryInput in;
  in.symbol = "P m -3 m";
  EXPECT_THROW(setup_phase_symmetry(*ts, 1, in), StopError);
}

}  // namespace
}  // namespace kestovar
