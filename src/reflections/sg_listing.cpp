#include "reflections/sg_listing.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "reflections/generation.h"
#include "symmetry/cell.h"
#include "symmetry/expansion.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

constexpr const char* kUsage =
    "Usage: kestovar-sg SYMBOL --cell A B C ALPHA BETA GAMMA --dmin D [--lambda L]\n"
    "Lists the independent reflections with d >= D: h, k, l, multiplicity, d and, with a\n"
    "wavelength L, 2theta, in order of decreasing d.\n";

bool number(const char* text, double& v) {
  return text::parse_real(text, v);
}

// Positive lengths, angles between 0 and 180 degrees that close a cell (positive volume).
bool real_cell(const CellParameters& cell) {
  for (int i = 0; i < 3; ++i)
    if (!(cell[static_cast<size_t>(i)] > 0.0f) || !std::isfinite(cell[static_cast<size_t>(i)]))
      return false;
  for (int i = 3; i < 6; ++i) {
    const float angle = cell[static_cast<size_t>(i)];
    if (!(angle > 0.0f && angle < 180.0f)) return false;
  }
  return cell_shape_factor(cell) > 1.0e-6f;
}

}  // namespace

int reflection_listing_main(int argc, const char* const* argv, std::ostream& out,
                            std::ostream& err) {
  bool wanted = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--cell" || a == "--dmin" || a == "--lambda") wanted = true;
  }
  if (!wanted) return -1;

  std::string symbol;
  CellParameters cell{};
  bool have_cell = false, have_dmin = false;
  double dmin = 0, lambda = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--cell") {
      if (i + 6 >= argc) {
        err << kUsage;
        return 2;
      }
      for (int j = 0; j < 6; ++j) {
        double v = 0;
        if (!number(argv[++i], v)) {
          err << " => Bad cell value: " << argv[i] << "\n" << kUsage;
          return 2;
        }
        cell[static_cast<size_t>(j)] = static_cast<float>(v);
      }
      have_cell = true;
    } else if (a == "--dmin" || a == "--lambda") {
      double v = 0;
      if (i + 1 >= argc || !number(argv[++i], v) || !(v > 0)) {
        err << " => Bad value of " << a << "\n" << kUsage;
        return 2;
      }
      if (a == "--dmin") {
        dmin = v;
        have_dmin = true;
      } else {
        lambda = v;
      }
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      // A mistyped option would otherwise end up in the symbol.
      err << " => Unknown option: " << a << "\n" << kUsage;
      return 2;
    } else {
      if (!symbol.empty()) symbol += " ";
      symbol += a;
    }
  }
  if (symbol.empty() || !have_cell || !have_dmin) {
    err << kUsage;
    return 2;
  }

  SpaceGroup g;
  if (!space_group_from_symbol(symbol, g)) {
    err << " => Error in S.G. symbol: " << symbol << "\n";
    return 1;
  }
  if (g.UniqueAxis > 3 || !constrain_cell(g.Laue, g.UniqueAxis, true, cell)) {
    err << " => Error in S.G. symbol: " << symbol << "\n";
    return 1;
  }
  if (!real_cell(cell)) {
    err << " => Bad cell: lengths must be positive and the angles (0 to 180 degrees) must close"
           " a cell\n"
        << kUsage;
    return 2;
  }
  EnumerationInput in;
  in.group = &g;
  in.metric = reciprocal_metric(cell);
  in.abc = {cell[0], cell[1], cell[2]};
  in.limits.s_min = 0.0f;
  in.limits.s_max = static_cast<float>(0.5 / dmin);
  EnumerationResult result = enumerate_reflections(in);
  if (result.index_limited) err << " => Warning: Miller indices limited to 127\n";

  std::vector<ReflectionCandidate>& list = result.candidates;
  std::stable_sort(
      list.begin(), list.end(),
      [](const ReflectionCandidate& a, const ReflectionCandidate& b) { return a.Q < b.Q; });
  for (const ReflectionCandidate& c : list) {
    const float d = 1.0f / std::sqrt(c.Q);
    std::string line = text::fmt_i(c.hkl[0], 4) + text::fmt_i(c.hkl[1], 4) +
                       text::fmt_i(c.hkl[2], 4) + text::fmt_i(c.mult, 5) + text::fmt_f(d, 10, 5);
    if (lambda > 0) {
      const double s = lambda / (2.0 * d);
      if (s >= 1.0) continue;  // beyond the reach of the wavelength
      line += text::fmt_f(2.0 * std::asin(s) * 57.29577951308232, 10, 4);
    }
    out << line << "\n";
  }
  return 0;
}

}  // namespace kestovar
