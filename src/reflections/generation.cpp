#include "reflections/generation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "data/resolution_file.h"
#include "profile/intensity_factor.h"
#include "reflections/reflection_file.h"
#include "run/messages.h"
#include "run/model_store.h"
#include "text/fortran_format.h"

namespace kestovar {

namespace {

constexpr float kDegToRad = 0.017453292f;
constexpr float kTwoPi = 6.2831855f;

float metric_q(const ReciprocalMetric& m, float h, float k, float l) {
  return m.A * h * h + m.B * k * k + m.C * l * l + m.D * k * l + m.E * h * l + m.F * h * k;
}

bool two_wavelengths(const RunSettings& s) {
  return s.Uni == 0 && s.Lambda2 > 0.0f && std::fabs(s.Lambda2 - s.Lambda1) > 1.0e-6f &&
         s.Ratio > 1.0e-5f;
}

void pattern_range(const ModelStore& store, float& first, float& last) {
  const Pattern& p = store.job->pattern;
  if (p.NPTS >= 1) {
    first = p.X[1];
    last = p.X[p.NPTS];
  } else {
    first = store.job->settings.Thmin;
    last = store.job->settings.Thmax;
  }
}

// ---------------------------------------------------------------------------------------
// Asymmetric regions. Loops run over (h, k, l) in loop order; the stored indices are the
// loop indices with h and k exchanged (4/m, 4/mmm, -31m, 6/m, 6/mmm) or h and l exchanged
// (m3m). Stored regions:
//   -1      h > 0; or h = 0, k > 0; or h = k = 0, l >= 0
//   2/m     b: k >= 0, (h > 0 or h = 0, l >= 0); c: l >= 0, (h > 0 or h = 0, k >= 0);
//           a: h >= 0, (k > 0 or k = 0, l >= 0)
//   mmm     h, k, l >= 0
//   4/m 6/m l >= 0, h > 0 and k >= 0 (or h = k = 0)
//   4/mmm 6/mmm  l >= 0, h >= k >= 0
//   -3 R    (h, k, l) the largest, in lexical order, of its cyclic permutations and their
//           negatives
//   -3m R   h >= k >= l >= -h, k >= 0 when l = -h
//   -3      h > 0 and k >= 0 with any l, or h = k = 0, l >= 0
//   -3m1    h >= k >= 0, l >= 0 when h = k
//   -31m    h >= k >= 0, l >= 0 when k = 0
//   m3      h, k, l >= 0, l <= k, l < h unless h = k = l
//   m3m     h >= k >= l >= 0

enum class Exchange { None, HK, HL };

Exchange exchange_of(int laue) {
  switch (laue) {
    case LAUE_4M:
    case LAUE_4MMM:
    case LAUE_31M:
    case LAUE_6M:
    case LAUE_6MMM:
      return Exchange::HK;
    case LAUE_M3M:
      return Exchange::HL;
    default:
      return Exchange::None;
  }
}

// Position in loop order of each stored index.
std::array<int, 3> loop_position(Exchange e) {
  switch (e) {
    case Exchange::HK:
      return {1, 0, 2};
    case Exchange::HL:
      return {2, 1, 0};
    default:
      return {0, 1, 2};
  }
}

Hkl to_stored(Exchange e, int h, int k, int l) {
  switch (e) {
    case Exchange::HK:
      return {k, h, l};
    case Exchange::HL:
      return {l, k, h};
    default:
      return {h, k, l};
  }
}

struct Range {
  int lo = 0, hi = -1;
};

Range clip(Range r, int bound) {
  return {std::max(r.lo, -bound), std::min(r.hi, bound)};
}

Range k_range(int laue, int axis, int h, const std::array<int, 3>& B) {
  const int Bk = B[1];
  switch (laue) {
    case LAUE_1:
      return {h == 0 ? 0 : -Bk, Bk};
    case LAUE_2M:
      if (axis == 3) return {h == 0 ? 0 : -Bk, Bk};
      return {0, Bk};
    case LAUE_4M:
    case LAUE_6M:
      return {h == 0 ? 0 : 1, Bk};
    case LAUE_4MMM:
    case LAUE_6MMM:
    case LAUE_31M:
    case LAUE_M3M:
      return {h, Bk};
    case LAUE_3R:
    case LAUE_3MR:
      return clip({-h, h}, Bk);
    case LAUE_3:
      return {0, h == 0 ? 0 : Bk};
    case LAUE_3M1:
      return {0, std::min(h, Bk)};
    default:  // mmm, m3
      return {0, Bk};
  }
}

Range l_range(int laue, int axis, int h, int k, const std::array<int, 3>& B) {
  const int Bl = B[2];
  switch (laue) {
    case LAUE_1:
      return {(h == 0 && k == 0) ? 0 : -Bl, Bl};
    case LAUE_2M:
      if (axis == 3) return {0, Bl};
      if (axis == 1) return {k == 0 ? 0 : -Bl, Bl};
      return {h == 0 ? 0 : -Bl, Bl};
    case LAUE_3R:
      return clip({-h, h}, Bl);
    case LAUE_3MR:
      return clip({-h, k}, Bl);
    case LAUE_3:
      return {h == 0 ? 0 : -Bl, Bl};
    case LAUE_3M1:
      return {k == h ? 0 : -Bl, Bl};
    case LAUE_31M:
      return {h == 0 ? 0 : -Bl, Bl};
    case LAUE_M3:
      return {0, std::min({k, h, Bl})};
    case LAUE_M3M:
      return {k, Bl};
    default:  // mmm, 4/m, 4/mmm, 6/m, 6/mmm
      return {0, Bl};
  }
}

// Conditions of a region that the ranges do not express.
bool region_accepts(int laue, int h, int k, int l) {
  switch (laue) {
    case LAUE_3R: {
      const Hkl v{h, k, l};
      const Hkl images[] = {{k, l, h}, {l, h, k}, {-h, -k, -l}, {-k, -l, -h}, {-l, -h, -k}};
      for (const Hkl& w : images)
        if (w > v) return false;
      return true;
    }
    case LAUE_3MR:
      return !(l == -h && k < 0);
    case LAUE_M3:
      return l < h || (h == k && k == l);
    default:
      return true;
  }
}

// A lattice condition c . (h, k, l) = 0 mod m on the stored indices.
struct CongruenceRule {
  std::array<int, 3> c{};
  int m = 2;
};

std::vector<CongruenceRule> congruence_rules(const LatticeConditions& lc) {
  std::vector<CongruenceRule> rules;
  if (lc.A) rules.push_back({{0, 1, 1}, 2});
  if (lc.B) rules.push_back({{1, 0, 1}, 2});
  if (lc.C) rules.push_back({{1, 1, 0}, 2});
  if (lc.I) rules.push_back({{1, 1, 1}, 2});
  if (lc.R) rules.push_back({{-1, 1, 1}, 3});
  return rules;
}

int positive_mod(int v, int m) {
  return ((v % m) + m) % m;
}

// The first value >= lo with value = r mod m.
int aligned_start(int lo, int r, int m) {
  return lo + positive_mod(r - lo, m);
}

// Propagation-vector satellites already formed, looked up with a tolerance of 0.0001 per
// component (a grid of that size, searching the neighbouring cells).
class SatelliteSet {
 public:
  bool contains_or_opposite(const std::array<float, 3>& v) const {
    return contains(v) || contains({-v[0], -v[1], -v[2]});
  }
  void insert(const std::array<float, 3>& v) { cells_[key(cell(v))].push_back(v); }

 private:
  static constexpr float kTol = 1.0e-4f;
  using Cell = std::array<int64_t, 3>;
  static Cell cell(const std::array<float, 3>& v) {
    return {static_cast<int64_t>(std::floor(v[0] / kTol)),
            static_cast<int64_t>(std::floor(v[1] / kTol)),
            static_cast<int64_t>(std::floor(v[2] / kTol))};
  }
  // Distinct cells may share a key; the vectors of a cell are compared one by one.
  static uint64_t key(const Cell& c) {
    return static_cast<uint64_t>(c[0]) * 73856093u ^ static_cast<uint64_t>(c[1]) * 19349663u ^
           static_cast<uint64_t>(c[2]) * 83492791u;
  }
  bool contains(const std::array<float, 3>& v) const {
    const Cell c = cell(v);
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dz = -1; dz <= 1; ++dz) {
          auto it = cells_.find(key({c[0] + dx, c[1] + dy, c[2] + dz}));
          if (it == cells_.end()) continue;
          for (const auto& w : it->second)
            if (std::fabs(w[0] - v[0]) < kTol && std::fabs(w[1] - v[1]) < kTol &&
                std::fabs(w[2] - v[2]) < kTol)
              return true;
        }
    return false;
  }
  std::unordered_map<uint64_t, std::vector<std::array<float, 3>>> cells_;
};

}  // namespace

// ---------------------------------------------------------------------------------------

LatticeConditions lattice_conditions(const SpaceGroup& g) {
  LatticeConditions c;
  bool a = false, b = false;
  for (int n = 1; n <= MAX_GENERATORS; ++n) {
    const int code = g.Generator[n];
    if (code == 0) break;
    if (code == 576) a = true;
    if (code == 516) b = true;
    if (code == 68) c.C = true;
    if (code == 580) c.I = true;
    if (code == R_CENTRING_CODE) c.R = true;
  }
  if (a && b) {
    c.A = c.B = c.C = true;  // F
  } else {
    c.A = a;
    c.B = b;
  }
  return c;
}

bool lattice_allows(const LatticeConditions& c, int h, int k, int l) {
  if (c.A && positive_mod(k + l, 2) != 0) return false;
  if (c.B && positive_mod(h + l, 2) != 0) return false;
  if (c.C && positive_mod(h + k, 2) != 0) return false;
  if (c.I && positive_mod(h + k + l, 2) != 0) return false;
  if (c.R && positive_mod(-h + k + l, 3) != 0) return false;
  return true;
}

EnumerationResult enumerate_reflections(const EnumerationInput& in) {
  EnumerationResult out;
  const SpaceGroup& g = *in.group;
  const int laue = g.Laue;
  const int axis = g.UniqueAxis == 0 ? 2 : g.UniqueAxis;
  const bool satellites = !in.kvec.empty();
  const float factor = satellites ? 4.0f : 2.0f;
  const float smin2 = in.limits.s_min * in.limits.s_min;
  const float smax2 = in.limits.s_max * in.limits.s_max;
  if (in.limits.s_max <= 0.0f) return out;

  std::array<int, 3> stored_bound{};
  for (int i = 0; i < 3; ++i) {
    // Compared before rounding: a huge or infinite bound (a tiny d limit) must not overflow
    // the conversion to an integer.
    const double x = static_cast<double>(factor) * in.abc[static_cast<size_t>(i)] * in.limits.s_max;
    int b = 0;
    if (x >= MAX_PACKED_INDEX + 0.5) {
      out.index_limited = true;
      b = MAX_PACKED_INDEX;
    } else if (x > 0.0) {
      b = static_cast<int>(std::lround(x));
    }
    stored_bound[static_cast<size_t>(i)] = b;
  }
  out.bounds = stored_bound;

  const Exchange ex = exchange_of(laue);
  const std::array<int, 3> pos = loop_position(ex);
  std::array<int, 3> B{};  // bounds in loop order
  for (int i = 0; i < 3; ++i)
    B[static_cast<size_t>(pos[static_cast<size_t>(i)])] = stored_bound[static_cast<size_t>(i)];

  // Lattice rules in loop order: those involving l step the l loop, the others the k loop.
  const LatticeConditions lc = lattice_conditions(g);
  std::vector<CongruenceRule> l_rules, k_rules;
  for (const CongruenceRule& r : congruence_rules(lc)) {
    CongruenceRule lr;
    lr.m = r.m;
    for (int i = 0; i < 3; ++i)
      lr.c[static_cast<size_t>(pos[static_cast<size_t>(i)])] = r.c[static_cast<size_t>(i)];
    (lr.c[2] != 0 ? l_rules : k_rules).push_back(lr);
  }

  SatelliteSet formed;
  auto add_satellites = [&](const Hkl& parent, int sign, int mult) {
    for (size_t j = 0; j < in.kvec.size(); ++j) {
      const auto& kv = in.kvec[j];
      std::array<float, 3> v{};
      for (int i = 0; i < 3; ++i)
        v[static_cast<size_t>(i)] =
            static_cast<float>(sign * parent[static_cast<size_t>(i)]) + kv[static_cast<size_t>(i)];
      if (formed.contains_or_opposite(v)) continue;
      formed.insert(v);
      const float Q = metric_q(in.metric, v[0], v[1], v[2]);
      const float s2 = 0.25f * Q;
      if (s2 < smin2 || s2 > smax2) continue;
      ReflectionCandidate c;
      c.hkl = {sign * parent[0], sign * parent[1], sign * parent[2]};
      c.ivk = static_cast<int>(j) + 1;
      c.h = v;
      c.Q = Q;
      c.mult = mult;
      out.candidates.push_back(c);
    }
  };

  for (int h = 0; h <= B[0]; ++h) {
    const Range kr = k_range(laue, axis, h, B);
    int kstep = 1, kstart = kr.lo;
    if (!k_rules.empty()) {
      const CongruenceRule& r = k_rules.front();
      // c_h h + c_k k = 0 mod m, with c_k = +-1.
      kstep = r.m;
      kstart = aligned_start(kr.lo, -r.c[1] * r.c[0] * h, r.m);
    }
    for (int k = kstart; k <= kr.hi; k += kstep) {
      const Range lr = l_range(laue, axis, h, k, B);
      int lstep = 1, lstart = lr.lo;
      if (!l_rules.empty()) {
        const CongruenceRule& r = l_rules.front();
        lstep = r.m;
        lstart = aligned_start(lr.lo, -r.c[2] * (r.c[0] * h + r.c[1] * k), r.m);
      }
      for (int l = lstart; l <= lr.hi; l += lstep) {
        if (!region_accepts(laue, h, k, l)) continue;
        const Hkl s = to_stored(ex, h, k, l);
        if (!lattice_allows(lc, s[0], s[1], s[2])) continue;
        const bool origin = s[0] == 0 && s[1] == 0 && s[2] == 0;
        const int mult = laue_multiplicity(laue, axis, s[0], s[1], s[2]);
        if (!origin && !in.satellites_only) {
          const float Q = metric_q(in.metric, static_cast<float>(s[0]), static_cast<float>(s[1]),
                                   static_cast<float>(s[2]));
          const float s2 = 0.25f * Q;
          if (s2 >= smin2 && s2 <= smax2 && !is_absent(g, s)) {
            ReflectionCandidate c;
            c.hkl = s;
            c.h = {static_cast<float>(s[0]), static_cast<float>(s[1]), static_cast<float>(s[2])};
            c.Q = Q;
            c.mult = mult;
            out.candidates.push_back(c);
          }
        }
        if (satellites) {
          const int smult = origin ? (in.kvec_augmented ? 2 : 1) : mult;
          add_satellites(s, 1, smult);
          if (s[0] == 0 || s[1] == 0 || s[2] == 0) add_satellites(s, -1, smult);
        }
      }
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------

GenerationLimits generation_limits(const ModelStore& store, int phase) {
  const RunSettings& s = store.job->settings;
  const Phase& ph = store.job->phases[phase];
  GenerationLimits lim;
  float first = 0, last = 0;
  pattern_range(store, first, last);
  const int nex = std::clamp(s.Nex, 0, IEXCL);

  if (s.Uni == 0) {
    float tth_max = last;
    if (nex > 0 && s.ExclHigh[nex] >= last) tth_max = s.ExclLow[nex];
    float widen = 0.0f;
    if (std::abs(ph.Jbt) != 2) {
      const float t = std::tan(0.5f * tth_max * kDegToRad);
      const float h2 = ph.slot[3].value * t * t + ph.slot[4].value * t + ph.slot[5].value;
      widen = std::min(std::max(10.0f * s.Wdt * h2, 0.0f), std::max(0.5f * tth_max, 0.0f));
    }
    const float theta_max = std::min(0.5f * (tth_max + widen), 90.0f);
    const float lambda1 = s.Lambda1 > 0.0f ? s.Lambda1 : 1.0f;
    lim.s_min = std::sin(0.5f * std::max(first, 0.0f) * kDegToRad) / lambda1;
    lim.s_max = std::sin(theta_max * kDegToRad) / lambda1;
    if (two_wavelengths(s)) {
      const float ratio = s.Lambda1 / s.Lambda2;
      if (s.Lambda2 > s.Lambda1)
        lim.s_min *= ratio;  // s^2 scaled by (lambda1/lambda2)^2
      else
        lim.s_max *= ratio;
    }
    return lim;
  }

  // Other abscissas: the d range of the pattern.
  float low = first;
  if (nex > 0 && s.ExclLow[1] <= first) low = std::max(first, s.ExclHigh[1]);
  const float dtt1 = s.Global[8].value;
  float d_min = 0, d_max = 0;
  switch (s.Uni) {
    case 1:  // time of flight = Dtt1 d
      d_min = low / dtt1;
      d_max = last / dtt1;
      break;
    case 2:  // energy = Dtt1 / d
      d_min = dtt1 / last;
      d_max = dtt1 / low;
      break;
    case 3:  // Q = 2 pi / d
      d_min = kTwoPi / last;
      d_max = kTwoPi / low;
      break;
    default:  // 1/d
      d_min = 1.0f / last;
      d_max = 1.0f / low;
      break;
  }
  if (!(d_min > 0.0f) || !std::isfinite(d_min)) return lim;
  lim.s_max = 0.5f / d_min;
  lim.s_min = (d_max > 0.0f && std::isfinite(d_max)) ? 0.5f / d_max : 0.0f;
  return lim;
}

PlacementContext placement_context(const ModelStore& store, int phase) {
  const RunSettings& s = store.job->settings;
  PlacementContext c;
  c.phase = phase;
  c.Uni = s.Uni;
  c.lambda = {0.0f, s.Lambda1, s.Lambda2};
  c.nwave = two_wavelengths(s) ? 2 : 1;
  c.zero = s.Global[1].value;
  if (s.Uni == 0) {
    c.sycos = s.Global[8].value;
    c.sysin = s.Global[9].value;
  } else {
    c.dtt1 = s.Global[8].value;
    c.dtt2 = s.Global[9].value;
  }
  pattern_range(store, c.x_first, c.x_last);
  c.intensity_factor = store.job->groups[phase].IntensityFactor;
  c.Res = s.Res;
  return c;
}

bool reflection_position(const PlacementContext& c, float Q, int wave, ReflectionPosition& p) {
  if (!(Q > 0.0f)) return false;
  p = ReflectionPosition{};
  switch (c.Uni) {
    case 0: {
      const float lambda = c.lambda[static_cast<size_t>(wave)];
      const float sin2 = 0.25f * Q * lambda * lambda;
      if (sin2 < 1.0e-10f || sin2 >= 1.0f) return false;
      const float cos2 = 1.0f - sin2;
      p.sin2 = sin2;
      p.cos_t = std::sqrt(cos2);
      p.tan_t = std::sqrt(sin2 / cos2);
      p.Tk = 114.59156f * std::atan(p.tan_t);
      const float theta = 0.5f * p.Tk * kDegToRad;
      p.corrected = p.Tk + c.zero + c.sycos * std::cos(theta) + c.sysin * std::sin(2.0f * theta);
      return true;
    }
    case 1: {
      const float d = 1.0f / std::sqrt(Q);
      p.Tk = c.dtt1 * d;
      p.corrected = p.Tk + c.dtt2 * d * d + c.zero;
      break;
    }
    case 2:
      p.Tk = c.dtt1 * std::sqrt(Q);
      p.corrected = p.Tk + c.dtt2 * Q + c.zero;
      break;
    case 3:
      p.Tk = kTwoPi * std::sqrt(Q);
      p.corrected = p.Tk + c.zero;
      break;
    default:
      p.Tk = std::sqrt(Q);
      p.corrected = p.Tk + c.zero;
      break;
  }
  p.cos_t = 1.0f;
  return true;
}

int place_reflection(ModelStore& store, const PlacementContext& c, const Hkl& hkl, int ivk, float Q,
                     int mult) {
  ReflectionList& list = store.job->reflections;
  int made = 0;
  for (int wave = 1; wave <= c.nwave; ++wave) {
    ReflectionPosition p;
    if (!reflection_position(c, Q, wave, p)) continue;
    if (p.corrected < c.x_first || p.corrected > c.x_last) continue;
    if (list.total() >= IRS - 1) stop_program(store, " Too many reflections");
    const int n = list.first_of(c.phase) + list.Nref[c.phase] + 1;
    Reflection r;
    r.Code = pack_reflection_code(c.phase, wave, hkl[0], hkl[1], hkl[2]);
    r.Ivk = ivk;
    r.Mult = mult;
    r.Tk = p.Tk;
    r.Q = Q;
    r.LpMult = intensity_factor(store.job->settings, p.sin2, p.cos_t, p.Tk) *
               static_cast<float>(c.intensity_factor);
    if (c.Res != 0) {
      const ResolutionTerms t =
          c.Uni == 0 ? resolution_terms(store, wave, p.Tk, p.tan_t * p.tan_t, p.tan_t)
                     : resolution_terms(store, wave, p.Tk, 0.0f, 0.0f);
      r.InstrG = t.G;
      r.InstrL = t.L;
    }
    list.refl[n] = r;
    ++list.Nref[c.phase];
    ++made;
  }
  return made;
}

void apply_multiplicities(ReflectionList& list, int phase) {
  const int first = list.first_of(phase);
  for (int n = first + 1; n <= first + list.Nref[phase]; ++n)
    list.refl[n].LpMult *= static_cast<float>(list.refl[n].Mult);
}

// ---------------------------------------------------------------------------------------

void generate_reflections(ModelStore& store, int phase) {
  using text::fmt_f;
  using text::fmt_i;
  Phase& ph = store.job->phases[phase];
  const SpaceGroup& g = store.job->groups[phase];
  ReflectionList& list = store.job->reflections;
  auto listing = [&](const std::string& line) { write_unit(store, unit::OUT, line); };

  show_message(store, " => Generating reflections");
  if (g.UniqueAxis > 3) stop_program(store, " Illegal SP symb:if cubic, set 3 instead of -3");

  const GenerationLimits lim = generation_limits(store, phase);
  const float s_min_safe = std::max(lim.s_min, 1.0e-10f);
  const float s_max_safe = std::max(lim.s_max, 1.0e-10f);
  listing("");
  listing(" => Laue symmetry " + std::string(laue_class_name(g.Laue)) +
          " will be used to gnerate HKL");
  listing(" => Reflections generated between S(1/d)min:" + fmt_f(lim.s_min, 8, 4) +
          " A-1 and S(1/d)max:" + fmt_f(lim.s_max, 8, 4) + " A-1");
  listing(" =>                                    dmax:" + fmt_f(0.5f / s_min_safe, 8, 4) +
          " A   and      dmin:" + fmt_f(0.5f / s_max_safe, 8, 4));
  listing("");
  listing("  NSPGRP:  " + fmt_i(g.Laue, 4) + " -->  " + text::pad(ph.SpaceGroupSymbol, SYMBOL_LEN));
  listing("   M(1)   M(2)   M(3)   M(4)   M(5)   M(6)   M(7)   M(8)");
  std::string codes;
  for (int n = 1; n <= MAX_GENERATORS; ++n) codes += fmt_i(g.Generator[n], 7);
  listing(codes);

  EnumerationInput in;
  in.group = &g;
  const CellParameters& cell = ph.DirectCell;
  in.abc = {cell[0], cell[1], cell[2]};
  in.metric = {ph.slot[6].value, ph.slot[7].value,  ph.slot[8].value,
               ph.slot[9].value, ph.slot[10].value, ph.slot[11].value};
  in.limits = lim;
  for (int v = 1; v <= std::min(ph.Nvk, NEQV); ++v)
    in.kvec.push_back({ph.kvec[v][0].value, ph.kvec[v][1].value, ph.kvec[v][2].value});
  in.satellites_only = ph.Irf == -1;
  in.kvec_augmented = ph.KvecAugmented;
  const EnumerationResult result = enumerate_reflections(in);
  if (result.index_limited)
    show_message(store, " => Warning: Miller indices limited to 127 for phase " + fmt_i(phase, 2));

  list.Friedel = friedel_factor(g.Laue);
  const PlacementContext c = placement_context(store, phase);
  for (const ReflectionCandidate& cand : result.candidates)
    place_reflection(store, c, cand.hkl, cand.ivk, cand.Q, cand.mult);
  apply_multiplicities(list, phase);
  sort_phase_reflections(list, phase);

  // With explicit operators the symmetry reader has already announced the satellite file.
  if (ph.Irf == -1) {
    if (ph.Isy == 0) show_message(store, " A file with hkl-satellites will be created!!");
    listing(" => (hkl) progenitors generated from space group symbol");
    write_reflection_file(store, phase);
  } else if (ph.Isy != 0) {
    listing(" => A new file with relevant HKLs for the present model will be written");
    write_reflection_file(store, phase);
  }
  listing(" => Number of reflections generated for phase" + fmt_i(phase, 2) + ": " +
          fmt_i(list.Nref[phase], 6));
}

}  // namespace kestovar
