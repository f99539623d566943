// Module-wide state that the gauges of velmar share. Panel thread only.
#pragma once

#include <cstdint>

namespace velmar {

// Written by gpsnav (switch on/off).
extern int32_t gps_power_on;
// Written by gpsnav every update cycle: the active turnpoint.
extern double active_tp_distance_km;
extern double active_tp_elevation_m;
extern double active_tp_lat_min;
extern double active_tp_lon_min;
extern char active_tp_name[13]; // 12 characters and the terminator
// Written by gpsnav's track and speed update; km/h whatever the units.
extern double ground_speed_kmh;
// Seconds between gpsnav's navigation updates (also read by mc).
inline constexpr int32_t update_interval_s = 2;
// Units code of token 0x14F truncated: 0, 1 or 2 (2 = metric); written by
// gpsnav, lnav, caf and mc from the same token.
extern int32_t unit_system;
// Settings made on lnav's pages, read by the caf filter.
extern double compensation_setting; // 0 .. 9.9, initially 4.0
extern int32_t vario_response;      // 1 fast, 2 standard, 3 slow
extern int32_t vario_scale;         // 1 x.5, 2 x 1, 3 x 2
// Written by lnav's polar step, read by test.
extern double lnav_airspeed_kmh;

} // namespace velmar
