// Number conversions shared by ostrel's gauges.
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/convert.h"

namespace ostrel {

using frame::truncate_i32;

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
