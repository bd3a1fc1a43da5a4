#include "data/intensity_data.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <span>

#include "controlfile/line_reader.h"
#include "data/data_file.h"
#include "data/export_data.h"
#include "data/gsas_data.h"
#include "data/pattern.h"
#include "data/spline.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"

namespace kestovar {

namespace {

using text::Item;

constexpr float END_THRESHOLD = 1.0e-5f;  // end-of-data threshold of the X, Y, sigma layout

// Closes the data file however the reader leaves.
struct CloseDataFile {
  ModelStore& store;
  ~CloseDataFile() { store.files.close(unit::DAT); }
};

Item str(std::string_view s) {
  return std::string(s);
}
Item num(float v) {
  return static_cast<double>(v);
}
Item num(int v) {
  return static_cast<long long>(v);
}

void echo(DataFile& in, std::string_view head, std::string_view line) {
  write_unit(in.store(), unit::OUT, std::string(head) + std::string(line));
}

// variance/max(count, 0.001): the counts below 0.001 enter the ratio as 0.001.
float ratio(float variance, float count) {
  return variance / std::max(count, 0.001f);
}

// NPTS of a range read from the file; a range without points stops as a read error.
int range_npts(DataFile& in, float thmin, float step, float thmax, float add = 1.5f) {
  const long long n = range_points(thmin, step, thmax, add);
  if (n < 1) in.read_error();
  if (n > IDSZ) in.too_many_points(n);
  return static_cast<int>(n);
}

// NPTS given by the file itself.
int checked_npts(DataFile& in, long long n) {
  if (n < 1) in.read_error();
  if (n > IDSZ) in.too_many_points(n);
  return static_cast<int>(n);
}

void build_abscissas(Pattern& p) {
  for (int i = 1; i <= p.NPTS; ++i) p.X[i] = p.Thmin + static_cast<float>(i - 1) * p.Step;
}

void write_datt(DataFile& in, const Pattern& p) {
  if (in.store().settings().Rpa > 0)
    in.rpa("(A,I8,I4,F12.2)", {str("DATT "), num(p.Numor), num(p.Iset), num(p.Tsample)});
}

// Thmin, Step, Thmax in free format.
void read_range(DataFile& in, Pattern& p) {
  const std::vector<double> r = in.numbers(3);
  p.Thmin = static_cast<float>(r[0]);
  p.Step = static_cast<float>(r[1]);
  p.Thmax = static_cast<float>(r[2]);
}

void read_heading(DataFile& in, int lines) {
  in.listing("(A)", {str(" -> Heading of input data:")});
  for (int k = 0; k < lines; ++k) echo(in, "   -> ", in.line());
}

// Ins 0: up to seven lines searched for a range line or a BANK line, then free-format counts.
void read_free_format(DataFile& in, Pattern& p) {
  bool found = false;
  for (int attempt = 0; attempt < 7 && !found; ++attempt) {
    const std::string l = in.line(132);
    std::vector<double> r;
    if (starts_with(l, "BANK")) {
      std::vector<long long> n;
      if (!list_integers(columns(l, 5, 41), 2, n) || !list_reals(columns(l, 47, 90), 2, r))
        in.read_error();
      p.Iset = static_cast<int>(std::clamp<long long>(n[0], INT_MIN, INT_MAX));
      p.NPTS = checked_npts(in, n[1]);
      p.Thmin = static_cast<float>(r[0]);
      p.Step = static_cast<float>(r[1]);
      p.Thmax = p.Thmin + static_cast<float>(p.NPTS - 1) * p.Step;
      found = true;
    } else if (list_reals(l, 3, r)) {
      const long long n = range_points(static_cast<float>(r[0]), static_cast<float>(r[1]),
                                       static_cast<float>(r[2]));
      if (n < 4) continue;
      if (n > IDSZ) in.too_many_points(n);
      p.Thmin = static_cast<float>(r[0]);
      p.Step = static_cast<float>(r[1]);
      p.Thmax = static_cast<float>(r[2]);
      p.NPTS = static_cast<int>(n);
      found = true;
    }
  }
  if (!found) in.read_error();
  const std::vector<double> y = in.numbers(static_cast<size_t>(p.NPTS));
  for (int i = 1; i <= p.NPTS; ++i) {
    p.Yobs[i] = static_cast<float>(y[i - 1]);
    p.Variance[i] = p.Yobs[i];
  }
  build_abscissas(p);
  write_datt(in, p);
}

// A (counter number, count) pair of the layouts 1 and 6: floors and variance.
void store_pair(Pattern& p, int i, int counters, float count, float cnorm) {
  p.Ncount[i] = counters == 0 ? 1 : counters;
  p.Yobs[i] = count < 1.0e-5f ? 1.0f : count;
  p.Variance[i] = p.Yobs[i] * cnorm / static_cast<float>(p.Ncount[i]);
}

// Ins 1: range line, then pairs 10(I2,F6.0).
void read_pairs(DataFile& in, Pattern& p) {
  read_range(in, p);
  p.NPTS = range_npts(in, p.Thmin, p.Step, p.Thmax);
  const auto f = in.records("(10(I2,F6.0))", 2 * static_cast<size_t>(p.NPTS));
  for (int i = 1; i <= p.NPTS; ++i)
    store_pair(p, i, field_int(f, 2 * i - 2), field_real(f, 2 * i - 1), 1.0f);
  build_abscissas(p);
  write_datt(in, p);
}

// Ins 2: a 400-cell detector with 0.2 degree cells.
void read_cells(DataFile& in, Pattern& p) {
  in.listing("(A)", {str("  -> Parameters from *.dat file:")});
  const std::string date = text::pad(in.line(80), 80);
  in.listing("(/,A,A80)", {str("=> Date of experiment: "), str(date)});
  p.Title = text::pad(in.line(80), DATA_TITLE_LEN);
  const std::vector<long long> ids = in.integers(2);
  const long long ident = ids[0];
  p.Numor = static_cast<int>(std::clamp<long long>(ids[1], INT_MIN, INT_MAX));
  p.Tsample = static_cast<float>(p.Numor);
  p.Iset = 1;
  in.summary("(A,I6,F8.2)", {str(" -> Numor & Tsample: "), num(p.Numor), num(p.Tsample)});
  const std::string more1 = text::pad(in.line(80), 80), more2 = text::pad(in.line(80), 80);
  in.listing("(A,I7,A,A80,/,11X,A80,/,9X,A80,A,I5)",
             {str(" => Numor: "), num(p.Numor), str(" Title of experiment: "), str(p.Title),
              str(more1), str(more2), str("IO: "), Item(ident)});
  float angle = 0.0f;
  int n = 0;
  for (int l = 1; l <= 40; ++l) {
    const auto f = in.record("(F7.3,10F6.0)");
    // The first line starts with the angle; the later ones hold ten counts from column 1.
    const size_t first = l == 1 ? 1 : 0;
    if (l == 1) angle = field_real(f, 0);
    for (size_t k = first; k < first + 10; ++k) p.Yobs[++n] = field_real(f, k);
  }
  p.NPTS = 400;
  p.Step = 0.2f;
  p.Thmin = 2.0f * angle;
  p.Thmax = p.Thmin + 79.8f;
  p.Yobs[1] = p.Yobs[2];
  p.Yobs[400] = p.Yobs[399];
  for (int i = 1; i <= p.NPTS; ++i) p.Variance[i] = p.Yobs[i];
  build_abscissas(p);
  write_datt(in, p);
}

// Ins 3: multicounter layout with instrument parameter lines.
void read_multicounter(DataFile& in, Pattern& p) {
  in.listing("(A)", {str("  -> Parameters from *.dat file:")});
  const int nset = field_int(in.record("(I5)"), 0);
  in.listing("(A,I5)", {str("     Nset:"), num(nset)});
  const auto t = in.record("(A18,1X,A10,1X,A72)");
  in.listing("(A18,1X,A10,1X,A72)",
             {str(field_text(t, 0)), str(field_text(t, 1)), str(field_text(t, 2))});
  const auto ids = in.record("(I3,1X,I6,1X,I4)");
  const int ident = field_int(ids, 0), third = field_int(ids, 2);
  p.Numor = field_int(ids, 1);
  in.listing("(3I8)", {num(ident), num(p.Numor), num(third)});
  const char* real_format = "(F13.0,F9.0,1X,10(F8.3,1X))";
  const auto r = in.record(real_format);
  std::vector<Item> reals;
  for (size_t k = 0; k < 12; ++k) reals.push_back(num(field_real(r, k)));
  in.listing(real_format, reals);
  p.Thmin = field_real(r, 2);
  p.Step = field_real(r, 8);
  p.Tsample = field_real(r, 11);
  const char* npts_format = "(I4,1X,5(F9.3,1X),29X,I6,3X,I6)";
  const auto c = in.record(npts_format);
  in.listing(npts_format, {num(field_int(c, 0)), num(field_real(c, 1)), num(field_real(c, 2)),
                           num(field_real(c, 3)), num(field_real(c, 4)), num(field_real(c, 5)),
                           num(field_int(c, 6)), num(field_int(c, 7))});
  p.NPTS = checked_npts(in, field_int(c, 0));
  in.listing("(A,I6,F8.4)", {str(" -> Numor & Tsample: "), num(p.Numor), num(p.Tsample)});
  if (in.store().settings().Rpa > 0) {
    std::vector<Item> datt{str("DATT "),   num(p.Numor),          num(third),
                           num(p.Tsample), num(field_real(r, 9)), num(field_real(r, 10))};
    for (size_t k = 3; k <= 7; ++k) datt.push_back(num(field_real(r, k)));
    for (size_t k = 1; k <= 5; ++k) datt.push_back(num(field_real(c, k)));
    in.rpa("(A,I8,I4,F12.2,7F8.3,5F8.4)", datt);
  }
  in.summary("(A,I6,F8.2)", {str(" => Numor & Tsample: "), num(p.Numor), num(p.Tsample)});
  const int lines = static_cast<int>(nint_of(static_cast<float>(p.NPTS) / 10.0f));
  in.listing("(' => Number of data lines: ',I5,/)", {num(lines)});
  int n = 0;
  for (int l = 1; l <= lines; ++l) {
    const auto f = in.record("(10(I2,F8.0))");
    for (int k = 0; k < 10 && n < IDSZ; ++k) {
      ++n;
      p.Ncount[n] = field_int(f, 2 * k);
      p.Yobs[n] = field_real(f, 2 * k + 1);
    }
  }
  p.Iset = field_int(in.record("(I10)"), 0);
  p.Thmax = p.Thmin + static_cast<float>(p.NPTS - 1) * p.Step;
  for (int i = 1; i <= p.NPTS; ++i) {
    if (p.Yobs[i] < 1.0e-5f) p.Yobs[i] = 1.0f;
    if (p.Ncount[i] < 1) p.Ncount[i] = 1;
    p.Variance[i] = p.Yobs[i] / static_cast<float>(p.Ncount[i]);
  }
  build_abscissas(p);
}

// Ins 4: range line, then blocks of a count line and a sigma line.
void read_counts_and_sigmas(DataFile& in, Pattern& p) {
  read_range(in, p);
  p.NPTS = range_npts(in, p.Thmin, p.Step, p.Thmax);
  std::vector<float> sigma(static_cast<size_t>(p.NPTS) + 1, 0.0f);
  const int blocks = p.NPTS / 10 + 1;
  for (int b = 0; b < blocks; ++b) {
    const auto y = in.record("(10F8.0)");
    const auto s = in.record("(10F8.1)");
    for (int k = 0; k < 10; ++k) {
      const int i = 10 * b + k + 1;
      if (i > p.NPTS) break;
      p.Yobs[i] = field_real(y, static_cast<size_t>(k));
      sigma[static_cast<size_t>(i)] = field_real(s, static_cast<size_t>(k));
    }
  }
  p.Variance[1] = sigma[1] * sigma[1];
  float cnorm = ratio(p.Variance[1], p.Yobs[1]);
  for (int i = 2; i <= p.NPTS; ++i) {
    if (p.Yobs[i] < 1.0e-5f) p.Yobs[i] = p.Yobs[i - 1];
    float s = sigma[static_cast<size_t>(i)];
    if (s < 1.0e-5f) s = 1.0f;
    p.Variance[i] = s * s;
    cnorm += ratio(p.Variance[i], p.Yobs[i]);
  }
  p.Cnorm = cnorm / static_cast<float>(p.NPTS);
  build_abscissas(p);
}

// Ins -4: dated sets of (count, monitor) lines, corrected for dead time and monitor. A set
// after the first starts where the previous one ended and brings one point fewer.
void read_dated_sets(DataFile& in, Pattern& p) {
  constexpr float DEAD_TIME = 2.4621e-6f;
  const auto head = in.record("(A5,A56)");
  const std::string tag = field_text(head, 0);
  const std::string title = field_text(head, 1);
  p.Title = text::pad(title, DATA_TITLE_LEN);
  in.listing("(A56)", {str(title)});
  const auto g = in.record("(I8,F8.0,F10.0)");
  const int nset = field_int(g, 0);
  const float c1 = field_real(g, 1);
  const bool count_first = tag == "OCT85" || tag == "FEB86";
  const bool monitor_first = tag == "AUG86";
  p.NPTS = 0;
  float cnorm = 0.0f;
  for (int set = 1; set <= nset; ++set) {
    const auto s = in.record("(6F8.0)");
    const float x1 = field_real(s, 0), step = field_real(s, 1), x2 = field_real(s, 2);
    const float t = field_real(s, 3), m0 = field_real(s, 4), b = field_real(s, 5);
    long long n = range_points(x1, step, x2);
    if (n < 1) in.read_error();
    if (set == 1) p.Thmin = x1;
    if (set == nset) p.Thmax = x2;
    p.Step = step;
    if (set > 1) --n;
    if (p.NPTS + n > IDSZ) in.too_many_points(p.NPTS + n);
    if (!count_first && !monitor_first) {
      in.listing("(A)", {str("     When was this data taken. OCT85,FEB86 or AUG86 ?")});
      in.read_error();
    }
    for (long long k = 0; k < n; ++k) {
      float count = 0, monitor = 0;
      if (count_first) {
        const auto f = in.record("(24X,F7.0,1X,F7.0)");
        count = field_real(f, 0);
        monitor = field_real(f, 1);
      } else {
        const auto f = in.record("(51X,F10.0,1X,F10.0)");
        monitor = field_real(f, 0);
        count = field_real(f, 1);
      }
      const int i = ++p.NPTS;
      const float r = count / t;
      const float d = 1.0f - DEAD_TIME * r;
      const float m = monitor - m0;
      p.Yobs[i] = (r / d - b) * c1 / m;
      const float w = m * (1.0f / c1) * t * d;
      p.Variance[i] = t * r / (w * w);
      if (std::abs(p.Yobs[i]) < 0.01f) p.Yobs[i] = 1.0f;
      cnorm += p.Variance[i] / p.Yobs[i];
    }
  }
  if (p.NPTS < 1) in.read_error();
  p.Cnorm = cnorm / static_cast<float>(p.NPTS);
  build_abscissas(p);
  write_datt(in, p);
}

// Ins 5: general two-axis layout.
void read_two_axis(DataFile& in, Pattern& p) {
  in.listing("(A,/)", {str(" -> Heading of input data:")});
  for (int k = 0; k < 3; ++k) echo(in, "   -> ", in.line());
  const auto f = in.record("(I6,1X,2F10.3,I5,2F10.1)");
  const float regul = field_real(f, 2);
  const int sigmas = field_int(f, 3);
  const float m1 = field_real(f, 4), m2 = field_real(f, 5);
  p.Tsample = field_real(f, 1);
  in.listing("(A,I5,A,2F8.2)",
             {str("   -> NPTS: "), num(field_int(f, 0)), str(" Temperature (Sample & Regul): "),
              num(p.Tsample), num(regul)});
  p.NPTS = checked_npts(in, field_int(f, 0));
  const auto r = in.record("(3F10.0)");
  p.Thmin = field_real(r, 0);
  p.Step = field_real(r, 1);
  p.Thmax = field_real(r, 2);
  in.listing("(A,3F10.4,2F10.1)", {str("   -> THMIN,STEP,THMAX,MONITs: "), num(p.Thmin),
                                   num(p.Step), num(p.Thmax), num(m1), num(m2)});
  const size_t n = static_cast<size_t>(p.NPTS);
  const std::vector<double> y = in.numbers(n);
  for (int i = 1; i <= p.NPTS; ++i) p.Yobs[i] = static_cast<float>(y[i - 1]);
  if (sigmas == 0) {
    if (m1 <= 1.0f || m2 <= 1.0f) {
      p.Cnorm = 1.0f;
      in.listing("(A)", {str("   -> Standard deviations of Yi assumed SQRT(Yi) ")});
    } else {
      p.Cnorm = m1 / m2;
      in.listing("(A)", {str("   -> Standard deviations of Yi assumed SQRT(Yi*Cnorm/Monitor) ")});
    }
    for (int i = 1; i <= p.NPTS; ++i) p.Variance[i] = p.Yobs[i] * p.Cnorm;
  } else {
    in.listing("(A)", {str("   -> Standard deviations of Yi read from file ")});
    const std::vector<double> s = in.numbers(n);
    float cnorm = 0.0f;
    for (int i = 1; i <= p.NPTS; ++i) {
      if (p.Yobs[i] < 1.0e-4f) p.Yobs[i] = 1.0e-4f;
      const float si = static_cast<float>(s[i - 1]);
      p.Variance[i] = si * si;
      if (p.Variance[i] < 1.0e-6f) p.Variance[i] = 1.0f;
      cnorm += p.Variance[i] / p.Yobs[i];
    }
    p.Cnorm = cnorm / static_cast<float>(p.NPTS);
  }
  build_abscissas(p);
  write_datt(in, p);
}

// Ins 6: summed (counter, count) pairs closed by a -1000 marker; the last complete line
// before the marker is not part of the pattern.
void read_summed_pairs(DataFile& in, Pattern& p) {
  in.listing("(A)", {str(" -> Heading of input data:")});
  const std::string title = field_text(in.record("(A72)"), 0);
  p.Title = text::pad(title, DATA_TITLE_LEN);
  echo(in, "   ->   Title: ", title);
  p.Step = field_real(in.record("(16X,F8.3)"), 0);
  in.listing("(A,F8.3)", {str("   ->    Step: "), num(p.Step)});
  p.Thmin = field_real(in.record("(F8.3)"), 0);
  in.listing("(A,F8.3)", {str("   ->   Thmin: "), num(p.Thmin)});
  const auto m = in.record("(2F8.0)");
  const float m1 = field_real(m, 0);
  float m2 = field_real(m, 1);
  in.listing("(A,2F10.0)", {str("   -> Monitors: "), num(m1), num(m2)});
  if (m2 < 1.0f) {
    p.Cnorm = 1.0f;
    m2 = m1;
  } else {
    p.Cnorm = m1 / m2;
  }
  const long long max_lines = nint_of(18.0f / p.Step);
  if (max_lines < 1) in.read_error();
  std::vector<int> counters;
  std::vector<float> counts;
  for (long long l = 0; l < max_lines; ++l) {
    const auto f = in.record("(10(I2,F6.0))");
    if (std::abs(field_real(f, 1) + 1000.0f) < 0.001f) break;
    const long long npts = static_cast<long long>(counts.size());
    if (npts > IDSZ) in.too_many_points(npts);
    for (size_t k = 0; k < 10; ++k) {
      counters.push_back(field_int(f, 2 * k));
      counts.push_back(field_real(f, 2 * k + 1));
    }
  }
  const int k = static_cast<int>(counts.size());
  p.NPTS = k - 10;
  if (p.NPTS < 1) in.read_error();
  p.Thmax = p.Thmin + static_cast<float>(k - 11) * p.Step;
  for (int i = 1; i <= p.NPTS; ++i)
    store_pair(p, i, counters[static_cast<size_t>(i - 1)], counts[static_cast<size_t>(i - 1)],
               p.Cnorm);
  build_abscissas(p);
  write_datt(in, p);
}

// Ins 7: (X, Y, sigma) triplets with their own abscissas.
void read_triplets(DataFile& in, Pattern& p) {
  const auto h = in.record("(I5,1X,F5.0,1X,A72)");
  p.Tsample = field_real(h, 1);
  p.Title = text::pad(field_text(h, 2), DATA_TITLE_LEN);
  p.NPTS = checked_npts(in, field_int(h, 0));
  const auto f = in.records("(5(F7.2,1X,F8.1,1X,F5.1))", 3 * static_cast<size_t>(p.NPTS));
  float cnorm = 0.0f;
  for (int i = 1; i <= p.NPTS; ++i) {
    const size_t k = 3 * static_cast<size_t>(i - 1);
    p.X[i] = field_real(f, k);
    p.Yobs[i] = field_real(f, k + 1);
    const float s = field_real(f, k + 2);
    p.Variance[i] = 0.5f * s * s;
    cnorm += ratio(p.Variance[i], p.Yobs[i]);
  }
  p.Step = p.NPTS > 1 ? p.X[2] - p.X[1] : 0.0f;
  p.Thmin = p.X[1];
  p.Thmax = p.X[p.NPTS];
  p.ConstantStep = 0;
  p.Cnorm = cnorm / static_cast<float>(p.NPTS);
  write_datt(in, p);
}

// Values of a 10F8.0 block read record by record; returns how many were read before the
// end of the file (n when the block is complete).
int read_block(DataFile& in, std::vector<float>& v, int n) {
  int k = 0;
  std::string l;
  while (k < n) {
    if (!in.next(l)) return k;
    const auto f = in.parse("(10F8.0)", l);
    for (size_t j = 0; j < 10 && k < n; ++j) v[static_cast<size_t>(++k)] = field_real(f, j);
  }
  return k;
}

// Ins 8: two heading lines, range, counts, then (when the file goes on) sigmas. A point
// without a sigma in the file keeps the variance of its counts.
void read_counts_then_sigmas(DataFile& in, Pattern& p) {
  read_heading(in, 2);
  read_range(in, p);
  p.NPTS = range_npts(in, p.Thmin, p.Step, p.Thmax, 1.005f);
  const size_t n = static_cast<size_t>(p.NPTS);
  std::vector<float> y(n + 1, 0.0f), s(n + 1, 0.0f);
  const int sigmas = read_block(in, y, p.NPTS) == p.NPTS ? read_block(in, s, p.NPTS) : 0;
  float cnorm = 0.0f;
  for (int i = 1; i <= p.NPTS; ++i) {
    p.Yobs[i] = y[static_cast<size_t>(i)];
    const float si = s[static_cast<size_t>(i)];
    p.Variance[i] = i <= sigmas ? si * si : p.Yobs[i];
    p.Ncount[i] = 1;
    cnorm += ratio(p.Variance[i], p.Yobs[i]);
  }
  p.Cnorm = sigmas == 0 ? 1.0f : cnorm / static_cast<float>(p.NPTS);
  build_abscissas(p);
}

// Resamples (X, values) of the points read to n points of the constant step, through a
// natural cubic spline; every value is floored at 1.0.
void resample(ModelStore& store, Pattern& p, int n_read, std::vector<float>& values, int n) {
  std::span<const float> x(p.X);
  spline_setup(store, x, values, n_read, SPLINE_NATURAL, SPLINE_NATURAL, p.Backg);
  for (int i = 1; i <= n; ++i) {
    const float xv = p.X[1] + static_cast<float>(i - 1) * p.Step;
    p.Ycalc[i] = std::max(spline_value(store, x, values, p.Backg, n_read, xv), 1.0f);
  }
  std::copy(p.Ycalc.begin() + 1, p.Ycalc.begin() + n + 1, values.begin() + 1);
}

// Ins 10: X, Y, sigma in free format, with an optional XYDATA heading.
void read_xy_sigma(DataFile& in, Pattern& p) {
  ModelStore& store = in.store();
  const std::string first = in.line(80);
  p.ConstantStep = 0;
  float xmul = 1.0f, ymul = 1.0f, stepin = 0.0f;
  int mode = 0;
  bool data_end = false;
  if (!starts_with(first, "XYDATA")) {
    in.listing("(A,/,A)", {str(" -> No recognizable heading in input data file X,Y,sigma"),
                           str("    First 6 lines are considered as COMMENTS ")});
    echo(in, " -> COMMENT: ", first);
    for (int k = 0; k < 5; ++k) echo(in, " -> COMMENT: ", in.line(80));
  } else {
    in.listing("(A)", {str(" => Heading of input data file X,Y,sigma")});
    for (int k = 0; k < 5 && !data_end; ++k) {
      const std::string l = in.line(80);
      echo(in, " -> ", l);
      if (starts_with(l, "INTER")) {
        in.back();
        std::string record, format;
        ++in.line_counter();
        const int err = next_line(store, unit::DAT, record, "5ffif", format, in.line_counter());
        if (err == -1) {
          data_end = true;
          break;
        }
        if (err != 0) in.read_error();
        const auto f = in.parse(format, record);
        xmul = field_real(f, 1);
        ymul = field_real(f, 2);
        mode = field_int(f, 3);
        stepin = field_real(f, 4);
        if (xmul <= 0.0f) xmul = 1.0f;
        if (ymul <= 0.0f) ymul = 1.0f;
        in.listing("(A,F12.4)", {str(" -> Input X-values multiplied internally by "), num(xmul)});
        in.listing("(A,F12.4)",
                   {str(" -> Input Y & Sigma-values multiplied internally by "), num(ymul)});
      } else if (starts_with(l, "TEMP")) {
        std::vector<double> t;
        if (!list_reals(columns(l, 5, std::max<size_t>(l.size(), 5)), 1, t)) in.read_error();
        p.Tsample = static_cast<float>(t[0]);
      }
    }
  }
  const bool resampled = mode == 1 || mode == 2;
  if (mode == 1)
    in.listing("(A,F9.5)", {str(" -> Internal interpolation for constant STEP ="), num(stepin)});
  if (mode == 2)
    in.listing("(A,F9.5)", {str(" -> XY-DATA are supplied with constant STEP ="), num(stepin)});
  if (resampled) p.ConstantStep = 1;

  int n = 0;
  float cnorm = 0.0f, steps = 0.0f, variances = 0.0f;
  while (!data_end && n < IDSZ) {
    std::string record, format;
    ++in.line_counter();
    const int err = next_line(store, unit::DAT, record, "fff", format, in.line_counter());
    if (err == -1) {
      --in.line_counter();
      break;
    }
    if (err != 0) in.read_error();
    const auto f = in.parse(format, record);
    const float x = field_real(f, 0), y = field_real(f, 1), s = field_real(f, 2);
    if (std::abs(x) < END_THRESHOLD && std::abs(y) < END_THRESHOLD && std::abs(s) < END_THRESHOLD)
      break;
    ++n;
    p.X[n] = x * xmul;
    p.Yobs[n] = y * ymul;
    p.Variance[n] = (s * ymul) * (s * ymul);
    cnorm += ratio(p.Variance[n], p.Yobs[n]);
    variances += p.Variance[n];
    if (n > 1) steps += p.X[n] - p.X[n - 1];
  }
  if (n == 0) in.end_of_file();
  p.NPTS = n;
  p.Thmin = p.X[1];
  p.Thmax = p.X[n];
  p.Cnorm = cnorm / static_cast<float>(n);
  if (variances < END_THRESHOLD) {
    for (int i = 1; i <= n; ++i) p.Variance[i] = p.Yobs[i];
    p.Cnorm = 1.0f;
  }
  if (!resampled) {
    p.Step = n > 1 ? steps / static_cast<float>(n - 1) : 0.0f;
    return;
  }
  if (!(stepin > 0.0f)) in.read_error();
  p.Step = stepin;
  const long long m = int_of((p.X[n] - p.X[1]) / stepin + 1.05f);
  if (m < 1) in.read_error();
  if (m > IDSZ) in.too_many_points(m);
  const int new_n = static_cast<int>(m);
  resample(store, p, n, p.Yobs, new_n);
  resample(store, p, n, p.Variance, new_n);
  std::fill(p.Backg.begin(), p.Backg.end(), 0.0f);
  std::fill(p.Ycalc.begin(), p.Ycalc.end(), 0.0f);
  p.NPTS = new_n;
  p.Thmax = p.Thmin + static_cast<float>(new_n - 1) * p.Step;
  build_abscissas(p);
}

// Ins 11: variable counting time, (time, count) pairs normalised to the mean time.
void read_variable_time(DataFile& in, Pattern& p) {
  read_heading(in, 4);
  read_range(in, p);
  p.NPTS = range_npts(in, p.Thmin, p.Step, p.Thmax);
  in.listing("(A,3F10.4,I8)", {str("   -> THMIN,STEP,THMAX, NPTS: "), num(p.Thmin), num(p.Step),
                               num(p.Thmax), num(p.NPTS)});
  const int first_line = in.line_number() + 1;
  const auto f = in.records("(5(F6.0,F10.0))", 2 * static_cast<size_t>(p.NPTS));
  float total = 0.0f;
  for (int i = 1; i <= p.NPTS; ++i) {
    const float time = field_real(f, 2 * static_cast<size_t>(i - 1));
    if (time < 1.0e-6f) in.stop_at(" Zero time in *.DAT ", first_line + (i - 1) / 5);
    total += time;
  }
  const float mean = total / static_cast<float>(p.NPTS);
  for (int i = 1; i <= p.NPTS; ++i) {
    const size_t k = 2 * static_cast<size_t>(i - 1);
    p.Yobs[i] = field_real(f, k + 1) * mean / field_real(f, k);
    p.Variance[i] = p.Yobs[i];
  }
  in.listing("(A,A,F10.4)",
             {str(" => Variable time data collection,"), str(" Normalizing Time: "), num(mean)});
  build_abscissas(p);
}

// The pattern must hold points with finite values.
void check_pattern(DataFile& in, const Pattern& p) {
  if (p.NPTS < 1) in.read_error();
  for (int i = 1; i <= p.NPTS; ++i)
    if (!std::isfinite(p.X[i]) || !std::isfinite(p.Yobs[i]) || !std::isfinite(p.Variance[i]))
      in.read_error();
}

// Moves what the reader filled into the store's pattern; `scratch` also the spline scratch
// arrays (cleared) of the X, Y, sigma layout.
void commit(Pattern& dst, Pattern& p, bool scratch) {
  dst.NPTS = p.NPTS;
  dst.Thmin = p.Thmin;
  dst.Step = p.Step;
  dst.Thmax = p.Thmax;
  dst.ConstantStep = p.ConstantStep;
  dst.X.swap(p.X);
  dst.Yobs.swap(p.Yobs);
  dst.Variance.swap(p.Variance);
  dst.Ncount.swap(p.Ncount);
  if (scratch) {
    dst.Backg.swap(p.Backg);
    dst.Ycalc.swap(p.Ycalc);
  }
  dst.Numor = p.Numor;
  dst.Iset = p.Iset;
  dst.Tsample = p.Tsample;
  dst.Cnorm = p.Cnorm;
  dst.Title = p.Title;
}

}  // namespace

void reduce_steps(Pattern& p, int ste) {
  if (ste <= 1 || p.NPTS < 1) return;
  // At least the first point stays.
  const int n = std::max(1, p.NPTS / ste);
  for (int i = 2; i <= n; ++i) {
    const int j = 1 + (i - 1) * ste;
    p.Yobs[i] = p.Yobs[j];
    p.Variance[i] = p.Variance[j];
    p.Ncount[i] = p.Ncount[j];
    p.X[i] = p.X[j];
  }
  p.NPTS = n;
  p.Step = static_cast<float>(ste) * p.Step;
  p.Thmax = p.Thmin + static_cast<float>(n - 1) * p.Step;
}

void set_extra_abscissa(Pattern& p) {
  if (p.NPTS >= 2)
    p.X[p.NPTS + 1] = 2.0f * p.X[p.NPTS] - p.X[p.NPTS - 1];
  else if (p.NPTS == 1)
    p.X[2] = p.X[1] + p.Step;
}

void read_intensity_data(ModelStore& store) {
  open_run_file(store, 5);
  CloseDataFile closer{store};
  DataFile in(store);
  const RunSettings& s = store.settings();
  in.listing("(/,A,/)", {str(" => Reading Intensity data  =>>")});

  // The pattern is built aside and replaces the store's one only when the file was read;
  // what the store holds from the control file stays.
  const Pattern& kept = store.pattern();
  auto work = std::make_unique<Pattern>();
  Pattern& p = *work;
  p.Numor = kept.Numor;
  p.Iset = kept.Iset;
  p.Tsample = kept.Tsample;
  p.Title = kept.Title;

  switch (s.Ins) {
    case 0:
      read_free_format(in, p);
      break;
    case 1:
      read_pairs(in, p);
      break;
    case 2:
      read_cells(in, p);
      break;
    case 3:
      read_multicounter(in, p);
      break;
    case 4:
      read_counts_and_sigmas(in, p);
      break;
    case -4:
      read_dated_sets(in, p);
      break;
    case 5:
      read_two_axis(in, p);
      break;
    case 6:
      read_summed_pairs(in, p);
      break;
    case 7:
      read_triplets(in, p);
      break;
    case 8:
      read_counts_then_sigmas(in, p);
      break;
    case 9:
      read_export_data(in, p);
      build_abscissas(p);
      break;
    case 10:
      read_xy_sigma(in, p);
      break;
    case 11:
      read_variable_time(in, p);
      break;
    case 12:
      read_gsas_data(in, s.Job, p);
      break;
    default:
      stop_box(store, " Invalid instr parameter ", 1);
      fail(" Invalid instr parameter ");
  }
  check_pattern(in, p);
  store.files.close(unit::DAT);

  reduce_steps(p, s.Ste);
  set_extra_abscissa(p);
  commit(store.pattern(), p, s.Ins == 10);
}

}  // namespace kestovar
