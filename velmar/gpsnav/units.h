// Unit codes of the host's units setting (token 0x14F) and the conversions
// gpsnav applies for display; computation is metric throughout.
#pragma once

#include <cstdint>

#include "velmar/units.h"

namespace velmar::gpsnav {

inline constexpr int32_t kUnitsNautical = 0; // distances nm, altitude ft, wind kt
inline constexpr int32_t kUnitsMixed = 1;    // km, ft, km/h
inline constexpr int32_t kUnitsMetric = 2;   // km, m, km/h

constexpr double feet_to_metres(double feet) {
  return feet * kMetresPerFoot;
}
constexpr double metres_to_feet(double metres) {
  return metres / kMetresPerFoot;
}
constexpr double km_to_nautical_miles(double km) {
  return km / kKmPerNauticalMile;
}
constexpr double knots_to_kmh(double knots) {
  return knots * kKmhPerKnot;
}

} // namespace velmar::gpsnav
