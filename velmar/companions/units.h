// Unit conversions and the host-value truncation shared by the companion
// gauges. Internal values are metric; conversions happen for display only.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace velmar::companions {

inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kFeetPerMetre = 3.281;

inline double kmh_from_knots(double knots) {
  return knots * kKmhPerKnot;
}
inline double feet_from_metres(double metres) {
  return metres * kFeetPerMetre;
}

// Truncates a host value toward zero into 32 bits. Host values outside the
// 32-bit range (and NaN) would make a plain conversion undefined; they
// saturate (NaN gives 0) so a broken token cannot crash a gauge.
inline int32_t truncate_to_int32(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

// Units setting of token 0x14F as every velmar gauge stores it.
inline int32_t unit_system_from_token(double value) {
  return truncate_to_int32(value);
}

} // namespace velmar::companions
