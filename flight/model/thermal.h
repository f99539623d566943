// Thermals as updraft columns. The vertical profile and radial shape follow
// Allen's updraft model (M. J. Allen, "Updraft Model for Development of
// Autonomous Soaring Uninhabited Air Vehicles", AIAA 2006-1510): a bell-shaped
// core whose radius and mean strength depend on the height within the
// convective layer, with a ring of sink around the core in its upper half.
#pragma once

#include "flight/geo.h"

namespace flight {

struct Thermal {
  LatLon centre;           // at the thermal's start time, at the ground
  double strength_mps = 2; // convective velocity scale w*
  double top_m = 1500;     // convective layer depth above ground (zi)
  double start_s = 0;      // active from
  double end_s = 1e9;      // until
};

// Vertical air velocity in m/s (positive up) at height `agl_m` above the
// ground and `radius_m` from the core. Zero above the layer.
double allen_updraft_mps(double strength_mps, double top_m, double agl_m, double radius_m);

// Core radius (Allen's r2) at that height, m.
double allen_core_radius_m(double top_m, double agl_m);

} // namespace flight
