// The profile, cell, orientation, broadening, propagation-vector and further-parameter
// lines of a phase, with their echo, and the hand-over of the cell to the metric.
#include <cmath>
#include <cstdlib>

#include "controlfile/phase_lines.h"
#include "controlfile/phase_reader.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "symmetry/cell.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::fmt_e;
using text::fmt_f;
using text::fmt_i;

constexpr float kDegToRad = 0.017453292f;

struct Conditions {
  bool integrated = false;  // |Irf| 4: scale factors and extinction instead of the profile
  bool tof = false;         // time-of-flight data
  bool split = false;       // split pseudo-Voigt (file Npr 11)
  int file_npr = 0;         // the phase's profile as written in the file
};

Conditions conditions_of(const RunSettings& s, const Phase& ph) {
  Conditions c;
  c.integrated = std::abs(ph.Irf) == 4;
  c.tof = s.Uni == 1;
  c.file_npr = ph.PhaseNpr - 1;
  c.split = c.file_npr == 11;
  return c;
}

std::array<float, 3> read_axis(ModelStore& store) {
  LineValues v = read_line_values(store, "FFF");
  return {v.r(0), v.r(1), v.r(2)};
}

std::string axis_text(const std::array<float, 3>& a) {
  return fmt_f(a[0], 8, 4) + fmt_f(a[1], 8, 4) + fmt_f(a[2], 8, 4);
}

void echo_profile(ModelStore& store, const Phase& ph, const Conditions& c) {
  const ParamSlot* sl = ph.slot.data();
  if (c.integrated) {
    std::string scales = " => Scale factors: ";
    for (int k : {1, 2, 3, 4, 5, 12}) scales += fmt_e(sl[k].value, 12, 6);
    listing(store, scales);
    listing(store,
            " => Extinction  parameters: " + slot_values(sl, {13, 14, 15, 16, 17, 18, 19}, 9, 4));
    listing(store, " => Direct cell parameters: " + slot_values(sl, {6, 7, 8, 9, 10, 11}, 9, 4));
    return;
  }
  listing(store, " => Overall scale factor: " + fmt_e(sl[1].value, 14, 6));
  listing(store, (c.tof ? " => T.O.F. Peak shape parameter h: "
                        : " => ETA (p-Voigt) OR M (Pearson VII): ") +
                     fmt_f(sl[17].value, 10, 4));
  listing(store, " => Overall temperature factor: " + fmt_f(sl[2].value, 10, 4));
  if (c.tof) {
    listing(store, " => Sigma-2, Sigma-1, Sigma-0: " + slot_values(sl, {3, 4, 5}, 12, 5));
    listing(store, " => Xt and Yt parameters: " + slot_values(sl, {15, 16}, 12, 5));
    listing(store, " => Gamma-2, Gamma-1, Gamma-0: " + slot_values(sl, {46, 47, 48}, 12, 5));
    listing(store,
            " => Lorentzian strain and size LStr, LSiz: " + slot_values(sl, {49, 50}, 12, 5));
  } else {
    listing(store, " => Halfwidth U,V,W: " + slot_values(sl, {3, 4, 5}, 12, 5));
    listing(store, " => X and Y parameters: " + slot_values(sl, {15, 16}, 12, 5));
  }
  listing(store, " => Direct cell parameters: " + slot_values(sl, {6, 7, 8, 9, 10, 11}, 10, 4));
  listing(store, " => Preferred orientation parameters: " + slot_values(sl, {12, 13}, 10, 4));
  if (c.tof)
    listing(store, " => Alpha0, Beta0, Alpha1, Beta1: " + slot_values(sl, {14, 35, 36, 37}, 10, 5));
  else
    listing(store, " => Asymmetry parameters: " + slot_values(sl, {14, 35, 36, 37}, 10, 5));
  listing(store, " => Strain parameters: " + slot_values(sl, {18, 19, 20}, 10, 5));
  listing(store, (c.tof ? " => Z1 and Z0 parameters: " : " => Size parameters (G,L): ") +
                     slot_values(sl, {28, 29}, 10, 5));
  if (store.settings().RatioNegative != 0)
    listing(store, " => U2,V2,W2 for lambda(2) :" + slot_values(sl, {43, 44, 45}, 12, 5));
  if (c.split && !c.tof) {
    listing(store, " => Split pV right halfwidth parameters Ur,Vr,Wr: " +
                       slot_values(sl, {46, 47, 48}, 12, 5));
    listing(store,
            " => Split pV right EtaR0 and Xr parameters: " + slot_values(sl, {49, 50}, 12, 5));
    listing(store, " => Left and right Par (FWHM ~ Par/tanT):" + slot_values(sl, {41, 42}, 12, 5));
  }
  if (c.file_npr == 4)
    listing(store, " => Further shape parameters :" + slot_values(sl, {41, 42}, 12, 5));
  if (c.file_npr == 12) {
    listing(store,
            " => Further shape parameters (S_L and D_L):" + slot_values(sl, {41, 42}, 12, 5));
    listing(store, "    S_L is source width/detector distance");
    listing(store, "    D_L is detector width/detector distance");
  }
}

void read_size_model(ModelStore& store, Phase& ph) {
  ParamSlot* sl = ph.slot.data();
  if (ph.SizeModel == 0) return;
  listing(store, " => The " + fmt_i(ph.SizeModel, 2) + "th model for size is used");
  const int m = std::abs(ph.SizeModel);
  if (m == 1) {
    ph.SizeAxis = read_axis(store);
    listing(store, " => Platelet(1) or Needle(-1) axis: " + axis_text(ph.SizeAxis));
  } else if (m > 14) {
    read_slots_with_codes(store, sl, {51, 52, 53, 54, 55, 56});
    read_slots_with_codes(store, sl, {57, 58, 59});
    if (ph.SizeModel == 15) {
      listing(store, " => Coefficients of Spherical Harmonics for anisotropic size ");
      listing(store, "    broadening for a monoclinic lattice (b-unique)");
      listing(store, "    Y00        Y22+        Y22-       Y20         Y44+      Y44-");
      listing(store, slot_values(sl, {51, 52, 53, 54, 55, 56}, 11, 6));
      listing(store, "    Y42+       Y42-        Y40");
      listing(store, slot_values(sl, {57, 58, 59}, 11, 6));
    } else if (ph.SizeModel == 16) {
      listing(store, " => Coefficients of Spherical Harmonics for anisotropic size ");
      listing(store, "    broadening for a trigonal lattice (hexagonal setting)");
      listing(store, "    Y00        Y20         Y40        Y43-        Y60       Y63");
      listing(store, slot_values(sl, {51, 52, 53, 54, 55, 56}, 11, 6));
      listing(store, "       Y66+");
      listing(store, slot_values(sl, {57}, 11, 6));
    }
  }
}

void read_strain_model(ModelStore& store, Phase& ph) {
  if (ph.StrainModel == 0) return;
  listing(store, " => The " + fmt_i(ph.StrainModel, 2) + "th model for strain is used");
  if (ph.StrainModel == 7) {
    ph.StrainAxis = read_axis(store);
    listing(store, " => Microstrain axis: " + axis_text(ph.StrainAxis));
  } else if (ph.StrainModel > 8) {
    read_slots_with_codes(store, ph.slot.data(), {21, 22, 23, 24, 25});
    listing(store, " => Additional strain parameters: " +
                       slot_values(ph.slot.data(), {21, 22, 23, 24, 25}, 12, 5));
  }
}

void echo_asymmetry_and_shift(ModelStore& store, const Phase& ph) {
  if (ph.ModA == 0 && ph.ModS == 0) return;
  const ParamSlot* sl = ph.slot.data();
  if (ph.ModA != 0)
    listing(store, " => The " + fmt_i(ph.ModA, 2) + "th model for hkl-dependent Asymmetry is used");
  if (ph.ModS != 0)
    listing(store, " => The " + fmt_i(ph.ModS, 2) + "th model for hkl-dependent Shift is used");
  listing(store, " => Asymmetry parameter: " + slot_values(sl, {38}, 10, 5) +
                     "  Code:" + slot_codes(sl, {38}, 8, 2));
  listing(store, " => Shift parameters: " + slot_values(sl, {39, 40}, 10, 5) +
                     "  Codes:" + slot_codes(sl, {39, 40}, 8, 2));
  if (std::abs(ph.ModS) == 1)
    listing(store, " => Shift-cos(1) or Shift-sin(-1) axis: " + axis_text(ph.ShiftAxis));
}

void echo_vector(ModelStore& store, const Phase& ph, int v) {
  const auto& k = ph.kvec[v];
  listing(store, " => Vector [K]: " + fmt_i(v, 3) + fmt_f(k[0].value, 8, 4) +
                     fmt_f(k[1].value, 8, 4) + fmt_f(k[2].value, 8, 4));
  listing(store, "          Code: " + fmt_i(v, 3) + fmt_f(k[0].code, 8, 2) +
                     fmt_f(k[1].code, 8, 2) + fmt_f(k[2].code, 8, 2));
}

bool near_integer(float x) {
  return std::fabs(x - std::round(x)) <= 0.0001f;
}

void read_propagation_vectors(ModelStore& store, Phase& ph) {
  const int nvk = ph.Nvk;
  for (int v = 1; v <= nvk; ++v) {
    LineValues comp = read_line_values(store, "FFF");
    LineValues code = read_line_values(store, "FFF");
    auto& k = ph.kvec[v];
    for (size_t c = 0; c < 3; ++c) {
      k[c] = ParamSlot{};
      k[c].value = comp.r(c);
      k[c].code = code.r(c);
    }
    echo_vector(store, ph, v);
    if (ph.KvecAugmented) {
      auto& m = ph.kvec[nvk + v];
      for (size_t c = 0; c < 3; ++c) {
        m[c] = ParamSlot{};
        m[c].value = 0.0f - k[c].value;  // no negative zeros in the listing
        m[c].code = 0.0f - k[c].code;
      }
      echo_vector(store, ph, nvk + v);
    }
  }
  if (ph.KvecAugmented) ph.Nvk = 2 * nvk;
  for (int v = 1; v <= ph.Nvk; ++v) {
    const auto& k = ph.kvec[v];
    ph.KvecEquivalent[v] = !ph.KvecAugmented && near_integer(2.0f * k[0].value) &&
                           near_integer(2.0f * k[1].value) && near_integer(2.0f * k[2].value);
  }
}

void read_further_parameters(ModelStore& store, Phase& ph) {
  for (int j = 1; j <= ph.Furth; ++j) {
    LineValues f = read_line_values(store, "4FF");
    ParamSlot& s = ph.slot[ph.FurtherBase + j];
    ph.FurthLabel[j] = f.a(0, LABEL_LEN);
    s.value = f.r(1);
    s.code = f.r(2);
    listing(store, " => Further parameter: " + ph.FurthLabel[j] + fmt_f(s.value, 14, 6) +
                       fmt_f(s.code, 10, 2));
  }
}

// The determinant of a symmetric metric given by its diagonal and off-diagonal terms.
float metric_determinant(float g11, float g22, float g33, float g23, float g13, float g12) {
  return g11 * (g22 * g33 - g23 * g23) - g12 * (g12 * g33 - g23 * g13) +
         g13 * (g12 * g23 - g22 * g13);
}

// A metric is taken as singular when its determinant, relative to the product of its
// diagonal, is not clearly positive (this also catches infinite and undefined terms).
bool invertible(float det, float g11, float g22, float g33) {
  const float q = det / (g11 * g22 * g33);
  return std::isfinite(q) && q > 1.0e-6f;
}

// Constrains the cell by the Laue class, keeps it as the direct cell and puts the
// reciprocal metric in slots 6-11 (their codewords stay as read).
void set_metric(ModelStore& store, Phase& ph, int n) {
  const SpaceGroup& g = store.job->groups[n];
  for (int k = 0; k < 6; ++k) ph.DirectCell[static_cast<size_t>(k)] = ph.slot[6 + k].value;
  CellParameters cell = ph.DirectCell;
  const ReciprocalMetric m =
      apply_cell_constraints(store, g.Laue, g.UniqueAxis, g.LaueFromSymbol, cell, unit::OUT);
  ph.DirectCell = cell;
  // The volume of the cell the phase is computed with: a value the Laue class overrides
  // (gamma 90 for a hexagonal group, say) must not enter it.
  ph.CellVolume = cell_volume(cell);

  const float ca = std::cos(cell[3] * kDegToRad), cb = std::cos(cell[4] * kDegToRad),
              cg = std::cos(cell[5] * kDegToRad);
  const float a = cell[0], b = cell[1], c = cell[2];
  const float direct = metric_determinant(a * a, b * b, c * c, b * c * ca, a * c * cb, a * b * cg);
  if (!invertible(direct, a * a, b * b, c * c)) stop_program(store, "Bad cell parameters!");
  const float reciprocal = metric_determinant(m.A, m.B, m.C, 0.5f * m.D, 0.5f * m.E, 0.5f * m.F);
  if (!invertible(reciprocal, m.A, m.B, m.C)) stop_program(store, "Bad G*-metric tensor!");

  const float coeff[6] = {m.A, m.B, m.C, m.D, m.E, m.F};
  for (int k = 0; k < 6; ++k) ph.slot[6 + k].value = coeff[k];
}

}  // namespace

void read_phase_parameters(ModelStore& store, int n) {
  RunSettings& s = store.settings();
  Phase& ph = store.phase(n);
  ParamSlot* sl = ph.slot.data();
  const Conditions c = conditions_of(s, ph);

  listing(store, "");
  listing(store, " =>-------> PROFILE PARAMETERS:");

  // Scale line.
  if (c.integrated) {
    read_slots_with_codes(store, sl, {1, 2, 3, 4, 5, 12});
    ph.StrainModel = 0;
  } else {
    LineValues v = read_line_values(store, "FFFFFFI");
    const int slots[] = {1, 17, 2, 18, 19, 20};
    for (size_t k = 0; k < 6; ++k) sl[slots[k]].value = v.r(k);
    ph.StrainModel = v.i(6);
    read_slot_codes(store, sl, {1, 17, 2, 18, 19, 20});
  }

  // Half-width line.
  if (c.integrated) {
    read_slots_with_codes(store, sl, {13, 14, 15, 16, 17, 18, 19});
    ph.SizeModel = 0;
  } else {
    LineValues v = read_line_values(store, "FFFFFFFI");
    const int slots[] = {3, 4, 5, 15, 16, 28, 29};
    for (size_t k = 0; k < 7; ++k) sl[slots[k]].value = v.r(k);
    ph.SizeModel = v.i(7);
    read_slot_codes(store, sl, {3, 4, 5, 15, 16, 28, 29});
  }

  // Right half of a split profile, or the Lorentzian terms of time-of-flight data.
  if ((c.split || c.tof) && !c.integrated) read_slots_with_codes(store, sl, {46, 47, 48, 49, 50});

  // Cell.
  read_slots_with_codes(store, sl, {6, 7, 8, 9, 10, 11});
  std::array<float, 6> read_cell{};
  for (int k = 0; k < 6; ++k) read_cell[static_cast<size_t>(k)] = sl[6 + k].value;
  ph.CellVolume = cell_volume(read_cell);
  if (c.integrated)
    for (int k = 6; k <= 11; ++k) sl[k].code = 0.0f;

  // Preferred orientation and asymmetry (spare parameters for integrated intensities).
  if (c.integrated)
    read_slots_with_codes(store, sl, {35, 36, 37, 38, 39});
  else
    read_slots_with_codes(store, sl, {12, 13, 14, 35, 36, 37});

  if (s.RatioNegative != 0) read_slots_with_codes(store, sl, {43, 44, 45});

  if (c.file_npr == 4 || c.file_npr >= 8) {
    LineValues v = read_line_values(store, "FFFF");
    sl[41].value = v.r(0);
    sl[41].code = v.r(1);
    sl[42].value = v.r(2);
    sl[42].code = v.r(3);
  }

  if (ph.Sol == 1) {
    LineValues v = read_line_values(store, "FFFII");
    for (size_t k = 0; k < 3; ++k) sl[38 + k].value = v.r(k);
    ph.ModA = v.i(3);
    ph.ModS = v.i(4);
    read_slot_codes(store, sl, {38, 39, 40});
    if (std::abs(ph.ModS) == 1) ph.ShiftAxis = read_axis(store);
  }

  if (std::abs(ph.Jbt) == 2 && sl[1].code != 0.0f) {
    show_value(store, " Scale factor fixed for phase:", n, 0, 1);
    sl[1].code = 0.0f;
  }

  echo_profile(store, ph, c);

  if (c.file_npr == 7 && (sl[15].value < 0.0f || sl[16].value < 0.0f)) {
    show_message(store, " Input X and/or Y parameters negative!");
    show_message(store, "                (value fixed at 0.001)");
    if (sl[15].value < 0.0f) sl[15].value = 0.001f;
    if (sl[16].value < 0.0f) sl[16].value = 0.001f;
  }

  read_size_model(store, ph);
  read_strain_model(store, ph);
  echo_asymmetry_and_shift(store, ph);
  if (ph.Nvk != 0) read_propagation_vectors(store, ph);
  if (ph.Furth > 0) read_further_parameters(store, ph);

  if (ph.Str != 0 && ph.Str != 2) {
    read_slots_with_codes(store, sl, {18, 19, 20, 21, 22});
    read_slots_with_codes(store, sl, {23, 24, 25, 26, 27});
    listing(store,
            " => Generalized strain parameters: " + slot_values(sl, {18, 19, 20, 21, 22}, 12, 5));
    listing(store,
            "                                   " + slot_values(sl, {23, 24, 25, 26, 27}, 12, 5));
  }
  if (ph.Str > 1) {
    read_slots_with_codes(store, sl, {29, 30, 31, 32, 33, 34});
    listing(store,
            " => Generalized size parameters: " + slot_values(sl, {29, 30, 31, 32, 33, 34}, 12, 5));
  }

  set_metric(store, ph, n);
}

}  // namespace kestovar
