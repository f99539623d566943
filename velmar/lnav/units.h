// Unit conversions of lnav: internal values are metric, the display follows
// the host units setting (velmar::unit_system: 0 nautical, 1 imperial, 2 metric).
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/convert.h"
#include "velmar/shared_state.h"
#include "velmar/units.h"

namespace lnav {

using velmar::kFeetPerMetre;
using velmar::kInHgPerHpaRounded;
using velmar::kKmhPerKnot;
using velmar::kKmPerNauticalMile;
using velmar::kKnotsPerMpsRounded;
using velmar::kLitresPerUsGallonRounded;

inline constexpr double kRawPerMps = 256.0;         // vertical speed token counts 1/256 m/s
inline constexpr double kTankLevelFull = 8388608.0; // 0x800000

inline constexpr int32_t kUnitsNautical = 0;
inline constexpr int32_t kUnitsImperial = 1;

inline double knots_to_kmh(double knots) {
  return knots * kKmhPerKnot;
}
inline double gallons_to_litres(double gallons) {
  return gallons * kLitresPerUsGallonRounded;
}

// Altitudes: feet with units 0 and 1.
inline double altitude_for_display(double metres) {
  const int32_t units = velmar::unit_system;
  return units == kUnitsNautical || units == kUnitsImperial ? metres * kFeetPerMetre : metres;
}
// Vertical speeds: knots with units 0 and 1.
inline double vertical_speed_for_display(double mps) {
  const int32_t units = velmar::unit_system;
  return units == kUnitsNautical || units == kUnitsImperial ? mps * kKnotsPerMpsRounded : mps;
}
// Distances: nautical miles with units 0.
inline double distance_for_display(double km) {
  return velmar::unit_system == kUnitsNautical ? km / kKmPerNauticalMile : km;
}
// Wind speeds: knots with units 0.
inline double wind_for_display(double kmh) {
  return velmar::unit_system == kUnitsNautical ? kmh / kKmhPerKnot : kmh;
}

using frame::truncate_i32;

} // namespace lnav
