#include "reflections/reflection.h"

#include <algorithm>
#include <numeric>

namespace kestovar {

int ReflectionList::profile_total() const {
  int n = 0;
  for (int p = 1; p <= NPHT; ++p) n += Nref[p];
  return n;
}

int ReflectionList::first_of(int phase) const {
  int n = 0;
  for (int p = 1; p < phase && p <= NPHT; ++p) n += Nref[p];
  return n;
}

int ReflectionList::total() const {
  int n = profile_total();
  for (int p = 1; p <= NPHT; ++p) n += NrefInt[p];
  return n;
}

int pack_reflection_code(int phase, int wavelength, int h, int k, int l) {
  return ((((8 * phase + wavelength) * 256 + h + 128) * 256 + k + 128) * 256) + l + 128;
}

ReflectionCode unpack_reflection_code(int code) {
  ReflectionCode c;
  c.l = code % 256 - 128;
  code /= 256;
  c.k = code % 256 - 128;
  code /= 256;
  c.h = code % 256 - 128;
  code /= 256;
  c.wavelength = code % 8;
  c.phase = code / 8;
  return c;
}

void sort_by_position(ReflectionList& list, int first, int count) {
  if (count < 2) return;
  std::vector<int> index(static_cast<size_t>(count));
  std::iota(index.begin(), index.end(), first + 1);
  std::stable_sort(index.begin(), index.end(),
                   [&](int a, int b) { return list.refl[a].Tk < list.refl[b].Tk; });
  std::vector<Reflection> sorted;
  sorted.reserve(index.size());
  for (int i : index) sorted.push_back(list.refl[i]);
  std::copy(sorted.begin(), sorted.end(), list.refl.begin() + first + 1);
}

void sort_phase_reflections(ReflectionList& list, int phase) {
  sort_by_position(list, list.first_of(phase), list.Nref[phase]);
}

void sort_all_reflections(ReflectionList& list) {
  sort_by_position(list, 0, list.profile_total());
}

}  // namespace kestovar
