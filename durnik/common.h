// Helpers and conversion factors that several durnik gauges share.
#pragma once

#include <cstdint>

#include "frame/convert.h"
#include "frame/gauge.h"

namespace durnik {

inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kFeetPerMetre = 3.281;
inline constexpr double kLitresPerUsGallon = 3.785;

inline double knots_to_kmh(double speed_kt) {
  return speed_kt * kKmhPerKnot;
}
inline double metres_to_feet(double height_m) {
  return height_m * kFeetPerMetre;
}
inline double gallons_to_litres(double volume_gal) {
  return volume_gal * kLitresPerUsGallon;
}

using frame::truncate_i32;

// Gauge callback of the gauges that have one but act on no service.
int32_t ignore_services(GaugeHeader *gauge, int32_t service_id, uint32_t host_value);

} // namespace durnik
