#include "data/spline.h"

#include <cassert>
#include <vector>

#include "run/messages.h"
#include "run/stop.h"

namespace kestovar {

namespace {

constexpr float MIN_INTERVAL = 1.0e-6f;
constexpr float CLAMP_LIMIT = 9.9e29f;

[[noreturn]] void spline_fault(ModelStore& store) {
  show_message(store, SPLINE_FAULT_TEXT);
  stop_box(store, SPLINE_FAULT_TEXT, 1);
  fail(SPLINE_FAULT_TEXT);
}

}  // namespace

void spline_setup(ModelStore& store, std::span<const float> x, std::span<const float> y, int n,
                  float yp1, float ypn, std::span<float> y2) {
  if (n < 1) return;
  assert(x.size() > static_cast<size_t>(n) && y.size() > static_cast<size_t>(n) &&
         y2.size() > static_cast<size_t>(n));
  // A zero or negative interval would fill the whole table with infinities; refuse it here
  // rather than at the first evaluation that happens to fall into it.
  for (int i = 1; i < n; ++i)
    if (!(x[i + 1] - x[i] >= MIN_INTERVAL)) spline_fault(store);
  if (n == 1) {
    y2[1] = 0.0f;
    return;
  }
  std::vector<float> u(static_cast<size_t>(n) + 1, 0.0f);
  if (yp1 < CLAMP_LIMIT) {
    y2[1] = -0.5f;
    u[1] = (3.0f / (x[2] - x[1])) * ((y[2] - y[1]) / (x[2] - x[1]) - yp1);
  } else {
    y2[1] = 0.0f;
    u[1] = 0.0f;
  }
  for (int i = 2; i <= n - 1; ++i) {
    const float sig = (x[i] - x[i - 1]) / (x[i + 1] - x[i - 1]);
    const float p = sig * y2[i - 1] + 2.0f;
    y2[i] = (sig - 1.0f) / p;
    u[i] = (6.0f * ((y[i + 1] - y[i]) / (x[i + 1] - x[i]) - (y[i] - y[i - 1]) / (x[i] - x[i - 1])) /
                (x[i + 1] - x[i - 1]) -
            sig * u[i - 1]) /
           p;
  }
  float qn = 0.0f, un = 0.0f;
  if (ypn < CLAMP_LIMIT) {
    qn = 0.5f;
    un = (3.0f / (x[n] - x[n - 1])) * (ypn - (y[n] - y[n - 1]) / (x[n] - x[n - 1]));
  }
  y2[n] = (un - qn * u[n - 1]) / (qn * y2[n - 1] + 1.0f);
  for (int k = n - 1; k >= 1; --k) y2[k] = y2[k] * y2[k + 1] + u[k];
}

float spline_value(ModelStore& store, std::span<const float> x, std::span<const float> y,
                   std::span<const float> y2, int n, float xv) {
  if (n < 1) spline_fault(store);
  assert(x.size() > static_cast<size_t>(n) && y.size() > static_cast<size_t>(n) &&
         y2.size() > static_cast<size_t>(n));
  int klo = 1, khi = n;
  while (khi - klo > 1) {
    const int k = (khi + klo) / 2;
    if (x[k] > xv)
      khi = k;
    else
      klo = k;
  }
  const float h = x[khi] - x[klo];
  if (!(h >= MIN_INTERVAL)) spline_fault(store);
  const float a = (x[khi] - xv) / h;
  const float b = (xv - x[klo]) / h;
  return a * y[klo] + b * y[khi] +
         ((a * a * a - a) * y2[klo] + (b * b * b - b) * y2[khi]) * (h * h) / 6.0f;
}

}  // namespace kestovar
