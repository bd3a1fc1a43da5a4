#include "data/export_data.h"

#include <string>

#include "data/data_file.h"
#include "data/pattern.h"
#include "run/capacities.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

constexpr size_t EXPORT_LINE_LEN = 129;  // the first character and up to 128 more

// What the export file tells about the measurement; shown in the conditions block.
struct Conditions {
  std::string date = std::string(20, ' ');
  std::string file = std::string(8, ' ');
  std::string ident = std::string(80, ' ');
  std::string drive = std::string(8, ' ');
  std::string scan_mode = std::string(15, ' ');
  std::string anode = std::string(2, ' ');
  std::string rotation = " ";
  float run_time = 0, count_time = 0, omega = 0, chi = 0, phi = 0, tr1 = 0, tr2 = 0;
  float kv = 0, ma = 0, hv = 0, gain = 0, lld = 0, uld = 0;
  float wav1 = 0, wav2 = 0, wav3 = 0, wave_ratio = 0;
};

// The text from column `first` up to the character before the next "'" found in columns
// first..last (the whole of them when there is none), blank-padded to `width`.
std::string quoted_text(const std::string& line, size_t first, size_t last, size_t width) {
  const std::string c = columns(line, first, last);
  const size_t q = c.find('\'');
  return text::pad(q == std::string::npos ? text::trim_right(c) : c.substr(0, q), width);
}

// A number in the w columns from column `col`, read with the descriptor `desc` (F8.0 ...).
float value_at(DataFile& in, const std::string& line, size_t col, size_t w,
               const std::string& desc) {
  return field_real(in.parse("(" + desc + ")", columns(line, col, col + w - 1)), 0);
}

// The same, or nothing when it cannot be read.
bool try_value_at(const std::string& line, size_t col, size_t w, const std::string& desc,
                  float& v) {
  try {
    v = field_real(text::read_formatted("(" + desc + ")", columns(line, col, col + w - 1)), 0);
    return true;
  } catch (const text::FormatError&) {
    return false;
  }
}

void write_conditions(DataFile& in, const Conditions& c, const Pattern& p) {
  using text::fmt_f;
  const std::string block[] = {
      " => Experimental conditions:",
      "    Date of experiment: " + c.date,
      "    Data from file:  " + c.file,
      "    Data identifier: " + c.ident,
      "    Run time: " + fmt_f(c.run_time, 8, 1) + " for " + text::fmt_i(p.NPTS, 5) +
          " points   Step size = " + fmt_f(p.Step, 6, 3),
      "    Scan mode: " + c.drive + "/" + c.scan_mode + " Counting time:" +
          fmt_f(c.count_time, 5, 1) + " secs/step  Sample rotation: " + c.rotation,
      "    Angles: 2-theta= " + fmt_f(p.Thmin, 8, 3) + "  omega= " + fmt_f(c.omega, 8, 3) +
          "  chi= " + fmt_f(c.chi, 8, 3) + "  phi= " + fmt_f(c.phi, 8, 3),
      "                tr1= " + fmt_f(c.tr1, 8, 3) + "    tr2= " + fmt_f(c.tr2, 8, 3),
      "    Generator settings:",
      "       KV= " + fmt_f(c.kv, 4, 0) + " kV MA= " + fmt_f(c.ma, 4, 0) +
          " mA  HV= " + fmt_f(c.hv, 4, 0) + "  Gain= " + fmt_f(c.gain, 4, 0) +
          "  LLD= " + fmt_f(c.lld, 6, 3) + " V  ULD= " + fmt_f(c.uld, 6, 3) + " V",
      "    Wavelengths:",
      "        Anode=" + c.anode + "  Wav1= " + fmt_f(c.wav1, 8, 5) +
          "  Wav2= " + fmt_f(c.wav2, 8, 5) + "  Wav3= " + fmt_f(c.wav3, 8, 5) +
          "  WaveRatio= " + fmt_f(c.wave_ratio, 8, 5)};
  for (const std::string& line : block) {
    write_unit(in.store(), unit::OUT, line);
    write_unit(in.store(), unit::SUM, line);
  }
}

}  // namespace

void read_export_data(DataFile& in, Pattern& p) {
  Conditions c;
  bool counts = false;
  std::string l;
  for (;;) {
    // A file that ends before its counts is a read error.
    if (!in.next(l)) in.read_error();
    if (l.size() > EXPORT_LINE_LEN) l.resize(EXPORT_LINE_LEN);
    if (l.empty()) continue;
    const char first = l[0];
    if (first == ';' || first == '*' || first == '/') {
      if (columns(l, 3, 7) == "RANGE") {
        // Only the first range of the file is read.
        if (columns(l, 9, 9) != "1") break;
        continue;
      }
      // A comment without a "." in columns 3-21 leaves the file name as it was.
      const size_t dot = columns(l, 3, 21).find('.');
      if (dot != std::string::npos) c.file = text::pad(columns(l, 3, 21).substr(0, dot), 8);
      continue;
    }
    if (first != '_') continue;
    const std::string key = columns(l, 2, 4);
    const std::string key2 = key.substr(0, 2);
    if (key == "SAM") {
      c.ident = quoted_text(l, 10, 121, 80);
    } else if (key == "DAT") {
      c.date = columns(l, 16, 35);
    } else if (key == "RUN") {
      c.run_time = value_at(in, l, 10, 8, "F8.0");
    } else if (key == "WL1") {
      c.wav1 = value_at(in, l, 6, 8, "F8.0");
    } else if (key == "WL2") {
      c.wav2 = value_at(in, l, 6, 8, "F8.0");
    } else if (key == "WL3") {
      c.wav3 = value_at(in, l, 6, 8, "F8.0");
    } else if (key == "WLR") {
      c.wave_ratio = value_at(in, l, 10, 8, "F8.0");
    } else if (key == "ANO") {
      c.anode = columns(l, 8, 9);
    } else if (key == "DRI") {
      c.drive = quoted_text(l, 9, 16, 8);
    } else if (key == "STE") {
      const std::string sub = columns(l, 2, 9);
      if (sub == "STEPTIME") {
        c.count_time = value_at(in, l, 11, 5, "F5.0");
      } else if (sub == "STEPSIZE") {
        p.Step = value_at(in, l, 11, 8, "F8.0");
      } else if (sub == "STEPMODE") {
        const std::string m = columns(l, 11, 11);
        c.scan_mode = text::pad(m == "C" || m == "c" ? "continuous scan" : "step scan", 15);
      } else if (sub == "STEPCOUN") {
        p.NPTS = field_int(in.parse("(I5)", columns(l, 12, 16)), 0);
      }
    } else if (key == "2TH") {
      p.Thmin = value_at(in, l, 9, 8, "F8.0");
    } else if (key == "THE") {
      c.omega = value_at(in, l, 8, 8, "F8.0");
    } else if (key == "KHI") {
      c.chi = value_at(in, l, 6, 8, "F8.0");
    } else if (key == "PHI") {
      c.phi = value_at(in, l, 6, 8, "F8.0");
    } else if (key2 == "X=") {
      c.tr1 = value_at(in, l, 4, 8, "F8.0");
    } else if (key2 == "Y=") {
      c.tr2 = value_at(in, l, 4, 8, "F8.0");
    } else if (key == "KV=") {
      c.kv = value_at(in, l, 5, 3, "F3.0");
    } else if (key == "MA=") {
      c.ma = value_at(in, l, 5, 3, "F3.0");
    } else if (key == "HV=") {
      c.hv = value_at(in, l, 5, 4, "F4.0");
    } else if (key == "GAI") {
      c.gain = value_at(in, l, 7, 3, "F3.0");
    } else if (key == "LLD") {
      c.lld = value_at(in, l, 6, 5, "F5.0");
    } else if (key == "ULD") {
      c.uld = value_at(in, l, 6, 5, "F5.0");
    } else if (key == "ROT") {
      c.rotation = columns(l, 11, 11);
    } else if (key == "TEM") {
      float t = 0;
      if (try_value_at(l, 14, 3, "F3.0", t)) p.Tsample = t;
    } else if (key == "COU" && columns(l, 2, 7) == "COUNTS") {
      if (p.NPTS < 1) in.read_error();
      if (p.NPTS > IDSZ) in.too_many_points(p.NPTS);
      p.Thmax = static_cast<float>(p.NPTS - 1) * p.Step + p.Thmin;
      // The counts end at the end of the file or at a line that cannot be read. The pattern
      // keeps the points read: the missing ones would otherwise enter as counts of 1.0.
      int k = 0;
      std::string d;
      while (k < p.NPTS && in.next(d)) {
        std::vector<text::Field> f;
        try {
          f = text::read_formatted("(8F8.0)", d);
        } catch (const text::FormatError&) {
          break;
        }
        for (size_t j = 0; j < 8 && k < p.NPTS; ++j) p.Yobs[++k] = field_real(f, j);
      }
      if (k < p.NPTS) {
        p.NPTS = k;
        p.Thmax = static_cast<float>(p.NPTS - 1) * p.Step + p.Thmin;
      }
      counts = true;
      break;
    }
    // FIL, +SA, STA, CHA, DIV, OSC and unknown keys carry nothing used here.
  }
  write_conditions(in, c, p);
  // A scan that ended without counts leaves no pattern.
  if (!counts) in.read_error();
  for (int i = 1; i <= p.NPTS; ++i) {
    if (p.Yobs[i] < 1.0e-5f) p.Yobs[i] = 1.0f;
    p.Ncount[i] = 1;
    p.Variance[i] = p.Yobs[i];
  }
}

}  // namespace kestovar
