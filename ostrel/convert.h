// Unit factors and number conversions of ostrel's gauges: the one place where
// the module converts units. A factor that the instruments round on purpose
// says so in its name; changing it would change what an instrument reads.
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/convert.h"

namespace ostrel {

using frame::truncate_i32;

inline constexpr double kKmhPerKnot = 1.852; // exact
// Token 0x41 and the climb commands carry 1/256 m/s.
inline constexpr double kClimbRawPerMps = 256.0;
// VETsetup shows feet as metres x 10/3 (3.3333333333333335), not x 3.2808.
inline constexpr double kFeetPerMetreTenThirds = 3.3333333333333335;
// VETdisplay takes 6.28 rad, not 2 pi, for a full turn.
inline constexpr double kRadPerTurnRounded = 6.28;
inline constexpr double kDegPerTurn = 360.0;

inline double kmh_from_knots(double speed_kt) {
  return speed_kt * kKmhPerKnot;
}
inline double mps_from_climb_raw(double climb_raw) {
  return climb_raw / kClimbRawPerMps;
}
inline double feet_from_metres_ten_thirds(double height_m) {
  return height_m * kFeetPerMetreTenThirds;
}
inline double deg_from_rad_rounded_turn(double angle_rad) {
  return angle_rad / kRadPerTurnRounded * kDegPerTurn;
}

// Truncation of a tank level (0x800000 = full) into the 32-bit unsigned value
// written to FSUIPC; negative and NaN give 0, values beyond 32 bits saturate.
inline uint32_t truncate_level(double value) {
  if (!(value > 0.0)) {
    return 0;
  }
  if (value >= 4294967295.0) {
    return UINT32_MAX;
  }
  return static_cast<uint32_t>(value);
}

} // namespace ostrel
