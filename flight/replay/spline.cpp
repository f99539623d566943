#include "flight/replay/spline.h"

#include <algorithm>

namespace flight {

Spline::Spline(std::vector<double> times, std::vector<double> values)
    : t_(std::move(times)), v_(std::move(values)), m_(t_.size(), 0.0) {
  const size_t n = t_.size();
  for (size_t i = 0; i < n; ++i) {
    const size_t a = i == 0 ? 0 : i - 1;
    const size_t b = i + 1 == n ? i : i + 1;
    m_[i] = b > a ? (v_[b] - v_[a]) / (t_[b] - t_[a]) : 0.0;
  }
}

size_t Spline::segment(double t) const {
  const size_t n = t_.size();
  if (n < 2) {
    return 0;
  }
  if (cursor_ + 1 < n && t_[cursor_] <= t && t <= t_[cursor_ + 1]) {
    return cursor_;
  }
  if (cursor_ + 2 < n && t_[cursor_ + 1] <= t && t <= t_[cursor_ + 2]) {
    return ++cursor_;
  }
  auto it = std::upper_bound(t_.begin(), t_.end(), t);
  size_t i = it == t_.begin() ? 0 : static_cast<size_t>(it - t_.begin()) - 1;
  cursor_ = std::min(i, n - 2);
  return cursor_;
}

// Hermite basis on the unit interval s in [0, 1] with h = t1 - t0.
double Spline::value(double t) const {
  if (t_.empty()) {
    return 0.0;
  }
  if (t_.size() == 1 || t <= t_.front()) {
    return v_.front();
  }
  if (t >= t_.back()) {
    return v_.back();
  }
  const size_t i = segment(t);
  const double h = t_[i + 1] - t_[i];
  const double s = (t - t_[i]) / h;
  const double s2 = s * s, s3 = s2 * s;
  return (2 * s3 - 3 * s2 + 1) * v_[i] + (s3 - 2 * s2 + s) * h * m_[i] +
         (-2 * s3 + 3 * s2) * v_[i + 1] + (s3 - s2) * h * m_[i + 1];
}

double Spline::slope(double t) const {
  if (t_.size() < 2) {
    return 0.0;
  }
  t = std::clamp(t, t_.front(), t_.back());
  const size_t i = segment(t);
  const double h = t_[i + 1] - t_[i];
  const double s = (t - t_[i]) / h;
  const double s2 = s * s;
  return ((6 * s2 - 6 * s) * v_[i] + (3 * s2 - 4 * s + 1) * h * m_[i] +
          (-6 * s2 + 6 * s) * v_[i + 1] + (3 * s2 - 2 * s) * h * m_[i + 1]) /
         h;
}

double Spline::curvature(double t) const {
  if (t_.size() < 2) {
    return 0.0;
  }
  t = std::clamp(t, t_.front(), t_.back());
  const size_t i = segment(t);
  const double h = t_[i + 1] - t_[i];
  const double s = (t - t_[i]) / h;
  return ((12 * s - 6) * v_[i] + (6 * s - 4) * h * m_[i] + (-12 * s + 6) * v_[i + 1] +
          (6 * s - 2) * h * m_[i + 1]) /
         (h * h);
}

} // namespace flight
