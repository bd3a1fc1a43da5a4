// Resolution of atom types to species, user entries and their failure messages.
#include "tables/species.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "support/test_support.h"
#include "tables/element_tables.h"
#include "tables/form_factor_fit.h"
#include "text/fortran_format.h"

namespace kestovar {
namespace {

class SpeciesTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestStore ts;
  int atoms = 0;  // atoms placed so far

  void SetUp() override {
    ASSERT_TRUE(ts->files.open(unit::OUT, "job.out", OpenStatus::Unknown));
    initialise_tables(*ts);
  }

  // Places a phase with the given atom types after the atoms of the earlier phases.
  void add_phase(int n, int jbt, const std::vector<std::string>& types) {
    Phase& ph = ts->phase(n);
    ph.Jbt = jbt;
    ph.Nat = static_cast<int>(types.size());
    ph.FirstAtom = atoms + 1;
    for (const std::string& t : types) {
      AtomSite& a = ts->job->atoms[++atoms];
      a.Type = text::pad(t, 4);
      a.phase = n;
    }
  }

  AtomSite& atom(int i) { return ts->job->atoms[i]; }
  const SpeciesList& species() { return ts->job->species; }

  // Resolves phase n; returns the stop text, "" when it went through.
  std::string resolve(int n, ScatteringOptions options) {
    try {
      resolve_scattering_types(*ts, n, ts->phase(n).Nat, options);
    } catch (const StopError& e) {
      return e.text();
    }
    return "";
  }

  std::vector<std::string> listing() {
    ts->files.close(unit::OUT);
    std::vector<std::string> lines;
    std::string all = dir.read("job.out"), line;
    for (char c : all) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else if (c != '\r') {
        line += c;
      }
    }
    return lines;
  }

  static ScatteringOptions xray(int column = 3) { return {Radiation::Xray, column, {}}; }
  static ScatteringOptions neutron() { return {Radiation::Neutron, 3, {}}; }
  // Neutrons, with the atoms whose type begins with "M" carrying a moment.
  static ScatteringOptions neutron_magnetic() {
    return {Radiation::Neutron, 3, [](const AtomSite& a) { return a.Type[0] == 'M'; }};
  }
};

TEST_F(SpeciesTest, XrayTypeIsMatchedWithoutRegardToCase) {
  add_phase(1, 0, {"Fe+3", "FE+3", "fe+3"});
  ASSERT_EQ(resolve(1, xray()), "");
  EXPECT_EQ(species().N, 1);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(atom(i).Species, 1);
  const Species& sp = species().entry[1];
  const XrayEntry& e = kXrayTable[find_xray("fe+3")];
  for (int k = 0; k < 9; ++k) EXPECT_EQ(sp.Coeff[k + 1], e.coeff[k]);
  EXPECT_EQ(sp.Dfp, kDispersionTable[e.row][3]);
  EXPECT_EQ(sp.Dfpp, kDispersionTable[e.row][8]);
  const auto out = listing();
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0], " => Scattering coefficients from internal table");
  EXPECT_EQ(out[1], " => X-ray scattering coeff. (A1,B1,A2,...C,Dfp,Dfpp)");
  EXPECT_EQ(out[2].substr(0, 6), " FE+3 ");
}

TEST_F(SpeciesTest, XrayListingLineAndDispersionColumn) {
  add_phase(1, 0, {"Fe"});
  ASSERT_EQ(resolve(1, xray(4)), "");  // Mo K-alpha
  EXPECT_EQ(listing()[2],
            " FE     11.7695   4.7611   7.3573   0.3072   3.5222  15.3535   2.3045  76.8805"
            "   1.0369   0.3010   0.8450");
}

TEST_F(SpeciesTest, NeutronTypeIsMatchedAsWritten) {
  add_phase(1, 0, {"FE"});
  ASSERT_EQ(resolve(1, neutron()), "");
  EXPECT_EQ(species().entry[1].Dfp, 0.945f);
  const auto out = listing();
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[1], " => Scattering lengths:");
  EXPECT_EQ(out[2], " FE     0.9450");

  initialise_tables(*ts);
  add_phase(2, 0, {"Fe"});
  EXPECT_EQ(resolve(2, neutron()), " Some scattering length NOT FOUND");
  EXPECT_EQ(ts.window.lines.back(), " => scattering length NOT FOUND for *Fe  *");
}

TEST_F(SpeciesTest, SpeciesAreSharedByPhasesAndLimitedToSixteen) {
  add_phase(1, 0, {"O", "Si"});
  add_phase(2, 0, {"O"});
  ASSERT_EQ(resolve(1, xray()), "");
  ASSERT_EQ(resolve(2, xray()), "");
  EXPECT_EQ(species().N, 2);
  EXPECT_EQ(atom(3).Species, atom(1).Species);
  const auto out = listing();
  EXPECT_EQ(out.size(), 6u);  // phase 2 prints its headings only

  initialise_tables(*ts);
  add_phase(3, 0,
            {"h", "he", "li", "be", "b", "c", "n", "o", "f", "ne", "na", "mg", "al", "si", "p", "s",
             "cl"});
  EXPECT_EQ(resolve(3, xray()), " Too many chemical species");
  EXPECT_EQ(ts.window.lines.back(), " => Maximum number of chemical species: 16");
  EXPECT_EQ(species().N, 16);
}

// Phases of one run that use different radiations keep their species apart: an X-ray "Pb"
// after a neutron "PB" gets form-factor coefficients, not the scattering length, and a
// neutron "o" is no key of the length table even when an X-ray "o" came first.
TEST_F(SpeciesTest, SpeciesOfOtherRadiationsAreNotReused) {
  add_phase(1, 0, {"PB", "O"});
  add_phase(2, 0, {"Pb", "O"});
  add_phase(3, 0, {"o"});
  ASSERT_EQ(resolve(1, neutron()), "");
  ASSERT_EQ(resolve(2, xray()), "");
  EXPECT_EQ(species().N, 4);
  const Species& pb = species().entry[atom(3).Species];
  EXPECT_EQ(pb.Name, "pb  ");
  EXPECT_EQ(pb.Coeff[1], kXrayTable[find_xray("pb  ")].coeff[0]);
  EXPECT_NE(atom(4).Species, atom(2).Species);
  EXPECT_EQ(species().entry[atom(2).Species].Dfp, 0.5803f);

  EXPECT_EQ(resolve(3, neutron()), " Some scattering length NOT FOUND");
  EXPECT_EQ(ts.window.lines.back(), " => scattering length NOT FOUND for *o   *");
}

TEST_F(SpeciesTest, UserEntryWinsOverInternalTable) {
  struct Case {
    ScatteringOptions options;
    const char* label;
  };
  const Case cases[] = {{xray(), "cu  "}, {neutron(), "Cu  "}};
  for (const Case& c : cases) {
    initialise_tables(*ts);
    RunSettings& s = ts->settings();
    s.Nsc = 1;
    s.Scatter[1] = ScatteringEntry{};
    s.Scatter[1].label = c.label;
    s.Scatter[1].v1 = 0.5f;
    s.Scatter[1].coeff = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    atoms = 0;
    add_phase(1, 0, {"Cu", "Cu"});
    ASSERT_EQ(resolve(1, c.options), "") << c.label;
    EXPECT_EQ(species().N, 1) << c.label;
    EXPECT_EQ(atom(1).Species, 1);
    EXPECT_EQ(atom(2).Species, 1);
    EXPECT_EQ(species().entry[1].Dfp, 0.5f);
    EXPECT_EQ(species().entry[1].Coeff[9], 9.0f);
  }
}

TEST_F(SpeciesTest, UserTableIsCopiedIntoItsSpecies) {
  RunSettings& s = ts->settings();
  s.Nsc = -1;
  s.Scatter[1].label = "ox  ";
  s.Scatter[1].npoints = 3;
  s.Scatter[1].s = {0, 0.0f, 0.1f, 0.2f};
  s.Scatter[1].f = {0, 8.0f, 7.0f, 5.5f};
  add_phase(1, 0, {"ox"});
  ASSERT_EQ(resolve(1, xray()), "");
  const Species& sp = species().entry[1];
  EXPECT_EQ(sp.NTab, 3);
  EXPECT_EQ(sp.TabF[3], 5.5f);
  EXPECT_EQ(species().NUser, 1);
  const auto out = listing();
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out[0], "     *(Tables for Linear Interpolation)*");
}

TEST_F(SpeciesTest, MagneticAtomOfCrystalAndMagneticPhase) {
  add_phase(1, 10, {"MNI2", "O", "MV3"});
  ASSERT_EQ(resolve(1, neutron_magnetic()), "");
  const SpeciesList& sl = species();
  EXPECT_EQ(sl.entry[atom(1).Species].Name, "NI  ");
  EXPECT_EQ(sl.entry[atom(1).Species].Dfp, 1.03f);
  EXPECT_EQ(sl.entry[atom(3).Species].Name, "V   ");
  const Species& mag = sl.entry[atom(1).MagSpecies];
  EXPECT_EQ(mag.Name, "MNI2");
  const MagneticEntry& e = kMagneticTable[find_magnetic("MNI2")];
  for (int k = 0; k < 7; ++k) EXPECT_EQ(mag.Coeff[k + 1], e.coeff[k]);
  EXPECT_EQ(mag.Dfp, 0.0f);
  EXPECT_EQ(atom(2).MagSpecies, 0);
  EXPECT_EQ(sl.entry[atom(3).MagSpecies].Name, "MV3 ");
  const auto out = listing();
  EXPECT_EQ(out[1], " => Scattering lengths:");
  EXPECT_EQ(out[5], " => Magnetic form-factor coeff. (A,a,B,b,C,c,D)");
  EXPECT_EQ(out[6], " MNI2    0.0163  35.8826   0.3916  13.2233   0.6052   4.3388  -0.0133");
}

TEST_F(SpeciesTest, PurelyMagneticPhaseHasOnlyMagneticSpecies) {
  add_phase(1, -1, {"MFE3"});
  ASSERT_EQ(resolve(1, neutron()), "");
  EXPECT_EQ(species().N, 1);
  EXPECT_EQ(species().entry[atom(1).Species].Name, "MFE3");
  EXPECT_EQ(atom(1).MagSpecies, 0);

  add_phase(2, 5, {"MXX9"});
  EXPECT_EQ(resolve(2, neutron()), " Some scattering coefficients NOT FOUND");
  EXPECT_EQ(ts.window.lines.back(), " => Scattering coefficients NOT FOUND for *MXX9*");
}

TEST_F(SpeciesTest, ObjectTypesAreCountedPerPhase) {
  add_phase(1, 0, {"SPHS", "O", "FUD4"});
  ASSERT_EQ(resolve(1, neutron()), "");
  EXPECT_EQ(atom(1).Species, -1);
  EXPECT_EQ(atom(3).Species, -10);
  EXPECT_GT(atom(2).Species, 0);
  EXPECT_EQ(ts->phase(1).NObjects, 2);
  EXPECT_EQ(species().N, 1);
  EXPECT_EQ(listing()[2], " SPHS  Form-factor of an user-supplied object   ");
}

TEST_F(SpeciesTest, XrayTypeNotFound) {
  add_phase(1, 0, {"O", "Xx"});
  EXPECT_EQ(resolve(1, xray()), " Some scattering coefficients NOT FOUND");
  const std::string msg = " => Scattering coefficients NOT FOUND for *Xx  *";
  EXPECT_EQ(ts.window.lines.back(), msg);
  EXPECT_EQ(listing().back(), msg);
}

TEST_F(SpeciesTest, KindTwoEntryTakesInternalCoefficients) {
  ScatteringEntry& en = ts->settings().Scatter[1];
  en.label = "Fe+3";
  en.v1 = -1.0f;
  lookup_user_xray(*ts, 1);
  EXPECT_TRUE(en.has_coefficients);
  const XrayEntry& e = kXrayTable[find_xray("fe+3")];
  for (int k = 0; k < 9; ++k) EXPECT_EQ(en.coeff[k + 1], e.coeff[k]);
  EXPECT_EQ(en.v1, -1.0f);

  ts->settings().Scatter[2].label = "fe+9";
  try {
    lookup_user_xray(*ts, 2);
    FAIL() << "no stop";
  } catch (const StopError& stop) {
    EXPECT_EQ(stop.text(), " Some scattering coefficients NOT FOUND");
  }
  EXPECT_EQ(ts.window.lines.back(), " => Scattering coefficients NOT FOUND for *fe+9*");
}

TEST_F(SpeciesTest, FitOfUserEntryStoresItsCoefficients) {
  ScatteringEntry& en = ts->settings().Scatter[1];
  en.label = "ab  ";
  en.s = {0, 0.0f, 0.2f, 0.4f, 0.6f};
  en.f = {0, 6.0f, 5.0f, 3.5f, 2.5f};
  fit_user_table(*ts, 1, 4);
  EXPECT_TRUE(en.has_coefficients);
  for (int k = 1; k <= 4; ++k) EXPECT_NEAR(form_factor_value(en.coeff, en.s[k]), en.f[k], 1e-3f);
  EXPECT_EQ(en.coeff[5], 0.0f);
}

TEST(CaseConversion, ChangesOnlyTheFirstCharactersAndOnlyLetters) {
  std::string s = "fe+3ab";
  to_upper_case(s, 4);
  EXPECT_EQ(s, "FE+3ab");
  to_lower_case(s, 100);
  EXPECT_EQ(s, "fe+3ab");
  std::string t = "Mn-Ä";
  to_upper_case(t, t.size());
  EXPECT_EQ(t, "MN-Ä");
}

}  // namespace
}  // namespace kestovar
