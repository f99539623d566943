// Number conversions shared by ostrel's gauges.
#pragma once

#include <cmath>
#include <cstdint>

namespace ostrel {

// Truncation toward zero into a 32-bit integer (token values, key-event
// values). Host values outside the 32-bit range saturate and NaN gives 0,
// where a plain conversion would be undefined.
inline int32_t truncate_i32(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= 2147483647.0) {
    return INT32_MAX;
  }
  if (value <= -2147483648.0) {
    return INT32_MIN;
  }
  return static_cast<int32_t>(value);
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
