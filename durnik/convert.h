// Unit factors of durnik's gauges: the one place where the module converts
// units. A factor that the instruments round on purpose says so in its name;
// changing it would change what an instrument reads.
#pragma once

#include "frame/convert.h"

namespace durnik {

inline constexpr double kKmhPerKnot = 1.852; // exact
// The altimeter's feet: 3.281 per metre, not 3.28084.
inline constexpr double kFeetPerMetreRounded = 3.281;
// bdp's litres: 3.785 per US gallon, not 3.785411784.
inline constexpr double kLitresPerUsGallonRounded = 3.785;

inline double knots_to_kmh(double speed_kt) {
  return speed_kt * kKmhPerKnot;
}
inline double metres_to_feet_rounded(double height_m) {
  return height_m * kFeetPerMetreRounded;
}
inline double gallons_to_litres_rounded(double volume_gal) {
  return volume_gal * kLitresPerUsGallonRounded;
}

using frame::truncate_i32;

} // namespace durnik
