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

using text::Item;

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
  const std::vector<Item> items{
      std::string(" => Experimental conditions:"),
      std::string("    Date of experiment: "), c.date,
      std::string("    Data from file:  "), c.file,
      std::string("    Data identifier: "), c.ident,
      std::string("    Run time: "), double(c.run_time), std::string(" for "),
      static_cast<long long>(p.NPTS), std::string(" points   Step size = "), double(p.Step),
      std::string("    Scan mode: "), c.drive, std::string("/"), c.scan_mode,
      std::string(" Counting time:"), double(c.count_time),
      std::string(" secs/step  Sample rotation: "), c.rotation,
      std::string("    Angles: 2-theta= "), double(p.Thmin), std::string("  omega= "),
      double(c.omega), std::string("  chi= "), double(c.chi), std::string("  phi= "),
      double(c.phi),
      std::string("                tr1= "), double(c.tr1), std::string("    tr2= "),
      double(c.tr2),
      std::string("    Generator settings:"),
      std::string("       KV= "), double(c.kv), std::string(" kV MA= "), double(c.ma),
      std::string(" mA  HV= "), double(c.hv), std::string("  Gain= "), double(c.gain),
      std::string("  LLD= "), double(c.lld), std::string(" V  ULD= "), double(c.uld),
      std::string(" V"),
      std::string("    Wavelengths:"),
      std::string("        Anode="), c.anode, std::string("  Wav1= "), double(c.wav1),
      std::string("  Wav2= "), double(c.wav2), std::string("  Wav3= "), double(c.wav3),
      std::string("  WaveRatio= "), double(c.wave_ratio)};
  const char* format =
      "(A,/,A,A20,/,A,A8,/,A,A80,/,A,F8.1,A,I5,A,F6.3,/,A,A8,A,A15,A,F5.1,A,A1,/,"
      "A,F8.3,A,F8.3,A,F8.3,A,F8.3,/,A,F8.3,A,F8.3,/,A,/,"
      "A,F4.0,A,F4.0,A,F4.0,A,F4.0,A,F6.3,A,F6.3,A,/,A,/,A,A2,A,F8.5,A,F8.5,A,F8.5,A,F8.5)";
  in.listing(format, items);
  in.summary(format, items);
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
      // The counts end at the end of the file or at a line that cannot be read.
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
