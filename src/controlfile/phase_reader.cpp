#include "controlfile/phase_reader.h"

#include <cmath>
#include <cstdlib>

#include "controlfile/phase_lines.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "symmetry/expansion.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::fmt_f;
using text::fmt_i;

bool pattern_matching(const Phase& ph) {
  const int aj = std::abs(ph.Jbt);
  return aj == 2 || aj == 3;
}

// Stops when a count of the flag line exceeds its table: the count, the maximum, the box.
void check_count(ModelStore& store, int count, int maximum, const char* what, const char* box) {
  if (count >= 0 && count <= maximum) return;
  show_value(store, std::string("         Number of ") + what, count, 0, 1);
  show_value(store, std::string("  Maximum number of ") + what, maximum, 0, 1);
  stop_program(store, box);
}

void read_flag_lines(ModelStore& store, Phase& ph) {
  LineValues f = read_line_values(store, "IIIFFFIIIIIFIII");
  ph.Nat = f.i(0);
  ph.Dis = f.i(1);
  ph.Mom = f.i(2);
  ph.Pr1 = f.r(3);
  ph.Pr2 = f.r(4);
  ph.Pr3 = f.r(5);
  ph.Jbt = f.i(6);
  ph.Irf = f.i(7);
  ph.Isy = f.i(8);
  ph.Str = f.i(9);
  ph.Furth = f.i(10);
  ph.ATZ = f.r(11);
  ph.Nvk = f.i(12);
  ph.PhaseNpr = f.i(13) + 1;
  ph.More = f.i(14);

  // Counts that size tables of the store.
  const int nvk = std::abs(ph.Nvk) * (ph.Nvk < 0 ? 2 : 1);
  check_count(store, ph.Dis, NCONST, "distance constraints:", " Too many distance constraints ");
  check_count(store, ph.Mom, NCONST, "moment constraints:", " Too many moment constraints ");
  check_count(store, nvk, NEQV, "propagation vectors:", " Too many propagation vectors ");
  check_count(store, ph.Furth, MPAR - ph.FurtherBase,
              "further parameters:", " Too many further parameters ");

  if (ph.More != 0) {
    LineValues g = read_line_values(store, "IIIIIIFFFFI");
    ph.Jvi = g.i(0);
    ph.Jdi = g.i(1);
    ph.Hel = g.i(2);
    ph.Sol = g.i(3);
    ph.Mom2 = g.i(4);
    ph.Ter = g.i(5);
    ph.Brind = g.r(6);
    ph.RMua = g.r(7);
    ph.RMub = g.r(8);
    ph.RMuc = g.r(9);
    ph.Jtyp = g.i(10);
  }
}

void adjust_flags(ModelStore& store, Phase& ph) {
  RunSettings& s = store.settings();
  if (s.Cry != 0) ph.Irf = 4;
  // An Irf outside its table is refused when the reflections are prepared.
  const bool integrated = std::abs(ph.Irf) == 4;
  if (integrated) s.IntegratedIntensities = 1;
  if (std::fabs(ph.Pr1) + std::fabs(ph.Pr2) + std::fabs(ph.Pr3) < 0.01f) {
    ph.Pr1 = ph.Pr2 = 0.0f;
    ph.Pr3 = 1.0f;
  }
  if (ph.Sol == 1 && ph.Irf == 1) s.Fou = 0;
  if (integrated) {
    ph.Sol = 0;
    ph.Str = 0;
    if (ph.RMua < 0.00001f) ph.RMua = 1.0f;
  }
  if (ph.Brind < 1.0e-15f) ph.Brind = 1.0f;
  if (ph.PhaseNpr == 1) ph.PhaseNpr = s.Npr;
  if (ph.Jtyp == 0) ph.Jtyp = s.Job;
  const int aj = std::abs(ph.Jbt);
  // Magnetic scattering needs neutrons: an X-ray radiation taken from the job (refinement 0
  // or pattern calculation 2) becomes neutrons for a magnetic phase.
  if ((aj == 1 || aj == 10) && (ph.Jtyp == 0 || ph.Jtyp == 2)) ph.Jtyp = 1;
  if (ph.Dis != 0 || ph.Mom != 0) s.HasRestraints = 1;
  ph.KvecAugmented = ph.Nvk < 0;
  ph.Nvk = std::abs(ph.Nvk);
}

void read_space_group_line(ModelStore& store, Phase& ph) {
  std::string line;
  if (!read_text_line(store, line)) {
    show_value(store, " Please check your *.PCR file at line: ", store.job->reader.PcrLine, 0, 1);
    stop_program(store, "  Error reading the space group symbol");
  }
  ph.SpaceGroupSymbol = text::pad(line, SYMBOL_LEN);
  const std::string after = text::pad(line.size() > 20 ? line.substr(20) : std::string(), 10);
  const size_t at = after.find("Mag");
  ph.MagneticGroup = std::abs(ph.Jbt) == 10 && at != std::string::npos && at < 8;
}

void echo_job(ModelStore& store, const Phase& ph, int n) {
  const int aj = std::abs(ph.Jbt);
  std::string text;
  switch (aj) {
    case 0:
      text = " => Crystal Structure Refinement";
      break;
    case 1:
      text = ph.Jbt > 0 ? " => Magnetic Structure Refinement"
                        : " => Magnetic Structure Refinement (Spherical)";
      break;
    case 2:
      text = " => Pattern Matching (fixed scale)";
      break;
    case 3:
      text = " => Pattern Matching (variable scale)";
      break;
    case 4:
      text = " => Structural model provided by user";
      break;
    case 5:
      text = " => Magnetic model provided by user";
      break;
    case 10:
      text = ph.Jbt > 0 ? " => Crystal+Magnetic Structure Refinement"
                        : " => Crystal+Magnetic(Spherical) Structure Refinement";
      break;
    default:
      return;
  }
  listing(store, text);
  write_unit(store, unit::SUM, text + " for phase:" + fmt_i(n, 2));
  if (aj == 2 || aj == 3)
    listing(store,
            ph.Jbt > 0 ? " => Input data: Integrated Intensities" : " => Input data: F(H)^2");
  if (ph.Hel == 1 && (aj == 1 || aj == 10)) {
    listing(store, " => Fourier coefficients: S=1/2 (m1 u+ i m2 v), with u.v=0");
    listing(store, "    ( -> M3(imag) or Phi(imag) is calculated to satisfy u.v=0 )");
  }
}

// The drawing or cluster file that the second flag line asks for.
void echo_output_files(ModelStore& store, const Phase& ph, int n) {
  if (ph.More == 0) return;
  const char* text = nullptr;
  if (ph.Jvi == 1) text = " => Schakal File (*.sch) is output for phase:";
  if (ph.Jvi == 2) text = " => STRUPLO File (*.sch) is output for phase:";
  if (ph.Jvi == 11) text = " => Clusters of overlaped reflections is output for phase:";
  if (text) listing_and_summary(store, text + fmt_i(n, 2));
}

void echo_header(ModelStore& store, const Phase& ph, int n) {
  const RunSettings& s = store.settings();
  if (ph.Jtyp != s.Job) {
    listing_and_summary(store, " => Different job for phase: " + fmt_i(n, 2));
    if (ph.Jtyp == 0) listing_and_summary(store, "    X-ray diffraction data");
    if (ph.Jtyp == 1) listing_and_summary(store, "    Neutron diffraction data");
    if (ph.Jtyp == -1) listing_and_summary(store, "    Neutron T.O.F. diffraction data");
  }
  echo_job(store, ph, n);
  if (std::abs(ph.Jbt) == 3 && ph.Irf != 2) {
    show_value(store, "  Illegal JBT and IRF for phase:", n, 0, 1);
    show_message(store, "  If ABS(JBT)=3 then IRF must be = 2");
    stop_program(store, " Illegal JBT and IRF ");
  }
  if (std::abs(ph.Irf) == 4) {
    listing(store, " => Integrated intensities as observations for phase: " + fmt_i(n, 2));
    if (ph.Irf == -4) listing(store, "    Partial Structure Factors, Fp=A+iB, read from file");
  }
  if (ph.PhaseNpr != s.Npr && std::abs(ph.Irf) != 4)
    listing_and_summary(store, " => The " + fmt_i(ph.PhaseNpr - 1, 4) +
                                   "th profile function was selected for phase no. " + fmt_i(n, 2));
  listing(store, " => Preferred orientation vector: " + fmt_f(ph.Pr1, 8, 4) + fmt_f(ph.Pr2, 8, 4) +
                     fmt_f(ph.Pr3, 8, 4));
  listing(store, "");
  listing(store, " =>-------> Data for PHASE:" + fmt_i(n, 2));
  listing(store, " => Number of atoms: " + fmt_i(ph.Nat, 4));
  listing(store, " => Number   of   distance    constraints: " + fmt_i(ph.Dis, 4));
  listing(store, " => Number of magnetic moment constraints: " + fmt_i(ph.Mom, 4));
  if (ph.KvecAugmented) {
    listing(store, " => The list of [K] vectors has been augmented with [-K]");
    listing(store, " => Number of propagation vectors [K]+[-K] = " + fmt_i(2 * ph.Nvk, 3));
  } else {
    listing(store, " => Number of propagation vectors [K] = " + fmt_i(ph.Nvk, 3));
  }
}

// Reserves the atoms of the phase in the table shared by all phases.
void reserve_atoms(ModelStore& store, Phase& ph, int n) {
  JobRecords& job = *store.job;
  // A pattern-matching phase has no atom lines: its atoms take no part.
  if (pattern_matching(ph)) ph.Nat = 0;
  check_count(store, ph.Nat < 0 ? ph.Nat : job.NatTotal + ph.Nat, NATS,
              "atoms:", " Too many atoms ");
  ph.FirstAtom = job.NatTotal + 1;
  for (int a = ph.FirstAtom; a < ph.FirstAtom + ph.Nat; ++a) {
    job.atoms[a] = AtomSite{};
    job.atoms[a].phase = n;
  }
  job.NatTotal += ph.Nat;
}

// ---------------------------------------------------------------------------------------
// Atom lines.

enum class AtomFormat { Crystal, UserModel, CrystalMagnetic, Magnetic };

AtomFormat atom_format(const Phase& ph) {
  switch (std::abs(ph.Jbt)) {
    case 1:
    case 5:
      return AtomFormat::Magnetic;
    case 4:
      return AtomFormat::UserModel;
    case 10:
      return AtomFormat::CrystalMagnetic;
    default:
      return AtomFormat::Crystal;
  }
}

// Heads of value columns, each right-aligned in 10 characters.
std::string heads(std::string prefix, std::initializer_list<const char*> names) {
  for (const char* name : names) prefix += text::fmt_a(name, 10);
  return prefix;
}

// "Codes: " and similar marks before a row of values, under the values of the atom line.
std::string marked(const char* mark, const std::string& values) {
  return std::string(15, ' ') + mark + values;
}

// Heads over the values of the magnetic formats (label, type, Mag, Vek: 22 columns).
constexpr const char* kMagneticHead = " Atom  Ntyp  Mag  Vek ";
constexpr const char* kMagneticBlank = "                      ";

std::string atom_prefix(const AtomSite& at) {
  return " " + at.Label + " " + at.Type;
}

void atom_heads(ModelStore& store, AtomFormat format, int jbt) {
  listing(store, " => Initial parameters ==>");
  switch (format) {
    case AtomFormat::Crystal:
      listing(store,
              " Atom  Ntyp                  X         Y         Z         B         occ.      "
              "Op.in.  Op.fin.");
      listing(store,
              "                           B11       B22       B33       B12       B13       B23");
      break;
    case AtomFormat::UserModel:
      listing(store, " => The meaning of the following list of 15 atomic parameters");
      listing(store, "    is defined above from subroutine STRMOD");
      listing(store, heads(" Atom  Ntyp ", {"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8"}));
      listing(store,
              heads("            ", {"P9", "P10", "P11", "P12", "P13", "P14", "P15", "P16"}));
      break;
    case AtomFormat::CrystalMagnetic:
      listing(store, heads(kMagneticHead, {"X", "Y", "Z", "B", "occ.", "N_type"}));
      listing(store, jbt > 0 ? heads(kMagneticBlank, {"Rx", "Ry", "Rz", "Ix", "Iy", "Iz", "MagPh"})
                             : heads(kMagneticBlank,
                                     {"Rm", "Rphi", "Rtheta", "Im", "Iphi", "Itheta", "MagPh"}));
      listing(store, heads(kMagneticBlank, {"B11", "B22", "B33", "B12", "B13", "B23"}));
      break;
    case AtomFormat::Magnetic:
      if (std::abs(jbt) == 5) {
        listing(store, heads(kMagneticHead, {"X", "Y", "Z", "B", "occ.", "Mom", "beta", "Phase"}));
        listing(store, heads(kMagneticBlank, {"P9", "P10", "P11", "P12", "P13", "P14", "P15"}));
      } else if (jbt > 0) {
        listing(store, heads(kMagneticHead, {"X", "Y", "Z", "B", "occ.", "Rx", "Ry", "Rz"}));
        listing(store, heads(kMagneticBlank, {"Ix", "Iy", "Iz", "B11", "B22", "B33", "MagPh"}));
      } else {
        listing(store, heads(kMagneticHead, {"X", "Y", "Z", "B", "occ.", "Rm", "Rphi", "Rtheta"}));
        listing(store,
                heads(kMagneticBlank, {"Im", "Iphi", "Itheta", "B11", "B22", "B33", "MagPh"}));
      }
      break;
  }
}

void read_crystal_atom(ModelStore& store, AtomSite& at) {
  ParamSlot* sl = at.slot.data();
  LineValues f = read_line_values(store, "44FFFFFIII");
  at.Label = f.a(0, LABEL_LEN);
  at.Type = f.a(1, LABEL_LEN);
  for (int k = 1; k <= 5; ++k) sl[k].value = f.r(static_cast<size_t>(k + 1));
  at.In = f.i(7);
  at.Fin = f.i(8);
  at.N_t = f.i(9);
  listing(store, atom_prefix(at) + std::string(12, ' ') + slot_values(sl, {1, 2, 3, 4, 5}, 10, 5) +
                     std::string(7, ' ') + fmt_i(at.In, 5) + fmt_i(at.Fin, 5));
  read_slot_codes(store, sl, {1, 2, 3, 4, 5});
  listing(store, marked("Codes: ", slot_codes(sl, {1, 2, 3, 4, 5}, 10, 5)));
  if (std::abs(at.N_t) == 2) {
    read_slots_with_codes(store, sl, {13, 14, 15, 16, 17, 18});
    listing(store, marked("Betas: ", slot_values(sl, {13, 14, 15, 16, 17, 18}, 10, 5)));
    listing(store, marked("Codes: ", slot_codes(sl, {13, 14, 15, 16, 17, 18}, 10, 5)));
  }
  if (std::abs(at.N_t) == 4) {
    read_slots_with_codes(store, sl, {19, 20, 21, 22, 23, 24, 25});
    listing(store, marked("Formf: ", slot_values(sl, {19, 20, 21, 22, 23, 24, 25}, 10, 5)));
    listing(store, marked("Codes: ", slot_codes(sl, {19, 20, 21, 22, 23, 24, 25}, 10, 5)));
    read_slots_with_codes(store, sl, {26, 27, 28, 29, 30, 31, 32});
    listing(store, marked("Formf: ", slot_values(sl, {26, 27, 28, 29, 30, 31, 32}, 10, 5)));
    listing(store, marked("Codes: ", slot_codes(sl, {26, 27, 28, 29, 30, 31, 32}, 10, 5)));
  }
}

void read_user_model_atom(ModelStore& store, AtomSite& at) {
  ParamSlot* sl = at.slot.data();
  LineValues f = read_line_values(store, "44FFFFFFFF");
  at.Label = f.a(0, LABEL_LEN);
  at.Type = f.a(1, LABEL_LEN);
  at.N_t = 0;
  for (int k = 1; k <= 8; ++k) sl[k].value = f.r(static_cast<size_t>(k + 1));
  read_slot_codes(store, sl, {1, 2, 3, 4, 5, 6, 7, 8});
  read_slot_values(store, sl, {9, 10, 11, 12, 13, 14, 15, 16});
  read_slot_codes(store, sl, {9, 10, 11, 12, 13, 14, 15});  // P16 has no codeword
  listing(store, atom_prefix(at) + "  " + slot_values(sl, {1, 2, 3, 4, 5, 6, 7, 8}, 10, 5));
  listing(store, "     Codes: " + slot_codes(sl, {1, 2, 3, 4, 5, 6, 7, 8}, 10, 5));
  listing(store, "     P9-16: " + slot_values(sl, {9, 10, 11, 12, 13, 14, 15, 16}, 10, 5));
  listing(store, "     Codes: " + slot_codes(sl, {9, 10, 11, 12, 13, 14, 15}, 10, 5));
}

std::string magnetic_prefix(const AtomSite& at) {
  return atom_prefix(at) + fmt_i(at.MagType, 5) + fmt_i(at.Vek, 5) + "  ";
}

void read_crystal_magnetic_atom(ModelStore& store, AtomSite& at) {
  ParamSlot* sl = at.slot.data();
  LineValues f = read_line_values(store, "44IIFFFFFI");
  at.Label = f.a(0, LABEL_LEN);
  at.Type = f.a(1, LABEL_LEN);
  at.MagType = f.i(2);
  at.Vek = f.i(3);
  for (int k = 1; k <= 5; ++k) sl[k].value = f.r(static_cast<size_t>(k + 3));
  at.N_t = f.i(9);
  read_slot_codes(store, sl, {1, 2, 3, 4, 5});
  listing(store, magnetic_prefix(at) + slot_values(sl, {1, 2, 3, 4, 5}, 10, 5) + fmt_i(at.N_t, 10));
  listing(store, marked("Codes: ", slot_codes(sl, {1, 2, 3, 4, 5}, 10, 5)));
  if (at.N_t == 1 || at.N_t == 3) {
    read_slots_with_codes(store, sl, {6, 7, 8, 9, 10, 11, 12});
    listing(store, marked(" Mom-> ", slot_values(sl, {6, 7, 8, 9, 10, 11, 12}, 10, 5)));
    listing(store, marked("Codes: ", slot_codes(sl, {6, 7, 8, 9, 10, 11, 12}, 10, 5)));
  }
  if (at.N_t == 2 || at.N_t == 3) {
    read_slots_with_codes(store, sl, {13, 14, 15, 16, 17, 18});
    listing(store, marked("Betas: ", slot_values(sl, {13, 14, 15, 16, 17, 18}, 10, 5)));
    listing(store, marked("Codes: ", slot_codes(sl, {13, 14, 15, 16, 17, 18}, 10, 5)));
  }
}

void read_magnetic_atom(ModelStore& store, AtomSite& at, int jbt) {
  ParamSlot* sl = at.slot.data();
  LineValues f = read_line_values(store, "44IIFFFFFFFF");
  at.Label = f.a(0, LABEL_LEN);
  at.Type = f.a(1, LABEL_LEN);
  at.MagType = f.i(2);
  at.Vek = f.i(3);
  at.N_t = 1;
  for (int k = 1; k <= 8; ++k) sl[k].value = f.r(static_cast<size_t>(k + 3));
  read_slot_codes(store, sl, {1, 2, 3, 4, 5, 6, 7, 8});
  LineValues v = read_line_values(store, "FFFFFFF");
  LineValues c = read_line_values(store, "FFFFFFF");
  const int second[] = {9, 10, 11, 13, 14, 15};
  for (size_t k = 0; k < 6; ++k) {
    sl[second[k]].value = v.r(k);
    sl[second[k]].code = c.r(k);
  }
  at.MagPh.value = v.r(6);
  at.MagPh.code = c.r(6);
  const char* mark = std::abs(jbt) == 5 ? "P9-15->" : " Imm-> ";
  listing(store, magnetic_prefix(at) + slot_values(sl, {1, 2, 3, 4, 5, 6, 7, 8}, 10, 5));
  listing(store, marked("Codes: ", slot_codes(sl, {1, 2, 3, 4, 5, 6, 7, 8}, 10, 5)));
  listing(store, marked(mark, slot_values(sl, {9, 10, 11, 13, 14, 15}, 10, 5) +
                                  fmt_f(at.MagPh.value, 10, 5)));
  listing(store, marked("Codes: ", slot_codes(sl, {9, 10, 11, 13, 14, 15}, 10, 5) +
                                       fmt_f(at.MagPh.code, 10, 5)));
}

}  // namespace

void read_phase_header(ModelStore& store, int n) {
  Phase& ph = store.phase(n);

  std::string line;
  if (!read_text_line(store, line)) stop_program(store, " Error reading the phase name in *.PCR");
  ph.PhaseName = text::pad(line, PHASE_NAME_LEN);
  listing(store, " " + std::string(80, '-'));
  listing(store, " => Phase  No." + fmt_i(n, 2));
  listing(store, "      " + text::trim_right(ph.PhaseName));

  read_flag_lines(store, ph);
  adjust_flags(store, ph);
  echo_output_files(store, ph, n);
  read_space_group_line(store, ph);
  echo_header(store, ph, n);
  reserve_atoms(store, ph, n);

  SymmetryInput input;
  input.symbol = ph.SpaceGroupSymbol;
  input.Isy = ph.Isy;
  input.Jbt = ph.Jbt;
  input.Irf = ph.Irf;
  input.MagneticGroup = ph.MagneticGroup;
  input.unit = unit::OUT;
  setup_phase_symmetry(store, n, input);
}

void read_atoms(ModelStore& store, int n) {
  Phase& ph = store.phase(n);
  if (pattern_matching(ph) || ph.Nat <= 0) return;
  const AtomFormat format = atom_format(ph);
  atom_heads(store, format, ph.Jbt);
  for (int a = ph.FirstAtom; a < ph.FirstAtom + ph.Nat; ++a) {
    AtomSite& at = store.job->atoms[a];
    switch (format) {
      case AtomFormat::Crystal:
        read_crystal_atom(store, at);
        break;
      case AtomFormat::UserModel:
        read_user_model_atom(store, at);
        break;
      case AtomFormat::CrystalMagnetic:
        read_crystal_magnetic_atom(store, at);
        break;
      case AtomFormat::Magnetic:
        read_magnetic_atom(store, at, ph.Jbt);
        break;
    }
  }
}

}  // namespace kestovar
