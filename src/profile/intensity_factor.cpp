#include "profile/intensity_factor.h"

#include <cmath>

#include "controlfile/run_settings.h"

namespace kestovar {

namespace {

constexpr float kDegToRad = 0.017453292f;

bool xray_job(const RunSettings& s) {
  return s.Job == 0 || s.Job == 2;
}

// The user correction is applied with a correction table (Cor 1) or a polynomial (CorKind 1).
bool user_correction(const RunSettings& s) {
  return s.Cor == 1 || s.CorKind == 1;
}

// Linear interpolation in the table CorB (abscissas, increasing or decreasing) -> CorA.
float table_correction(const RunSettings& s, float x) {
  const int n = s.NCor;
  if (n <= 0) return 1.0f;
  if (n == 1) return s.CorA[1];
  const auto& a = s.CorA;
  const auto& b = s.CorB;
  const bool increasing = b[n] >= b[1];
  auto before = [&](float u, float v) { return increasing ? u < v : u > v; };
  // Beyond the last abscissa the last factor is kept.
  if (!before(x, b[n])) return a[n];
  // Bisection for j with x between b[j] and b[j+1]; below the first abscissa j = 1.
  int lo = 1, hi = n;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (before(x, b[mid]))
      hi = mid;
    else
      lo = mid;
  }
  const float db = b[lo + 1] - b[lo];
  if (db == 0.0f) return a[lo];
  return a[lo] + (a[lo + 1] - a[lo]) * (x - b[lo]) / db;
}

float two_theta_factor(const RunSettings& s, float S, float C, float T) {
  const float sin_t = std::sqrt(std::fabs(S));
  const bool xray = xray_job(s);

  // Low-angle scale factor.
  float L0 = 1.0f;
  if (xray && s.Ilo == 0 && s.Sent0 > 0.0f) {
    const float s0 = std::sin(0.5f * s.Sent0 * kDegToRad);
    if (sin_t <= s0 && s0 > 0.0f) L0 = sin_t / s0;
  }

  // Flat plate with a position-sensitive detector.
  float P = 1.0f;
  if (s.Ilo == 1) {
    const float den = std::sin((T - s.PSD) * kDegToRad);
    if (den != 0.0f) P = 1.0f + std::sin(s.PSD * kDegToRad) / den;
  }

  // Absorption.
  float A = 1.0f;
  const float mur = s.muR;
  if (mur >= 1.0e-6f) {
    if (s.Ilo == 0)
      A = std::exp(-(1.7133f - 0.0368f * S) * mur + (0.0927f + 0.375f * S) * mur * mur);
    else if (s.Ilo == 2)
      A = std::exp(-mur / C) / C;
  }

  float F = (s.Ilo == 2 && xray) ? A / (2.0f * sin_t * C) : A / (2.0f * S * C * P);

  if (xray) {
    const float c = (1.0f - 2.0f * S) * (1.0f - 2.0f * S);  // cos^2(2theta)
    if (s.Ins == 4) {
      F *= s.Rpolarz * c + (1.0f - s.Rpolarz);
    } else if (s.Ilo == 0) {
      F *= (1.0f + s.Cthm * c) * L0;
    } else if (s.Ilo == 1) {
      F *= 1.0f + s.Cthm * c;
    } else if (s.Ilo == 2) {
      const float r = std::sqrt(std::fmax(s.Cthm, 0.0f));
      const float q1 = (1.0f + r * c) / (1.0f + r);
      const float q2 = (1.0f + s.Cthm * c) / (1.0f + s.Cthm);
      F *= s.Rpolarz * q2 + (1.0f - s.Rpolarz) * q1;
    } else if (s.Ilo == 3) {
      F *= s.Rpolarz * c + (1.0f - s.Rpolarz);
    }
  }
  if (user_correction(s)) F *= correction_factor(s, T);
  return F;
}

}  // namespace

float correction_factor(const RunSettings& s, float x) {
  if (s.Cor == 1) return table_correction(s, x);
  float f = s.CorA[1];
  float p = 1.0f;
  for (int j = 2; j <= s.NCor; ++j) {
    p *= x;
    f += s.CorA[j] * p;
  }
  return f;
}

float intensity_factor(const RunSettings& s, float S, float C, float T) {
  const float dtt1 = s.Global[8].value;
  switch (s.Uni) {
    case 0:
      return two_theta_factor(s, S, C, T);
    case 1: {  // time of flight: T = Dtt1 d
      if (dtt1 == 0.0f) return 1.0f;
      const float d = T / dtt1;
      float f = d * d * d * d * 0.5f * s.Global[26].value;
      if (user_correction(s)) f *= correction_factor(s, T);
      return f;
    }
    case 2: {  // energy: T = Dtt1 / d
      if (T == 0.0f) return 1.0f;
      const float d = dtt1 / T;
      return d * d;
    }
    default:
      return 1.0f;
  }
}

}  // namespace kestovar
