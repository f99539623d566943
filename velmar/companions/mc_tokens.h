// Host token ids that the mini control unit mc reads.
#pragma once

#include <cstdint>

namespace velmar::mc {

// Vertical speed in 1/256 m/s (raw vario units).
inline constexpr uint32_t kTokenVerticalSpeedRaw = 0x41;
// Indicated airspeed in knots.
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D;
// Latitude; value / kLatitudeRawPerMin = arc-minutes north (negative south).
inline constexpr uint32_t kTokenLatitude = 0x47;
// Longitude; value / kLongitudeRawPerMin = arc-minutes east, 0 .. 21600.
inline constexpr uint32_t kTokenLongitude = 0x48;
// Altitude in metres.
inline constexpr uint32_t kTokenAltitudeM = 0x49;
// Heading in degrees.
inline constexpr uint32_t kTokenHeadingDeg = 0x53;
// Units setting: 0 or 1 imperial displays, 2 metric (truncated to an integer).
inline constexpr uint32_t kTokenUnitsSetting = 0x14F;

inline constexpr double kLatitudeRawPerMin = 1852.175925953;
inline constexpr double kLongitudeRawPerMin = 13031248921.78;

} // namespace velmar::mc
