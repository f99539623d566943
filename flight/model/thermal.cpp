#include "flight/model/thermal.h"

#include <algorithm>
#include <cmath>

namespace flight {
namespace {

// Shape constants of the bell curve by the ratio of the inner to the outer
// radius (Allen, table 1). Read by allen_updraft_mps.
struct ShapeRow {
  double r1r2_below;
  double k1, k2, k3, k4;
};
constexpr ShapeRow kShapes[] = {
    {.r1r2_below = 0.14, .k1 = 1.5352, .k2 = 2.5826,  .k3 = -0.0113, .k4 = -0.1950},
    {.r1r2_below = 0.25, .k1 = 1.5265, .k2 = 3.6054,  .k3 = -0.0176, .k4 = 0.0005 },
    {.r1r2_below = 0.36, .k1 = 1.4866, .k2 = 4.8354,  .k3 = -0.0320, .k4 = 0.0001 },
    {.r1r2_below = 0.47, .k1 = 1.2042, .k2 = 7.7904,  .k3 = 0.0848,  .k4 = 0.0001 },
    {.r1r2_below = 0.58, .k1 = 0.8816, .k2 = 13.9720, .k3 = 0.3404,  .k4 = 0.0001 },
    {.r1r2_below = 0.69, .k1 = 0.7067, .k2 = 23.9940, .k3 = 0.5689,  .k4 = 0.0002 },
    {.r1r2_below = 1e9,  .k1 = 0.6189, .k2 = 42.7965, .k3 = 0.7157,  .k4 = 0.0001 },
};

} // namespace

double allen_core_radius_m(double top_m, double agl_m) {
  const double zzi = std::clamp(agl_m / top_m, 0.0, 1.0);
  return std::max(10.0, 0.102 * std::cbrt(zzi) * (1.0 - 0.25 * zzi) * top_m);
}

double allen_updraft_mps(double strength_mps, double top_m, double agl_m, double radius_m) {
  if (agl_m <= 0 || agl_m >= top_m || top_m <= 0) {
    return 0.0;
  }
  const double zzi = agl_m / top_m;
  const double r2 = allen_core_radius_m(top_m, agl_m);
  // Inner/outer radius ratio grows with the thermal's size (Allen eq. 3).
  const double r1r2 = std::clamp(0.0011 * r2 + 0.14, 0.14, 0.8);
  const double r1 = r1r2 * r2;
  const double mean = strength_mps * std::cbrt(zzi) * (1.0 - 1.1 * zzi);
  if (mean <= 0) {
    return 0.0;
  }
  const double peak = 3.0 * mean * (r2 * r2 * r2 - r2 * r2 * r1) / (r2 * r2 * r2 - r1 * r1 * r1);
  const double rr = radius_m / r2;
  const ShapeRow *row = &kShapes[0];
  for (const ShapeRow &s : kShapes) {
    if (r1r2 < s.r1r2_below) {
      row = &s;
      break;
    }
  }
  // Downdraft ring just outside the core, in the layer's upper half.
  double down = 0.0;
  if (radius_m > r1 && rr < 2.0 && zzi > 0.5 && zzi < 0.9) {
    down = std::min(0.0, kPi / 6.0 * std::sin(kPi * rr)) * 2.5 * (zzi - 0.5);
  }
  const double bell = 1.0 / (1.0 + std::pow(std::fabs(row->k1 * rr + row->k3), row->k2));
  return peak * (bell + row->k4 * rr + down);
}

} // namespace flight
