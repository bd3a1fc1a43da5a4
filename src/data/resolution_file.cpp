#include "data/resolution_file.h"

#include <algorithm>
#include <vector>

#include "run/messages.h"
#include "run/model_store.h"
#include "run/stop.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

// Reads the file line by line, counting lines, for the error reports.
struct ResolutionReader {
  ModelStore& store;
  int line_number = 0;

  [[noreturn]] void read_error(const std::string& why) {
    show_message(store, " => Error reading the resolution file: " +
                            text::trim(store.settings().ResolutionFile));
    show_message(store, " => " + why + " at line: " + std::to_string(line_number));
    store.files.close(unit::RES);
    stop_box(store, " Error reading the resolution file at line: " + std::to_string(line_number),
             1);
    fail(" Error reading the resolution file");  // not reached: stop_box with 1 throws
  }

  std::string next() {
    std::string line;
    ++line_number;
    if (!store.files.read_line(unit::RES, line)) read_error("End of file");
    return line;
  }

  // List-directed read of `count` reals starting on a new line; continues on the following
  // lines while values are missing.
  std::vector<float> numbers(size_t count) {
    std::vector<float> out;
    while (out.size() < count) {
      const std::string line = next();
      std::vector<double> v;
      try {
        v = text::list_numbers(line, count - out.size());
      } catch (const text::FormatError&) {
        read_error("A number cannot be read");
      }
      for (double x : v) out.push_back(static_cast<float>(x));
    }
    return out;
  }
};

void listing(ModelStore& store, const std::string& line) {
  write_unit(store, unit::OUT, line);
}

}  // namespace

void resolution_read(ModelStore& store) {
  const RunSettings& s = store.settings();
  ResolutionData& r = store.job->resolution;
  r = ResolutionData{};
  open_run_file(store, 13);
  ResolutionReader in{store};
  r.Title = text::pad(in.next(), 40);

  listing(store, " => Instrumental Resolution read from file: " + text::trim(s.ResolutionFile));
  listing(store, " => Title of data: " + r.Title);
  listing(store, "");
  listing(store, " => The resolution function is IRESOL:" + text::fmt_i(s.Res, 4));
  listing(store, "    Input resolution parameters:");

  if (s.Res == 4) {
    // A free-format read of n passes over blank lines.
    std::vector<std::string> tokens;
    while (tokens.empty()) {
      try {
        tokens = text::list_tokens(in.next());
      } catch (const text::FormatError&) {
        in.read_error("The number of points cannot be read");
      }
    }
    long long n = 0;
    if (tokens.empty() || !text::parse_integer(tokens[0], n))
      in.read_error("The number of points cannot be read");
    if (n < 1) in.read_error("The number of points must be at least 1");
    if (n > MAX_RESOLUTION_POINTS) {
      show_value(store,
                 " => Maximum number of points in the resolution file:", MAX_RESOLUTION_POINTS,
                 0.0f, 1);
      in.read_error("Too many points (" + std::to_string(n) + ")");
    }
    r.NPoints = static_cast<int>(n);
    // Triplets over as many lines as needed.
    std::vector<float> v;
    while (v.size() < 3 * static_cast<size_t>(n)) {
      const size_t before = v.size() / 3;
      std::vector<float> more = in.numbers(3 * n - v.size());
      v.insert(v.end(), more.begin(), more.end());
      for (size_t i = std::max<size_t>(before, 1); i < v.size() / 3; ++i)
        if (v[3 * i] < v[3 * (i - 1)]) in.read_error("2theta decreases");
    }
    for (int i = 1; i <= r.NPoints; ++i) {
      r.TwoTheta[i] = v[3 * (i - 1)];
      r.HG[i] = v[3 * (i - 1) + 1];
      r.HL[i] = v[3 * (i - 1) + 2];
    }
    listing(store, "");
    listing(store, "    2-Theta    Gaussian-HW   Lorentzian-HW");
    listing(store, "");
    for (int i = 1; i <= r.NPoints; ++i)
      listing(store, text::format("(F12.4,'  ',F12.6,'   ',F12.6)",
                                  {static_cast<double>(r.TwoTheta[i]), static_cast<double>(r.HG[i]),
                                   static_cast<double>(r.HL[i])}));
    listing(store, " ");
  } else {
    for (int w = 1; w <= 2; ++w) {
      const std::vector<float> v = in.numbers(6);
      for (int k = 1; k <= 6; ++k) r.Coef[w][k] = v[k - 1];
    }
    listing(store, "");
    listing(store, "   U-inst    V-inst     W-inst     X-inst     Y-inst     Z-inst");
    for (int w = 1; w <= 2; ++w) {
      std::vector<text::Item> items;
      for (int k = 1; k <= 6; ++k) items.emplace_back(static_cast<double>(r.Coef[w][k]));
      listing(store, text::format("(6(F10.5,1X))", items));
    }
  }
  store.files.close(unit::RES);
}

ResolutionTerms resolution_terms(const ModelStore& store, int wavelength, float two_theta,
                                 float tan2, float tan) {
  const ResolutionData& r = store.job->resolution;
  const auto& c = r.Coef[std::clamp(wavelength, 1, 2)];
  const float U = c[1], V = c[2], W = c[3], X = c[4], Y = c[5], Z = c[6];
  const float x = two_theta;
  ResolutionTerms t;
  switch (store.job->settings.Res) {
    case 1:
      t.G = U * tan2 + V * tan + W;
      t.L = X * tan + Z;
      break;
    case 2:
      t.G = U * tan2 + V * tan + W;
      t.L = X * x * x + Y * x + Z;
      break;
    case 3:
      t.G = U * x * x + V * x + W;
      t.L = X * x * x + Y * x + Z;
      break;
    case 4: {
      const int n = r.NPoints;
      if (n < 1) break;
      float hg = r.HG[n], hl = r.HL[n];
      if (x < r.TwoTheta[1]) {
        hg = r.HG[1];
        hl = r.HL[1];
      } else {
        for (int i = 1; i < n; ++i) {
          if (r.TwoTheta[i] <= x && x < r.TwoTheta[i + 1]) {
            const float f = (x - r.TwoTheta[i]) / (r.TwoTheta[i + 1] - r.TwoTheta[i]);
            hg = r.HG[i] + f * (r.HG[i + 1] - r.HG[i]);
            hl = r.HL[i] + f * (r.HL[i + 1] - r.HL[i]);
            break;
          }
        }
      }
      t.G = hg * hg;
      t.L = hl;
      break;
    }
    default:
      break;
  }
  return t;
}

}  // namespace kestovar
