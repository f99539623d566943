// NMEA 0183 sentences as glide computers and simulators send them:
//   $GPRMC,123519.00,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,003.1,W*6A
// A sentence is trusted only with a valid checksum (the XOR of every byte
// between '$' and '*', two hex digits after '*'); anything else is counted
// by its fault and never reaches the flight state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace live {

enum class NmeaFault : uint8_t {
  none,
  garbage,      // no '$' start, or bytes outside printable ASCII
  no_checksum,  // no "*hh" at the end: cut short, or never had one
  bad_checksum, // checksum does not match the bytes
  bad_fields,   // a sentence we read whose fields do not parse
  count
};
inline constexpr size_t kNmeaFaultCount = static_cast<size_t>(NmeaFault::count);
std::string_view fault_name(NmeaFault fault);

// A checksummed sentence cut into its fields; fields[0] is the address
// ("GPRMC", "PGRMZ", "LXWP0"). Views into the line given to split_sentence().
struct NmeaFields {
  std::vector<std::string_view> fields;
  std::string_view address() const { return fields.empty() ? std::string_view{} : fields[0]; }
};
NmeaFault split_sentence(std::string_view line, NmeaFields &out);

// What one sentence says. Units: SI, degrees, seconds of the UTC day.
struct NmeaPosition {
  double utc_day_s = 0;
  double latitude_deg = 0, longitude_deg = 0; // east and north positive
};
struct Rmc {
  NmeaPosition at;
  bool valid = false; // status A
  double ground_speed_mps = 0;
  double track_deg = 0;
  int year = 0, month = 0, day = 0; // 0 when the date field is empty
};
struct Gga {
  NmeaPosition at;
  int quality = 0; // 0: no fix
  double altitude_m = 0;
};
struct PressureAltitude { // PGRMZ
  double altitude_m = 0;
};
struct Lxwp0 {
  std::optional<double> airspeed_mps;
  std::optional<double> baro_altitude_m;
  std::optional<double> vario_mps; // mean of the values given
  std::optional<double> heading_deg;
  std::optional<double> wind_from_deg;
  std::optional<double> wind_speed_mps;
};

// Each returns false when a field the sentence needs does not parse.
bool parse_rmc(const NmeaFields &f, Rmc &out);
bool parse_gga(const NmeaFields &f, Gga &out);
bool parse_pgrmz(const NmeaFields &f, PressureAltitude &out);
bool parse_lxwp0(const NmeaFields &f, Lxwp0 &out);

// "*hh" checksum of the text between '$' and '*' (for writers and tests).
uint8_t nmea_checksum(std::string_view body);

} // namespace live
