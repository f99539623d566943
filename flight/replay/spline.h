// Smooth interpolation through samples at increasing times: a cubic Hermite
// spline whose slopes are the centred differences of the neighbours
// (Catmull-Rom for uneven spacing), continuous in value and slope.
#pragma once

#include <cstddef>
#include <vector>

namespace flight {

class Spline {
public:
  Spline() = default;
  Spline(std::vector<double> times, std::vector<double> values);
  // Value, first and second derivative at t (clamped to the samples' span).
  double value(double t) const;
  double slope(double t) const;
  double curvature(double t) const;
  bool empty() const { return t_.empty(); }

private:
  size_t segment(double t) const;
  std::vector<double> t_, v_, m_; // times, values, slopes
  mutable size_t cursor_ = 0;     // last segment: replay asks for rising times
};

} // namespace flight
