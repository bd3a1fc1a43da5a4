#include "data/gsas_data.h"

#include <algorithm>
#include <climits>

#include "data/data_file.h"
#include "data/pattern.h"
#include "run/capacities.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

using text::Item;

Item str(std::string_view s) {
  return std::string(s);
}
Item num(float v) {
  return static_cast<double>(v);
}
Item num(long long v) {
  return v;
}

// The items of a BANK line, in their order.
struct BankLine {
  long long IBANK = 0, NCHAN = 0, NREC = 0;
  std::string BINTYP = std::string(8, ' ');
  float BCOEF[4] = {0, 0, 0, 0};
  std::string DATTYP = text::pad("STD", 8);
};

std::vector<std::string> split_blanks(const std::string& s) {
  std::vector<std::string> items;
  size_t k = 0;
  while (k < s.size()) {
    while (k < s.size() && s[k] == ' ') ++k;
    if (k >= s.size()) break;
    const size_t start = k;
    while (k < s.size() && s[k] != ' ') ++k;
    items.push_back(s.substr(start, k - start));
  }
  return items;
}

BankLine parse_bank(DataFile& in, const std::string& line) {
  const std::vector<std::string> items = split_blanks(columns(line, 5, 80));
  in.listing("(A,I2)", {str(" => Number of items read in BANK line: "),
                        num(static_cast<long long>(items.size()))});
  BankLine b;
  long long* ints[3] = {&b.IBANK, &b.NCHAN, &b.NREC};
  for (size_t k = 0; k < items.size() && k < 9; ++k) {
    const std::string& t = items[k];
    if (k < 3) {
      if (!text::parse_integer(t, *ints[k])) in.read_error();
    } else if (k == 3) {
      b.BINTYP = text::pad(t, 8);
    } else if (k < 8) {
      double v = 0;
      if (!text::parse_real(t, v)) in.read_error();
      b.BCOEF[k - 4] = static_cast<float>(v);
    } else {
      b.DATTYP = text::pad(t, 8);
    }
  }
  return b;
}

void check_channels(DataFile& in, long long nchan) {
  if (nchan < 1) in.read_error();
  if (nchan > IDSZ) in.too_many_points(nchan);
}

// ALT records: NCHAN triplets (X in 1/32 microsecond, Y, sigma), four a line.
std::vector<text::Field> read_triplets(DataFile& in, int nchan) {
  return in.records("(4(F8.0,F7.4,F5.4))", 3 * static_cast<size_t>(nchan));
}

}  // namespace

void read_gsas_data(DataFile& in, int Job, Pattern& p) {
  in.listing("(/,A)", {str(" => Heading of GSAS file:")});
  std::string bank;
  for (int k = 0; k < 7; ++k) {
    std::string l;
    if (!in.next(l)) break;
    if (l.size() > 80) l.resize(80);
    in.listing("(4X,A)", {str(l)});
    if (starts_with(l, "BANK")) {
      bank = l;
      break;
    }
  }
  if (bank.empty()) in.stop(GSAS_NO_BANK_TEXT);

  const BankLine b = parse_bank(in, bank);
  in.listing("(A,3I5)", {str(" -> IBANK,NCHAN,NREC: "), num(b.IBANK), num(b.NCHAN), num(b.NREC)});
  in.listing("(A,A)", {str(" -> BINTYP          : "), str(b.BINTYP)});
  in.listing("(A,4F14.3)", {str(" -> COEFFS          : "), num(b.BCOEF[0]), num(b.BCOEF[1]),
                            num(b.BCOEF[2]), num(b.BCOEF[3])});
  in.listing("(A,A)", {str(" -> DATTYP          : "), str(b.DATTYP)});

  const std::string CONST = text::pad("CONST", 8), RALF = text::pad("RALF", 8);
  const bool std_type = b.DATTYP == text::pad("STD", 8);
  const bool esd_type = b.DATTYP == text::pad("ESD", 8);
  const bool alt_type = b.DATTYP == text::pad("ALT", 8);
  // The other record types carry nothing this reader knows how to read.
  if (!std_type && !esd_type && !alt_type) in.read_error();
  if (std_type && b.BINTYP != CONST) in.stop(GSAS_STD_BINTYP_TEXT);
  if (esd_type && b.BINTYP != CONST) in.stop(GSAS_ESD_BINTYP_TEXT);
  if (alt_type && b.BINTYP != CONST && b.BINTYP != RALF) in.stop(GSAS_ALT_BINTYP_TEXT);
  check_channels(in, b.NCHAN);
  const int nchan = static_cast<int>(b.NCHAN);
  p.NPTS = nchan;

  if (std_type || esd_type) {
    // Constant-wavelength coefficients are centidegrees; time-of-flight ones microseconds.
    const float divisor = Job < 0 ? 1.0f : 100.0f;
    p.ConstantStep = 1;
    p.Thmin = b.BCOEF[0] / divisor;
    p.Step = b.BCOEF[1] / divisor;
    p.Thmax = p.Thmin + static_cast<float>(p.NPTS - 1) * p.Step;
    for (int i = 1; i <= p.NPTS; ++i) p.X[i] = p.Thmin + static_cast<float>(i - 1) * p.Step;
    if (std_type) {
      const auto f = in.records("(10(I2,F6.0))", 2 * static_cast<size_t>(p.NPTS));
      for (int i = 1; i <= p.NPTS; ++i) {
        const int counters = field_int(f, 2 * static_cast<size_t>(i - 1));
        const float count = field_real(f, 2 * static_cast<size_t>(i - 1) + 1);
        p.Ncount[i] = counters == 0 ? 1 : counters;
        p.Yobs[i] = count < 1.0e-5f ? 1.0f : count;
        p.Variance[i] = p.Yobs[i] / static_cast<float>(p.Ncount[i]);
      }
      p.Cnorm = 1.0f;
    } else {
      const auto f = in.records("(10F8.0)", 2 * static_cast<size_t>(p.NPTS));
      float cnorm = 0.0f;
      for (int i = 1; i <= p.NPTS; ++i) {
        p.Yobs[i] = field_real(f, 2 * static_cast<size_t>(i - 1));
        const float s = field_real(f, 2 * static_cast<size_t>(i - 1) + 1);
        p.Variance[i] = s * s;
        cnorm += p.Variance[i] / std::max(p.Yobs[i], 0.001f);
      }
      p.Cnorm = cnorm / static_cast<float>(p.NPTS);
    }
    return;
  }

  if (b.BINTYP == RALF) {
    p.ConstantStep = 0;
    for (const char* m :
         {" => Input Data for format RALF are internally modified",
          " => The format of the triplets TOF,Y,Sigma is read as",
          "                FMT = 4(F8.0,F7.4,F5.4)", "    The input TOF is divided by 32 and then ",
          "    Intensities and Standard deviations are trasformed as:",
          "          Ycorr(i)=1000*Yread(i)/(TOF(i+1)-TOF(i))",
          "          Scorr(i)=1000*Sread(i)/(TOF(i+1)-TOF(i))"})
      in.listing("(A)", {str(m)});
    const auto f = read_triplets(in, nchan);
    std::vector<float> sigma(static_cast<size_t>(nchan) + 1, 0.0f);
    for (int i = 1; i <= nchan; ++i) {
      const size_t k = 3 * static_cast<size_t>(i - 1);
      p.X[i] = field_real(f, k) / 32.0f;
      p.Yobs[i] = field_real(f, k + 1);
      sigma[static_cast<size_t>(i)] = field_real(f, k + 2);
    }
    float cnorm = 0.0f;
    for (int i = 1; i <= nchan - 1; ++i) {
      const float d = p.X[i + 1] - p.X[i];
      p.Yobs[i] = 1000.0f * p.Yobs[i] / d;
      const float s = 1000.0f * sigma[static_cast<size_t>(i)] / d;
      p.Variance[i] = s * s;
      cnorm += p.Variance[i] / std::max(p.Yobs[i], 0.001f);
    }
    // The last triplet only closes the last interval.
    p.NPTS = nchan - 1;
    p.Cnorm = cnorm / static_cast<float>(nchan);
    p.Thmin = b.BCOEF[0] / 32.0f;
    p.Step = b.BCOEF[1] / 32.0f;
    p.Thmax = p.X[std::max(p.NPTS, 1)];
    return;
  }

  // ALT records with constant binning.
  p.ConstantStep = 1;
  const auto f = read_triplets(in, nchan);
  float cnorm = 0.0f;
  for (int i = 1; i <= nchan; ++i) {
    const size_t k = 3 * static_cast<size_t>(i - 1);
    p.X[i] = field_real(f, k) / 32.0f;
    p.Yobs[i] = field_real(f, k + 1);
    const float s = field_real(f, k + 2);
    p.Variance[i] = s * s;
    cnorm += p.Variance[i] / std::max(p.Yobs[i], 0.001f);
  }
  p.Cnorm = cnorm / static_cast<float>(nchan);
  p.Thmin = b.BCOEF[0];
  p.Step = b.BCOEF[1];
  p.Thmax = p.X[p.NPTS];
}

}  // namespace kestovar
