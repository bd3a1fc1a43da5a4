#include "tables/form_factor_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestovar {

namespace {

constexpr int kMaxParams = 9;
constexpr int kMaxIterations = 500;

using Matrix = std::vector<std::vector<double>>;

// Solves a x = b by Gaussian elimination with partial pivoting; false when singular.
bool solve(Matrix a, std::vector<double> b, std::vector<double>& x) {
  const size_t n = b.size();
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t r = col + 1; r < n; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (!(std::fabs(a[pivot][col]) > 1e-300)) return false;
    std::swap(a[col], a[pivot]);
    std::swap(b[col], b[pivot]);
    for (size_t r = col + 1; r < n; ++r) {
      const double m = a[r][col] / a[col][col];
      for (size_t c = col; c < n; ++c) a[r][c] -= m * a[col][c];
      b[r] -= m * b[col];
    }
  }
  x.assign(n, 0.0);
  for (size_t r = n; r-- > 0;) {
    double v = b[r];
    for (size_t c = r + 1; c < n; ++c) v -= a[r][c] * x[c];
    x[r] = v / a[r][r];
  }
  return true;
}

// The fit separates the coefficients that enter linearly (a1..a4, c) from the exponents
// b1..b4: for given exponents the linear ones follow from a linear least-squares solution,
// so the iteration runs over the exponents alone, in ln(b) to keep them positive and
// equally scaled.
class Problem {
 public:
  Problem(const std::vector<double>& s2, const std::vector<double>& f, int n)
      : s2_(s2), f_(f), n_(n) {
    for (int k = 0; k < n; ++k) (k % 2 == 0 || k == 8 ? linear_ : exponents_).push_back(k);
  }

  size_t exponents() const { return exponents_.size(); }

  // Full parameter list (a1 b1 ... c) for the log-exponents `beta`, and the residuals.
  std::vector<double> params(const std::vector<double>& beta,
                             std::vector<double>* residuals) const {
    std::vector<double> p(kMaxParams, 0.0);
    for (size_t i = 0; i < exponents_.size(); ++i) p[exponents_[i]] = std::exp(beta[i]);
    // Basis function of each linear coefficient at every point.
    const size_t m = s2_.size(), nl = linear_.size();
    Matrix basis(nl, std::vector<double>(m));
    for (size_t j = 0; j < nl; ++j)
      for (size_t k = 0; k < m; ++k)
        basis[j][k] = linear_[j] == 8 ? 1.0 : std::exp(-p[linear_[j] + 1] * s2_[k]);
    Matrix a(nl, std::vector<double>(nl, 0.0));
    std::vector<double> rhs(nl, 0.0), x;
    double trace = 0.0;
    for (size_t i = 0; i < nl; ++i) {
      for (size_t k = 0; k < m; ++k) rhs[i] += basis[i][k] * f_[k];
      for (size_t j = 0; j < nl; ++j)
        for (size_t k = 0; k < m; ++k) a[i][j] += basis[i][k] * basis[j][k];
      trace += a[i][i];
    }
    // A tiny ridge keeps coinciding basis functions (equal exponents) solvable.
    for (size_t i = 0; i < nl; ++i) a[i][i] += 1e-13 * trace;
    if (!solve(a, rhs, x)) x.assign(nl, 0.0);
    for (size_t j = 0; j < nl; ++j) p[linear_[j]] = x[j];
    if (residuals) {
      residuals->assign(m, 0.0);
      for (size_t k = 0; k < m; ++k) {
        double v = -f_[k];
        for (size_t j = 0; j < nl; ++j) v += x[j] * basis[j][k];
        (*residuals)[k] = v;
      }
    }
    return p;
  }

  double ssq(const std::vector<double>& beta) const {
    std::vector<double> r;
    params(beta, &r);
    double s = 0.0;
    for (double v : r) s += v * v;
    return std::isfinite(s) ? s : HUGE_VAL;
  }

 private:
  const std::vector<double>& s2_;
  const std::vector<double>& f_;
  int n_;
  std::vector<int> linear_, exponents_;
};

}  // namespace

float form_factor_value(const std::array<float, 10>& coeff, float s) {
  const float s2 = s * s;
  float v = coeff[9];
  for (int i = 0; i < 4; ++i) v += coeff[2 * i + 1] * std::exp(-coeff[2 * i + 2] * s2);
  return v;
}

FormFactorFit fit_form_factor(const std::array<float, N_FORM + 1>& s,
                              const std::array<float, N_FORM + 1>& f, int npoints) {
  FormFactorFit out;
  const int m = std::clamp(npoints, 0, N_FORM);
  const int n = std::min(m, kMaxParams);
  std::vector<double> s2(m), fv(m);
  for (int k = 0; k < m; ++k) {
    s2[k] = static_cast<double>(s[k + 1]) * s[k + 1];
    fv[k] = f[k + 1];
  }
  Problem problem(s2, fv, n);
  const size_t ne = problem.exponents();
  // Starting values 1, 2, 3, ... of the parameter list: b_i starts at 2i.
  std::vector<double> beta(ne);
  for (size_t i = 0; i < ne; ++i) beta[i] = std::log(2.0 * (i + 1));

  // Levenberg-Marquardt over the log-exponents with a forward-difference Jacobian: a step
  // that lowers the sum of squares is kept and the damping divided by 10, otherwise the
  // damping grows tenfold. Stops when the sum no longer decreases measurably.
  double ssq = problem.ssq(beta);
  double lambda = 1e-3;
  int iter = 0;
  bool converged = ne == 0;
  while (!converged && iter < kMaxIterations && ssq > 1e-24) {
    ++iter;
    std::vector<double> r0;
    problem.params(beta, &r0);
    Matrix jac(ne);
    for (size_t i = 0; i < ne; ++i) {
      std::vector<double> b = beta, r;
      const double h = 1e-6;
      b[i] += h;
      problem.params(b, &r);
      jac[i].resize(r0.size());
      for (size_t k = 0; k < r0.size(); ++k) jac[i][k] = (r[k] - r0[k]) / h;
    }
    Matrix a(ne, std::vector<double>(ne, 0.0));
    std::vector<double> g(ne, 0.0);
    for (size_t i = 0; i < ne; ++i) {
      for (size_t k = 0; k < r0.size(); ++k) g[i] -= jac[i][k] * r0[k];
      for (size_t j = 0; j < ne; ++j)
        for (size_t k = 0; k < r0.size(); ++k) a[i][j] += jac[i][k] * jac[j][k];
    }
    bool accepted = false;
    while (lambda < 1e16) {
      Matrix damped = a;
      for (size_t i = 0; i < ne; ++i) damped[i][i] += lambda * (a[i][i] > 0 ? a[i][i] : 1.0);
      std::vector<double> step;
      if (solve(damped, g, step)) {
        std::vector<double> trial = beta;
        for (size_t i = 0; i < ne; ++i) trial[i] += std::clamp(step[i], -5.0, 5.0);
        const double t = problem.ssq(trial);
        if (t < ssq) {
          converged = ssq - t <= 1e-12 * ssq;
          beta = trial;
          ssq = t;
          lambda = std::max(lambda * 0.1, 1e-12);
          accepted = true;
          break;
        }
      }
      lambda *= 10.0;
    }
    if (!accepted) break;
  }

  const std::vector<double> p = problem.params(beta, nullptr);
  for (int k = 0; k < kMaxParams; ++k) out.coeff[k + 1] = static_cast<float>(p[k]);
  if (out.coeff[3] == 0.0f) out.coeff[3] = -1.0e-6f;
  out.iterations = iter;
  out.ssq = ssq;
  return out;
}

}  // namespace kestovar
