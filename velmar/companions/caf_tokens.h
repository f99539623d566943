// Host token ids that the caf needle variometer reads.
#pragma once

#include <cstdint>

namespace velmar::caf {

// Vertical speed in 1/256 m/s (raw vario units).
inline constexpr uint32_t kTokenVerticalSpeedRaw = 0x41;
// Indicated airspeed in knots.
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D;
// Units setting: 0 or 1 imperial displays, 2 metric (truncated to an integer).
inline constexpr uint32_t kTokenUnitsSetting = 0x14F;

} // namespace velmar::caf
