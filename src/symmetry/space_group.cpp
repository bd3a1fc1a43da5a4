// Names of the Laue classes and access to the rotation table by signed rotation number.
#include "symmetry/space_group.h"

#include <cstdlib>

namespace kestovar {

std::string_view laue_class_name(int laue) {
  static constexpr std::string_view names[] = {" -1  ", " 2/m ", " mmm ", " 4/m ", "4/mmm",
                                               " -3 R", "-3m R", " -3  ", " -3m1", " -31m",
                                               " 6/m ", "6/mmm", " m3  ", " m3m "};
  if (laue < 1 || laue > 14) return "?????";
  return names[laue - 1];
}

IntMatrix3 rotation_matrix(int rotation) {
  int k = std::abs(rotation);
  if (k < 1 || k > N_ROTATIONS) return {};
  IntMatrix3 R = rotation_table().entry[k].R;
  if (rotation < 0)
    for (auto& row : R)
      for (int& v : row) v = -v;
  return R;
}

int listing_number(int rotation) {
  int k = std::abs(rotation);
  if (k >= FIRST_HEXAGONAL) return rotation > 0 ? k - 24 : k - 24 + 12;
  return rotation > 0 ? k : k + 24;
}

std::string_view rotation_symbol(int rotation) {
  int k = std::abs(rotation);
  if (k < 1 || k > N_ROTATIONS) return "";
  const RotationEntry& e = rotation_table().entry[k];
  return rotation > 0 ? e.symbol : e.improper_symbol;
}

std::string_view rotation_triplet(int rotation) {
  int k = std::abs(rotation);
  if (k < 1 || k > N_ROTATIONS) return "";
  const RotationEntry& e = rotation_table().entry[k];
  return rotation > 0 ? e.triplet : e.improper_triplet;
}

std::string_view moment_text(int rotation) {
  int k = std::abs(rotation);
  if (k < 1 || k > N_ROTATIONS) return "";
  const RotationEntry& e = rotation_table().entry[k];
  return rotation > 0 ? e.moment : e.improper_moment;
}

}  // namespace kestovar
