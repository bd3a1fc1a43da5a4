#include "controlfile/header_reader.h"

#include <algorithm>
#include <cmath>

#include "controlfile/aux_file.h"
#include "controlfile/line_reader.h"
#include "controlfile/scattering_entries.h"
#include "data/intensity_data.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::fmt_f;
using text::fmt_i;

int geti(const std::vector<text::Field>& f, size_t k) {
  return text::field_int(f, k);
}
float getf(const std::vector<text::Field>& f, size_t k) {
  return text::field_real(f, k);
}
std::string gets(const std::vector<text::Field>& f, size_t k) {
  return text::field_text(f, k);
}

void out(ModelStore& s, const std::string& line) {
  write_unit(s, unit::OUT, line);
}
void sum(ModelStore& s, const std::string& line) {
  write_unit(s, unit::SUM, line);
}
void both(ModelStore& s, const std::string& line) {
  write_out_sum(s, line);
}

bool xray_job(const RunSettings& s) {
  return s.Job == 0 || s.Job == 2;
}

// Reads one raw line of the control file, counting it; false at the end of the file.
bool raw_pcr_line(ModelStore& store, std::string& line) {
  if (!store.files.read_line(unit::PCR, line)) return false;
  store.job->reader.PcrLine += 1;
  return true;
}

}  // namespace

std::string instrument_echo(int ins) {
  switch (ins) {
    case 0:
      return " => Data supplied in free format ";
    case 1:
      return " => Data in D1A,D2B (ILL) format ";
    case 2:
      return " => Data in D1B(ILL) format, Step=0.2 in 2theta ";
    case 3:
      return " => Data in D1B,D20 format ";
    case 4:
    case -4:
      return " => Data in BNBL(Synchrotron) format ";
    case 5:
      return " => Data in GENERAL FORMAT for TWO AXIS instrument ";
    case 6:
      return " => Data in D1A,D2B format as prepared by D1A(D2B)SUM ";
    case 7:
      return " => Data in D4,D20L format ";
    case 8:
      return " => Data in DMC format at Wurenlingen ";
    case 9:
      return " => UXD data from Socabim Eva-2 Software ";
    case 10:
      return " => X-Y type of data: 2theta/TOF/E(Kev)  Intens  sigma ";
    case 11:
      return " => Variable time data collection (format as LHPM) ";
    case 12:
      return " => Data read from GSAS file ";
    default:
      return "";
  }
}

std::vector<std::string> profile_description(int file_npr) {
  const std::vector<std::string> pv = {
      " => Pseudo-Voigt function (ETA variable)",
      "                 X-parameter correspond to: ETA=ETA0+X*2theta",
      "                       pV(x)= ETA*L(x)+(1-ETA)*G(x)"};
  switch (file_npr) {
    case 4:
      return {" => Tripled pseudo-Voigt function (ETA unique)",
              "      p4(x) = X*pV(x-D) + (1-X-Y)*pV(x) + Y*pV(x+D)",
              "          D = Shp1*tan(theta)      ", "      pV(x) = ETA*L(x)+(1-ETA)*G(x)"};
    case 5:
      return pv;
    case 6:
      return {" => Normalized Pearson VII (m exponent variable)",
              "                 X and Y parameters correspond to:",
              "                m=m0+100*X/2theta+10000*Y/2theta**2 "};
    case 8:
      return {" => Numerical profile provided by user in file GLOBAL.SHP"};
    case 9:
      return {" => T.O.F Profile Function #1 ",
              "    Decay double Exponential convoluted with pseudo-Voigt:",
              "    Omega(DT) = (1-eta)N {Exp(u).Erfc(y)+ Exp(v).Erfc(z)} +  ",
              "                2N eta/pi{-Im[Exp(p)E1(p)]-Im[Exp(q)E1(q)]}  "};
    case 11:
      return {" => Split pseudo-Voigt function ",
              "    For x<=0 eta and FWHM (H) are different than for x>0 ",
              "     x<=0    pV(x)= {ETAl*L(x,Hl)+(1-ETAl)*G(x,Hl)}/(N/4)",
              "     x>0     pV(x)= {ETAr*L(x,Hr)+(1-ETAr)*G(x,Hr)}/(N/4)",
              "   L(x,H)=1/{1+4*(x/H)^2};  G(x,H)= exp{-4Ln2*(x/H)^2}",
              "   N ={Hl*((pi-a)*ETAl+a)+Hr*((pi-a)*ETAr+a)}; a=sqrt(pi/Ln2)"};
    case 12: {
      std::vector<std::string> r = pv;
      r.push_back("    This function is convoluted with asymmetry due to axial ");
      r.push_back("    divergence as formulated by: ");
      r.push_back("    L.W. Finger, D.E. Cox and A.P. Jephcoat,");
      r.push_back("    J. Appl. Cryst. 27, 892-900 (1994),");
      r.push_back("    after C.J. Howard, J. Appl. Cryst. 15, 615-620 (1982)");
      r.push_back("    with the integration over the divergence of those authors");
      return r;
    }
    default:
      return {};
  }
}

void read_title(ModelStore& store) {
  RunSettings& s = store.settings();
  std::string line;
  if (!store.files.read_line(unit::PCR, line))
    stop_program(store, "  Error reading the *.PCR at the first line");
  std::string t = text::pad(line, TITLE_LEN);
  if (t.compare(0, 4, "FREE") == 0 || t.compare(0, 4, "COMM") == 0) t = text::pad(t.substr(4), 66);
  s.Title = t;
  store.job->reader.PcrLine = 1;
  // Comment lines after the title ("!" after leading blanks) are counted and skipped.
  for (;;) {
    if (!store.files.read_line(unit::PCR, line)) return;
    std::string lead = text::trim(line);
    if (!lead.empty() && lead[0] == '!') {
      store.job->reader.PcrLine += 1;
      continue;
    }
    store.files.backspace(unit::PCR);
    return;
  }
}

void read_job_line(ModelStore& store) {
  RunSettings& s = store.settings();
  auto f = read_pcr_line(store, "IIIIIIIIIIIIIIIII");
  int* fields[] = {&s.Job, &s.Npr, &s.Nph, &s.Nba, &s.Nex, &s.Nsc, &s.Nor, &s.Dum, &s.Iwg,
                   &s.Ilo, &s.Ias, &s.Res, &s.Ste, &s.Nre, &s.Cry, &s.Uni, &s.Cor};
  for (size_t k = 0; k < 17; ++k) *fields[k] = geti(f, k);
  if (s.Cry != 0) s.Ste = s.Res = s.Dum = s.Nex = s.Nba = s.Npr = 0;
  if (s.Nph < 0) {
    s.Nph = -s.Nph;
    s.AsyMode = 1;
  }
  if (s.Dum == 3) s.DumFactor = 1.0f;
  if (s.Nph == 0) s.Nph = 1;
  sum(store, " => Title:" + text::trim_right(s.Title));
  if (s.Npr == 10) s.Npr = 9;
}

void read_shape_file(ModelStore& store) {
  RunSettings& s = store.settings();
  open_run_file(store, 20);
  AuxFile in{store, unit::SHP, " => File ",
             " => Error reading the numerical profile file " + store.files.name(unit::SHP)};
  std::string line;
  // Values are read list-directed across records.
  std::vector<double> pending;
  auto next_values = [&](size_t n) {
    std::vector<double> v;
    while (v.size() < n) {
      if (pending.empty()) {
        if (!in.next(line)) in.fail_at_end();
        try {
          pending = text::list_numbers(line);
        } catch (const text::FormatError&) {
          in.fail_at_line();
        }
        std::reverse(pending.begin(), pending.end());
        continue;
      }
      v.push_back(pending.back());
      pending.pop_back();
    }
    return v;
  };
  if (!in.next(line)) in.fail_at_end();  // title record
  auto nn = next_values(2);
  s.NpNum = static_cast<int>(nn[0]);
  s.NtNum = static_cast<int>(nn[1]);
  if (s.NtNum < 0 || s.NtNum > INPR || s.NpNum < 0) in.fail_at_line();
  pending.clear();  // the positions start a record
  auto t = next_values(static_cast<size_t>(s.NtNum));
  for (int j = 1; j <= s.NtNum; ++j) s.NumT[j] = static_cast<float>(t[j - 1]);
  if (s.NpNum > NPR) {
    store.files.close(in.unit);
    stop_program(store, " => Too many points in numerical profile!");
  }
  for (int i = 1; i <= s.NpNum; ++i) {
    pending.clear();  // each point starts a record
    auto v = next_values(1 + 2 * static_cast<size_t>(s.NtNum));
    s.NumX[i] = static_cast<float>(v[0]);
    for (int j = 1; j <= s.NtNum; ++j) {
      s.NumG[i * (INPR + 1) + j] = static_cast<float>(v[2 * j - 1]);
      s.NumD[i * (INPR + 1) + j] = static_cast<float>(v[2 * j]);
    }
  }
  store.files.close(in.unit);
}

void read_correction_file(ModelStore& store) {
  RunSettings& s = store.settings();
  open_run_file(store, 21);
  AuxFile in{store, unit::COR, " => File ",
             " => Error reading the intensity-correction file " + store.files.name(unit::COR)};
  std::string line;
  auto numbers = [&](std::string& l) -> std::vector<double> {
    try {
      return text::list_numbers(l);
    } catch (const text::FormatError&) {
      in.fail_at_line();
    }
  };
  if (!in.next(line)) in.fail_at_end();  // title record
  if (s.Cor == 1) {
    // Pairs (CorB, CorA) up to the end of the file.
    s.NCor = 0;
    while (s.NCor < NPRC && in.next(line)) {
      if (text::trim(line).empty()) continue;
      auto v = numbers(line);
      if (v.size() < 2) in.fail_at_line();
      ++s.NCor;
      s.CorB[s.NCor] = static_cast<float>(v[0]);
      s.CorA[s.NCor] = static_cast<float>(v[1]);
    }
  } else if (s.Cor == 2) {
    // CorKind, CorFunc, NCor, then NCor values (kind 1) or NCor pairs (kind 2).
    if (!in.next(line)) in.fail_at_end();
    auto head = numbers(line);
    if (head.size() < 3) in.fail_at_line();
    s.CorKind = static_cast<int>(head[0]);
    s.CorFunc = static_cast<int>(head[1]);
    s.NCor = static_cast<int>(head[2]);
    if (s.NCor < 0 || s.NCor > NPRC) in.fail_at_line();
    const size_t per_term = s.CorKind == 2 ? 2 : s.CorKind == 1 ? 1 : 0;
    const size_t want = static_cast<size_t>(s.NCor) * per_term;
    std::vector<double> v;
    while (v.size() < want) {
      if (!in.next(line)) in.fail_at_end();
      auto more = numbers(line);
      v.insert(v.end(), more.begin(), more.end());
    }
    for (int i = 1; i <= s.NCor && per_term > 0; ++i) {
      if (s.CorKind == 2) {
        s.CorA[i] = static_cast<float>(v[2 * (i - 1)]);
        s.CorB[i] = static_cast<float>(v[2 * (i - 1) + 1]);
      } else {
        s.CorA[i] = static_cast<float>(v[i - 1]);
      }
    }
  }
  store.files.close(in.unit);
}

void read_resolution_name(ModelStore& store) {
  RunSettings& s = store.settings();
  std::string line;
  for (;;) {
    if (!raw_pcr_line(store, line))
      stop_program(store, " Error reading the name of resolution file");
    if (!line.empty() && line[0] == '!') continue;
    break;
  }
  s.ResolutionFile = text::trim(line.substr(0, std::min<size_t>(line.size(), 255)));
}

void check_header_limits(ModelStore& store) {
  RunSettings& s = store.settings();
  s.NbaSign = s.Nba < 0 ? -1 : 1;
  s.Nba = std::abs(s.Nba);
  if (s.Nba > IBACP) {
    show_value(store, "         Number of backg. points:", s.Nba, 0, 1);
    show_value(store, "  Maximum Number of backg. points:", IBACP, 0, 1);
    stop_program(store, " Too many background points ");
  }
  if (s.Nex > IEXCL) {
    show_value(store, "          Number of excl. regions: ", s.Nex, 0, 1);
    show_value(store, "  Maximum number of excl. regions: ", IEXCL, 0, 1);
    stop_program(store, " Too many excluded regions ");
  }
  // The store has room for NPHT phases only.
  if (s.Nph > NPHT) {
    show_value(store, "                 Number of phases: ", s.Nph, 0, 1);
    show_value(store, "         Maximum number of phases: ", NPHT, 0, 1);
    stop_program(store, " Too many phases ");
  }
  s.Npr += 1;
}

void echo_conditions(ModelStore& store) {
  RunSettings& s = store.settings();
  both(store, "");
  both(store, " ==> CONDITIONS OF THIS RUN:");
  both(store, "");
  const int aj = std::abs(s.Job);
  if (s.Job == 0) {
    both(store, s.Cry == 0 ? " => Global Refinement of X-ray powder diffraction data"
                           : " => Refinement of X-ray integrated intensity data");
    if (s.Uni == 2) both(store, " => Energy Dispersive X-ray data");
  }
  if (aj == 1) {
    both(store, s.Cry == 0 ? " => Global Refinement of neutron powder data "
                           : " => Refinement of Neutron integrated intensity data");
    if (s.Job < 0) both(store, " => Neutron Time-Of-Flight data");
  }
  if (s.Cor != 0) both(store, " => Intensities corrections in file *.cor");
  if (s.Cry == 0) {
    if (s.Job == 2) out(store, " => Pattern calculation, X-ray");
    if (xray_job(s)) {
      const char* geometry[] = {"    Bragg-Brentano or Debye-Scherrer geometry",
                                "    Flat plate with PSD", "    Transmission Geometry",
                                "    Synchrotron B-B/D-S geometry"};
      if (s.Ilo >= 0 && s.Ilo <= 3) both(store, geometry[s.Ilo]);
    }
    const char* abscissa[] = {
        "", " => Abcisa variable is T.O.F. in microsecs", " => Abcisa variable is Energy in Kev",
        " => Abcisa variable is Q in recipr. Angstr", " => Abcisa variable is S in recipr. Angstr"};
    if (s.Uni >= 1 && s.Uni <= 4) both(store, abscissa[s.Uni]);
    if (aj == 3) out(store, " => Pattern calculation, Neutrons");
  }
  if (aj > 3) stop_program(store, " Invalid JOBTYP ");
  out(store, " => Title:" + text::trim_right(s.Title));
  out(store, "");
  out(store, " => Number of phases: " + fmt_i(s.Nph, 4));
  out(store, " => Number of excluded regions: " + fmt_i(s.Nex, 4));
  out(store, " => Number of scattering factors supplied: " + fmt_i(std::abs(s.Nsc), 4));
  if (s.Nor == 1) out(store, " => March model for preferred orientation");
  if (s.Nor == 2) out(store, " => Pecharskii model for preferred orientation");
  if (s.Iwg == 1) out(store, " => Maximum Likelihood weighting scheme");
  if (s.Iwg == 2) out(store, " => Unit weights will be applied");
  out(store, s.AsyMode == 0 ? " => Asymmetry correction as in J.Appl.Cryst. 26,128(1993)"
                            : " => Asymmetry correction as in J.Appl.Cryst. 15,615(1982)");
  const int nba = s.Nba * s.NbaSign;
  if (nba == 0)
    out(store, " => Background refined by polynomial function");
  else if (nba == 1)
    out(store, " => Background read from file");
  else if (nba == -1)
    out(store, " => Background refined by Debye-like and Polynomial functions");
  else if (nba == -2) {
    out(store, " => Background adjusted by Fourier filtering ");
    s.Ppl = 2;
  } else if (nba == -3)
    out(store, " => Background adjusted by 12-terms polynomial function ");
  else if (nba <= -4)
    out(store, " => Background interpolated by cubic splines between the " + fmt_i(s.Nba, 4) +
                   " points given");
  else
    out(store,
        " => Background linearly interpolated between the " + fmt_i(s.Nba, 4) + " points given");
  const int file_npr = s.Npr - 1;
  both(store, " => The " + fmt_i(file_npr, 4) + "th default profile function was selected");
  for (const std::string& l : profile_description(file_npr)) out(store, l);
  if (s.Cry == 2) {
    both(store, " => Montecarlo search for a number of " + fmt_i(s.Nre, 3) + " parameters");
    if (s.Nre == 0) stop_program(store, "Montecarlo search for 0 parameters???");
  }
}

void read_output_flags(ModelStore& store) {
  RunSettings& s = store.settings();
  auto f = read_pcr_line(store, "IIIIIIIIIIIIIIIII");
  int* fields[] = {&s.Ipr, &s.Ppl, &s.Ioc, &s.Mat, &s.Pcr, &s.Ls1, &s.Ls2, &s.Ls3, &s.Syo,
                   &s.Prf, &s.Ins, &s.Rpa, &s.Sym, &s.Hkl, &s.Fou, &s.Sho, &s.Ana};
  const int ppl_fourier = s.Ppl;  // the Fourier-filtered background has set it already
  for (size_t k = 0; k < 17; ++k) *fields[k] = geti(f, k);
  if (ppl_fourier == 2 && s.Nba == 2 && s.NbaSign < 0) s.Ppl = 2;
  if (s.Cry == 2) {
    s.Hkl = s.Sho = s.Ana = s.Ls3 = s.Ls2 = s.Ls1 = s.Mat = s.Ppl = s.Ipr = 0;
    s.Ioc = 1;
  }
  if (store.run.CyclicMode == 1) {
    if (s.Rpa == 0) s.Rpa = 1;
    s.Ana = s.Fou = s.Hkl = s.Prf = s.Syo = s.Ls3 = s.Ls2 = s.Ls1 = s.Mat = s.Ioc = s.Ppl = s.Ipr =
        s.Sym = 0;
    s.Pcr = s.Sho = 1;
  }
  if (s.Nph == 1) s.Ls3 = 0;
  if (s.Sym > 0) open_run_file(store, 3);
  if (s.Rpa > 0) open_run_file(store, 4);
  echo_io_options(store);
  if (s.Sym == 1) {
    write_unit(store, unit::SYM, " " + text::pad(s.Title, TITLE_LEN));
    write_unit(store, unit::SYM, fmt_i(s.Syo, 5) + fmt_f(3.5, 8, 4));
  }
  if (s.Rpa == 1) write_rpa_header(store);
}

void echo_io_options(ModelStore& store) {
  RunSettings& s = store.settings();
  out(store, "");
  out(store, " ==> INPUT/OUTPUT OPTIONS:");
  out(store, "");
  if (s.Cry == 0) {
    if (s.Ipr != 0) out(store, " => Output Obs and Calc intensities on last cycle");
    if (s.Ppl == 1) out(store, " => Generate line printer plot");
    if (s.Ppl == 2) out(store, " => Generate bacground file *.bac");
    if (s.Ppl == 3) out(store, " => Difference curve in file *.bac ");
    if (s.Prf != 0) out(store, " => Generate file *.PRF for plot");
    if (s.Ioc != 0) out(store, " => Output Integrated Intensities");
    if (s.Ls1 != 0) out(store, " => Print reflection list");
  }
  if (s.Pcr != 0) out(store, " => Generate new input file *.PCR");
  if (s.Cry == 0) {
    std::string ins = instrument_echo(s.Ins);
    if (ins.empty()) {
      sum(store, " => Invalid instr parameter");
    } else {
      both(store, "");
      both(store, ins);
    }
    if (s.Ls3 != 0) out(store, " => Print merged reflection list");
    if (s.Ls2 == 1) out(store, " => Print corrected data");
    if (s.Ls2 == 2) out(store, " => Pot pattern at each cycle");
    if (s.Ana == 1) sum(store, " => Analysis of refinement at the end");
  }
}

void write_rpa_header(ModelStore& store) {
  RunSettings& s = store.settings();
  const RunState& r = store.run;
  auto w = [&](const std::string& l) { write_unit(store, unit::RPA, l); };
  auto ints = [](std::initializer_list<int> v, int width, int gap) {
    std::string l;
    for (int x : v) l += fmt_i(x, width) + std::string(static_cast<size_t>(gap), ' ');
    return l;
  };
  w("TITL " + text::pad(s.Title, TITLE_LEN));
  w("FILES => PCR-file : " + text::trim(r.PcrCode));
  w("FILES => DAT-file: " + text::pad(r.DatFile, 255));
  w("DATE & TIME " + r.DateTimeText);
  w("REM      NPHASE      IDUM      IASG      NRELL   ICRYG");
  w("GLB1 " + ints({s.Nph, s.Dum, s.Ias, s.Nre, s.Cry}, 5, 3));
  w("REM    JOBTYP    NPROF     NBCKGD     NEXCRG     NSCAT     NORI     ");
  w("GLB1 " + ints({s.Job, s.Npr - 1, s.Nba, s.Nex, s.Nsc, s.Nor}, 5, 3));
  w("REM    IWGT     ILOR     IRESO     ISTEP     IXUNIT     ICORR     IASYM     ");
  w("GLB2 " + ints({s.Iwg, s.Ilo, s.Res, s.Ste, s.Uni, s.Cor, s.AsyMode}, 5, 3));
  w("REM   IOT   IPL   IPC   MAT   NXT  lst1  lst2  lst3  IPL1  IPL2");
  w("OUT1 " + ints({s.Ipr, s.Ppl, s.Ioc, s.Mat, s.Pcr, s.Ls1, s.Ls2, s.Ls3, s.Syo, s.Prf}, 4, 2));
  w("REM   instr  JCIL  JSY  jlkh  jfou ISHOR ianaly");
  w("OUT2 " + ints({s.Ins, s.Rpa, s.Sym, s.Hkl, s.Fou, s.Sho, s.Ana}, 4, 2));
  w("REM      MAT    NXT    IPL1     JCIL     JSY     ISHOR");
  w("OUT1 " + ints({s.Mat, s.Pcr, s.Syo, s.Rpa, s.Sym, s.Sho}, 4, 2));
  w("REM      IOT    IPL     IPC     LST1     LST2     LST3     ");
  w("OUT2 " + ints({s.Ipr, s.Ppl, s.Ioc, s.Ls1, s.Ls2, s.Ls3}, 4, 2));
  w("REM      IPL2     INSTR     JLKH     JFOU     IANALY      ");
  w("OUT3 " + ints({s.Prf, s.Ins, s.Hkl, s.Fou, s.Ana}, 4, 2));
}

void read_instrument_line(ModelStore& store) {
  RunSettings& s = store.settings();
  if (s.Cry != 0) {
    s.Ratio = 0.0f;
    return;
  }
  if (s.Uni == 0) {
    auto f = read_pcr_line(store, "FFFFFFFFF");
    float* fields[] = {&s.Lambda1, &s.Lambda2, &s.Ratio,  &s.Bkpos,  &s.Wdt,
                       &s.Cthm,    &s.muR,     &s.AsyLim, &s.Rpolarz};
    for (size_t k = 0; k < 9; ++k) *fields[k] = getf(f, k);
    if (s.Ratio < 0.0f) {
      s.Ratio = -s.Ratio;
      s.RatioNegative = 1;
    }
  } else {
    auto f = read_pcr_line(store, "FFI");
    s.Bkpos = getf(f, 0);
    s.Wdt = getf(f, 1);
    s.Iabscor = geti(f, 2);
    s.Lambda1 = s.Lambda2 = s.Ratio = 1.0f;
  }
}

void read_cycle_line(ModelStore& store) {
  RunSettings& s = store.settings();
  auto f = read_pcr_line(store, "IFFFFFFFFFF");
  s.NCY = geti(f, 0);
  float* fields[] = {&s.Eps,   &s.R_at, &s.R_an,  &s.R_pr, &s.R_gl,
                     &s.Thmin, &s.Step, &s.Thmax, &s.PSD,  &s.Sent0};
  for (size_t k = 0; k < 10; ++k) *fields[k] = getf(f, k + 1);
  if (s.Cry == 2 || std::abs(s.Job) > 1) s.NCY = 1;
}

void echo_instrument_and_cycles(ModelStore& store) {
  RunSettings& s = store.settings();
  if (s.Cry == 0) {
    if (s.Uni == 0) {
      both(store, " => Wavelengths: " + fmt_f(s.Lambda1, 8, 5) + fmt_f(s.Lambda2, 8, 5));
      out(store, " => Alpha2/Alpha1 ratio: " + fmt_f(s.Ratio, 8, 4));
      if (s.RatioNegative) out(store, " => Different U,V,W parameters for Lambda(2) will be read");
      std::string cthm = " => Cos(Monochromator angle)= " + fmt_f(s.Cthm, 8, 4);
      if (s.Ins == 4) cthm += " => Polarization= " + fmt_f(s.Rpolarz, 8, 4);
      out(store, cthm);
      out(store, " => Absorption correction (muR-eff): " + fmt_f(s.muR, 8, 4));
      out(store,
          " => Asymmetry correction for angles lower than " + fmt_f(s.AsyLim, 8, 3) + " degrees");
    } else {
      out(store, " => Absorption correction type:" + fmt_i(s.Iabscor, 2));
    }
  }
  out(store, " => Base of peaks: 2.0*HW*" + fmt_f(s.Wdt, 8, 2));
  out(store, "");
  out(store, " => Number of cycles: " + fmt_i(s.NCY, 4));
  if (s.Cry != 2) {
    out(store, " => Relaxation factors ==>");
    out(store, "    for coordinates: " + fmt_f(s.R_at, 5, 2));
    out(store, " => for anisotropic temperature factors: " + fmt_f(s.R_an, 5, 2));
    if (s.Cry == 0) {
      out(store, " => for halfwidth/strain/size parameters: " + fmt_f(s.R_pr, 5, 2));
      out(store, " => for lattice constants and propagation vectors: " + fmt_f(s.R_gl, 5, 2));
    }
    out(store, " => EPS-value for convergence: " + fmt_f(s.Eps, 6, 1));
  }
  out(store, " => Low angle scale factor multiplied by sin(theta)/sin(t0), where t0=" +
                 fmt_f(s.Sent0, 8, 2));
}

void read_background_points(ModelStore& store) {
  RunSettings& s = store.settings();
  const int nba = s.Nba * s.NbaSign;
  if (s.Cry != 0 || s.Nba <= 1 || nba == -2 || nba == -3) return;
  out(store, " => Background ==> ");
  out(store, "    Position   Intensity");
  for (int i = 1; i <= s.Nba; ++i) {
    auto f = read_pcr_line(store, "FF");
    s.BackPos[i] = getf(f, 0);
    s.BackInt[i] = getf(f, 1);
    out(store, fmt_f(s.BackPos[i], 12, 2) + fmt_f(s.BackInt[i], 12, 2));
  }
}

void read_excluded_regions(ModelStore& store) {
  RunSettings& s = store.settings();
  if (s.Cry != 0 || s.Nex <= 0) return;
  out(store, " => Excluded regions");
  out(store, "    From     to");
  for (int i = 1; i <= s.Nex; ++i) {
    auto f = read_pcr_line(store, "FF");
    s.ExclLow[i] = getf(f, 0);
    s.ExclHigh[i] = getf(f, 1);
    out(store, fmt_f(s.ExclLow[i], 12, 4) + fmt_f(s.ExclHigh[i], 12, 4));
  }
}

void read_scattering_entries(ModelStore& store) {
  RunSettings& s = store.settings();
  const int n = std::abs(s.Nsc);
  if (n == 0) return;
  if (n > N_SPE) {
    show_message(store, " => Maximum number of chemical species: " + fmt_i(N_SPE, 2));
    stop_program(store, " Too many chemical species");
  }
  const bool neutron = std::abs(s.Job) == 1 || std::abs(s.Job) == 3;
  for (int e = 1; e <= n; ++e) {
    ScatteringEntry& en = s.Scatter[e];
    auto f = read_pcr_line(store, "4FFI");
    en.label = text::pad(gets(f, 0), LABEL_LEN);
    en.v1 = getf(f, 1);
    en.v2 = getf(f, 2);
    en.kind = geti(f, 3);
    if (en.kind == 0 && !neutron) lower_case(en.label);
    if (en.kind == 0 && neutron) continue;
    if (en.kind == 2) {
      lookup_internal_xray(store, e);
      continue;
    }
    if (s.Nsc < 0) {
      en.npoints = 0;
      while (en.npoints < N_FORM - 1) {
        auto p = read_pcr_line(store, "FF");
        const float x = getf(p, 0);
        if (std::fabs(x + 100.0f) < 0.0001f) break;
        ++en.npoints;
        en.s[en.npoints] = x;
        en.f[en.npoints] = getf(p, 1);
      }
    } else {
      int points = 0;
      for (;;) {
        auto p = read_pcr_line(store, "FFFFFFFFF");
        const float first = getf(p, 0);
        if (std::fabs(first + 100.0f) < 0.0001f) {
          en.npoints = points;
          fit_user_form_factor(store, e, points);
          break;
        }
        if (std::fabs(getf(p, 2)) > 1.0e-6f) {
          for (int k = 1; k <= 9; ++k) en.coeff[k] = getf(p, static_cast<size_t>(k - 1));
          en.has_coefficients = true;
          break;
        }
        ++points;
        en.s[points] = first;
        en.f[points] = getf(p, 1);
        if (points >= N_FORM) {
          out(store, " => Too many scattering factor entries");
          stop_program(store, " Too many scattering factor entries ");
        }
      }
    }
  }
}

void read_npar(ModelStore& store) {
  RunSettings& s = store.settings();
  auto f = read_pcr_line(store, "I");
  s.NPAR = geti(f, 0);
  if (std::abs(s.Job) > 1) s.NPAR = 0;
  out(store, " => Number of Least-Squares parameters varied: " + fmt_i(s.NPAR, 5));
  if (s.NPAR < 0 || s.NPAR > MSZ) {
    show_value(store, " => Number of Least-Squares parameters varied: ", s.NPAR, 0, 1);
    show_value(store, "    The maximum number of parameters is: ", MSZ, 0, 1);
    stop_program(store, " Too many refined parameters ");
  }
}

namespace {

// Reads a line of six values and a line of their six codewords into consecutive slots.
void read_six_slots(ModelStore& store, int first_slot) {
  RunSettings& s = store.settings();
  auto v = read_pcr_line(store, "FFFFFF");
  auto c = read_pcr_line(store, "FFFFFF");
  for (int k = 0; k < 6; ++k) {
    s.Global[first_slot + k].value = getf(v, static_cast<size_t>(k));
    s.Global[first_slot + k].code = getf(c, static_cast<size_t>(k));
  }
}

}  // namespace

void read_global_lines(ModelStore& store) {
  RunSettings& s = store.settings();
  // Slots 22-25 (read background a, b, c, d) are fixed at 1, 0, 0, 0 unless read.
  s.Global[22].value = 1.0f;
  if (s.Cry != 0) return;
  auto f = read_pcr_line(store, "FFFFFFFFI");
  const int slots[] = {1, 8, 9, 26};
  for (int k = 0; k < 4; ++k) {
    s.Global[slots[k]].value = getf(f, static_cast<size_t>(2 * k));
    s.Global[slots[k]].code = getf(f, static_cast<size_t>(2 * k + 1));
  }
  s.More = geti(f, 8);
  if (s.Uni != 0) {
    s.Global[26].code = 0.0f;
  } else if (s.Global[26].code > 0.5f && s.Global[26].value > 0.01f) {
    s.Lambda1 = s.Lambda2 = s.Global[26].value;
    sum(store, " => Wavelength is refined");
    out(store, " => Refined Wavelength: " + fmt_f(s.Global[26].value, 10, 5) +
                   fmt_f(s.Global[26].code, 10, 2));
  }
  if (s.More != 0) {
    auto m = read_pcr_line(store, "FFFFFF");
    for (int k = 0; k < 3; ++k) {
      s.Global[27 + k].value = getf(m, static_cast<size_t>(2 * k));
      s.Global[27 + k].code = getf(m, static_cast<size_t>(2 * k + 1));
    }
    if (s.Ilo == 0 || s.Ilo == 3)
      out(store, " => Microabsorption parameters P0,Cp,Tau: " + fmt_f(s.Global[27].value, 10, 4) +
                     fmt_f(s.Global[28].value, 10, 4) + fmt_f(s.Global[29].value, 10, 4));
  }
  const int nba = s.Nba * s.NbaSign;
  if (nba == -2) {
    auto w = read_pcr_line(store, "F");
    s.FourierWindow = getf(w, 0);
    both(store, " => Window for Fourier filtering :" + fmt_f(s.FourierWindow, 8, 2));
  }
  if (nba == 0 || nba == -1 || nba == -3) {
    read_six_slots(store, 2);
    if (nba == -3) read_six_slots(store, 30);
  }
  if (nba == -1) {
    read_six_slots(store, 10);
    read_six_slots(store, 16);
    for (int k = 16; k <= 21; ++k)
      if (s.Global[k].value < 0.00001f) s.Global[k].value = 1.0f;
  }
  if (nba == 1) {
    auto v = read_pcr_line(store, "FFFF");
    auto c = read_pcr_line(store, "FFFF");
    for (int k = 0; k < 4; ++k) {
      s.Global[22 + k].value = getf(v, static_cast<size_t>(k));
      s.Global[22 + k].code = getf(c, static_cast<size_t>(k));
    }
    if (s.Global[22].value < 1.0e-10f) s.Global[22].value = 1.0f;
  }
}

void apply_intensity_corrections(ModelStore& store) {
  RunSettings& s = store.settings();
  Pattern& p = store.pattern();
  for (int i = 1; i <= p.NPTS; ++i) {
    const float x = p.X[i];
    float c = 0.0f, v = 0.0f;
    if (s.CorFunc == 1) {
      float xp = 1.0f;
      for (int k = 1; k <= s.NCor; ++k) {
        c += s.CorA[k] * xp;
        v += s.CorB[k] * s.CorB[k] * xp * xp;
        xp *= x;
      }
    } else {
      const float x2 = x * x;
      const float e = std::exp(-s.CorA[3] / x2) / (x2 * x2 * x);
      c = s.CorA[1] + s.CorA[2] * e;
      v = s.CorB[1] * s.CorB[1] +
          (s.CorB[2] * s.CorB[2] - s.CorB[3] * s.CorB[3] * s.CorA[2] * s.CorA[2] / x2) * e * e;
      for (int k = 4; k + 1 <= s.NCor; k += 2) {
        const float g = std::exp(-s.CorA[k + 1] * x2);
        c += s.CorA[k] * g;
        v += (s.CorB[k] * s.CorB[k] - (x * s.CorA[k]) * (x * s.CorA[k])) * g * g;
      }
    }
    if (c == 0.0f) continue;  // no correction defined at this point
    const float y_old = p.Yobs[i];
    p.Yobs[i] = y_old / c;
    p.Variance[i] = (y_old != 0.0f ? v / y_old : 0.0f) + p.Variance[i] / (c * c);
  }
}

void read_pattern_data(ModelStore& store) {
  RunSettings& s = store.settings();
  Pattern& p = store.pattern();
  if (std::abs(s.Job) < 2) {
    show_message(store, " => Reading intensity file *.DAT...");
    read_intensity_data(store);
    if (s.Cor == 2 && s.CorKind == 2) apply_intensity_corrections(store);
    if (s.Prf == 1 && !p.ConstantStep) s.Prf = -3;
    if (s.Iwg == 2)
      for (int i = 1; i <= p.NPTS; ++i) p.Variance[i] = 1.0f;
    if (s.Ste > 1) {
      both(store, " => The number of data points has been reduced");
      both(store, "    by a factor of " + fmt_i(s.Ste, 2));
    }
  } else {
    // A pattern calculation builds its abscissas with a constant step.
    const double n = s.Step != 0.0f ? (s.Thmax - s.Thmin) / s.Step + 1.5 : 0.0;
    // A range without a single point (zero step, end before start) is refused.
    if (!(n >= 1.0) || n > 1.0e9) {
      stop_program(store, " => Invalid range or step of the calculated pattern ");
    }
    const int npts = static_cast<int>(n);
    if (npts > IDSZ) {
      out(store, " => Program can handle only" + fmt_i(IDSZ, 6) + " points");
      out(store, fmt_i(npts, 8) + " points were input");
      show_message(store, " Too many data points NPTS>IDSZ!");
      stop_program(store, " Too many data points ");
    }
    p.NPTS = npts;
    p.Thmin = s.Thmin;
    p.Step = s.Step;
    p.ConstantStep = true;
    for (int i = 1; i <= npts + 1; ++i) p.X[i] = s.Thmin + static_cast<float>(i - 1) * s.Step;
    p.Thmax = npts > 0 ? p.X[npts] : s.Thmin;
    for (int i = 1; i <= npts; ++i) {
      p.Variance[i] = 1.0f;
      p.Ncount[i] = 1;
    }
  }
  if (p.NPTS > IDSZ) {
    out(store, " => Program can handle only" + fmt_i(IDSZ, 6) + " points");
    out(store, fmt_i(p.NPTS, 8) + " points were input");
    show_message(store, " Too many data points NPTS>IDSZ!");
    stop_program(store, " Too many data points ");
  }
  if (s.Uni == 1) {
    both(store, " ==> T.O.F. range, and number of points:");
    both(store, "    TOFmin: " + fmt_f(p.Thmin, 10, 3) + "  TOFmax: " + fmt_f(p.Thmax, 10, 3));
    both(store, "    No. of points: " + fmt_i(p.NPTS, 6));
  } else if (s.Uni == 2) {
    both(store, " ==> Energy range, and number of points:");
    both(store, "   Emin: " + fmt_f(p.Thmin, 10, 3) + "  Emax: " + fmt_f(p.Thmax, 10, 3));
    both(store, "    No. of points: " + fmt_i(p.NPTS, 6));
  } else {
    both(store, " ==> Angular range, step and number of points:");
    both(store, "     2Thmin: " + fmt_f(p.Thmin, 8, 4) + "  2Thmax: " + fmt_f(p.Thmax, 8, 4) +
                    "  Step: " + fmt_f(p.Step, 8, 4) + "  No. of points: " + fmt_i(p.NPTS, 6));
  }
}

void repair_zero_counts(ModelStore& store) {
  Pattern& p = store.pattern();
  for (int i = 1; i <= p.NPTS; ++i) {
    if (p.Variance[i] < 1.0e-6f) {
      out(store, " => Zero counts at step no." + fmt_i(i, 7) +
                     " at 2theta/TOF/E(KeV): " + fmt_f(p.X[i], 8, 4));
      show_value(store, " Zero counts al point no. ", i, 0, 1);
      show_message(store, " Program fix intensity at 1.0 and Variance at 1E6");
      p.Yobs[i] = 1.0f;
      p.Variance[i] = 1.0e6f;
    }
  }
}

}  // namespace kestovar
