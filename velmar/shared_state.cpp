#include "velmar/shared_state.h"

namespace velmar {

constinit int32_t gps_power_on = 0;
constinit double active_tp_distance_km = 0.0;
constinit double active_tp_elevation_m = 0.0;
constinit double active_tp_lat_min = 0.0;
constinit double active_tp_lon_min = 0.0;
constinit char active_tp_name[13] = {};
constinit double ground_speed_kmh = 0.0;
constinit int32_t unit_system = 0;
constinit double compensation_setting = 4.0;
constinit int32_t vario_response = 2;
constinit int32_t vario_scale = 2;
constinit double lnav_airspeed_kmh = 0.0;

} // namespace velmar
