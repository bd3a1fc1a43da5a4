// Invariants of the constant element tables and the rows that identify their sources.
#include "tables/element_tables.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tables/species.h"

namespace kestovar {
namespace {

std::string key(const char* k) {
  return std::string(k, 4);
}

// Element symbols by atomic number 1..98.
const char* const kSymbols =
    "H He Li Be B C N O F Ne Na Mg Al Si P S Cl Ar K Ca Sc Ti V Cr Mn Fe Co Ni Cu Zn Ga Ge As "
    "Se Br Kr Rb Sr Y Zr Nb Mo Tc Ru Rh Pd Ag Cd In Sn Sb Te I Xe Cs Ba La Ce Pr Nd Pm Sm Eu Gd "
    "Tb Dy Ho Er Tm Yb Lu Hf Ta W Re Os Ir Pt Au Hg Tl Pb Bi Po At Rn Fr Ra Ac Th Pa U Np Pu Am "
    "Cm Bk Cf";

std::map<std::string, int> atomic_numbers() {
  std::map<std::string, int> z;
  std::istringstream in(kSymbols);
  std::string s;
  for (int n = 1; in >> s; ++n) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    z[s] = n;
  }
  z["d"] = 1;
  z["cval"] = 6;
  z["siv"] = 14;
  return z;
}

// Element part and charge of an X-ray key such as "fe+3", "o-2 ", "cval".
void split_key(const std::string& k, std::string& element, int& charge) {
  const std::string t = k.substr(0, k.find(' '));
  const size_t sign = t.find_first_of("+-");
  element = t.substr(0, sign);
  charge = 0;
  if (sign != std::string::npos) {
    charge = std::stoi(t.substr(sign + 1));
    if (t[sign] == '-') charge = -charge;
  }
}

TEST(ElementTables, XrayKeysAreUniqueLowerCaseAndCarryTheirElementRow) {
  const auto z = atomic_numbers();
  std::set<std::string> seen;
  for (const XrayEntry& e : kXrayTable) {
    const std::string k = key(e.key);
    EXPECT_TRUE(seen.insert(k).second) << "duplicate " << k;
    for (char c : k) EXPECT_FALSE(std::isupper(static_cast<unsigned char>(c))) << k;
    std::string element;
    int charge = 0;
    split_key(k, element, charge);
    ASSERT_TRUE(z.count(element)) << k;
    const int n = z.at(element);
    EXPECT_EQ(e.row, n == 1 ? 0 : n - 1) << k;
  }
  EXPECT_TRUE(seen.count("cval"));
  EXPECT_TRUE(seen.count("siv "));
  EXPECT_TRUE(seen.count("o-2 "));
}

TEST(ElementTables, XrayFormFactorAtZeroIsTheNumberOfElectrons) {
  const auto z = atomic_numbers();
  for (const XrayEntry& e : kXrayTable) {
    std::string element;
    int charge = 0;
    split_key(key(e.key), element, charge);
    const float f0 = e.coeff[0] + e.coeff[2] + e.coeff[4] + e.coeff[6] + e.coeff[8];
    EXPECT_NEAR(f0, z.at(element) - charge, 0.1f) << key(e.key);
  }
}

TEST(ElementTables, TellingRows) {
  struct Row {
    const char* key;
    std::vector<float> values;
  };
  const Row xray[] = {
      {"h   ", {0.493f, 10.5109f, 0.3229f, 26.1257f, 0.1402f, 3.1424f, 0.0408f, 57.7997f, 0.003f}},
      {"fe  ",
       {11.7695f, 4.7611f, 7.3573f, 0.3072f, 3.5222f, 15.3535f, 2.3045f, 76.8805f, 1.0369f}},
      {"o-2 ", {4.758f, 7.831f, 3.637f, 30.05f, 0, 0, 0, 0, 1.594f}},
  };
  for (const Row& r : xray) {
    const int i = find_xray(r.key);
    ASSERT_GE(i, 0) << r.key;
    for (int k = 0; k < 9; ++k) EXPECT_EQ(kXrayTable[i].coeff[k], r.values[k]) << r.key << k;
  }
  const Row magnetic[] = {
      {"MSC0", {0.2512f, 90.0296f, 0.329f, 39.4021f, 0.4235f, 14.3222f, -0.0043f}},
      {"JHO3", {0.0432f, 0.9101f, 0.2794f, 8.6834f, 0.6685f, 2.4175f, 0.0082f}},
  };
  for (const Row& r : magnetic) {
    const int i = find_magnetic(r.key);
    ASSERT_GE(i, 0) << r.key;
    for (int k = 0; k < 7; ++k) EXPECT_EQ(kMagneticTable[i].coeff[k], r.values[k]) << r.key << k;
  }
  const std::pair<const char*, float> neutron[] = {
      {"H   ", -0.3739f}, {"D   ", 0.6671f}, {"C   ", 0.6646f}, {"O   ", 0.5803f},
      {"V   ", -0.0382f}, {"MN  ", -0.373f}, {"FE  ", 0.945f},  {"NI  ", 1.03f}};
  for (const auto& [k, b] : neutron) {
    const int i = find_neutron(k);
    ASSERT_GE(i, 0) << k;
    EXPECT_EQ(kNeutronTable[i].b, b) << k;
  }
}

TEST(ElementTables, NeutronKeysInTableOrder) {
  const std::string order =
      "H HE LI BE B C N O F NE NA MG AL SI P S CL AR K CA SC TI V CR MN FE CO NI CU ZN GA GE AS "
      "SE BR KR RB SR Y ZR NB MO TC RU RH PD AG CD IN SN SB TE I XE CS BA LA CE PR ND EU GD TB "
      "DY HO ER TM YB LU HF TA W RE OS IR PT AU HG TL PB BI TH U NP PU D PM SM RA PA AM CM";
  std::istringstream in(order);
  std::string s;
  size_t i = 0;
  while (in >> s) {
    ASSERT_LT(i, kNeutronTable.size());
    EXPECT_EQ(key(kNeutronTable[i].key), (s + "    ").substr(0, 4)) << i;
    EXPECT_NE(kNeutronTable[i].b, 0.0f) << s;
    ++i;
  }
  EXPECT_EQ(i, kNeutronTable.size());
  for (const char* k : {"PM  ", "SM  ", "RA  ", "PA  ", "AM  ", "CM  "})
    EXPECT_GE(find_neutron(k), 0) << k;
}

TEST(ElementTables, MagneticKeysUniqueExceptTwoAndFirstIsFound) {
  std::map<std::string, int> count;
  for (const MagneticEntry& e : kMagneticTable) ++count[key(e.key)];
  for (const auto& [k, n] : count) EXPECT_EQ(n, (k == "JCE2" || k == "JHO2") ? 2 : 1) << k;
  const int first = find_magnetic("JCE2");
  EXPECT_EQ(key(kMagneticTable[first].key), "JCE2");
  for (int i = 0; i < first; ++i) EXPECT_NE(key(kMagneticTable[i].key), "JCE2");
  for (const char* k :
       {"MSC0", "MCU4", "MY0 ", "MZR0", "MPD1", "MCE2", "MYB3", "MU3 ", "MAM7", "MPR3", "JYB3"})
    EXPECT_GE(find_magnetic(k), 0) << k;
}

TEST(ElementTables, MagneticFormFactorAtZeroIsOne) {
  for (const MagneticEntry& e : kMagneticTable) {
    const std::string k = key(e.key);
    const float f0 = e.coeff[0] + e.coeff[2] + e.coeff[4] + e.coeff[6];
    // The compilation's JDY3 row sums to 1.13; all others lie within 0.02 of 1.
    const float tol = k == "JDY3" ? 0.14f : (k[0] == 'M' ? 0.005f : 0.02f);
    EXPECT_NEAR(f0, 1.0f, tol) << k;
  }
}

TEST(ElementTables, DispersionRows) {
  for (float v : kDispersionTable[0]) EXPECT_EQ(v, 0.0f);
  for (const auto& row : kDispersionTable) {
    EXPECT_EQ(row[0], 0.0f);
    for (int c = 6; c <= 10; ++c) EXPECT_GE(row[c], 0.0f);  // f'' is never negative
  }
  // Fe (row 25) at Cu and Mo K-alpha-1.
  const auto& fe = kDispersionTable[kXrayTable[find_xray("fe  ")].row];
  EXPECT_EQ(fe[3], -1.179f);
  EXPECT_EQ(fe[8], 3.204f);
  EXPECT_EQ(fe[4], 0.301f);
  EXPECT_EQ(fe[9], 0.845f);
}

TEST(ElementTables, ObjectNames) {
  EXPECT_EQ(find_object("SPHS"), 1);
  EXPECT_EQ(find_object("FUD4"), 10);
  EXPECT_EQ(find_object("sphs"), 0);
}

TEST(ElementTables, WavelengthColumn) {
  const std::pair<float, int> cases[] = {{2.28962f, 1}, {1.93597f, 2}, {1.8f, 3}, {1.5406f, 3},
                                         {0.7107f, 4},  {0.56f, 5},    {0.3f, 5}};
  for (const auto& [lambda, column] : cases) EXPECT_EQ(wavelength_column(lambda), column) << lambda;
}

}  // namespace
}  // namespace kestovar

namespace kestovar {
namespace {

// f0(s) of a table entry against the coefficients as printed in the International Tables
// (vol. C Table 6.1.1.4), typed here independently of the generator.
TEST(ElementTables, FormFactorsAgainstPublishedCoefficients) {
  struct Published {
    const char* key;
    std::array<double, 9> c;
  };
  const Published rows[] = {
      {"cu  ", {13.338, 3.5828, 7.1676, 0.247, 5.6158, 11.3966, 1.6735, 64.8126, 1.191}},
      {"o   ", {3.0485, 13.2771, 2.2868, 5.7011, 1.5463, 0.3239, 0.867, 32.9089, 0.2508}},
      {"si  ", {6.2915, 2.4386, 3.0353, 32.3337, 1.9891, 0.6785, 1.541, 81.6937, 1.1407}},
      {"pb  ", {31.0617, 0.6902, 13.0637, 2.3576, 18.442, 8.618, 5.9696, 47.2579, 13.4118}},
  };
  for (const Published& p : rows) {
    const int k = find_xray(p.key);
    ASSERT_GE(k, 0) << p.key;
    for (double s : {0.0, 0.25, 0.5, 1.0, 1.5}) {
      double want = p.c[8], got = kXrayTable[k].coeff[8];
      for (int i = 0; i < 4; ++i) {
        want += p.c[2 * i] * std::exp(-p.c[2 * i + 1] * s * s);
        got += kXrayTable[k].coeff[2 * i] * std::exp(-kXrayTable[k].coeff[2 * i + 1] * s * s);
      }
      EXPECT_NEAR(got, want, 1e-3) << p.key << " s=" << s;
    }
  }
}

// f' and f'' at Cu K-alpha (column 3, f'' five columns further) of the International Tables.
TEST(ElementTables, DispersionAtCopperKAlpha) {
  struct Published {
    const char* key;
    float fp, fpp;
  };
  for (const Published& p : {Published{"cu  ", -2.019f, 0.589f}, Published{"fe  ", -1.179f, 3.204f},
                             Published{"fe+3", -1.179f, 3.204f}}) {
    const auto& row = kDispersionTable[kXrayTable[find_xray(p.key)].row];
    EXPECT_NEAR(row[3], p.fp, 1e-3) << p.key;
    EXPECT_NEAR(row[8], p.fpp, 1e-3) << p.key;
  }
}

}  // namespace
}  // namespace kestovar
