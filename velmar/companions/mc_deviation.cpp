#include "velmar/companions/mc_deviation.h"

#include <cmath>

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/companions/mc_tokens.h"
#include "velmar/companions/units.h"
#include "velmar/shared_state.h"

namespace velmar::mc {
namespace {

// The flat-earth formula's own constants, shared with gpsnav's bearing.
constexpr double kPi = 3.14159265359;
constexpr double kKmPerDegLongitudeAtEquator = 111.321;
constexpr double kKmPerDegLatitude = 111.15;
constexpr double kMinPerDeg = 60.0;
// Longitudes of 10800 arc-minutes or more (180 E .. 360 E) are west.
constexpr double kHalfTurnMin = 10800.0;
constexpr double kFullTurnMin = 21600.0;

// Read by arrow_for_deviation, applied in order, each matching test
// overriding the one before: the first six widen the bands left and right.
struct Band {
  int32_t limit_deg;
  bool below; // true: deviation < limit; false: deviation > limit
  int32_t arrow;
};
constexpr Band kBands[] = {
    {.limit_deg = -10, .below = true,  .arrow = 6},
    {.limit_deg = -20, .below = true,  .arrow = 7},
    {.limit_deg = -30, .below = true,  .arrow = 8},
    {.limit_deg = -40, .below = true,  .arrow = 9},
    {.limit_deg = 10,  .below = false, .arrow = 4},
    {.limit_deg = 20,  .below = false, .arrow = 3},
    {.limit_deg = 30,  .below = false, .arrow = 2},
    {.limit_deg = 40,  .below = false, .arrow = 1},
};

// Written by deviation_arrow_index. The previous position starts at 0, 0, so
// the first measurement after loading takes its track from there.
struct DeviationState {
  int32_t arrow;
  int32_t last_update_ms;
  double previous_lat_min;
  double previous_lon_min;
};
constinit DeviationState state = {
    .arrow = kArrowOnCourse, .last_update_ms = 0, .previous_lat_min = 0.0, .previous_lon_min = 0.0};

constinit TokenVar latitude = {.id = kTokenLatitude};
constinit TokenVar longitude = {.id = kTokenLongitude};

double degrees_to_radians(double deg) {
  return deg * 2.0 * kPi / 360.0;
}
double radians_to_degrees(double rad) {
  return rad * 360.0 / (2.0 * kPi);
}

} // namespace

double flat_earth_bearing_deg(double from_lat_min, double from_lon_min, double to_lat_min,
                              double to_lon_min) {
  const double mid_lat_deg = (from_lat_min + to_lat_min) / 2.0 / kMinPerDeg;
  const double east_km = std::cos(degrees_to_radians(mid_lat_deg)) * (to_lon_min - from_lon_min) /
                         kMinPerDeg * kKmPerDegLongitudeAtEquator;
  const double north_km = (to_lat_min - from_lat_min) / kMinPerDeg * kKmPerDegLatitude;
  double bearing_deg = radians_to_degrees(std::atan2(east_km, north_km));
  if (bearing_deg < 0) {
    bearing_deg += 360.0;
  }
  return bearing_deg;
}

int32_t arrow_for_deviation(int32_t deviation_deg) {
  int32_t arrow = kArrowOnCourse;
  for (const Band &band : kBands) {
    if (band.below ? deviation_deg < band.limit_deg : deviation_deg > band.limit_deg) {
      arrow = band.arrow;
    }
  }
  return arrow;
}

int32_t deviation_arrow_index() {
  if (gps_power_on == 0) {
    state.arrow = kArrowGpsOff;
    return state.arrow;
  }
  const int32_t now_ms = frame::module_clock_ms();
  // Whole seconds on purpose: the interval opens 2000 ms after the last
  // measurement, not earlier.
  if (frame::elapsed_ms(now_ms, state.last_update_ms) / 1000 < update_interval_s) {
    return state.arrow;
  }
  const double lat_min = frame::read_token(latitude) / kLatitudeRawPerMin;
  double lon_min = frame::read_token(longitude) / kLongitudeRawPerMin;
  if (lon_min >= kHalfTurnMin) {
    lon_min = -(kFullTurnMin - lon_min);
  }
  const double track_deg =
      flat_earth_bearing_deg(state.previous_lat_min, state.previous_lon_min, lat_min, lon_min);
  const double bearing_deg =
      flat_earth_bearing_deg(lat_min, lon_min, active_tp_lat_min, active_tp_lon_min);
  int32_t deviation_deg =
      companions::truncate_i32(track_deg) - companions::truncate_i32(bearing_deg);
  if (deviation_deg < -180) {
    deviation_deg += 360;
  }
  if (deviation_deg > 180) {
    deviation_deg -= 360;
  }
  state.arrow = arrow_for_deviation(deviation_deg);
  state.last_update_ms = now_ms;
  state.previous_lat_min = lat_min;
  state.previous_lon_min = lon_min;
  return state.arrow;
}

} // namespace velmar::mc
