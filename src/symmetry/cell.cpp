// Cell constraints by Laue class and the reciprocal metric.
#include "symmetry/cell.h"

#include <cmath>
#include <string>

#include "run/messages.h"
#include "run/stop.h"
#include "symmetry/space_group.h"

namespace kestovar {

bool constrain_cell(int laue, int unique_axis, bool laue_from_symbol, CellParameters& cell) {
  if (unique_axis > 3) return false;
  float& a = cell[0];
  float& b = cell[1];
  float& c = cell[2];
  float& alpha = cell[3];
  float& beta = cell[4];
  float& gamma = cell[5];
  switch (laue) {
    case LAUE_2M:
      if (!laue_from_symbol) break;
      if (unique_axis == 1)
        beta = gamma = 90.0f;
      else if (unique_axis == 2)
        alpha = gamma = 90.0f;
      else if (unique_axis == 3)
        alpha = beta = 90.0f;
      break;
    case LAUE_MMM:
      alpha = beta = gamma = 90.0f;
      break;
    case LAUE_4M:
    case LAUE_4MMM:
      b = a;
      alpha = beta = gamma = 90.0f;
      break;
    case LAUE_3R:
    case LAUE_3MR:
      b = c = a;
      beta = gamma = alpha;
      break;
    case LAUE_3:
    case LAUE_3M1:
    case LAUE_31M:
    case LAUE_6M:
    case LAUE_6MMM:
      b = a;
      alpha = beta = 90.0f;
      gamma = 120.0f;
      break;
    case LAUE_M3:
    case LAUE_M3M:
      b = c = a;
      alpha = beta = gamma = 90.0f;
      break;
    default:
      break;
  }
  return true;
}

float cell_shape_factor(const CellParameters& c) {
  constexpr float rad = 0.017453292f;
  const float ca = std::cos(c[3] * rad), cb = std::cos(c[4] * rad), cg = std::cos(c[5] * rad);
  return 1.0f - ca * ca - cb * cb - cg * cg + 2.0f * ca * cb * cg;
}

float cell_volume(const CellParameters& c) {
  return c[0] * c[1] * c[2] * std::sqrt(std::fabs(cell_shape_factor(c)));
}

ReciprocalMetric reciprocal_metric(const CellParameters& cell) {
  const float rad = 2.0f * 3.14159265f / 360.0f;
  float ca = std::cos(cell[3] * rad), cb = std::cos(cell[4] * rad), cg = std::cos(cell[5] * rad);
  float sa = std::sin(cell[3] * rad), sb = std::sin(cell[4] * rad), sg = std::sin(cell[5] * rad);
  float cas = (cb * cg - ca) / (sb * sg);
  float cbs = (ca * cg - cb) / (sa * sg);
  float cgs = (ca * cb - cg) / (sa * sb);
  float sas = std::sqrt(std::max(0.0f, 1.0f - cas * cas));
  float sbs = std::sqrt(std::max(0.0f, 1.0f - cbs * cbs));
  float as = 1.0f / (cell[0] * sg * sbs);
  float bs = 1.0f / (cell[1] * sg * sas);
  float cs = 1.0f / (cell[2] * sa * sbs);
  ReciprocalMetric m;
  m.A = as * as;
  m.B = bs * bs;
  m.C = cs * cs;
  m.D = 2.0f * bs * cs * cas;
  m.E = 2.0f * as * cs * cbs;
  m.F = 2.0f * as * bs * cgs;
  return m;
}

ReciprocalMetric apply_cell_constraints(ModelStore& store, int laue, int unique_axis,
                                        bool laue_from_symbol, CellParameters& cell, int unit) {
  if (unique_axis > 3) {
    stop_box(store, " Something is wrong in S.G. symbol!! ", 1);
    fail(" Something is wrong in S.G. symbol!! ");
  }
  write_unit(
      store, unit,
      " => Cell constraints according to Laue symmetry: " + std::string(laue_class_name(laue)));
  constrain_cell(laue, unique_axis, laue_from_symbol, cell);
  return reciprocal_metric(cell);
}

}  // namespace kestovar
