// A flight scenario: start state, thermals and a timeline of pilot actions.
// The text format is described in flight/scenario/README.md.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "flight/model/thermal.h"

namespace flight {

enum class ActionKind {
  Click,        // click a gauge button: gauge, button, count
  Heading,      // fly a heading: number (deg); completes after `seconds` if given
  Goto,         // fly toward a turnpoint: name; completes on arrival
  Circle,       // circle in the nearest thermal: number (+1 right, -1 left)
  Speed,        // fly a constant airspeed: number (km/h)
  SpeedCommand, // fly the MacCready speed to fly
  MacCready,    // set the pilot's MacCready: number (m/s)
  Airbrakes,    // set the airbrakes: number (percent)
  Launch,       // hold on the ground until the launch engine runs, then climb out
  Land,         // straight ahead to the ground, then brake to a stop
  Wait,         // do nothing for `seconds`
  End,          // end the flight
};

enum class Trigger {
  At,    // at `time_s` from the start (after the previous action has started)
  Then,  // when the previous action has completed
  After, // `time_s` after the previous action has completed
};

struct Action {
  int line = 0;
  Trigger trigger = Trigger::Then;
  double time_s = 0;
  ActionKind kind = ActionKind::Wait;
  std::string gauge;  // Click
  std::string button; // Click
  std::string name;   // Goto
  double number = 0;
  int count = 1;
  std::optional<double> until_altitude_m; // Circle, Heading
  std::optional<double> seconds;          // Heading, Circle, Wait
};

struct NamedThermal {
  std::string name;
  Thermal thermal;
};

struct Scenario {
  std::filesystem::path file;
  int64_t start_utc_ms = 1780308000000; // 2026-06-01 10:00:00 UTC
  double latitude_deg = 0, longitude_deg = 0;
  double elevation_m = 0;           // ground elevation, m MSL
  std::optional<double> altitude_m; // start altitude; ground if absent
  double heading_deg = 0;
  double speed_kmh = 0;
  double wind_from_deg = 0, wind_kmh = 0;
  double qnh_hpa = 1013.25;
  int units = 2;
  double ballast_pct = 0;
  double capacity_gal[2] = {26.4, 26.4};
  uint32_t com_bcd = 0x2310;
  double wing_area_m2 = 10.5;
  std::string polar_file = "LNAV_polar.dat";
  std::string turnpoint_file = "RUR-UDI.dat";
  double end_s = 1800;
  std::vector<NamedThermal> thermals;
  std::vector<Action> actions;
};

// Parses a scenario. On failure returns nullopt with `error` as
// "FILE:LINE: fault".
std::optional<Scenario> parse_scenario(const std::string &text, const std::filesystem::path &file,
                                       std::string &error);
std::optional<Scenario> read_scenario(const std::filesystem::path &file, std::string &error);

// "[H:]MM:SS" or plain seconds.
std::optional<double> parse_duration_s(const std::string &text);
// "50:49.38N", "50:49:23N", "006:11:11E" or signed decimal degrees.
std::optional<double> parse_angle_deg(const std::string &text);

} // namespace flight
