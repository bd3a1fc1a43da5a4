// Whole control files read to their end: the phase sections of a crystal structure, a
// two-phase nuclear and magnetic case, a split pseudo-Voigt phase and a phase given by
// explicit operators.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "controlfile/control_file.h"
#include "run/messages.h"
#include "run/stop.h"
#include "support/test_support.h"

namespace kestovar {
namespace {

class ControlFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;

  // Copies the fixture into the scratch directory and reads it; the stop text or "".
  std::string read_fixture(const std::string& code) {
    std::ifstream in(std::filesystem::path(KESTOVAR_TEST_DIR) / "controlfile/fixtures" /
                     (code + ".pcr"));
    std::ostringstream text;
    text << in.rdbuf();
    dir.write(code + ".pcr", text.str());
    ts->run.PcrCode = code;
    ts->run.DatFile = code;
    open_run_file(*ts, 1);
    open_run_file(*ts, 2);
    std::string stop;
    try {
      read_control_file(*ts);
    } catch (const StopError& e) {
      stop = e.text();
    }
    std::string line;
    at_end_ = !ts->files.read_line(unit::PCR, line);
    ts->files.close(unit::OUT);
    ts->files.close(unit::SUM);
    listing_ = dir.read(code + ".out");
    return stop;
  }
  // What the phase readers wrote to the listing: for every phase, from its line of dashes
  // to the cell-constraint line, followed by the echo of its restraints. The pieces that
  // other stages write around them (reflections, scattering factors) are left out.
  std::string phase_sections() const {
    std::istringstream in(listing_);
    std::string line, out;
    enum { Outside, Phase, Restraints } state = Outside;
    std::string previous;
    // The restraint echo; an empty line follows each moment restraint.
    auto restraint_line = [&](const std::string& l) {
      for (const char* p : {" => Constraints on ", "    Distance between ", " -> The following ",
                            "    ITnum ", "     (", "    Moment of "})
        if (l.rfind(p, 0) == 0) return true;
      return l.empty() && previous.rfind("    Moment of ", 0) == 0;
    };
    while (std::getline(in, line)) {
      if (line == " " + std::string(80, '-')) state = Phase;
      if (state == Restraints && !restraint_line(line)) state = Outside;
      if (state == Outside) continue;
      out += line + "\n";
      if (line.rfind(" => Cell constraints according to Laue symmetry:", 0) == 0)
        state = Restraints;
      previous = line;
    }
    return out;
  }
  bool listed(const std::string& line) const {
    return ("\n" + listing_).find("\n" + line + "\n") != std::string::npos;
  }
  Phase& ph(int n) { return ts->phase(n); }
  AtomSite& atom(int i) { return ts->job->atoms[i]; }

  bool at_end_ = false;
  std::string listing_;
};

TEST_F(ControlFileTest, LeadSulphate) {
  ASSERT_EQ(read_fixture("pbso4"), "");
  EXPECT_TRUE(at_end_);
  EXPECT_EQ(text::trim(ph(1).PhaseName), "PbSO4");
  EXPECT_EQ(ph(1).Nat, 5);
  EXPECT_EQ(ph(1).PhaseNpr, 6);
  EXPECT_EQ(ts->job->groups[1].Laue, LAUE_MMM);
  EXPECT_EQ(atom(5).Label, "O3  ");
  EXPECT_FLOAT_EQ(atom(5).slot[2].value, 0.0272f);
  EXPECT_FLOAT_EQ(atom(1).slot[5].value, 0.5f);
  EXPECT_EQ(ph(1).DirectCell, (std::array<float, 6>{8.48f, 5.398f, 6.958f, 90, 90, 90}));
  EXPECT_NEAR(ph(1).slot[6].value, 1 / (8.48f * 8.48f), 1e-7);
  EXPECT_NEAR(ph(1).slot[8].value, 1 / (6.958f * 6.958f), 1e-7);
  test::expect_golden(phase_sections(), "controlfile/golden/phase_pbso4.out");
}

TEST_F(ControlFileTest, NuclearAndMagneticPhases) {
  ASSERT_EQ(read_fixture("mno_magnetic"), "");
  EXPECT_TRUE(at_end_);
  EXPECT_EQ(ph(1).Jbt, 0);
  EXPECT_EQ(ph(2).Jbt, 1);
  EXPECT_EQ(ph(2).FirstAtom, 3);
  EXPECT_EQ(atom(3).Label, "Mn  ");
  EXPECT_EQ(atom(3).N_t, 1);
  EXPECT_FLOAT_EQ(atom(3).slot[6].value, 3.2f);
  EXPECT_FLOAT_EQ(atom(3).slot[7].value, -3.2f);
  EXPECT_EQ(ts->job->groups[2].MagMat, 1);
  // Nvk -1: k = (1/2 1/2 1/2) and -k.
  EXPECT_TRUE(ph(2).KvecAugmented);
  ASSERT_EQ(ph(2).Nvk, 2);
  EXPECT_FLOAT_EQ(ph(2).kvec[2][0].value, -0.5f);
  EXPECT_EQ(ph(2).Moment[1].Prefix, "Mn");
  EXPECT_TRUE(listed(" => Number of propagation vectors [K]+[-K] =   2"));
  test::expect_golden(phase_sections(), "controlfile/golden/phase_mno_magnetic.out");
}

TEST_F(ControlFileTest, SplitPseudoVoigt) {
  ASSERT_EQ(read_fixture("split_pv"), "");
  EXPECT_TRUE(at_end_);
  EXPECT_EQ(ph(1).PhaseNpr, 12);
  EXPECT_FLOAT_EQ(ph(1).slot[46].value, 0.03f);
  EXPECT_FLOAT_EQ(ph(1).slot[49].value, 0.45f);
  EXPECT_FLOAT_EQ(ph(1).slot[42].value, 0.002f);
  EXPECT_TRUE(listed(" => The   11th profile function was selected for phase no.  1"));
  test::expect_golden(phase_sections(), "controlfile/golden/phase_split_pv.out");
}

TEST_F(ControlFileTest, ExplicitOperators) {
  ASSERT_EQ(read_fixture("pbso4_symm"), "");
  EXPECT_TRUE(at_end_);
  const SpaceGroup& g = ts->job->groups[1];
  EXPECT_EQ(g.Nop, 4);
  EXPECT_EQ(g.Cen, 2);
  EXPECT_EQ(g.Laue, LAUE_MMM);
  EXPECT_EQ(atom(5).N_t, 2);
  EXPECT_FLOAT_EQ(atom(5).slot[18].value, -0.002f);
  EXPECT_EQ(ph(1).AtomExtras, 1);
  EXPECT_EQ(ph(1).Distance[1].Op, -2);
  EXPECT_FLOAT_EQ(ph(1).Distance[1].Sigma, 0.001f);
  test::expect_golden(phase_sections(), "controlfile/golden/phase_pbso4_symm.out");
}

// PbSO4 once with neutrons (its own Jtyp) and once with X-rays, then MnO as a crystal and
// magnetic phase: every atom type resolves under the radiation of its phase, and a species
// found for one radiation is not reused by another. The oxygen of MnO has a Mag number but
// no moment lines: it is a nuclear atom only.
TEST_F(ControlFileTest, PhasesOfDifferentRadiationsResolveTheirTypes) {
  ASSERT_EQ(read_fixture("pbso4_mixed"), "");
  EXPECT_TRUE(at_end_);
  const SpeciesList& sl = ts->job->species;
  auto species = [&](int i) -> const Species& { return sl.entry[atom(i).Species]; };
  EXPECT_EQ(species(1).Name, "PB  ");
  EXPECT_FLOAT_EQ(species(1).Dfp, 0.9405f);
  EXPECT_EQ(species(6).Name, "pb  ");
  EXPECT_FLOAT_EQ(species(6).Coeff[1], 31.0617f);
  EXPECT_NE(atom(3).Species, atom(8).Species);   // O with neutrons and with X-rays
  EXPECT_EQ(atom(12).Species, atom(3).Species);  // the O of MnO: the neutron length of O
  EXPECT_EQ(atom(12).MagSpecies, 0);
  EXPECT_EQ(species(11).Name, "MN  ");
  EXPECT_EQ(sl.entry[atom(11).MagSpecies].Name, "MMN2");
  EXPECT_EQ(sl.N, 8);  // PB S O, pb s o, MN, MMN2
  for (const char* block :
       {" => Scattering lengths:\n PB     0.9405\n S      0.2847\n O      0.5803\n",
        " => X-ray scattering coeff. (A1,B1,A2,...C,Dfp,Dfpp)\n PB     31.0617   0.6902",
        " => Scattering lengths:\n MN    -0.3730\n",
        " => Magnetic form-factor coeff. (A,a,B,b,C,c,D)\n MMN2    0.4220  17.6840"})
    EXPECT_NE(listing_.find(block), std::string::npos) << block;
}

// The same phase with refined parameters on the public PbSO4 X-ray pattern: the header,
// the data and the phase are read, and every parameter number is used.
TEST_F(ControlFileTest, LeadSulphateRefinementOnPublicData) {
  const std::string data = test::shared_data_dir();
  if (data.empty()) GTEST_SKIP() << "public data set ../shared/data not found; test skipped";
  std::filesystem::copy_file(std::filesystem::path(data) / "PBSO4.XRA", "pbso4_data.dat");
  ASSERT_EQ(read_fixture("pbso4_data"), "");
  EXPECT_TRUE(at_end_);
  EXPECT_EQ(ts->pattern().NPTS, 6001);
  EXPECT_EQ(ph(1).slot[1].ParNo, 4);
  for (int k = 6; k <= 8; ++k) EXPECT_EQ(ph(1).slot[k].ParNo, k - 1) << "cell slot " << k;
  EXPECT_EQ(ph(1).slot[3].ParNo, 8);
  EXPECT_EQ(atom(5).slot[4].ParNo, 9);
  EXPECT_EQ(ph(1).AtomicRefined, 1);
  EXPECT_TRUE(listed(" => Global Refinement of X-ray powder diffraction data"));
}

}  // namespace
}  // namespace kestovar
