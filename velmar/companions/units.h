// Unit conversions and the host-value truncation shared by the companion
// gauges. Internal values are metric; conversions happen for display only.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/convert.h"
#include "velmar/units.h"

namespace velmar::companions {

inline double kmh_from_knots(double knots) {
  return knots * kKmhPerKnot;
}
inline double feet_from_metres(double metres) {
  return metres * kFeetPerMetreRounded;
}

using frame::truncate_i32;

// Units setting of token 0x14F as every velmar gauge stores it.
inline int32_t unit_system_from_token(double value) {
  return truncate_i32(value);
}

} // namespace velmar::companions
