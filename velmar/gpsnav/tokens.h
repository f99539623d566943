// Host ids that gpsnav uses: the token variables it reads and the bitmaps
// its elements draw. gpsnav sends no key events.
#pragma once

#include <cstdint>

namespace velmar::gpsnav {

// Latitude: value / kLatitudeRawPerMinute = signed minutes of arc, north positive.
inline constexpr uint32_t kTokenLatitudeRaw = 0x47;
// Longitude: a fraction of a full turn scaled by 2^48; value /
// kLongitudeRawPerMinute = minutes east of the zero meridian, 0 to 21600.
inline constexpr uint32_t kTokenLongitudeRaw = 0x48;
// Altitude in metres.
inline constexpr uint32_t kTokenAltitudeM = 0x49;
// Units setting, truncated: 0 (nm, ft, kt), 1 (km, ft, km/h), 2 (km, m, km/h).
inline constexpr uint32_t kTokenUnitsSetting = 0x14F;
// Wind speed in knots.
inline constexpr uint32_t kTokenWindSpeedKt = 0x157;
// Wind direction in degrees (shown as read).
inline constexpr uint32_t kTokenWindDirectionDeg = 0x158;
// Every string element's first source token; refreshed by the host, read by no callback.
inline constexpr uint32_t kTokenStringSource = 0x01;

// Bitmaps (module resources; sizes in resources/velmar.res).
inline constexpr int32_t kBitmapFaceplate = 0x1000;     // 315 x 315 px: buttons, display window
inline constexpr int32_t kBitmapSteeringArrow = 0x1100; // 10 images: blank, 4 left, centre, 4 right
inline constexpr int32_t kBitmapBearingLabel = 0x1200;  // 3 images: blank, "Brg", "V"
inline constexpr int32_t kBitmapDistanceLabel = 0x1300; // 2 images: blank, "Dist"
inline constexpr int32_t kBitmapTrackLabel = 0x1400;    // 2 images: blank, "Trk"
inline constexpr int32_t kBitmapSymbols = 0x1501;       // 2 images: blank, eight small symbols

} // namespace velmar::gpsnav
