// The phase name, flag lines, space-group line and atom lines of a phase.
#include <gtest/gtest.h>

#include "phase_test_support.h"

namespace kestovar::phase_test {
namespace {

struct AdjustCase {
  const char* what;
  Flags flags;
  std::string second;
  int job;
  int Jtyp;
  float Brind;
  int PhaseNpr;
  int Nvk;
  bool augmented;
  int Fou;
  int HasRestraints;
  std::vector<std::string> lines;   // in the listing
  std::vector<std::string> absent;  // not in the listing
};

TEST_F(PhaseTest, FlagLineAdjustments) {
  const std::string different = " => Different job for phase:  1";
  const AdjustCase cases[] = {
      {"More 0 takes Jtyp from Job; zero orientation becomes 0 0 1; default profile",
       Flags{.Pr3 = 0},
       "",
       2,
       2,
       1.0f,
       6,
       0,
       false,
       1,
       0,
       {" => Preferred orientation vector:   0.0000  0.0000  1.0000",
        " => Number of propagation vectors [K] =   0"},
       {different}},
      {"a neutron phase with its own profile in an X-ray job",
       Flags{.Npr = 7, .More = 1},
       "0 0 0 0 0 0 0.5 0 0 0 1",
       2,
       1,
       0.5f,
       8,
       0,
       false,
       1,
       0,
       {different, "    Neutron diffraction data",
        " => The    7th profile function was selected for phase no.  1"},
       {}},
      {"a magnetic phase is given neutrons",
       Flags{.Jbt = 1},
       "",
       0,
       1,
       1.0f,
       6,
       0,
       false,
       1,
       0,
       {different, "    Neutron diffraction data"},
       {}},
      {"so is a crystal and magnetic phase of an X-ray pattern calculation",
       Flags{.Jbt = 10},
       "",
       2,
       1,
       1.0f,
       6,
       0,
       false,
       1,
       0,
       {different, "    Neutron diffraction data"},
       {}},
      {"Nvk -2 is augmented with -k",
       Flags{.Nvk = -2},
       "",
       2,
       2,
       1.0f,
       6,
       2,
       true,
       1,
       0,
       {" => The list of [K] vectors has been augmented with [-K]",
        " => Number of propagation vectors [K]+[-K] =   4"},
       {}},
      {"Schakal file; a zero Brindley coefficient becomes 1",
       Flags{.More = 1},
       "1 0 0 0 0 0 0 0 0 0 0",
       2,
       2,
       1.0f,
       6,
       0,
       false,
       1,
       0,
       {" => Schakal File (*.sch) is output for phase: 1"},
       {different}},
      {"Sol 1 with Irf 1 switches the Fourier file off",
       Flags{.Irf = 1, .More = 1},
       "0 0 0 1 0 0 0 0 0 0 0",
       2,
       2,
       1.0f,
       6,
       0,
       false,
       0,
       0,
       {},
       {}},
      {"restraints mark the run",
       Flags{.Dis = 1, .Mom = 2},
       "",
       2,
       2,
       1.0f,
       6,
       0,
       false,
       1,
       1,
       {" => Number   of   distance    constraints:    1",
        " => Number of magnetic moment constraints:    2"},
       {}},
  };
  for (const AdjustCase& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    ts->settings().Job = c.job;
    ts->settings().Fou = 1;
    PhaseLines p;
    p.flags = c.flags;
    p.second = c.second;
    ASSERT_EQ(read_header(p), "");
    EXPECT_TRUE(at_end());
    EXPECT_EQ(ph().Jtyp, c.Jtyp);
    EXPECT_FLOAT_EQ(ph().Brind, c.Brind);
    EXPECT_EQ(ph().PhaseNpr, c.PhaseNpr);
    EXPECT_EQ(ph().Nvk, c.Nvk);
    EXPECT_EQ(ph().KvecAugmented, c.augmented);
    EXPECT_EQ(ts->settings().Fou, c.Fou);
    EXPECT_EQ(ts->settings().HasRestraints, c.HasRestraints);
    EXPECT_FLOAT_EQ(std::fabs(ph().Pr1) + std::fabs(ph().Pr2) + std::fabs(ph().Pr3),
                    c.flags.Pr3 == 0 ? 1.0f : c.flags.Pr3);
    for (const std::string& line : c.lines) EXPECT_TRUE(listed(line)) << line;
    for (const std::string& line : c.absent) EXPECT_FALSE(listed(line)) << line;
    EXPECT_TRUE(listed(" => Phase  No. 1"));
    EXPECT_TRUE(listed("      Test phase"));
  }
}

TEST_F(PhaseTest, NameAndHeaderLinesSkipComments) {
  open("! a comment\nPbSO4 at 295 K\n! another\n" + Flags{.Jbt = 2}.line() +
       "\n!\n!  symbol below\nP n m a                 <--Space group symbol\n");
  ASSERT_EQ(run([&] { read_phase_header(*ts, 1); }), "");
  EXPECT_EQ(text::trim(ph().PhaseName), "PbSO4 at 295 K");
  EXPECT_EQ(ph().PhaseName.size(), 70u);
  EXPECT_EQ(ph().SpaceGroupSymbol, "P n m a             ");
  EXPECT_EQ(ts->job->reader.PcrLine, 7);
  EXPECT_TRUE(listed(" " + std::string(80, '-')));
}

struct EchoCase {
  int Jbt, Irf, Hel;
  std::vector<std::string> lines;
};

TEST_F(PhaseTest, JobEchoes) {
  const std::string fourier = " => Fourier coefficients: S=1/2 (m1 u+ i m2 v), with u.v=0";
  const EchoCase cases[] = {
      {0, 0, 0, {" => Crystal Structure Refinement"}},
      {1,
       0,
       1,
       {" => Magnetic Structure Refinement", fourier,
        "    ( -> M3(imag) or Phi(imag) is calculated to satisfy u.v=0 )"}},
      {-1, 0, 0, {" => Magnetic Structure Refinement (Spherical)"}},
      {2, 0, 0, {" => Pattern Matching (fixed scale)", " => Input data: Integrated Intensities"}},
      {-2, 0, 0, {" => Pattern Matching (fixed scale)", " => Input data: F(H)^2"}},
      {-3, 2, 0, {" => Pattern Matching (variable scale)", " => Input data: F(H)^2"}},
      {4, 0, 0, {" => Structural model provided by user"}},
      {5, 0, 0, {" => Magnetic model provided by user"}},
      {10, 0, 1, {" => Crystal+Magnetic Structure Refinement", fourier}},
      {-10, 0, 0, {" => Crystal+Magnetic(Spherical) Structure Refinement"}},
  };
  for (const EchoCase& c : cases) {
    SCOPED_TRACE(c.Jbt);
    reset();
    PhaseLines p;
    p.flags = Flags{.Jbt = c.Jbt, .Irf = c.Irf, .More = 1};
    p.second = "0 0 " + std::to_string(c.Hel) + " 0 0 0 0 0 0 0 0";
    ASSERT_EQ(read_header(p), "");
    for (const std::string& line : c.lines) EXPECT_TRUE(listed(line)) << line;
    EXPECT_TRUE(summarised(c.lines[0] + " for phase: 1"));
    if (c.Hel == 0) {
      EXPECT_FALSE(listed(fourier));
    }
  }
}

struct StopCase {
  const char* what;
  std::string text;  // the control-file lines
  std::string stop;
  std::vector<std::string> window;  // lines of the message window, in order
};

TEST_F(PhaseTest, FaultyHeaders) {
  const std::string name = "Faulty\n";
  const StopCase cases[] = {
      {"no phase name", "! only a comment\n", " Error reading the phase name in *.PCR", {}},
      {"no space-group line",
       name + Flags{}.line() + "\n! comment\n",
       "  Error reading the space group symbol",
       {" => Please check your *.PCR file at line:       4"}},
      {"Jbt 3 without Irf 2",
       name + Flags{.Jbt = 3, .Irf = 0}.line() + "\nP 1\n",
       " Illegal JBT and IRF",
       {" =>  Illegal JBT and IRF for phase:       1", " =>  If ABS(JBT)=3 then IRF must be = 2"}},
      {"Irf outside the table: refused later, with the reflections",
       name + Flags{.Irf = 5}.line() + "\nP 1\n",
       "",
       {}},
      {"Jbt 3 with an Irf outside the table",
       name + Flags{.Jbt = 3, .Irf = 5}.line() + "\nP 1\n",
       " Illegal JBT and IRF",
       {" =>  Illegal JBT and IRF for phase:       1", " =>  If ABS(JBT)=3 then IRF must be = 2"}},
      {"the output file is announced before a missing space-group line",
       name + Flags{.More = 1}.line() + "\n2 0 0 0 0 0 0 0 0 0 0\n",
       "  Error reading the space group symbol",
       {" => Please check your *.PCR file at line:       4"}},
      {"more atoms than the table holds",
       name + Flags{.Nat = 531}.line() + "\nP 1\n",
       " Too many atoms",
       {" =>         Number of atoms:     531", " =>  Maximum number of atoms:     530"}},
      {"more distance restraints than a phase holds",
       name + Flags{.Dis = 65}.line() + "\nP 1\n",
       " Too many distance constraints",
       {}},
      {"Nvk -25 gives 50 vectors",
       name + Flags{.Nvk = -25}.line() + "\nP 1\n",
       " Too many propagation vectors",
       {}},
      {"too many further parameters",
       name + Flags{.Furth = 92}.line() + "\nP 1\n",
       " Too many further parameters",
       {}},
      {"too many magnetic matrices",
       name + Flags{.Jbt = 1, .Isy = -1}.line() + "\nP 1\n   1   1   1   9\nSYMM x,y,z\n",
       " Too many magnetic rotation matrices",
       {}},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    open(c.text);
    EXPECT_EQ(run([&] { read_phase_header(*ts, 1); }), c.stop);
    if (!c.window.empty()) {
      EXPECT_EQ(ts.window.lines, c.window);
    }
    if (ph().More != 0) {
      EXPECT_TRUE(listed(" => STRUPLO File (*.sch) is output for phase: 1"));
    }
  }
}

TEST_F(PhaseTest, MagneticGroupNeedsMagAfterTheSymbol) {
  struct Case {
    int Jbt;
    std::string line;      // the space-group line
    std::string reversal;  // the time-reversal line that a magnetic group reads
    bool magnetic;
  };
  const Case cases[] = {
      {10, "P 1                  Magnetic symmetry below", "   1", true},
      {10, "P 1                         Mag", "", false},  // "Mag" at position 9
      {0, "P 1                  Magnetic symmetry below", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    reset();
    PhaseLines p;
    p.flags = Flags{.Jbt = c.Jbt};
    p.symmetry = c.line + (c.reversal.empty() ? "" : "\n" + c.reversal);
    ASSERT_EQ(read_header(p), "");
    EXPECT_EQ(ph().MagneticGroup, c.magnetic);
    EXPECT_TRUE(at_end());
  }
}

// Values and codewords with which the atom-format cases fill their lines: slot k holds
// k/100 and the codeword 10k+1 (parameter k).
float value_of(int k) {
  return 0.01f * static_cast<float>(k);
}
float code_of(int k) {
  return 10.0f * static_cast<float>(k) + 1.0f;
}
std::string row(std::initializer_list<int> slots, bool codes) {
  std::string r;
  for (int k : slots) r += " " + text::fmt_f(codes ? code_of(k) : value_of(k), 0, 2);
  return r;
}

struct AtomCase {
  const char* what;
  int Jbt;
  std::string lines;
  int N_t;
  std::vector<int> values;  // slots that carry a value
  std::vector<int> codes;   // slots that carry a codeword
};

TEST_F(PhaseTest, AtomFormatsFillTheirSlots) {
  const std::string betas =
      row({13, 14, 15, 16, 17, 18}, false) + "\n" + row({13, 14, 15, 16, 17, 18}, true) + "\n";
  const std::string basic = row({1, 2, 3, 4, 5}, false);
  const std::string basic_codes = row({1, 2, 3, 4, 5}, true) + "\n";
  const std::vector<int> s1_5 = {1, 2, 3, 4, 5};
  auto plus = [](std::vector<int> a, std::initializer_list<int> b) {
    a.insert(a.end(), b);
    return a;
  };
  const std::string user = "U1   TU  " + row({1, 2, 3, 4, 5, 6, 7, 8}, false) + "\n" +
                           row({1, 2, 3, 4, 5, 6, 7, 8}, true) + "\n" +
                           row({9, 10, 11, 12, 13, 14, 15, 16}, false) + "\n" +
                           row({9, 10, 11, 12, 13, 14, 15}, true) + "\n";
  const std::vector<int> p1_16 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const std::vector<int> p1_15 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const std::string magnetic = "M1   MT     2  1 " + row({1, 2, 3, 4, 5, 6, 7, 8}, false) + "\n" +
                               row({1, 2, 3, 4, 5, 6, 7, 8}, true) + "\n" +
                               row({9, 10, 11, 13, 14, 15}, false) + " 0.77\n" +
                               row({9, 10, 11, 13, 14, 15}, true) + " 771\n";
  const std::vector<int> mag_slots = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15};
  auto both = [&](const std::string& head, int n_type) {
    return head + basic + " " + std::to_string(n_type) + "\n" + basic_codes;
  };
  const std::string moments =
      row({6, 7, 8, 9, 10, 11, 12}, false) + "\n" + row({6, 7, 8, 9, 10, 11, 12}, true) + "\n";
  const AtomCase cases[] = {
      {"isotropic", 0, "A1   TY1 " + basic + " 1 4 0\n" + basic_codes, 0, s1_5, s1_5},
      {"anisotropic", 0, "A1   TY1 " + basic + " 1 4 2\n" + basic_codes + betas, 2,
       plus(s1_5, {13, 14, 15, 16, 17, 18}), plus(s1_5, {13, 14, 15, 16, 17, 18})},
      {"N_t -2 reads the betas too", 0, "A1   TY1 " + basic + " 1 4 -2\n" + basic_codes + betas, -2,
       plus(s1_5, {13, 14, 15, 16, 17, 18}), plus(s1_5, {13, 14, 15, 16, 17, 18})},
      {"form factors", 0,
       "A1   TY1 " + basic + " 1 4 4\n" + basic_codes + row({19, 20, 21, 22, 23, 24, 25}, false) +
           "\n" + row({19, 20, 21, 22, 23, 24, 25}, true) + "\n" +
           row({26, 27, 28, 29, 30, 31, 32}, false) + "\n" +
           row({26, 27, 28, 29, 30, 31, 32}, true) + "\n",
       4, plus(s1_5, {19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32}),
       plus(s1_5, {19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32})},
      {"user model", 4, user, 0, p1_16, p1_15},
      {"user model, negative Jbt", -4, user, 0, p1_16, p1_15},
      {"crystal and magnetic, N_type 0", 10, both("M1   MT     2  1 ", 0), 0, s1_5, s1_5},
      {"crystal and magnetic, N_type 1", 10, both("M1   MT     2  1 ", 1) + moments, 1,
       plus(s1_5, {6, 7, 8, 9, 10, 11, 12}), plus(s1_5, {6, 7, 8, 9, 10, 11, 12})},
      {"crystal and magnetic, N_type 2", 10, both("M1   MT     2  1 ", 2) + betas, 2,
       plus(s1_5, {13, 14, 15, 16, 17, 18}), plus(s1_5, {13, 14, 15, 16, 17, 18})},
      {"crystal and magnetic, N_type 3", -10, both("M1   MT     2  1 ", 3) + moments + betas, 3,
       plus(s1_5, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
       plus(s1_5, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18})},
      {"magnetic", 1, magnetic, 1, mag_slots, mag_slots},
      {"magnetic, spherical", -1, magnetic, 1, mag_slots, mag_slots},
      {"magnetic user model", 5, magnetic, 1, mag_slots, mag_slots},
  };
  for (const AtomCase& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    PhaseLines p;
    p.flags = Flags{.Nat = 1, .Jbt = c.Jbt};
    p.atoms = c.lines;
    ASSERT_EQ(read_header(p), "");
    EXPECT_TRUE(at_end());
    const AtomSite& at = atom(1);
    EXPECT_EQ(at.N_t, c.N_t);
    EXPECT_EQ(at.phase, 1);
    EXPECT_EQ(at.Label.size(), 4u);
    for (int k = 1; k <= NAT_P; ++k) {
      const bool v = std::find(c.values.begin(), c.values.end(), k) != c.values.end();
      const bool cd = std::find(c.codes.begin(), c.codes.end(), k) != c.codes.end();
      EXPECT_FLOAT_EQ(at.slot[k].value, v ? value_of(k) : 0.0f) << "slot " << k;
      EXPECT_FLOAT_EQ(at.slot[k].code, cd ? code_of(k) : 0.0f) << "slot " << k;
    }
    const int aj = std::abs(c.Jbt);
    if (aj == 0) {
      EXPECT_EQ(at.Label, "A1  ");
      EXPECT_EQ(at.Type, "TY1 ");
      EXPECT_EQ(at.In, 1);
      EXPECT_EQ(at.Fin, 4);
    }
    if (aj == 1 || aj == 5 || aj == 10) {
      EXPECT_EQ(at.MagType, 2);
      EXPECT_EQ(at.Vek, 1);
    }
    EXPECT_FLOAT_EQ(at.MagPh.value, aj == 1 || aj == 5 ? 0.77f : 0.0f);
    EXPECT_FLOAT_EQ(at.MagPh.code, aj == 1 || aj == 5 ? 771.0f : 0.0f);
    EXPECT_TRUE(listed(" => Initial parameters ==>"));
  }
}

TEST_F(PhaseTest, CrystalAtomEcho) {
  PhaseLines p;
  p.flags = Flags{.Nat = 2};
  p.atoms =
      "Pb   PB     0.18790  0.25000  0.16700  1.40000  0.50000   1   4   0\n"
      "   11.00 0.00 0.00 21.00 0.00\n"
      "O3   O      0.08110  0.02720  0.80860  1.30000  1.00000   0   0   2\n"
      "   0 0 0 0 0\n"
      "  0.00400  0.01000  0.00600  0.00100  0.00000 -0.00200\n"
      "  31 0 0 0 0 0\n";
  ASSERT_EQ(read_header(p), "");
  const std::string expected =
      " => Initial parameters ==>\n"
      " Atom  Ntyp                  X         Y         Z         B         occ.      Op.in.  "
      "Op.fin.\n"
      "                           B11       B22       B33       B12       B13       B23\n"
      " Pb   PB                 0.18790   0.25000   0.16700   1.40000   0.50000           1    4\n"
      "               Codes:   11.00000   0.00000   0.00000  21.00000   0.00000\n"
      " O3   O                  0.08110   0.02720   0.80860   1.30000   1.00000           0    0\n"
      "               Codes:    0.00000   0.00000   0.00000   0.00000   0.00000\n"
      "               Betas:    0.00400   0.01000   0.00600   0.00100   0.00000  -0.00200\n"
      "               Codes:   31.00000   0.00000   0.00000   0.00000   0.00000   0.00000\n";
  EXPECT_NE(listing().find(expected), std::string::npos) << listing();
  EXPECT_EQ(ph().FirstAtom, 1);
  EXPECT_EQ(ts->job->NatTotal, 2);
}

TEST_F(PhaseTest, AtomsOfLaterPhasesFollowInTheSharedTable) {
  PhaseLines first;
  first.flags = Flags{.Nat = 2};
  first.atoms = "A1 X 0 0 0 0 1 0 0 0\n0 0 0 0 0\nA2 X 0 0 0 0 1 0 0 0\n0 0 0 0 0";
  PhaseLines second = first;
  second.atoms = "B1 Y 0.5 0 0 0 1 0 0 0\n0 0 0 0 0\nB2 Y 0.5 0 0 0 1 0 0 0\n0 0 0 0 0";
  // A pattern-matching phase between them has no atom lines and takes no room.
  PhaseLines matching;
  matching.flags = Flags{.Nat = 3, .Jbt = 2};
  open(first.text() + matching.text() + second.text());
  ASSERT_EQ(run([&] {
              for (int n = 1; n <= 3; ++n) {
                read_phase_header(*ts, n);
                read_atoms(*ts, n);
                read_phase_parameters(*ts, n);
                read_restraints(*ts, n);
              }
            }),
            "");
  EXPECT_TRUE(at_end());
  EXPECT_EQ(ts->phase(2).Nat, 0);
  EXPECT_EQ(ts->phase(3).FirstAtom, 3);
  EXPECT_EQ(ts->job->NatTotal, 4);
  EXPECT_EQ(ts->job->atoms[3].Label, "B1  ");
  EXPECT_EQ(ts->job->atoms[3].phase, 3);
  EXPECT_FLOAT_EQ(ts->job->atoms[4].slot[1].value, 0.5f);
}

TEST_F(PhaseTest, ExplicitOperatorsComeBeforeTheAtoms) {
  struct Case {
    const char* what;
    int Isy;
    std::string lines;  // after the space-group line
  };
  const Case cases[] = {
      {"text operators", -1,
       "   2   1   1   1\nSYMM x,y,z\nMSYM u,v,w,0.0\n! comment\nSYMM -x,-y,-z\nMSYM u,v,w,0.5"},
      {"integer matrices", 1,
       "   2   1   1   1\n 1 0 0 0.0  0 1 0 0.0  0 0 1 0.0\n 1 0 0 0 1 0 0 0 1 0.0\n"
       "-1 0 0 0.0  0 -1 0 0.0  0 0 -1 0.0\n 1 0 0 0 1 0 0 0 1 0.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    PhaseLines p;
    p.flags = Flags{.Nat = 1, .Jbt = 1, .Irf = 1, .Isy = c.Isy};
    p.symmetry = "P -1\n" + c.lines;
    p.atoms = "Ni MNI2 1 0 0 0 0 0.3 1 1.5 0 0\n0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0\n0 0 0 0 0 0 0";
    ASSERT_EQ(read_header(p), "");
    EXPECT_TRUE(at_end());
    const SpaceGroup& g = ts->job->groups[1];
    EXPECT_EQ(g.Nop, 2);
    EXPECT_EQ(g.MagMat, 1);
    EXPECT_FLOAT_EQ(g.mag[2][1].phase, 0.5f);
    EXPECT_FLOAT_EQ(atom(1).slot[6].value, 1.5f);
  }
}

TEST_F(PhaseTest, MalformedLinesNameTheirPhysicalLine) {
  struct Case {
    const char* what;
    std::string text;
    std::string line;  // the physical line number reported
  };
  const std::string flags = Flags{.Nat = 1, .Dis = 1}.line();
  const std::string atom = "Pb PB 0.1 0.2 0.3 0.5 1.0 0 0 0\n";
  const std::string profile = PhaseLines{}.scale + "\n" + PhaseLines{}.halfwidth + "\n";
  const std::string cell = PhaseLines{}.cell + "\n" + PhaseLines{}.orientation + "\n";
  const Case cases[] = {
      {"an atom line after comments and blank lines",
       "Name\n!\n" + flags + "\n!\nP 1\n\n!\n   \nPb PB 0.1.2 0.2 0.3 0.5 1.0 0 0 0\n", "   9"},
      {"a codeword line", "Name\n" + flags + "\nP 1\n" + atom + "!\n\n 0 0 x 0 0\n", "   7"},
      {"the cell line",
       "Name\n" + flags + "\nP 1\n" + atom + "0 0 0 0 0\n" + profile +
           "!  cell\n\n   5.0 6.0 7..0 90 90 90\n",
       "  12"},
      {"a restraint line",
       "Name\n" + flags + "\nP 1\n" + atom + "0 0 0 0 0\n" + profile + cell +
           "!\n\nPb Pb 1.5 0 0 0 2 0.1\n",
       "  16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    EXPECT_EQ(read_text(c.text), "  => Please check your input file at line: " + c.line + " !");
  }
}

}  // namespace
}  // namespace kestovar::phase_test
