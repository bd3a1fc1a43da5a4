// Space-group expansion, reduced operator list, operators read from the control file,
// magnetic matrices and the symmetry section of the output listing.
#include "symmetry/expansion.h"

#include <cmath>
#include <cstdlib>

#include "controlfile/line_reader.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

float reduce(float v) {
  v -= std::floor(v);
  if (v > 1.0f - 0.00001f) v = 0.0f;
  return v;
}

Vec3 apply_generator(const GeneratorParts& g, const Vec3& v, int power) {
  Vec3 r = v;
  for (int p = 0; p < power; ++p) {
    Vec3 n{};
    for (int i = 0; i < 3; ++i)
      n[i] = g.R[i][0] * r[0] + g.R[i][1] * r[1] + g.R[i][2] * r[2] + g.t12[i] / 12.0f;
    r = n;
  }
  for (float& x : r) x = reduce(x);
  return r;
}

bool same_point(const Vec3& a, const Vec3& b) {
  float d = 0;
  for (int i = 0; i < 3; ++i) {
    float e = std::fabs(a[i] - b[i]);
    d += std::min(e, 1.0f - e);
  }
  return d < 0.0001f;
}

const char* lattice_line(int code) {
  switch (code) {
    case 2:
      return "  A: { 000;  0  1/2 1/2 }+";
    case 3:
      return "  B: { 000; 1/2  0  1/2 }+";
    case 4:
      return "  C: { 000; 1/2 1/2  0  }+";
    case 5:
      return "  I: { 000; 1/2 1/2 1/2 }+";
    case 6:
      return "  R: { 000; 2/3 1/3 1/3; 1/3 2/3 2/3   }+";
    case 7:
      return "  F: { 000;  0  1/2 1/2; 1/2  0  1/2; 1/2 1/2  0 }+";
    default:
      return "  P: { 000 }";
  }
}

bool is_magnetic_job(int jbt) {
  int a = std::abs(jbt);
  return a == 1 || a == 5 || a == 10;
}

// Reads the next raw control-file line that is not a comment. The end of the control file
// ends the run after the message, without a stop box, as the line reader does.
std::string next_operator_line(ModelStore& store) {
  std::string line;
  for (;;) {
    ++store.job->reader.PcrLine;
    if (!store.files.read_line(unit::PCR, line)) {
      show_message(store,
                   " => Not FATAL End of file !,  logical unit: " + text::fmt_i(unit::PCR, 4));
      throw StopError(" => Not FATAL End of file !", 1, false);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > static_cast<size_t>(OPERATOR_LINE_LEN)) line.resize(OPERATOR_LINE_LEN);
    if (!line.empty() && line[0] == '!') continue;
    store.job->reader.PcrLineBuf = line;
    return line;
  }
}

void show_line_number(ModelStore& store) {
  show_message(store, " => Please check your input file at line: " +
                          text::fmt_i(store.job->reader.PcrLine, 4) + " !");
}

// A fault in an operator line: the line and its number in the control file are shown
// before the stop.
[[noreturn]] void operator_line_error(ModelStore& store, const std::string& line,
                                      const OperatorParse& p, bool magnetic) {
  std::string text = operator_error_text(p.error, p.bad, magnetic);
  show_message(store, text::trim_right(line));
  show_line_number(store);
  stop_box(store, text, 1);
  fail(text);
}

// Identifies the rotation of an operator line; one that is not in the table names the line
// before the report of the table search.
int identify_line_rotation(ModelStore& store, const IntMatrix3& R, int first, int last) {
  int k = find_rotation(R, first, last);
  if (k != 0) return k;
  show_line_number(store);
  return identify_rotation(store, R, first, last);
}

}  // namespace

SymmetryOperator decode_image(const Vec3& v) {
  SymmetryOperator op;
  for (int i = 0; i < 3; ++i) {
    int c = static_cast<int>(108.0f * v[i] + 0.1f);
    int row = (c + 4) % 9 - 4;
    int tr = (c + 4) / 9;
    switch (row) {
      case 1:
        op.R[i] = {-1, 1, 0};
        break;
      case -1:
        op.R[i] = {1, -1, 0};
        break;
      case 2:
        op.R[i] = {1, 0, 0};
        break;
      case -2:
        op.R[i] = {-1, 0, 0};
        break;
      case 3:
        op.R[i] = {0, 1, 0};
        break;
      case -3:
        op.R[i] = {0, -1, 0};
        break;
      case 4:
        op.R[i] = {0, 0, 1};
        break;
      case -4:
        op.R[i] = {0, 0, -1};
        break;
      default:
        op.R[i] = {0, 0, 0};
        break;
    }
    op.t[i] = static_cast<float>(tr % 12) / 12.0f;
  }
  return op;
}

Vec3 reference_image(const SymmetryOperator& op) {
  Vec3 r{};
  for (int i = 0; i < 3; ++i)
    r[i] = reduce(op.R[i][0] * REFERENCE_POINT[0] + op.R[i][1] * REFERENCE_POINT[1] +
                  op.R[i][2] * REFERENCE_POINT[2] + op.t[i]);
  return r;
}

bool expand_generators(SymmetryWork& work, int* bad_code) {
  work.image.assign(1, REFERENCE_POINT);
  for (int k = 1; k <= MAX_GENERATORS && work.info.Generator[k] != 0; ++k) {
    int code = work.info.Generator[k];
    GeneratorParts g = decode_generator(code);
    size_t n = work.image.size();
    for (size_t j = 0; j < n; ++j) {
      const Vec3 v = work.image[j];
      std::vector<Vec3> images;
      if (g.kind == 1 && (code & ~KIND_BITS) == 0) {
        images.push_back(apply_generator(g, v, 1));
        GeneratorParts second = g;
        second.t12 = {8, 4, 4};
        images.push_back(apply_generator(second, v, 1));
      } else if (g.kind == 1) {
        // The screw goes to the first power and its negative to the second.
        images.push_back(apply_generator(g, v, 1));
        GeneratorParts plain = g;
        plain.t12 = {0, 0, 0};
        Vec3 w = apply_generator(plain, v, 2);
        w[2] = reduce(w[2] - g.t12[2] / 12.0f);
        images.push_back(w);
      } else if (g.kind == 2) {
        images.push_back(apply_generator(g, v, 1));
        images.push_back(apply_generator(g, v, 2));
      } else {
        images.push_back(apply_generator(g, v, 1));
      }
      for (const Vec3& w : images) {
        if (same_point(w, REFERENCE_POINT)) {
          if (bad_code) *bad_code = code;
          return false;
        }
        work.image.push_back(w);
      }
      if (work.image.size() > static_cast<size_t>(MAX_GENERAL)) {
        if (bad_code) *bad_code = code;
        return false;
      }
    }
  }
  return true;
}

void build_rotation_list(SymmetryWork& work) {
  work.rotation_code.assign(1, 0);
  for (int k = 1; k <= MAX_GENERATORS && work.info.Generator[k] != 0; ++k) {
    int code = work.info.Generator[k];
    int kind = code & KIND_BITS;
    int rot = kind ? kind : code & ROTATION_BITS;
    int copies = kind ? 2 : 1;
    size_t n = work.rotation_code.size();
    for (size_t j = 0; j < n; ++j)
      for (int c = 0; c < copies; ++c) work.rotation_code.push_back(work.rotation_code[j] ^ rot);
  }
  work.NonCentro = true;
  for (int c : work.rotation_code)
    if (c == INVERSION_ROTATION_CODE) work.NonCentro = false;
}

std::vector<SymmetryOperator> expanded_operators(const SymmetryWork& work) {
  std::vector<SymmetryOperator> ops;
  for (const Vec3& v : work.image) ops.push_back(decode_image(v));
  return ops;
}

bool expand_symbol(std::string_view symbol, SymmetryWork& work) {
  work.info = interpret_symbol(symbol);
  if (!work.info.ok()) return false;
  if (!expand_generators(work)) return false;
  build_rotation_list(work);
  return true;
}

bool store_reduced_operators(const std::vector<SymmetryOperator>& ops, bool remove_centring,
                             bool proper_only, SpaceGroup& g) {
  int first = g.Hexagonal ? FIRST_HEXAGONAL : FIRST_CUBIC;
  int last = g.Hexagonal ? LAST_HEXAGONAL : LAST_CUBIC;
  g.Nop = 0;
  bool complete = true;
  for (size_t n = 0; n < ops.size(); ++n) {
    int rot = find_rotation(ops[n].R, first, last);
    const Vec3& t = ops[n].t;
    if (remove_centring && n > 0) {
      bool copy = false;
      for (int k = 1; k <= g.Nop && !copy; ++k) {
        if (g.op[k].rotation != rot) continue;
        for (int c = 1; c <= g.lattice.count && !copy; ++c) {
          float d = 0;
          for (int i = 0; i < 3; ++i) {
            float u = g.op[k].t[i] + g.lattice.vector[c][i];
            if (u >= 1.0f) u -= 1.0f;
            d += std::fabs(u - t[i]);
          }
          copy = d < 0.0001f;
        }
      }
      if (copy) continue;
    }
    if (proper_only && rot <= 0) continue;
    if (g.Nop == NEQV) {
      complete = false;
      break;
    }
    ++g.Nop;
    g.op[g.Nop].rotation = rot;
    g.op[g.Nop].t = t;
  }
  return complete;
}

bool fill_group_from_symbol(std::string_view symbol, const SymmetryWork& work, SpaceGroup& g) {
  LatticeCentring lattice;
  if (!lattice_centring(symbol, lattice)) return false;
  g = SpaceGroup{};
  g.symbol = text::pad(symbol, SYMBOL_LEN);
  g.Isy = 0;
  g.Laue = work.info.Laue;
  g.UniqueAxis = work.info.UniqueAxis;
  g.LaueFromSymbol = true;
  g.NumGenerators = work.info.NumGenerators;
  g.Generator = work.info.Generator;
  g.lattice = lattice;
  if (g.Laue == LAUE_3R || g.Laue == LAUE_3MR) {
    // On rhombohedral axes the cell is primitive: the R vectors are no centring.
    g.lattice = LatticeCentring{};
    g.lattice.letter = 'R';
  }
  g.Cen = work.NonCentro ? 1 : 2;
  g.Hexagonal = is_hexagonal_laue(g.Laue);
  g.Multiplicity = work.Multiplicity();
  std::vector<SymmetryOperator> ops = expanded_operators(work);
  bool complete = store_reduced_operators(ops, true, g.Cen == 2, g);
  g.IntensityFactor = (g.Cen * g.lattice.count) * (g.Cen * g.lattice.count);
  return complete;
}

bool space_group_from_symbol(std::string_view symbol, SpaceGroup& g) {
  SymmetryWork work;
  if (!expand_symbol(symbol, work)) return false;
  return fill_group_from_symbol(symbol, work, g);
}

SymmetryOperator stored_operator(const SpaceGroup& g, int k) {
  SymmetryOperator op;
  op.R = rotation_matrix(g.op[k].rotation);
  op.t = g.op[k].t;
  return op;
}

std::vector<SymmetryOperator> general_positions(const SpaceGroup& g) {
  std::vector<SymmetryOperator> out;
  for (int c = 1; c <= g.lattice.count; ++c) {
    for (int inv = 0; inv < g.Cen; ++inv) {
      for (int k = 1; k <= g.Nop; ++k) {
        SymmetryOperator op = stored_operator(g, k);
        if (inv) {
          for (auto& row : op.R)
            for (int& v : row) v = -v;
          for (float& v : op.t) v = -v;
        }
        for (int i = 0; i < 3; ++i) op.t[i] = reduce(op.t[i] + g.lattice.vector[c][i]);
        out.push_back(op);
      }
    }
  }
  return out;
}

std::vector<std::string> symmetry_listing(const SpaceGroup& g) {
  using text::fmt_a;
  using text::fmt_f;
  using text::fmt_i;
  std::vector<std::string> out;
  std::string centro = g.Cen == 2 ? " centrosymmetric" : " non-centrosymmetric";
  if (g.Isy == 0) {
    out.push_back("");
    out.push_back(" => Symmetry information on space group: " + text::pad(g.symbol, SYMBOL_LEN));
    out.push_back("");
    out.push_back(" -> The multiplicity of the general position is:" + fmt_i(g.Multiplicity, 4));
    out.push_back(" -> The space group is" + text::pad(centro, 20));
    out.push_back(" -> Lattice type" + text::pad(lattice_line(g.lattice.code), 51));
    out.push_back(" -> Reduced set of symmetry operators:");
    out.push_back("  No.  IT   Symmetry symbol    Rotation part     Associated Translation");
  } else {
    out.push_back(" => Symmetry operators read from file");
    out.push_back("  => NUMSPG:" + fmt_i(g.Laue, 3) + " NMAGR:" + fmt_i(g.MagMat, 3));
    out.push_back("");
    out.push_back(" -> The multiplicity of the general position is:" + fmt_i(g.Multiplicity, 4));
    out.push_back(" -> The structure is treated as" + text::pad(centro, 20));
  }
  for (int k = 1; k <= g.Nop; ++k) {
    const SymOperator& op = g.op[k];
    out.push_back(fmt_i(k, 4) + ": (" + fmt_i(listing_number(op.rotation), 2) + ") " +
                  fmt_a(rotation_symbol(op.rotation), 14) + " --> " +
                  fmt_a(rotation_triplet(op.rotation), 14) + " + {" + fmt_f(op.t[0], 8, 4) +
                  fmt_f(op.t[1], 8, 4) + fmt_f(op.t[2], 8, 4) + "}");
    for (int m = 1; m <= g.MagMat; ++m) {
      const MagneticMatrix& mm = g.mag[k][m];
      out.push_back("    " + std::string("  (") + fmt_i(m, 2) + "): " +
                    fmt_a(moment_text(mm.rotation), 13) + " MPhas: " + fmt_f(mm.phase, 12, 4));
    }
  }
  return out;
}

void write_symmetry_listing(ModelStore& store, int unit, const SpaceGroup& g) {
  for (const std::string& line : symmetry_listing(g)) write_unit(store, unit, line);
}

// ---------------------------------------------------------------------------------------

namespace {

void expand_with_report(ModelStore& store, std::string_view symbol, int report, int unit,
                        SymmetryWork& work) {
  work.info = interpret_symbol(store, symbol, report, unit);
  int bad = 0;
  if (!expand_generators(work, &bad)) {
    show_message(store, " => The symmetry operator " + text::fmt_i(bad, 10) + " is wrong");
    stop_box(store, " The program generated wrong symmetry operator", 1);
    fail(" The program generated wrong symmetry operator");
  }
  build_rotation_list(work);
}

void warn_too_many(ModelStore& store) {
  show_message(store, " Warning!!, symmetry op. are possibly wrong!");
  show_message(store, " Please, supply your own symmetry operators");
}

// The line of time reversals of a magnetic group given by its symbol (Jbt 10).
void read_time_reversal(ModelStore& store, SpaceGroup& g) {
  std::string line = next_operator_line(store);
  std::vector<double> v;
  try {
    v = text::list_numbers(line, 25);
  } catch (const text::FormatError&) {
    v.clear();
  }
  size_t needed = static_cast<size_t>(g.Nop) + (g.Cen == 2 ? 1 : 0);
  if (v.size() < needed) report_line_error(store, 2, line, 0, store.job->reader.PcrLine);
  g.MagMat = 1;
  for (int k = 1; k <= g.Nop; ++k) {
    int s = v[k - 1] < 0 ? -1 : 1;
    int rot = g.op[k].rotation;
    // A moment is an axial vector: the rotation times its determinant, times the reversal.
    g.mag[k][1].rotation = std::abs(rot) * s;
    g.mag[k][1].phase = 0.0f;
  }
  if (g.Cen == 2) {
    g.MagInversionSign = v[g.Nop] < 0 ? -1 : 1;
    show_message(store, g.MagInversionSign < 0 ? " => The magnetic structure is non-centrosymmetric"
                                               : " => The magnetic structure is centrosymmetric");
  }
}

}  // namespace

void read_symmetry_operators(ModelStore& store, const SymmetryInput& input, SpaceGroup& g) {
  std::vector<text::Field> head = read_pcr_line(store, "IIII");
  int nsym = static_cast<int>(head[0].i);
  g.Isy = input.Isy;
  g.Cen = head[1].i == 2 ? 2 : 1;
  g.Laue = static_cast<int>(head[2].i);
  g.LaueFromSymbol = false;
  g.MagMat = static_cast<int>(head[3].i);
  if (g.MagMat > NMAGM) {
    stop_box(store, " Too many magnetic rotation matrices ", 1);
    fail(" Too many magnetic rotation matrices ");
  }
  if (!is_magnetic_job(input.Jbt) || g.MagMat < 0) g.MagMat = 0;
  g.Hexagonal = is_hexagonal_laue(g.Laue);
  g.Multiplicity = nsym;
  int first = g.Hexagonal ? FIRST_HEXAGONAL : FIRST_CUBIC;
  int last = g.Hexagonal ? LAST_HEXAGONAL : LAST_CUBIC;

  LatticeCentring lattice;
  if (input.Irf > 0) {
    lattice = read_lattice_letter(store, input.symbol);
  } else if (lattice_centring(input.symbol, lattice)) {
    LatticeCentring one;
    one.letter = lattice.letter;
    one.code = lattice.code;
    lattice = one;
  }
  g.lattice = lattice;

  g.Nop = 0;
  bool warned = false;
  for (int n = 1; n <= nsym; ++n) {
    // Each line is checked as it is read, so that a fault names its own line.
    SymmetryOperator op;
    int rot = 0;
    std::array<MagneticMatrix, NMAGM + 1> mag{};
    if (input.Isy < 0) {
      std::string line = next_operator_line(store);
      int column = 6;
      OperatorParse p = try_parse_operator(line, column, op);
      if (p.error != OperatorError::None) operator_line_error(store, line, p, false);
      rot = identify_line_rotation(store, op.R, first, last);
      for (int m = 1; m <= g.MagMat; ++m) {
        MagneticOperator mo;
        line = next_operator_line(store);
        p = try_parse_magnetic_operator(line, mo);
        if (p.error != OperatorError::None) operator_line_error(store, line, p, true);
        mag[m] = MagneticMatrix{identify_line_rotation(store, mo.M, first, last), mo.phase};
      }
    } else {
      std::vector<text::Field> f = read_pcr_line(store, "IIIFIIIFIIIF");
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) op.R[i][j] = static_cast<int>(f[4 * i + j].i);
        op.t[i] = static_cast<float>(f[4 * i + 3].r);
      }
      rot = identify_line_rotation(store, op.R, first, last);
      for (int m = 1; m <= g.MagMat; ++m) {
        std::vector<text::Field> h = read_pcr_line(store, "IIIIIIIIIF");
        IntMatrix3 M{};
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j) M[i][j] = static_cast<int>(h[3 * i + j].i);
        mag[m] = MagneticMatrix{identify_line_rotation(store, M, first, last),
                                static_cast<float>(h[9].r)};
      }
    }
    if (g.Nop == NEQV) {
      if (!warned) warn_too_many(store);
      warned = true;
      continue;
    }
    ++g.Nop;
    g.op[g.Nop] = SymOperator{rot, op.t};
    for (int m = 1; m <= g.MagMat; ++m) g.mag[g.Nop][m] = mag[m];
  }
  g.IntensityFactor = g.MagMat != 0 ? 1 : (g.Cen * g.lattice.count) * (g.Cen * g.lattice.count);
  write_symmetry_listing(store, input.unit, g);
}

void setup_phase_symmetry(ModelStore& store, int phase, const SymmetryInput& input) {
  SpaceGroup& g = store.job->groups[phase];
  bool structure = std::abs(input.Jbt) != 2 && std::abs(input.Jbt) != 3;
  if (input.Isy == 0) {
    SymmetryWork work;
    expand_with_report(store, input.symbol, 0, input.unit, work);
    read_lattice_letter(store, input.symbol);
    bool complete = fill_group_from_symbol(input.symbol, work, g);
    if (!complete) warn_too_many(store);
    if (structure) {
      if (std::abs(input.Jbt) == 10 && input.MagneticGroup) read_time_reversal(store, g);
      write_symmetry_listing(store, input.unit, g);
    }
    return;
  }
  g = SpaceGroup{};
  g.symbol = text::pad(input.symbol, SYMBOL_LEN);
  if (structure) read_symmetry_operators(store, input, g);
  if (input.Irf < 1 && input.Irf != -4) {
    if (input.Irf == 0) {
      show_message(store, " Sym.Op. read from file but H,K,L generated from: " +
                              text::pad(input.symbol, SYMBOL_LEN));
      show_message(store, " Output a file with a reduced hkl-set ");
    } else {
      show_message(store, "Sym.Op. read from file, hkl-progenitors generated from:  " +
                              text::pad(input.symbol, SYMBOL_LEN));
      show_message(store, " A file with hkl-satellites will be created!!");
    }
    SymmetryWork work;
    expand_with_report(store, input.symbol, 1, input.unit, work);
    g.Laue = work.info.Laue;
    g.UniqueAxis = work.info.UniqueAxis;
    g.LaueFromSymbol = true;
    g.NumGenerators = work.info.NumGenerators;
    g.Generator = work.info.Generator;
  }
}

}  // namespace kestovar
