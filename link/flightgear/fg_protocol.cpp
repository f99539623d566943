#include "link/flightgear/fg_protocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "flight/tokens.h"

namespace live {
namespace {

using flight::kFeetPerM;
using flight::kKnotsPerMps;

// Read by parse_fg_line(), to_state() and the shipped gaugehost-out.xml:
// one row per value of an output line, in line order.
constexpr std::array<FgChunk, kFgOutCount> kOut = {
    {
     {.name = "elapsed", .type = "double", .format = "%.3f", .node = "/sim/time/elapsed-sec"},
     {.name = "utc-year", .type = "int", .format = "%d", .node = "/sim/time/utc/year"},
     {.name = "utc-month", .type = "int", .format = "%d", .node = "/sim/time/utc/month"},
     {.name = "utc-day", .type = "int", .format = "%d", .node = "/sim/time/utc/day"},
     {.name = "utc-day-seconds",
         .type = "double",
         .format = "%.3f",
         .node = "/sim/time/utc/day-seconds"},
     {.name = "latitude", .type = "double", .format = "%.8f", .node = "/position/latitude-deg"},
     {.name = "longitude",
         .type = "double",
         .format = "%.8f",
         .node = "/position/longitude-deg"},
     {.name = "altitude", .type = "double", .format = "%.2f", .node = "/position/altitude-ft"},
     {.name = "ground-elevation",
         .type = "double",
         .format = "%.2f",
         .node = "/position/ground-elev-ft"},
     {.name = "airspeed", .type = "double", .format = "%.3f", .node = "/velocities/airspeed-kt"},
     {.name = "vertical-speed",
         .type = "double",
         .format = "%.4f",
         .node = "/velocities/vertical-speed-fps"},
     {.name = "speed-north",
         .type = "double",
         .format = "%.4f",
         .node = "/velocities/speed-north-fps"},
     {.name = "speed-east",
         .type = "double",
         .format = "%.4f",
         .node = "/velocities/speed-east-fps"},
     {.name = "heading", .type = "double", .format = "%.3f", .node = "/orientation/heading-deg"},
     {.name = "pitch", .type = "double", .format = "%.3f", .node = "/orientation/pitch-deg"},
     {.name = "roll", .type = "double", .format = "%.3f", .node = "/orientation/roll-deg"},
     {.name = "slip-skid",
         .type = "double",
         .format = "%.4f",
         .node = "/instrumentation/slip-skid-ball/indicated-slip-skid"},
     {.name = "turn-rate",
         .type = "double",
         .format = "%.4f",
         .node = "/instrumentation/turn-indicator/indicated-turn-rate"},
     {.name = "wind-speed",
         .type = "double",
         .format = "%.3f",
         .node = "/environment/wind-speed-kt"},
     {.name = "wind-from",
         .type = "double",
         .format = "%.2f",
         .node = "/environment/wind-from-heading-deg"},
     {.name = "sea-level-pressure",
         .type = "double",
         .format = "%.4f",
         .node = "/environment/pressure-sea-level-inhg"},
     {.name = "altimeter-setting",
         .type = "double",
         .format = "%.2f",
         .node = "/instrumentation/altimeter/setting-hpa"},
     {.name = "spoilers",
         .type = "double",
         .format = "%.4f",
         .node = "/controls/flight/spoilers"},
     {.name = "speedbrake",
         .type = "double",
         .format = "%.4f",
         .node = "/controls/flight/speedbrake"},
     {.name = "gear-down", .type = "bool", .format = "%d", .node = "/controls/gear/gear-down"},
     {.name = "com",
         .type = "double",
         .format = "%.3f",
         .node = "/instrumentation/comm/frequencies/selected-mhz"},
     {.name = "water-left",
         .type = "double",
         .format = "%.2f",
         .node = "/consumables/water-ballast/tank[0]/level-kg"},
     {.name = "water-right",
         .type = "double",
         .format = "%.2f",
         .node = "/consumables/water-ballast/tank[1]/level-kg"},
     {.name = "water-left-capacity",
         .type = "double",
         .format = "%.2f",
         .node = "/consumables/water-ballast/tank[0]/capacity-kg"},
     {.name = "water-right-capacity",
         .type = "double",
         .format = "%.2f",
         .node = "/consumables/water-ballast/tank[1]/capacity-kg"},
     {.name = "on-ground", .type = "bool", .format = "%d", .node = "/gear/gear[0]/wow"},
     }
};

// Read by fg_input_line() and the shipped gaugehost-in.xml, in line order.
constexpr std::array<FgChunk, kFgInCount> kIn = {
    {
     {.name = "spoilers", .type = "float", .format = "", .node = "/controls/flight/spoilers"},
     {.name = "speedbrake",
         .type = "float",
         .format = "",
         .node = "/controls/flight/speedbrake"},
     {.name = "gear-down", .type = "bool", .format = "", .node = "/controls/gear/gear-down"},
     {.name = "com",
         .type = "double",
         .format = "",
         .node = "/instrumentation/comm/frequencies/selected-mhz"},
     {.name = "altimeter-setting",
         .type = "double",
         .format = "",
         .node = "/instrumentation/altimeter/setting-hpa"},
     {.name = "dump", .type = "bool", .format = "", .node = "/controls/water-ballast/dump"},
     }
};

constexpr double kHpaPerInHg = 33.8638866667;
// Water: one kilogram is one litre.
constexpr double kLitresPerKgWater = 1.0;
// The turn indicator reads 1 at a standard-rate turn (3 deg/s).
constexpr double kTurnDegsPerIndicated = 3.0;
// The slip ball reads about +-1 at its stops; the flight layer's slip is
// -1..1, ball to the right positive, as FlightGear's.
constexpr double kSlipPerIndicated = 1.0;

std::string protocol_xml(std::string_view direction, const FgChunk *chunks, size_t n,
                         std::string_view comment) {
  std::string x = "<?xml version=\"1.0\"?>\n";
  x += "<!-- " + std::string(comment) + " -->\n";
  x += "<PropertyList>\n  <generic>\n    <" + std::string(direction) + ">\n";
  x += "      <binary_mode>false</binary_mode>\n";
  x += "      <line_separator>newline</line_separator>\n";
  x += "      <var_separator>,</var_separator>\n";
  for (size_t i = 0; i < n; ++i) {
    const FgChunk &c = chunks[i];
    x += "      <chunk>\n";
    x += "        <name>" + std::string(c.name) + "</name>\n";
    x += "        <type>" + std::string(c.type) + "</type>\n";
    if (!c.format.empty()) {
      x += "        <format>" + std::string(c.format) + "</format>\n";
    }
    x += "        <node>" + std::string(c.node) + "</node>\n";
    x += "      </chunk>\n";
  }
  x += "    </" + std::string(direction) + ">\n  </generic>\n</PropertyList>\n";
  return x;
}

bool parse_number(std::string_view text, double &out) {
  if (text == "true") {
    out = 1;
    return true;
  }
  if (text == "false") {
    out = 0;
    return true;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

} // namespace

const std::array<FgChunk, kFgOutCount> &fg_output_chunks() {
  return kOut;
}
const std::array<FgChunk, kFgInCount> &fg_input_chunks() {
  return kIn;
}

std::string fg_output_protocol_xml() {
  return protocol_xml("output", kOut.data(), kOut.size(),
                      "gaugehost-out: FlightGear -> gaugehost, one line per frame. "
                      "Install in FlightGear's Protocol/ folder; see the README, "
                      "\"Fly with FlightGear\". Do not reorder: gaugehost reads the "
                      "values by position.");
}

std::string fg_input_protocol_xml() {
  return protocol_xml("input", kIn.data(), kIn.size(),
                      "gaugehost-in: gaugehost -> FlightGear, one line each time a "
                      "panel control changes. Install beside gaugehost-out.xml.");
}

std::optional<FgSample> parse_fg_line(std::string_view line) {
  FgSample s;
  size_t i = 0;
  for (;;) {
    const size_t comma = line.find(',');
    const std::string_view field = line.substr(0, comma);
    if (i == kFgOutCount || !parse_number(field, s.v[i])) {
      return std::nullopt;
    }
    ++i;
    if (comma == std::string_view::npos) {
      break;
    }
    line.remove_prefix(comma + 1);
  }
  if (i != kFgOutCount) {
    return std::nullopt;
  }
  return s;
}

uint32_t com_mhz_to_bcd(double mhz) {
  const long khz10 = std::lround(mhz * 100.0) - 10000; // 123.45 -> 2345
  if (khz10 < 0 || khz10 > 9999) {
    return 0;
  }
  uint32_t bcd = 0;
  long rest = khz10;
  for (int shift = 0; shift < 16; shift += 4, rest /= 10) {
    bcd |= static_cast<uint32_t>(rest % 10) << shift;
  }
  return bcd;
}

double com_bcd_to_mhz(uint32_t bcd) {
  int khz10 = 0;
  for (int shift = 12; shift >= 0; shift -= 4) {
    khz10 = khz10 * 10 + static_cast<int>((bcd >> shift) & 0xF);
  }
  return 100.0 + khz10 / 100.0;
}

int64_t utc_epoch_ms(int year, int month, int day, double day_s) {
  // Days from 1970-01-01 of a proleptic Gregorian date (civil-from-days inverse).
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = static_cast<int64_t>(era) * 146097 + doe - 719468;
  return days * 86400000 + std::llround(day_s * 1000.0);
}

void to_state(const FgSample &f, flight::AircraftState &s) {
  using enum FgOut;
  s.utc_epoch_ms = utc_epoch_ms(static_cast<int>(f[utc_year]), static_cast<int>(f[utc_month]),
                                static_cast<int>(f[utc_day]), f[utc_day_s]);
  s.latitude_deg = f[latitude_deg];
  s.longitude_deg = f[longitude_deg];
  s.altitude_m = f[altitude_ft] / kFeetPerM;
  s.gnss_altitude_m = s.altitude_m;
  s.ground_elevation_m = f[ground_elevation_ft] / kFeetPerM;
  s.airspeed_mps = f[airspeed_kt] / kKnotsPerMps;
  s.vertical_speed_mps = f[vertical_speed_fps] / kFeetPerM;
  const double north_mps = f[speed_north_fps] / kFeetPerM;
  const double east_mps = f[speed_east_fps] / kFeetPerM;
  s.ground_speed_mps = std::hypot(north_mps, east_mps);
  const double track = std::atan2(east_mps, north_mps) * 180.0 / 3.14159265358979323846;
  s.track_deg = track < 0 ? track + 360.0 : track;
  s.heading_deg = f[heading_deg];
  s.pitch_deg = f[pitch_deg];
  s.bank_deg = f[roll_deg];
  s.slip = std::clamp(f[slip_skid_ball] * kSlipPerIndicated, -1.0, 1.0);
  s.turn_rate_degs = f[turn_rate_indicated] * kTurnDegsPerIndicated;
  s.wind_speed_mps = f[wind_speed_kt] / kKnotsPerMps;
  s.wind_from_deg = f[wind_from_deg];
  if (f[sea_level_pressure_inhg] > 0) {
    s.qnh_hpa = f[sea_level_pressure_inhg] * kHpaPerInHg;
  }
  s.pressure_altitude_m = flight::pressure_altitude_m(s.altitude_m, s.qnh_hpa);
  s.on_ground = f[on_ground] != 0;

  flight::Controls &c = s.controls;
  if (f[altimeter_setting_hpa] > 0) {
    c.altimeter_hpa = f[altimeter_setting_hpa];
  }
  c.airbrake = std::clamp(std::max(f[spoilers], f[speedbrake]), 0.0, 1.0);
  c.lever = f[gear_down] != 0 ? 1.0 : 0.0;
  if (const uint32_t bcd = com_mhz_to_bcd(f[com_mhz]); bcd != 0) {
    c.com_bcd = bcd;
  }
  const double level_kg[2] = {f[water_left_kg], f[water_right_kg]};
  const double capacity_kg[2] = {f[water_left_capacity_kg], f[water_right_capacity_kg]};
  for (int i = 0; i < 2; ++i) {
    const double capacity_l = std::max(0.0, capacity_kg[i]) * kLitresPerKgWater;
    c.tank_capacity_gal[i] = capacity_l / flight::kLitresPerGallon;
    c.tank_fraction[i] =
        capacity_l > 0 ? std::clamp(level_kg[i] * kLitresPerKgWater / capacity_l, 0.0, 1.0) : 0.0;
  }
}

std::string fg_input_line(const flight::Controls &c) {
  char line[128];
  std::snprintf(line, sizeof line, "%.4f,%.4f,%d,%.3f,%.2f,%d\n", c.airbrake, c.airbrake,
                c.lever >= 0.5 ? 1 : 0, com_bcd_to_mhz(c.com_bcd), c.altimeter_hpa,
                c.dumping ? 1 : 0);
  return line;
}

} // namespace live
