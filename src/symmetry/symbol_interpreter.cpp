// Hermann-Mauguin symbol interpreter.
//
// The symbol is split into fields, the Laue class follows from the first characters of the
// fields, and every symmetry field gives the symmetry elements of its direction (rotation
// part, the screw or glide translation the symbol writes, and the components of the
// translation that only fix where the element lies). Those open components are then fixed
// by a search: the elements are taken in a fixed order of preference, each with its
// possible locations in a fixed order, and the first choice for which all elements generate
// a space group of the right order (with the inversion at the origin for centrosymmetric
// groups) is kept. The orders are chosen so that the group comes out in the conventional
// setting of the International Tables. Finally a short list of generators is taken from
// the group and packed into codes.
#include "symmetry/symbol_interpreter.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "symmetry/op12.h"
#include "symmetry/operator_text.h"
#include "symmetry/standard_settings.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using sym12::Op;
using V3 = std::array<int, 3>;

// Character codes of the alphabet: position + 1.
constexpr std::string_view ALPHABET = " CBAPFIRMND123456-/H.";
enum Code : int {
  BLANK = 1,
  C_C = 2,
  C_B = 3,
  C_A = 4,
  C_P = 5,
  C_F = 6,
  C_I = 7,
  C_R = 8,
  C_M = 9,
  C_N = 10,
  C_D = 11,
  D1 = 12,
  D2 = 13,
  D3 = 14,
  D4 = 15,
  D5 = 16,
  D6 = 17,
  BAR = 18,
  SLASH = 19,
  C_H = 20,
  STOP = 21
};

constexpr IntMatrix3 M(int a, int b, int c, int d, int e, int f, int g, int h, int i) {
  return {{{a, b, c}, {d, e, f}, {g, h, i}}};
}

const IntMatrix3 IDENTITY = M(1, 0, 0, 0, 1, 0, 0, 0, 1);
const IntMatrix3 INVERSION = M(-1, 0, 0, 0, -1, 0, 0, 0, -1);
const IntMatrix3 HEX_THREEFOLD = M(0, -1, 0, 1, -1, 0, 0, 0, 1);  // (-y, x-y, z)
const IntMatrix3 CUBIC_THREEFOLD = M(0, 0, 1, 1, 0, 0, 0, 1, 0);  // (z, x, y)

int digit_value(int code) {
  return code - D1 + 1;
}  // codes 12..17 -> 1..6
bool is_digit(int code) {
  return code >= D1 && code <= D6;
}
bool is_reflection(int code) {
  return code == C_M || code == C_A || code == C_B || code == C_C || code == C_N || code == C_D;
}
char reflection_letter(int code) {
  switch (code) {
    case C_M:
      return 'm';
    case C_A:
      return 'a';
    case C_B:
      return 'b';
    case C_C:
      return 'c';
    case C_N:
      return 'n';
    default:
      return 'd';
  }
}

// One symmetry field, parsed: [-] axis [screw] [/ reflection] | reflection.
struct FieldSpec {
  bool bar = false;
  int axis = 0;     // 0 none, 1, 2, 3, 4, 6
  int screw = 0;    // 0 or 1..axis-1
  char mirror = 0;  // 0 none, or m a b c n d
};

std::optional<FieldSpec> parse_field(const std::vector<int>& f, bool bar_allowed) {
  FieldSpec s;
  size_t i = 0;
  if (i < f.size() && f[i] == BAR) {
    if (!bar_allowed) return std::nullopt;
    s.bar = true;
    ++i;
  }
  if (i < f.size() && is_digit(f[i])) {
    s.axis = digit_value(f[i]);
    if (s.axis == 5) return std::nullopt;
    ++i;
    if (i < f.size() && is_digit(f[i])) {
      if (s.bar) return std::nullopt;
      s.screw = digit_value(f[i]);
      if (s.screw >= s.axis) return std::nullopt;
      ++i;
    }
    if (i < f.size() && f[i] == SLASH) {
      if (s.bar || (s.axis != 2 && s.axis != 4 && s.axis != 6)) return std::nullopt;
      ++i;
      if (i >= f.size() || !is_reflection(f[i])) return std::nullopt;
      s.mirror = reflection_letter(f[i]);
      ++i;
    }
  } else if (!s.bar && i < f.size() && is_reflection(f[i])) {
    s.mirror = reflection_letter(f[i]);
    ++i;
  } else {
    return std::nullopt;
  }
  if (s.bar && s.axis == 2) return std::nullopt;
  if (i != f.size()) return std::nullopt;
  return s;
}

// A symmetry element whose location may still be open: rotation, the translation that the
// symbol fixes, and the directions along which its location can move.
struct Element {
  IntMatrix3 R{};
  V3 fixed{};            // twelfths
  std::vector<V3> open;  // unit directions of the open components
  int priority = 0;      // search order: lower first
  std::vector<V3> candidates;
};

// Values tried for an open component, in order of preference (twelfths).
const std::vector<int> QUARTERS = {0, 6, 3, 9};
const std::vector<int> TWELFTHS = {0, 6, 4, 8, 2, 10, 3, 9, 1, 5, 7, 11};

// The candidates run through the values of the first open component fastest.
void build_candidates(Element& e, const std::vector<int>& values) {
  e.candidates.clear();
  std::vector<size_t> idx(e.open.size(), 0);
  for (;;) {
    V3 t = e.fixed;
    for (size_t k = 0; k < e.open.size(); ++k)
      for (int i = 0; i < 3; ++i) t[i] += values[idx[k]] * e.open[k][i];
    e.candidates.push_back({sym12::mod12(t[0]), sym12::mod12(t[1]), sym12::mod12(t[2])});
    size_t k = 0;
    while (k < idx.size() && ++idx[k] == values.size()) idx[k++] = 0;
    if (k == idx.size()) return;
  }
}

// Directions of the symmetry fields.
enum class Dir { A, B, C, Diag, HexSecondary, HexTertiary, RhombDiag };

struct DirInfo {
  IntMatrix3 mirror, twofold;
  V3 axis;                      // translation of a 2_1 screw along the direction
  std::vector<V3> mirror_open;  // location of a mirror (along the normal)
  std::vector<V3> axis_open;    // location of a 2-fold (normal to the axis)
};

DirInfo dir_info(Dir d) {
  switch (d) {
    case Dir::A:
      return {M(-1, 0, 0, 0, 1, 0, 0, 0, 1),
              M(1, 0, 0, 0, -1, 0, 0, 0, -1),
              {6, 0, 0},
              {{1, 0, 0}},
              {{0, 1, 0}, {0, 0, 1}}};
    case Dir::B:
      return {M(1, 0, 0, 0, -1, 0, 0, 0, 1),
              M(-1, 0, 0, 0, 1, 0, 0, 0, -1),
              {0, 6, 0},
              {{0, 1, 0}},
              {{1, 0, 0}, {0, 0, 1}}};
    case Dir::C:
      return {M(1, 0, 0, 0, 1, 0, 0, 0, -1),
              M(-1, 0, 0, 0, -1, 0, 0, 0, 1),
              {0, 0, 6},
              {{0, 0, 1}},
              {{1, 0, 0}, {0, 1, 0}}};
    case Dir::Diag:  // mirror normal to [1-10], 2-fold along [110]
      return {M(0, 1, 0, 1, 0, 0, 0, 0, 1),
              M(0, 1, 0, 1, 0, 0, 0, 0, -1),
              {6, 6, 0},
              {{1, -1, 0}},
              {{1, -1, 0}, {0, 0, 1}}};
    case Dir::HexSecondary:
      return {M(0, -1, 0, -1, 0, 0, 0, 0, 1),
              M(0, 1, 0, 1, 0, 0, 0, 0, -1),
              {0, 0, 0},
              {},
              {{0, 0, 1}}};
    case Dir::HexTertiary:
      return {M(0, 1, 0, 1, 0, 0, 0, 0, 1),
              M(0, -1, 0, -1, 0, 0, 0, 0, -1),
              {0, 0, 0},
              {},
              {{0, 0, 1}}};
    case Dir::RhombDiag:
      return {M(0, 1, 0, 1, 0, 0, 0, 0, 1),
              M(0, -1, 0, -1, 0, 0, 0, 0, -1),
              {0, 0, 0},
              {{1, -1, 0}},
              {{1, 1, 0}, {0, 0, 1}}};
  }
  return {};
}

// The glide translation of a reflection letter normal to a direction; false when the
// letter cannot stand there.
bool glide_vector(Dir d, char letter, V3& g) {
  g = {0, 0, 0};
  if (letter == 'm') return true;
  switch (d) {
    case Dir::A:
      if (letter == 'b')
        g = {0, 6, 0};
      else if (letter == 'c')
        g = {0, 0, 6};
      else if (letter == 'n')
        g = {0, 6, 6};
      else if (letter == 'd')
        g = {3, 3, 3};
      else
        return false;
      return true;
    case Dir::B:
      if (letter == 'a')
        g = {6, 0, 0};
      else if (letter == 'c')
        g = {0, 0, 6};
      else if (letter == 'n')
        g = {6, 0, 6};
      else if (letter == 'd')
        g = {3, 3, 3};
      else
        return false;
      return true;
    case Dir::C:
      if (letter == 'a')
        g = {6, 0, 0};
      else if (letter == 'b')
        g = {0, 6, 0};
      else if (letter == 'n')
        g = {6, 6, 0};
      else if (letter == 'd')
        g = {3, 3, 3};
      else
        return false;
      return true;
    case Dir::Diag:
      if (letter == 'c')
        g = {0, 0, 6};
      else if (letter == 'n')
        g = {6, 6, 6};
      else if (letter == 'd')
        g = {3, 3, 3};
      else
        return false;
      return true;
    case Dir::HexSecondary:
    case Dir::HexTertiary:
      if (letter == 'c')
        g = {0, 0, 6};
      else
        return false;
      return true;
    case Dir::RhombDiag:
      if (letter == 'c' || letter == 'n')
        g = {6, 6, 6};
      else
        return false;
      return true;
  }
  return false;
}

// Families of the field rules.
enum class Family {
  Triclinic,
  Monoclinic,
  Orthorhombic,
  Tetragonal,
  Trigonal,
  Hexagonal,
  Rhombohedral,
  Cubic
};

struct Interpretation {
  Family family = Family::Triclinic;
  int laue = 0;
  int unique = 0;
  char lattice = 'P';
  bool r_centring = false;        // R on hexagonal axes
  std::vector<FieldSpec> fields;  // the symmetry fields (1 to 3)
};

// Tokenises and applies the Laue-class rules; nullopt on any fault.
std::optional<Interpretation> classify(std::string_view symbol) {
  std::vector<std::vector<int>> fields;
  bool in_field = false;
  for (size_t k = 0; k < symbol.size() && k < static_cast<size_t>(SYMBOL_LEN); ++k) {
    char c = symbol[k];
    if (c == 'c' || c == 'b' || c == 'a' || c == 'p' || c == 'f' || c == 'i' || c == 'r' ||
        c == 'm' || c == 'n' || c == 'd')
      c = static_cast<char>(c - 'a' + 'A');
    size_t pos = ALPHABET.find(c);
    if (pos == std::string_view::npos) continue;
    int code = static_cast<int>(pos) + 1;
    if (code == BLANK) {
      in_field = false;
      continue;
    }
    if (!in_field || fields.back().size() == 4) {
      if (fields.size() == 4) break;
      fields.emplace_back();
      in_field = true;
    }
    fields.back().push_back(code);
  }
  if (fields.size() < 2) return std::nullopt;
  int first = fields[0][0];
  if (first < C_C || first > C_R || fields[0].size() != 1) return std::nullopt;

  Interpretation in;
  in.lattice = ALPHABET[first - 1];
  auto begins = [&](size_t f, int code) { return f < fields.size() && fields[f][0] == code; };
  auto begins_axis = [&](size_t f, int digit) {
    if (f >= fields.size()) return false;
    const auto& v = fields[f];
    if (v[0] == D1 + digit - 1) return true;
    return v[0] == BAR && v.size() > 1 && v[1] == D1 + digit - 1;
  };

  if (in.lattice == 'R') {
    if (begins(2, C_R) || begins(3, C_R)) {
      fields.erase(fields.begin() + (begins(3, C_R) ? 3 : 2));
      in.family = Family::Rhombohedral;
      if (fields.size() == 2)
        in.laue = LAUE_3R;
      else if (fields.size() == 3)
        in.laue = LAUE_3MR;
      else
        return std::nullopt;
    } else {
      if (fields.size() > 2 && fields.back()[0] == C_H) fields.pop_back();
      in.r_centring = true;
      in.family = Family::Trigonal;
      if (fields.size() == 2)
        in.laue = LAUE_3;
      else if (fields.size() == 3)
        in.laue = LAUE_3M1;
      else
        return std::nullopt;
    }
    if (!begins_axis(1, 3)) return std::nullopt;
  } else if (fields.size() == 2) {
    if (begins_axis(1, 6)) {
      in.laue = LAUE_6M, in.family = Family::Hexagonal;
    } else if (begins_axis(1, 3)) {
      in.laue = LAUE_3, in.family = Family::Trigonal;
    } else if (begins_axis(1, 4)) {
      in.laue = LAUE_4M, in.family = Family::Tetragonal;
    } else if (begins_axis(1, 1)) {
      in.laue = LAUE_1, in.family = Family::Triclinic;
    } else if (begins(1, BAR)) {
      return std::nullopt;
    } else {
      in.laue = LAUE_2M, in.unique = 2, in.family = Family::Monoclinic;
    }
  } else if (fields.size() == 3) {
    if (!begins_axis(2, 3) || begins(2, BAR)) return std::nullopt;
    in.laue = LAUE_M3, in.family = Family::Cubic;
  } else {
    if (begins(2, D3)) {
      in.laue = LAUE_M3M, in.family = Family::Cubic;
    } else if (begins_axis(1, 6)) {
      in.laue = LAUE_6MMM, in.family = Family::Hexagonal;
    } else if (begins_axis(1, 4)) {
      in.laue = LAUE_4MMM, in.family = Family::Tetragonal;
    } else if (begins_axis(1, 3)) {
      in.family = Family::Trigonal;
      if (begins(2, D1)) {
        in.laue = begins(3, D1) ? LAUE_3 : LAUE_31M;
      } else {
        if (!begins(3, D1)) return std::nullopt;
        in.laue = LAUE_3M1;
      }
    } else if (begins(1, BAR)) {
      return std::nullopt;
    } else if (begins(1, D1)) {
      in.family = Family::Monoclinic, in.laue = LAUE_2M;
      if (begins(2, D1)) {
        if (begins(3, D1)) return std::nullopt;
        in.unique = 3;
      } else {
        if (!begins(3, D1)) return std::nullopt;
        in.unique = 2;
      }
    } else if (begins(2, D1)) {
      if (!begins(3, D1)) return std::nullopt;
      in.family = Family::Monoclinic, in.laue = LAUE_2M, in.unique = 1;
    } else {
      if (begins(3, D1)) return std::nullopt;
      in.family = Family::Orthorhombic, in.laue = LAUE_MMM;
    }
  }
  for (size_t f = 1; f < fields.size(); ++f) {
    auto spec = parse_field(fields[f], f == 1);
    if (!spec) return std::nullopt;
    in.fields.push_back(*spec);
  }
  return in;
}

// ---------------------------------------------------------------------------------------
// Elements of the fields.

struct ElementSet {
  std::vector<Element> elements;   // the elements whose location is searched
  std::vector<IntMatrix3> output;  // rotations of the generators, in order
  bool hex_threefold = false, cubic_threefold = false;
  int hex_screw = 0;  // 0 plain, 1 sub 1, 2 sub 2
};

// Search order of the elements: plain rotations, plain mirrors, screws, glides; 2-folds
// before 4-folds.
constexpr int PRIO_ROTO4 = -1, PRIO_ROT2 = 0, PRIO_ROT4 = 1, PRIO_MIRROR = 2, PRIO_SCREW2 = 3,
              PRIO_SCREW4 = 4, PRIO_GLIDE = 5;

Element make_element(const IntMatrix3& R, const V3& fixed, const std::vector<V3>& open,
                     int priority) {
  Element e;
  e.R = R;
  e.fixed = fixed;
  e.open = open;
  e.priority = priority;
  return e;
}

// Adds the reflection of `letter` normal to direction d. False for a letter that cannot
// stand there.
bool add_reflection(ElementSet& s, Dir d, char letter, bool hexagonal_axes) {
  DirInfo info = dir_info(d);
  V3 g;
  if (!glide_vector(d, letter, g)) return false;
  std::vector<V3> open = info.mirror_open;
  if (hexagonal_axes && d == Dir::C) open = {{0, 0, 1}};
  // The normal component of a d glide is part of the search as well.
  if (letter == 'd' && (d == Dir::A || d == Dir::B || d == Dir::C)) {
    for (int i = 0; i < 3; ++i)
      if (info.mirror_open[0][i] != 0) g[i] = 0;
  }
  bool plain = g == V3{0, 0, 0};
  s.elements.push_back(make_element(info.mirror, g, open, plain ? PRIO_MIRROR : PRIO_GLIDE));
  s.output.push_back(info.mirror);
  return true;
}

// A 2-fold along d; `search_R` replaces the rotation whose location is searched by another
// 2-fold of the same set (the hexagonal ones through the conventional origin).
void add_twofold(ElementSet& s, Dir d, int screw, bool hexagonal_axes,
                 const IntMatrix3* search_R = nullptr) {
  DirInfo info = dir_info(d);
  V3 t = screw ? info.axis : V3{0, 0, 0};
  std::vector<V3> open = info.axis_open;
  if (hexagonal_axes && d == Dir::C) open = {};
  s.elements.push_back(
      make_element(search_R ? *search_R : info.twofold, t, open, screw ? PRIO_SCREW2 : PRIO_ROT2));
  s.output.push_back(info.twofold);
}

// The elements of a field along direction d (monoclinic, orthorhombic, tetragonal secondary
// and tertiary, hexagonal secondary and tertiary, cubic tertiary).
bool add_field(ElementSet& s, const FieldSpec& f, Dir d, bool hexagonal_axes,
               const IntMatrix3* search_R = nullptr) {
  if (f.bar) return false;
  if (f.axis == 1) return f.mirror == 0 && f.screw == 0;
  if (f.axis != 0 && f.axis != 2) return false;
  if (f.axis == 2) {
    if (f.screw && (d == Dir::HexSecondary || d == Dir::HexTertiary || d == Dir::RhombDiag))
      return false;
    add_twofold(s, d, f.screw, hexagonal_axes, search_R);
  }
  if (f.mirror && !add_reflection(s, d, f.mirror, hexagonal_axes)) return false;
  return true;
}

// The 2_1 screw along axis i placed a quarter cell along the next axis, as the Tables place
// the screw axes of P 21 21 21 and of the cubic groups built on them: -x+1/2,-y,z+1/2;
// x+1/2,-y+1/2,-z; -x,y+1/2,-z+1/2.
void add_cyclic_screw(ElementSet& s, int axis) {
  static const Dir dirs[3] = {Dir::A, Dir::B, Dir::C};
  V3 t{0, 0, 0};
  t[axis] = 6;
  t[(axis + 1) % 3] = 6;
  s.elements.push_back(make_element(dir_info(dirs[axis]).twofold, t, {}, PRIO_ROT2));
}

void add_inversion(ElementSet& s, bool hexagonal_axes) {
  std::vector<V3> open = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  if (hexagonal_axes) open = {{0, 0, 1}};
  s.elements.push_back(make_element(INVERSION, {0, 0, 0}, open, PRIO_ROT2));
  s.output.push_back(INVERSION);
}

// The principal field of a tetragonal group, or field 2 of a cubic group with a rotation:
// the 4-fold (or -4) along c and its square. In a cubic group the 2-folds along a and b go
// first among the generators.
bool add_tetragonal_axis(ElementSet& s, const FieldSpec& f, bool cubic = false) {
  if (f.axis != 4) return false;
  const IntMatrix3 two = M(-1, 0, 0, 0, -1, 0, 0, 0, 1);
  IntMatrix3 four;
  if (f.bar) {
    four = M(0, -1, 0, 1, 0, 0, 0, 0, -1);
    s.elements.push_back(
        make_element(four, {0, 0, 0}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, PRIO_ROTO4));
  } else {
    four = M(0, -1, 0, 1, 0, 0, 0, 0, 1);
    s.elements.push_back(make_element(four, {0, 0, 3 * f.screw}, {{1, 0, 0}, {0, 1, 0}},
                                      f.screw ? PRIO_SCREW4 : PRIO_ROT4));
  }
  bool screw2 = !f.bar && f.screw % 2 == 1;
  s.elements.push_back(make_element(two, {0, 0, screw2 ? 6 : 0}, {{1, 0, 0}, {0, 1, 0}},
                                    screw2 ? PRIO_SCREW2 : PRIO_ROT2));
  if (cubic) {
    s.output.push_back(dir_info(Dir::A).twofold);
    s.output.push_back(dir_info(Dir::B).twofold);
    s.output.push_back(four);
  } else {
    s.output.push_back(four);
    s.output.push_back(two);
  }
  return true;
}

bool build_elements(const Interpretation& in, ElementSet& s) {
  const auto& fl = in.fields;
  switch (in.family) {
    case Family::Triclinic: {
      const FieldSpec& f = fl[0];
      if (f.axis != 1 || f.mirror || f.screw) return false;
      if (f.bar) add_inversion(s, false);
      return true;
    }
    case Family::Monoclinic: {
      bool ok = true;
      if (fl.size() == 1) {
        ok = add_field(s, fl[0], Dir::B, false) && !fl[0].bar;
      } else {
        Dir dirs[3] = {Dir::A, Dir::B, Dir::C};
        for (size_t k = 0; k < 3 && ok; ++k) {
          if (static_cast<int>(k) + 1 != in.unique)
            ok = fl[k].axis == 1 && !fl[k].bar && !fl[k].screw && !fl[k].mirror;
          else
            ok = add_field(s, fl[k], dirs[k], false) && fl[k].axis != 1;
        }
      }
      // The plane of the symbol's glide goes through the origin (A 1 2/n 1: x+1/2,-y,z+1/2).
      for (Element& e : s.elements)
        if (determinant(e.R) < 0) e.priority = PRIO_ROTO4 - 1;
      // Without a reflection nothing fixes where the axis lies: the axis as written goes
      // through the origin (C 1 21 1: -x,y+1/2,-z), even where the centring also puts the
      // other kind of axis elsewhere.
      if (s.elements.size() == 1 && determinant(s.elements[0].R) > 0) s.elements[0].open.clear();
      return ok;
    }
    case Family::Orthorhombic: {
      Dir dirs[3] = {Dir::A, Dir::B, Dir::C};
      for (size_t k = 0; k < 3; ++k)
        if (fl[k].axis == 1 || !add_field(s, fl[k], dirs[k], false)) return false;
      // Screws along all three axes, written or implied by the glides b c a.
      bool screws = fl[0].screw && fl[1].screw && fl[2].screw && !fl[0].mirror && !fl[1].mirror &&
                    !fl[2].mirror;
      bool bca = fl[0].mirror == 'b' && fl[1].mirror == 'c' && fl[2].mirror == 'a';
      if ((in.lattice == 'P' || in.lattice == 'I') && (screws || bca)) {
        s.elements.erase(std::remove_if(s.elements.begin(), s.elements.end(),
                                        [](const Element& e) { return e.priority == PRIO_SCREW2; }),
                         s.elements.end());
        for (int k = 0; k < 3; ++k) add_cyclic_screw(s, k);
      }
      return true;
    }
    case Family::Tetragonal: {
      const FieldSpec& f = fl[0];
      if (f.axis != 4 || !add_tetragonal_axis(s, f)) return false;
      if (f.mirror && !add_reflection(s, Dir::C, f.mirror, false)) return false;
      if (fl.size() == 3) {
        if (!add_field(s, fl[1], Dir::A, false) || fl[1].axis == 1) return false;
        if (!add_field(s, fl[2], Dir::Diag, false) || fl[2].axis == 1) return false;
        // In a C or F cell the lattice period along [110] is (1/2,1/2,0): a 2_1 screw there
        // advances by (1/4,1/4,0); (1/2,1/2,0) would only be the plain 2-fold again.
        if (fl[2].screw && (in.lattice == 'C' || in.lattice == 'F'))
          for (Element& e : s.elements)
            if (e.R == dir_info(Dir::Diag).twofold) e.fixed = {3, 3, 0};
      }
      return true;
    }
    case Family::Trigonal:
    case Family::Hexagonal: {
      const FieldSpec& f = fl[0];
      if (f.axis == 3) {
        if (f.mirror) return false;
        s.hex_threefold = true;
        s.hex_screw = f.screw;
        if (f.bar) add_inversion(s, true);
      } else if (f.axis == 6) {
        s.hex_threefold = true;
        if (f.bar) {
          if (f.mirror) return false;
          s.elements.push_back(
              make_element(dir_info(Dir::C).mirror, {0, 0, 0}, {{0, 0, 1}}, PRIO_MIRROR));
          s.output.push_back(dir_info(Dir::C).mirror);
        } else {
          s.hex_screw = f.screw % 3;
          add_twofold(s, Dir::C, f.screw % 2, true);
          if (f.mirror && !add_reflection(s, Dir::C, f.mirror, true)) return false;
        }
      } else {
        return false;
      }
      if (fl.size() == 3 || (in.r_centring && fl.size() == 2)) {
        // The 2-fold through the origin of the Tables: along [100] in the hexagonal groups,
        // along [110] or [210] in the trigonal ones.
        static const IntMatrix3 along100 = M(1, -1, 0, 0, -1, 0, 0, 0, -1);
        static const IntMatrix3 along210 = M(1, 0, 0, 1, -1, 0, 0, 0, -1);
        bool six = f.axis == 6;
        // A 6-fold group of class 6/mmm needs its secondary and tertiary elements.
        if (six && (fl[1].axis == 1 || (fl.size() == 3 && fl[2].axis == 1))) return false;
        if (!add_field(s, fl[1], Dir::HexSecondary, true, six ? &along100 : nullptr)) return false;
        if (fl.size() == 3 &&
            !add_field(s, fl[2], Dir::HexTertiary, true, six ? nullptr : &along210))
          return false;
      }
      return true;
    }
    case Family::Rhombohedral: {
      const FieldSpec& f = fl[0];
      if (f.axis != 3 || f.screw || f.mirror) return false;
      s.cubic_threefold = true;
      if (f.bar) add_inversion(s, false);
      if (fl.size() == 2 && (!add_field(s, fl[1], Dir::RhombDiag, false) || fl[1].axis == 1))
        return false;
      return true;
    }
    case Family::Cubic: {
      s.cubic_threefold = true;
      const FieldSpec& f = fl[0];
      const FieldSpec& t = fl[1];
      if (t.axis != 3 || t.screw || t.mirror || t.bar) return false;
      if (f.mirror) {
        if (f.bar || (f.axis != 0 && f.axis != 2 && f.axis != 4)) return false;
        // The glide normal to each axis; a glides run along the next axis (x+1/2 normal
        // to c, y+1/2 normal to a, z+1/2 normal to b).
        Dir dirs[3] = {Dir::A, Dir::B, Dir::C};
        for (int k = 0; k < 3; ++k) {
          char letter = f.mirror;
          if (letter == 'a')
            letter = k == 0 ? 'b' : (k == 1 ? 'c' : 'a');
          else if (letter == 'b' || letter == 'c')
            return false;
          if (!add_reflection(s, dirs[k], letter, false)) return false;
        }
        if (f.axis == 4) {
          // A full symbol such as 42/n: the 4-fold is part of the search.
          if (!add_tetragonal_axis(s, f, true)) return false;
        } else if (f.axis == 2) {
          add_twofold(s, Dir::A, f.screw, false);
        }
      } else if (f.axis == 2) {
        add_twofold(s, Dir::A, f.screw, false);
        s.output.push_back(dir_info(Dir::B).twofold);
      } else if (f.axis == 4) {
        if (!add_tetragonal_axis(s, f, true)) return false;
      } else {
        return false;
      }
      if (fl.size() == 3) {
        if (!add_field(s, fl[2], Dir::Diag, false) || fl[2].axis == 1) return false;
      }
      // Groups whose 2-folds along the axes are screws (P 21 3, P a 3, P 41 3 2, I a 3 d,
      // I -4 3 d ...) have them where P 21 21 21 has them.
      bool screws = (f.axis == 2 && f.screw == 1) || (f.axis == 4 && f.screw % 2 == 1) ||
                    f.mirror == 'a' || (fl.size() == 3 && fl[2].mirror == 'd');
      if ((in.lattice == 'P' || in.lattice == 'I') && screws) add_cyclic_screw(s, 0);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------
// The origin search.

sym12::Centring centring_twelfths(char letter) {
  sym12::Centring c = {{0, 0, 0}};
  switch (letter) {
    case 'A':
      c.push_back({0, 6, 6});
      break;
    case 'B':
      c.push_back({6, 0, 6});
      break;
    case 'C':
      c.push_back({6, 6, 0});
      break;
    case 'I':
      c.push_back({6, 6, 6});
      break;
    case 'F':
      c.push_back({0, 6, 6});
      c.push_back({6, 0, 6});
      c.push_back({6, 6, 0});
      break;
    default:
      break;
  }
  return c;
}

// Depth-first search over the locations of the elements. Every complete choice that
// generates a space group of the right order is a solution; the one kept has the largest
// site symmetry at the origin, the first in search order among equals.
struct Search {
  const std::vector<Element>* elements = nullptr;
  std::vector<int> order;  // element indices in search order
  sym12::Centring centring;
  size_t point_order = 0;
  bool want_inversion = false;
  std::vector<V3> current;  // per element
  std::vector<V3> chosen;
  std::vector<Op> group;
  int best_site = -1;
  long budget = 100000;  // closures allowed
  int solutions = 0;

  int site_order(const std::vector<Op>& g) const {
    int n = 0;
    for (const Op& o : g) n += o.t == V3{0, 0, 0};
    return n;
  }

  void run(size_t depth, std::vector<Op>& ops) {
    if (budget <= 0 || solutions >= 2000) return;
    if (depth == order.size()) {
      std::vector<Op> g;
      --budget;
      if (!sym12::closure(ops, centring, g, point_order) || g.size() != point_order) return;
      if (want_inversion && std::none_of(g.begin(), g.end(), [](const Op& o) {
            return o.R == INVERSION && o.t == V3{0, 0, 0};
          }))
        return;
      ++solutions;
      int site = site_order(g);
      if (site > best_site) {
        best_site = site;
        chosen = current;
        group = g;
      }
      return;
    }
    const Element& e = (*elements)[order[depth]];
    for (const V3& t : e.candidates) {
      ops.push_back(Op{e.R, t});
      std::vector<Op> g;
      --budget;
      if (sym12::closure(ops, centring, g, point_order)) {
        current[order[depth]] = t;
        run(depth + 1, ops);
      }
      ops.pop_back();
      if (budget <= 0) return;
    }
  }
};

bool encode_kind0(const IntMatrix3& R, const V3& t12, int& code) {
  auto row = [&](int i) { return R[i]; };
  int cx, cy;
  auto r0 = row(0), r1 = row(1), r2 = row(2);
  if (r0 == std::array<int, 3>{1, 0, 0})
    cx = 0;
  else if (r0 == std::array<int, 3>{0, 1, 0})
    cx = 1;
  else if (r0 == std::array<int, 3>{-1, 0, 0})
    cx = 2;
  else if (r0 == std::array<int, 3>{0, -1, 0})
    cx = 3;
  else
    return false;
  if (r1 == std::array<int, 3>{0, 1, 0})
    cy = 0;
  else if (r1 == std::array<int, 3>{1, 0, 0})
    cy = 1;
  else if (r1 == std::array<int, 3>{0, -1, 0})
    cy = 2;
  else if (r1 == std::array<int, 3>{-1, 0, 0})
    cy = 3;
  else
    return false;
  int cz;
  if (r2 == std::array<int, 3>{0, 0, 1})
    cz = 0;
  else if (r2 == std::array<int, 3>{0, 0, -1})
    cz = 1;
  else
    return false;
  auto tcode = [](int v, int& c) {
    switch (sym12::mod12(v)) {
      case 0:
        c = 0;
        return true;
      case 6:
        c = 1;
        return true;
      case 3:
        c = 2;
        return true;
      case 9:
        c = 3;
        return true;
      default:
        return false;
    }
  };
  int tx = 0, ty = 0, tz = 0, extra = 0;
  if (!tcode(t12[0], tx) || !tcode(t12[1], ty)) return false;
  int z = sym12::mod12(t12[2]);
  for (extra = 0; extra < 3; ++extra)
    if (sym12::mod12(z - 4 * extra) % 3 == 0) break;
  tcode(z - 4 * extra, tz);
  code = cx | (tx << 2) | (cy << 4) | (ty << 6) | (cz << 8) | (tz << 9) | (extra << 11);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------

GeneratorParts decode_generator(int code) {
  GeneratorParts g;
  g.kind = (code >> 13) & 3;
  auto quarter = [](int c) { return c == 0 ? 0 : (c == 1 ? 6 : (c == 2 ? 3 : 9)); };
  if (g.kind == 1) {
    g.R = HEX_THREEFOLD;
    int screw = (code >> 2) & 3;
    g.t12 = {0, 0, screw == 0 || screw == 1 ? 0 : 4 * (screw - 1)};
    if ((code & ~KIND_BITS) == 0) {  // the R centring: translation of the first copy
      g.R = IDENTITY;
      g.t12 = {4, 8, 8};
    }
    return g;
  }
  if (g.kind == 2) {
    g.R = CUBIC_THREEFOLD;
    return g;
  }
  IntMatrix3 R{};
  switch (code & 3) {
    case 0:
      R[0] = {1, 0, 0};
      break;
    case 1:
      R[0] = {0, 1, 0};
      break;
    case 2:
      R[0] = {-1, 0, 0};
      break;
    default:
      R[0] = {0, -1, 0};
      break;
  }
  switch ((code >> 4) & 3) {
    case 0:
      R[1] = {0, 1, 0};
      break;
    case 1:
      R[1] = {1, 0, 0};
      break;
    case 2:
      R[1] = {0, -1, 0};
      break;
    default:
      R[1] = {-1, 0, 0};
      break;
  }
  R[2] = (code >> 8) & 1 ? std::array<int, 3>{0, 0, -1} : std::array<int, 3>{0, 0, 1};
  g.R = R;
  int extra = (code >> 11) & 3;
  g.t12 = {quarter((code >> 2) & 3), quarter((code >> 6) & 3),
           sym12::mod12(quarter((code >> 9) & 3) + (extra == 0 ? 0 : (extra == 1 ? 4 : 8)))};
  return g;
}

bool encode_generator(const IntMatrix3& R, const std::array<int, 3>& t12, int& code) {
  return encode_kind0(R, t12, code);
}

namespace {

// The interpreter; `use_standard` refers an orthorhombic symbol in another setting to the
// standard one.
SymbolInfo interpret(std::string_view symbol, bool use_standard, std::vector<Op>* group_out);

// Text of a field as the standard symbols write it.
std::string field_text(const FieldSpec& f) {
  std::string t;
  if (f.bar) t += "-";
  if (f.axis) t += static_cast<char>('0' + f.axis);
  if (f.screw) t += static_cast<char>('0' + f.screw);
  if (f.axis && f.mirror) t += "/";
  if (f.mirror) t += f.mirror;
  return t;
}

// The short form of a symbol written with full symmetry directions (P 21/b 21/n 21/m,
// C 2/c 2/c 2/a, P 4/m 21/b 2/m, F 4/m 3 2/m): the axis is dropped from every field that
// also holds a reflection, except where short symbols keep it (monoclinic groups, the
// principal axis of tetragonal and hexagonal groups). Empty when the symbol is short.
std::string short_symbol(const Interpretation& in) {
  if (in.family == Family::Triclinic || in.family == Family::Monoclinic) return {};
  bool principal_kept = in.family != Family::Orthorhombic && in.family != Family::Cubic;
  bool changed = false;
  std::string s(1, in.lattice);
  for (size_t k = 0; k < in.fields.size(); ++k) {
    FieldSpec f = in.fields[k];
    if (f.axis && f.mirror && !(k == 0 && principal_kept)) {
      f.axis = 0;
      f.screw = 0;
      changed = true;
    }
    s += " " + field_text(f);
  }
  if (in.family == Family::Rhombohedral) s += " R";
  return changed ? s : std::string();
}

std::vector<Op> sorted_ops(std::vector<Op> ops) {
  std::sort(ops.begin(), ops.end(),
            [](const Op& x, const Op& y) { return std::tie(x.R, x.t) < std::tie(y.R, y.t); });
  return ops;
}

// True when the operations b are the operations a referred to an origin moved by some
// vector of twelfths (both lists hold one canonical operation per rotation).
bool same_group_moved(const std::vector<Op>& a, const std::vector<Op>& b,
                      const sym12::Centring& centring) {
  if (a.size() != b.size()) return false;
  const std::vector<Op> target = sorted_ops(b);
  for (int v0 = 0; v0 < 12; ++v0)
    for (int v1 = 0; v1 < 12; ++v1)
      for (int v2 = 0; v2 < 12; ++v2) {
        const V3 v = {v0, v1, v2};
        std::vector<Op> moved;
        for (const Op& o : a) {
          V3 rv = sym12::apply(o.R, v), t;
          for (int i = 0; i < 3; ++i) t[i] = sym12::mod12(o.t[i] + v[i] - rv[i]);
          moved.push_back(Op{o.R, sym12::canonical_translation(t, centring)});
        }
        if (sorted_ops(moved) == target) return true;
      }
  return false;
}

// The translation of each element: that of its operation in the group, written with the
// components that the symbol gives where one of its candidates has them.
std::vector<V3> locate_elements(const std::vector<Element>& elements, const std::vector<Op>& group,
                                const sym12::Centring& centring) {
  std::vector<V3> chosen(elements.size(), V3{0, 0, 0});
  for (size_t k = 0; k < elements.size(); ++k) {
    const Element& e = elements[k];
    for (const Op& o : group) {
      if (o.R != e.R) continue;
      chosen[k] = o.t;
      for (const V3& t : e.candidates)
        if (sym12::canonical_translation(t, centring) == o.t) {
          chosen[k] = t;
          break;
        }
    }
  }
  return chosen;
}

// Settings of the orthorhombic groups: new axis i is sign[i] times old axis perm[i]. The
// cyclic ones come first.
struct OrthoSetting {
  int perm[3];
  int sign[3];
};
constexpr OrthoSetting ORTHO_SETTINGS[] = {{{2, 0, 1}, {1, 1, 1}},
                                           {{1, 2, 0}, {1, 1, 1}},
                                           {{1, 0, 2}, {1, 1, -1}},
                                           {{2, 1, 0}, {-1, 1, 1}},
                                           {{0, 2, 1}, {1, -1, 1}}};

// An orthorhombic symbol in another setting of a standard one: the operators of the
// standard setting carried over to the axes of the symbol. False when the symbol is no
// setting of a standard symbol.
bool solve_from_standard(const Interpretation& in, const sym12::Centring& centring,
                         std::vector<Op>& group) {
  auto standard = standard_orthorhombic_symbols();
  std::string own(1, in.lattice);
  for (const FieldSpec& f : in.fields) own.append(1, ' ').append(field_text(f));
  if (std::find(standard.begin(), standard.end(), own) != standard.end()) return false;
  for (const OrthoSetting& st : ORTHO_SETTINGS) {
    // The symbol in standard axes: standard axis perm[i] is the symbol's axis i.
    int inverse[3];
    for (int i = 0; i < 3; ++i) inverse[st.perm[i]] = i;
    auto rename = [&](char c, const char* letters) {
      for (int j = 0; j < 3; ++j)
        if (c == letters[j]) return letters[st.perm[j]];
      return c;
    };
    std::string candidate(1, rename(in.lattice, "ABC"));
    for (int j = 0; j < 3; ++j) {
      std::string f = field_text(in.fields[inverse[j]]);
      for (char& c : f) c = rename(c, "abc");
      candidate += " " + f;
    }
    if (std::find(standard.begin(), standard.end(), candidate) == standard.end()) continue;
    std::vector<Op> std_group;
    if (!interpret(candidate, false, &std_group).ok()) return false;
    IntMatrix3 P{};
    for (int i = 0; i < 3; ++i) P[i][st.perm[i]] = st.sign[i];
    IntMatrix3 PT{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) PT[i][j] = P[j][i];
    group.clear();
    for (const Op& o : std_group) {
      Op n;
      n.R = sym12::multiply(sym12::multiply(P, o.R), PT);
      n.t = sym12::canonical_translation(sym12::apply(P, o.t), centring);
      group.push_back(n);
    }
    return true;
  }
  return false;
}

SymbolInfo interpret(std::string_view symbol, bool use_standard, std::vector<Op>* group_out) {
  SymbolInfo info;
  info.UniqueAxis = 4;
  auto in = classify(symbol);
  if (!in) return info;
  ElementSet s;
  if (!build_elements(*in, s)) return info;

  sym12::Centring centring = centring_twelfths(in->lattice);
  if (in->r_centring) centring = {{0, 0, 0}, {8, 4, 4}, {4, 8, 8}};

  // The rotation parts alone give the point group and whether it is centrosymmetric.
  std::vector<Op> rot_gens;
  Op three_fold;
  bool has_three = s.hex_threefold || s.cubic_threefold;
  if (s.hex_threefold) three_fold = Op{HEX_THREEFOLD, {0, 0, 4 * s.hex_screw}};
  if (s.cubic_threefold) three_fold = Op{CUBIC_THREEFOLD, {0, 0, 0}};
  if (has_three) rot_gens.push_back(Op{three_fold.R, {0, 0, 0}});
  for (const Element& e : s.elements) rot_gens.push_back(Op{e.R, {0, 0, 0}});
  std::vector<Op> point_group;
  if (!sym12::closure(rot_gens, {{0, 0, 0}}, point_group, 48)) return info;
  bool centro = std::any_of(point_group.begin(), point_group.end(),
                            [](const Op& o) { return o.R == INVERSION; });

  bool hexagonal_axes = in->family == Family::Trigonal || in->family == Family::Hexagonal;
  const IntMatrix3 diag_two = dir_info(Dir::Diag).twofold;
  for (Element& e : s.elements) {
    build_candidates(e, hexagonal_axes ? TWELFTHS : QUARTERS);
    // A 2-fold along [110] of a face-centred group may also carry a quarter of a centring
    // vector and still be a plain 2-fold.
    if (e.R == diag_two && in->lattice == 'F') {
      std::vector<V3> shifted;
      for (const V3& t : e.candidates)
        shifted.push_back({sym12::mod12(t[0] + 3), sym12::mod12(t[1] + 3), t[2]});
      e.candidates.insert(e.candidates.begin(), shifted.begin(), shifted.end());
    }
  }

  Search search;
  std::vector<Op> group;
  if (use_standard && in->family == Family::Orthorhombic &&
      solve_from_standard(*in, centring, group)) {
    search.chosen = locate_elements(s.elements, group, centring);
  } else {
    search.elements = &s.elements;
    search.centring = centring;
    search.point_order = point_group.size();
    search.want_inversion = centro;
    search.current.assign(s.elements.size(), V3{0, 0, 0});
    std::vector<Op> start;
    if (has_three) start.push_back(three_fold);
    if (centro) start.push_back(Op{INVERSION, {0, 0, 0}});
    for (size_t k = 0; k < s.elements.size(); ++k) search.order.push_back(static_cast<int>(k));
    std::stable_sort(search.order.begin(), search.order.end(), [&](int a, int b) {
      if (s.elements[a].priority != s.elements[b].priority)
        return s.elements[a].priority < s.elements[b].priority;
      // Glides: the last field first, which gives the origin of the Tables where a
      // centred lattice leaves two (C c c a).
      if (s.elements[a].priority == PRIO_GLIDE) return a > b;
      return a < b;
    });
    std::vector<Op> ops = start;
    search.run(0, ops);
    if (search.best_site < 0 && centro) {
      // No choice puts a centre at the origin: keep the group with its centre elsewhere.
      search.want_inversion = false;
      start.pop_back();
      ops = start;
      search.budget = 100000;
      search.solutions = 0;
      search.run(0, ops);
      info.OffOriginCentre = search.best_site >= 0;
    }
    if (search.best_site < 0) return info;
    group = search.group;
  }

  // A tetragonal group whose 4-fold lies off the origin has two descriptions that differ
  // by a quarter turn of the axes; the Tables take the 4-fold at x+1/2 except for the
  // I-centred groups with 4_1 and for P 42/n.
  if (in->family == Family::Tetragonal && !in->fields[0].bar) {
    const FieldSpec& f = in->fields[0];
    const IntMatrix3 four = M(0, -1, 0, 1, 0, 0, 0, 0, 1);
    // P 41 2 2 and P 43 2 2 have their 2-fold through the origin along b.
    const IntMatrix3 two_a = M(1, 0, 0, 0, -1, 0, 0, 0, -1);
    bool turn_screw = in->lattice == 'P' && f.screw % 2 == 1 && in->fields.size() == 3 &&
                      in->fields[1].axis == 2 && !in->fields[1].screw &&
                      std::any_of(group.begin(), group.end(), [&](const Op& o) {
                        return o.R == two_a && o.t == V3{0, 0, 0};
                      });
    bool want_y = (in->lattice == 'I' && f.screw == 1 && !(in->fields.size() == 1 && f.mirror)) ||
                  (in->lattice == 'P' && f.screw == 2 && f.mirror == 'n' && in->fields.size() == 1);
    for (size_t k = 0; k < s.elements.size(); ++k) {
      if (s.elements[k].R != four) continue;
      // The quarter turns needed: the 4-fold at x+1/2 (or y+1/2) from its partner.
      int turns = turn_screw ? 1 : 0;
      V3 t = search.chosen[k];
      for (int n = 0; n < 4 && !turn_screw; ++n) {
        bool along_x = sym12::mod12(t[0] - t[1]) == 6 && t[0] > t[1];
        bool along_y = sym12::mod12(t[0] - t[1]) == 6 && t[0] < t[1];
        if ((want_y && along_y) || (!want_y && along_x)) {
          turns = n;
          break;
        }
        V3 u = sym12::apply(four, t);
        t = {sym12::mod12(u[0]), sym12::mod12(u[1]), sym12::mod12(u[2])};
      }
      for (int n = 0; n < turns; ++n) {
        auto turn = [&](const IntMatrix3& R) {
          IntMatrix3 inv = M(0, 1, 0, -1, 0, 0, 0, 0, 1);
          return sym12::multiply(sym12::multiply(four, R), inv);
        };
        for (Op& o : group) {
          o.R = turn(o.R);
          o.t = sym12::canonical_translation(sym12::apply(four, o.t), centring);
        }
        for (size_t j = 0; j < s.elements.size(); ++j) {
          s.elements[j].R = turn(s.elements[j].R);
          V3 u = sym12::apply(four, search.chosen[j]);
          search.chosen[j] = {sym12::mod12(u[0]), sym12::mod12(u[1]), sym12::mod12(u[2])};
        }
      }
      break;
    }
  }

  // A full symbol describes the group of its short symbol, with the origin of the Tables
  // for that symbol; the search alone may settle on another centre of the same group.
  if (std::string short_form = short_symbol(*in); !short_form.empty()) {
    std::vector<Op> short_group;
    if (interpret(short_form, use_standard, &short_group).ok() &&
        sorted_ops(group) != sorted_ops(short_group) &&
        same_group_moved(group, short_group, centring)) {
      group = short_group;
      search.chosen = locate_elements(s.elements, group, centring);
    }
  }

  // Generators: the lattice, the 3-fold, then the rotations of the fields in order, each
  // kept only when it is not yet among the products of the generators before it. The
  // translation of a generator is that of its element where it has one.
  std::vector<int> codes;
  std::vector<Op> product = {Op{IDENTITY, {0, 0, 0}}};
  auto add_power = [&](const Op& g, int code, int powers) {
    codes.push_back(code);
    std::vector<Op> next = product;
    Op gp = g;
    for (int k = 1; k <= powers; ++k) {
      for (const Op& p : product) next.push_back(sym12::compose(gp, p));
      gp = sym12::compose(g, gp);
    }
    product = next;
  };
  auto add_shifts = [&](int code, const std::vector<V3>& shifts) {
    codes.push_back(code);
    std::vector<Op> next = product;
    for (const V3& v : shifts)
      for (const Op& p : product) next.push_back(sym12::compose(Op{IDENTITY, v}, p));
    product = next;
  };
  switch (in->lattice) {
    case 'A':
      add_shifts(576, {{0, 6, 6}});
      break;
    case 'B':
      add_shifts(516, {{6, 0, 6}});
      break;
    case 'C':
      add_shifts(68, {{6, 6, 0}});
      break;
    case 'I':
      add_shifts(580, {{6, 6, 6}});
      break;
    case 'F':
      add_shifts(576, {{0, 6, 6}});
      add_shifts(516, {{6, 0, 6}});
      break;
    default:
      break;
  }
  if (in->r_centring) add_shifts(R_CENTRING_CODE, {{4, 8, 8}, {8, 4, 4}});
  if (s.hex_threefold) add_power(three_fold, 8192 | ((s.hex_screw + 1) << 2), 2);
  if (s.cubic_threefold) add_power(three_fold, CUBIC_THREEFOLD_CODE, 2);
  for (const IntMatrix3& R : s.output) {
    if (std::any_of(product.begin(), product.end(), [&](const Op& p) { return p.R == R; }))
      continue;
    V3 t{};
    bool found = false;
    for (size_t k = 0; k < s.elements.size() && !found; ++k)
      if (s.elements[k].R == R) t = search.chosen[k], found = true;
    for (size_t k = 0; k < group.size() && !found; ++k)
      if (group[k].R == R) t = group[k].t, found = true;
    int code;
    if (!found || !encode_kind0(R, t, code)) return info;
    add_power(Op{R, t}, code, 1);
  }
  if (static_cast<int>(codes.size()) > MAX_GENERATORS) return info;
  // The products of the generators must be the group, each operation once.
  std::vector<std::pair<IntMatrix3, V3>> keys;
  for (const Op& p : product) keys.push_back({p.R, p.t});
  std::sort(keys.begin(), keys.end());
  if (std::adjacent_find(keys.begin(), keys.end()) != keys.end() ||
      product.size() != group.size() * centring.size())
    return info;

  if (group_out) *group_out = group;
  info.Laue = in->laue;
  info.UniqueAxis = in->unique;
  info.NumGenerators = static_cast<int>(codes.size());
  for (size_t k = 0; k < codes.size(); ++k) info.Generator[k + 1] = codes[k];
  return info;
}

}  // namespace

SymbolInfo interpret_symbol(std::string_view symbol) {
  return interpret(symbol, true, nullptr);
}

SymbolInfo interpret_symbol(ModelStore& store, std::string_view symbol, int report, int unit) {
  std::string shown = text::pad(symbol, SYMBOL_LEN);
  if (report == 0) {
    write_unit(store, unit, "");
    write_unit(store, unit, " => The SPACE GROUP is: " + shown);
    write_unit(store, unit, "");
  } else {
    write_unit(store, unit, " => The SPACE GROUP symbol for HKL generation is: " + shown);
  }
  SymbolInfo info = interpret_symbol(symbol);
  if (!info.ok()) {
    show_message(store, "   Did you punch the symbol correctly ?");
    show_message(store, "   Errors of some sort were detected !!");
    show_message(store, "The symbol was read as " + shown);
    stop_box(store, " Error in S.G. symbol", 1);
    fail(" Error in S.G. symbol");
  }
  if (info.OffOriginCentre) show_message(store, " A center is present, not at 0,0,0");
  return info;
}

bool lattice_centring(std::string_view symbol, LatticeCentring& out) {
  size_t k = symbol.find_first_not_of(' ');
  if (k == std::string_view::npos) return false;
  char c = symbol[k];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  LatticeCentring l;
  l.letter = c;
  auto set = [&](int code, std::vector<Vec3> v) {
    l.code = code;
    l.count = static_cast<int>(v.size()) + 1;
    for (size_t i = 0; i < v.size(); ++i) l.vector[i + 2] = v[i];
  };
  const float h = 0.5f, t1 = 1.0f / 3.0f, t2 = 2.0f / 3.0f;
  switch (c) {
    case 'P':
      set(1, {});
      break;
    case 'A':
      set(2, {{0, h, h}});
      break;
    case 'B':
      set(3, {{h, 0, h}});
      break;
    case 'C':
      set(4, {{h, h, 0}});
      break;
    case 'I':
      set(5, {{h, h, h}});
      break;
    case 'R':
      set(6, {{t2, t1, t1}, {t1, t2, t2}});
      break;
    case 'F':
      set(7, {{h, h, 0}, {h, 0, h}, {0, h, h}});
      break;
    default:
      return false;
  }
  out = l;
  return true;
}

LatticeCentring read_lattice_letter(ModelStore& store, std::string_view symbol, char* letter) {
  LatticeCentring l;
  if (!lattice_centring(symbol, l)) {
    show_message(store, " => SPGR:  " + std::string(symbol));
    stop_box(store, " *** ERROR: Wrong Space Group Symbol ", 1);
    fail(" *** ERROR: Wrong Space Group Symbol ");
  }
  if (letter) *letter = l.letter;
  return l;
}

}  // namespace kestovar
