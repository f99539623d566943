// mc's track-deviation arrow: how far the track over ground is off the
// bearing to gpsnav's active turnpoint, measured every update_interval_s.
#pragma once

#include <cstdint>

namespace velmar::mc {

// Arrow image while the GPS is off; image 10 is never selected.
inline constexpr int32_t kArrowGpsOff = 0;
// Arrow image for a track within 10 degrees of the bearing.
inline constexpr int32_t kArrowOnCourse = 5;

// Flat-earth bearing in degrees (0 .. 360, from north toward east) from one
// position to another, positions in arc-minutes (longitude east positive).
double flat_earth_bearing_deg(double from_lat_min, double from_lon_min, double to_lat_min,
                              double to_lon_min);

// Arrow image for a deviation d = track - bearing in whole degrees
// (-180 .. 180): 1 to 4 for a track right of the bearing (1 beyond 40), 5
// within 10 degrees, 6 to 9 for a track left of it (9 beyond -40).
int32_t arrow_for_deviation(int32_t deviation_deg);

// Icon value: the arrow image, recomputed from tokens 0x47 and 0x48 at most
// every update_interval_s while gpsnav is on.
int32_t deviation_arrow_index();

} // namespace velmar::mc
