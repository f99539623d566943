// The two FlightGear generic-protocol files this host ships
// (examples/flightgear/gaugehost-out.xml and gaugehost-in.xml), as tables:
// the order of the values on a line, their FlightGear property and unit.
//
// Output line (FlightGear -> host), one per frame, comma separated, e.g.
//   12.300,2026,12,9,43200.000,37.61872000,-122.37500000,3000.00,...
// Input line (host -> FlightGear), sent when a panel control changes:
//   0.5000,0.5000,1,123.100,1013.25,0
//
// Values stay in FlightGear's units on the wire (ft, kt, ft/s, inHg, kg);
// to_state() converts them once into the flight layer's SI state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "flight/state.h"

namespace live {

enum class FgOut : uint8_t {
  elapsed_s,
  utc_year,
  utc_month,
  utc_day,
  utc_day_s,
  latitude_deg,
  longitude_deg,
  altitude_ft,
  ground_elevation_ft,
  airspeed_kt,
  vertical_speed_fps,
  speed_north_fps,
  speed_east_fps,
  heading_deg,
  pitch_deg,
  roll_deg,
  slip_skid_ball,
  turn_rate_indicated,
  wind_speed_kt,
  wind_from_deg,
  sea_level_pressure_inhg,
  altimeter_setting_hpa,
  spoilers,
  speedbrake,
  gear_down,
  com_mhz,
  water_left_kg,
  water_right_kg,
  water_left_capacity_kg,
  water_right_capacity_kg,
  on_ground,
  count
};
inline constexpr size_t kFgOutCount = static_cast<size_t>(FgOut::count);

enum class FgIn : uint8_t {
  spoilers,
  speedbrake,
  gear_down,
  com_mhz,
  altimeter_setting_hpa,
  dump,
  count
};
inline constexpr size_t kFgInCount = static_cast<size_t>(FgIn::count);

// One value of a protocol line.
struct FgChunk {
  std::string_view name;
  std::string_view type;   // FlightGear chunk type: int, float, double, bool
  std::string_view format; // printf format FlightGear writes it with (output only)
  std::string_view node;   // property path
};

const std::array<FgChunk, kFgOutCount> &fg_output_chunks();
const std::array<FgChunk, kFgInCount> &fg_input_chunks();

// The protocol files' text, as shipped.
std::string fg_output_protocol_xml();
std::string fg_input_protocol_xml();

// One output line's values, in FlightGear's units, indexed by FgOut.
struct FgSample {
  std::array<double, kFgOutCount> v{};
  double operator[](FgOut f) const { return v[static_cast<size_t>(f)]; }
};

// Parses one output line: exactly kFgOutCount finite numbers (bools as 0/1
// or true/false). nullopt for anything else.
std::optional<FgSample> parse_fg_line(std::string_view line);

// The edge: FlightGear's units into the flight state. Keeps `out.time_s`;
// sets the controls FlightGear reports (airbrake, lever, COM, altimeter
// setting) and the water ballast (level and capacity).
void to_state(const FgSample &sample, flight::AircraftState &out);

// The input line for the controls the panel sets, with its newline.
std::string fg_input_line(const flight::Controls &controls);

// COM frequency: MHz (118.000 .. 136.975) <-> BCD of the 10 kHz digits
// with the leading 1 implied (123.45 MHz <-> 0x2345).
uint32_t com_mhz_to_bcd(double mhz);
double com_bcd_to_mhz(uint32_t bcd);

// Milliseconds since 1970 of a UTC date and second of the day.
int64_t utc_epoch_ms(int year, int month, int day, double day_s);

} // namespace live
