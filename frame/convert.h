// Conversions of host values that every module needs.
#pragma once

#include <cstdint>

namespace frame {

// Truncation toward zero into a 32-bit integer (units codes, token values,
// key-event values). Host values outside the 32-bit range saturate and NaN
// gives 0, where a plain conversion would be undefined.
constexpr int32_t truncate_i32(double value) {
  if (!(value == value)) {
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

static_assert(truncate_i32(-2.9) == -2 && truncate_i32(1e12) == INT32_MAX);

} // namespace frame
