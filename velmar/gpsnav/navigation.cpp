#include "velmar/gpsnav/navigation.h"

#include <cmath>
#include <cstring>

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "frame/soarrec.h"
#include "velmar/gpsnav/coordinates.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/text_fields.h"
#include "velmar/gpsnav/tokens.h"
#include "velmar/gpsnav/turnpoint_file.h"
#include "velmar/gpsnav/turnpoint_lists.h"
#include "velmar/gpsnav/units.h"
#include "velmar/shared_state.h"

namespace velmar::gpsnav {
namespace {

// Token scales: raw value / scale = minutes of arc.
constexpr double kLatitudeRawPerMinute = 1852.175925953;
constexpr double kLongitudeRawPerMinute = 13031248921.78;
constexpr double kMinutesPerDegree = 60.0;
constexpr double kHalfTurnMin = 10800.0; // 180 degrees
constexpr double kFullTurnMin = 21600.0;
// Minutes that round up to the next whole degree in "%05.2f".
constexpr double kMinutesRoundUp = 59.99;
constexpr double kLargestAltitude = 99999.0; // in the shown unit
constexpr double kLargestDistance = 999.9;   // in the shown unit
constexpr double kSecondsPerHour = 3600.0;
constexpr int32_t kMsPerSecond = 1000;

// Read through the host immediately before each use.
constinit TokenVar latitude_token = {.id = kTokenLatitudeRaw};
constinit TokenVar longitude_token = {.id = kTokenLongitudeRaw};
constinit TokenVar altitude_token = {.id = kTokenAltitudeM};
constinit TokenVar units_token = {.id = kTokenUnitsSetting};
constinit TokenVar wind_speed_token = {.id = kTokenWindSpeedKt};
constinit TokenVar wind_direction_token = {.id = kTokenWindDirectionDeg};

// Whole part, truncated toward zero and held within +-1e9, so that the
// degree arithmetic of the texts cannot overflow for any token value.
int32_t whole(double value) {
  constexpr double kLimit = 1e9;
  if (!(value > -kLimit)) {
    return static_cast<int32_t>(-kLimit);
  }
  if (!(value < kLimit)) {
    return static_cast<int32_t>(kLimit);
  }
  return static_cast<int32_t>(value);
}

Position own_position() {
  return {.lat_min = nav.own_lat_min, .lon_min = nav.own_lon_min};
}

Position record_position(const char *latitude, const char *longitude) {
  return {.lat_min = position_to_minutes(latitude, Axis::kLatitude),
          .lon_min = position_to_minutes(longitude, Axis::kLongitude)};
}

// Degrees and minutes of a non-negative angle in minutes, for the texts.
struct DegreesMinutes {
  int32_t degrees;
  double minutes;
};

DegreesMinutes split_degrees(double angle_min) {
  const int32_t degrees = whole(angle_min / kMinutesPerDegree);
  return {.degrees = degrees, .minutes = angle_min - kMinutesPerDegree * degrees};
}

void round_up_minutes(DegreesMinutes &dm) {
  if (dm.minutes > kMinutesRoundUp) {
    dm.minutes = 0.0;
    dm.degrees += 1;
  }
}

void read_latitude() {
  const double raw = frame::read_token(latitude_token);
  nav.own_lat_min = raw / kLatitudeRawPerMinute;
  DegreesMinutes dm = split_degrees(std::fabs(nav.own_lat_min));
  round_up_minutes(dm);
  if (raw >= 0.0) {
    frame::format_into(nav.latitude_text, sizeof nav.latitude_text, "%3d:%05.2f N", dm.degrees,
                       dm.minutes);
  } else {
    frame::format_into(nav.latitude_text, sizeof nav.latitude_text, "%3d:%05.2f S", dm.degrees,
                       dm.minutes);
  }
}

void read_longitude() {
  const double east_min = frame::read_token(longitude_token) / kLongitudeRawPerMinute;
  nav.own_lon_min = east_min < kHalfTurnMin ? east_min : east_min - kFullTurnMin;
  DegreesMinutes dm = split_degrees(east_min);
  // West of 180: counted back from the next full degree below 360.
  const bool west = dm.degrees >= 180;
  if (west) {
    dm.degrees = 359 - dm.degrees;
    dm.minutes = kMinutesPerDegree - dm.minutes;
  }
  round_up_minutes(dm);
  if (west) {
    frame::format_into(nav.longitude_text, sizeof nav.longitude_text, "%3d:%05.2f W", dm.degrees,
                       dm.minutes);
  } else {
    frame::format_into(nav.longitude_text, sizeof nav.longitude_text, "%3d:%05.2f E", dm.degrees,
                       dm.minutes);
  }
}

void read_altitude() {
  double altitude = frame::read_token(altitude_token);
  velmar::unit_system = whole(frame::read_token(units_token));
  const int32_t units = velmar::unit_system;
  if (units == kUnitsNautical || units == kUnitsMixed) {
    altitude = metres_to_feet(altitude);
  }
  if (altitude > kLargestAltitude) {
    altitude = kLargestAltitude;
  }
  const char *unit_label = units == kUnitsNautical || units == kUnitsMixed ? " ft"
                           : units == kUnitsMetric                         ? " m"
                                                                           : "";
  frame::format_into(nav.altitude_text, sizeof nav.altitude_text, "    %5.0f%s", altitude,
                     unit_label);
}

// Publishes the active record for lnav and mc. The distance only once a
// navigation update has read the own position: before, it would be the
// distance from 0 N 0 E.
void active_turnpoint_step() {
  const TurnpointRecord &active = record_at(nav.active_index);
  const Position target = record_position(active.latitude, active.longitude);
  if (nav.has_fix != 0) {
    velmar::active_tp_distance_km = distance_bearing(own_position(), target).distance_km;
  }
  velmar::active_tp_lat_min = target.lat_min;
  velmar::active_tp_lon_min = target.lon_min;
  velmar::active_tp_elevation_m = leading_number(active.elevation);
  frame::format_into(velmar::active_tp_name, sizeof velmar::active_tp_name, "%.12s", active.name);
}

int32_t first_home_point() {
  for (int32_t i = 0; i < turnpoints.record_count; ++i) {
    if (std::strchr(turnpoints.records[i].attributes, 'H') != nullptr) {
      return i;
    }
  }
  return 0;
}

} // namespace

void read_own_position() {
  read_latitude();
  read_longitude();
  read_altitude();
}

void read_wind() {
  double speed = frame::read_token(wind_speed_token);
  // Knots only with the nautical setting; every other code shows km/h.
  if (velmar::unit_system != kUnitsNautical) {
    speed = knots_to_kmh(speed);
  }
  frame::format_into(nav.wind_speed_text, sizeof nav.wind_speed_text, "%4.0f", speed);
  frame::format_into(nav.wind_direction_text, sizeof nav.wind_direction_text, "%4.0f",
                     frame::read_token(wind_direction_token));
}

void distance_to_shown() {
  const DistanceBearing db =
      distance_bearing(own_position(), record_position(shown.latitude, shown.longitude));
  nav.target_distance_km = db.distance_km;
  nav.target_bearing_deg = db.bearing_deg;
  double shown_distance = db.distance_km;
  if (velmar::unit_system == kUnitsNautical) {
    shown_distance = km_to_nautical_miles(shown_distance);
  }
  if (shown_distance > kLargestDistance) {
    shown_distance = kLargestDistance;
  }
  frame::format_into(nav.distance_text, sizeof nav.distance_text, "%5.1f", shown_distance);
  frame::format_into(nav.bearing_text, sizeof nav.bearing_text, "%03.0f", db.bearing_deg);
}

void update_track_speed() {
  const DistanceBearing db = distance_bearing(
      {.lat_min = nav.previous_lat_min, .lon_min = nav.previous_lon_min}, own_position());
  nav.moved_km = db.distance_km;
  nav.track_deg = db.bearing_deg;
  frame::format_into(nav.track_text, sizeof nav.track_text, "%03.0f", nav.track_deg);
  if (nav.elapsed_s > 0) {
    velmar::ground_speed_kmh = kSecondsPerHour / nav.elapsed_s * nav.moved_km;
  }
}

// d = track - bearing in whole degrees, folded into -180..180. Positive: the
// track lies right of the bearing, so the arrow points left (1 to 4, 1 the
// longest); negative: right (6 to 9, 9 the longest).
void update_steering_index() {
  int32_t d = whole(nav.track_deg) - whole(nav.target_bearing_deg);
  if (d < -180) {
    d += 360;
  }
  if (d > 180) {
    d -= 360;
  }
  // Each step past a threshold lengthens the arrow by one chevron.
  constexpr int32_t kThresholdsDeg[] = {5, 10, 15, 25};
  int32_t index = 5;
  for (int32_t step = 0; step < 4; ++step) {
    if (d < -kThresholdsDeg[step]) {
      index = 6 + step;
    }
  }
  for (int32_t step = 0; step < 4; ++step) {
    if (d > kThresholdsDeg[step]) {
      index = 4 - step;
    }
  }
  nav.steering_index = index;
}

void navigation_update() {
  if (nav.no_file != 0) {
    return;
  }
  active_turnpoint_step();
  if (velmar::gps_power_on == 0) {
    return;
  }
  const int32_t now_ms = frame::module_clock_ms();
  nav.elapsed_s =
      static_cast<int32_t>(frame::elapsed_ms(now_ms, nav.last_update_ms) / kMsPerSecond);
  if (nav.elapsed_s < velmar::update_interval_s) {
    return;
  }
  if (display.page < 26) {
    if (display.page == 24 || display.page == 25) {
      build_distance_list(display.page);
      display.distance_pick = show_by_distance(display.page_mode);
    }
    read_own_position();
    if (nav.has_fix == 0) {
      // No earlier fix to measure from: the first track and speed are of no
      // movement rather than of a flight from 0 N 0 E.
      nav.previous_lat_min = nav.own_lat_min;
      nav.previous_lon_min = nav.own_lon_min;
      nav.has_fix = 1;
    }
    read_wind();
    distance_to_shown();
    update_track_speed();
    update_steering_index();
  }
  nav.last_update_ms = now_ms;
  nav.previous_lat_min = nav.own_lat_min;
  nav.previous_lon_min = nav.own_lon_min;
}

void switch_on_off() {
  if (nav.no_file != 0) {
    nav.no_file = 0;
    return;
  }
  if (velmar::gps_power_on != 0) {
    SOARRec_off();
    velmar::gps_power_on = 0;
    return;
  }
  SOARRec_on();
  display.page = 20;
  display.page_mode = 0;
  nav.active_index = 0;
  nav.previous_index = 0;
  display.name_pick = 0;
  display.distance_pick = 0;
  reset_tables();
  nav.no_file = 0;
  if (load_turnpoint_file() == 0) {
    nav.no_file = 1;
    return;
  }
  nav.active_index = first_home_point();
  show_record(nav.active_index);
  velmar::gps_power_on = 1;
}

} // namespace velmar::gpsnav
