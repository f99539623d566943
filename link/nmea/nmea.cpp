#include "link/nmea/nmea.h"

#include <charconv>
#include <cmath>

#include "flight/tokens.h"

namespace live {
namespace {

constexpr double kKmhPerMps = 3.6;

// Read by fault_name(): one row per NmeaFault, in order.
constexpr std::array<std::string_view, kNmeaFaultCount> kFaultNames = {
    "none", "garbage", "no checksum", "bad checksum", "bad fields"};

int hex_digit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

bool number(std::string_view text, double &out) {
  if (text.empty()) {
    return false;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

std::optional<double> optional_number(std::string_view text) {
  double v = 0;
  return number(text, v) ? std::optional<double>(v) : std::nullopt;
}

// hhmmss[.ss] -> seconds of the day.
bool utc_time(std::string_view text, double &day_s) {
  double v = 0;
  if (text.size() < 6 || !number(text, v) || v < 0) {
    return false;
  }
  const int hhmmss = static_cast<int>(v);
  const int h = hhmmss / 10000, m = hhmmss / 100 % 100;
  const double s = v - hhmmss / 100 * 100;
  if (h > 23 || m > 59 || s >= 61) {
    return false;
  }
  day_s = h * 3600 + m * 60 + s;
  return true;
}

// (d)ddmm.mmmm and a hemisphere letter -> signed degrees.
bool angle(std::string_view value, std::string_view hemisphere, double limit_deg, double &deg) {
  double v = 0;
  if (!number(value, v) || v < 0 || hemisphere.size() != 1) {
    return false;
  }
  const double whole = std::floor(v / 100.0);
  const double minutes = v - whole * 100.0;
  if (minutes >= 60.0) {
    return false;
  }
  deg = whole + minutes / 60.0;
  const char h = hemisphere[0];
  if (h == 'S' || h == 'W') {
    deg = -deg;
  } else if (h != 'N' && h != 'E') {
    return false;
  }
  return std::fabs(deg) <= limit_deg;
}

bool position(const NmeaFields &f, size_t time, size_t lat, NmeaPosition &out) {
  return utc_time(f.fields[time], out.utc_day_s) &&
         angle(f.fields[lat], f.fields[lat + 1], 90.0, out.latitude_deg) &&
         angle(f.fields[lat + 2], f.fields[lat + 3], 180.0, out.longitude_deg);
}

} // namespace

std::string_view fault_name(NmeaFault fault) {
  return kFaultNames[static_cast<size_t>(fault)];
}

uint8_t nmea_checksum(std::string_view body) {
  uint8_t sum = 0;
  for (char c : body) {
    sum ^= static_cast<uint8_t>(c);
  }
  return sum;
}

NmeaFault split_sentence(std::string_view line, NmeaFields &out) {
  out.fields.clear();
  if (line.empty() || line[0] != '$') {
    return NmeaFault::garbage;
  }
  for (char c : line) {
    if (c < 0x20 || c > 0x7E) {
      return NmeaFault::garbage;
    }
  }
  const size_t star = line.rfind('*');
  if (star == std::string_view::npos || star + 3 != line.size()) {
    return NmeaFault::no_checksum;
  }
  const int hi = hex_digit(line[star + 1]), lo = hex_digit(line[star + 2]);
  const std::string_view body = line.substr(1, star - 1);
  if (hi < 0 || lo < 0 || nmea_checksum(body) != (hi << 4 | lo)) {
    return NmeaFault::bad_checksum;
  }
  std::string_view rest = body;
  for (;;) {
    const size_t comma = rest.find(',');
    out.fields.push_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) {
      break;
    }
    rest.remove_prefix(comma + 1);
  }
  return NmeaFault::none;
}

bool parse_rmc(const NmeaFields &f, Rmc &out) {
  // RMC,time,status,lat,N,lon,E,speed kn,track,date[,variation,E[,mode]]
  if (f.fields.size() < 10 || f.fields[2].size() != 1) {
    return false;
  }
  out.valid = f.fields[2] == "A";
  if (!out.valid) {
    return utc_time(f.fields[1], out.at.utc_day_s) || f.fields[1].empty();
  }
  double speed_kn = 0;
  if (!position(f, 1, 3, out.at) || !number(f.fields[7], speed_kn)) {
    return false;
  }
  out.ground_speed_mps = speed_kn / flight::kKnotsPerMps;
  out.track_deg = optional_number(f.fields[8]).value_or(0.0);
  const std::string_view date = f.fields[9];
  double ddmmyy = 0;
  if (date.size() == 6 && number(date, ddmmyy)) {
    const int d = static_cast<int>(ddmmyy);
    out.day = d / 10000;
    out.month = d / 100 % 100;
    out.year = 2000 + d % 100; // NMEA dates carry two digits; flights are this century's
  }
  return true;
}

bool parse_gga(const NmeaFields &f, Gga &out) {
  // GGA,time,lat,N,lon,E,quality,satellites,hdop,altitude,M,geoid,M,...
  if (f.fields.size() < 11) {
    return false;
  }
  double quality = 0;
  if (!number(f.fields[6], quality)) {
    return false;
  }
  out.quality = static_cast<int>(quality);
  if (out.quality == 0) {
    return true; // no fix: the rest may be empty
  }
  return position(f, 1, 2, out.at) && number(f.fields[9], out.altitude_m) && f.fields[10] == "M";
}

bool parse_pgrmz(const NmeaFields &f, PressureAltitude &out) {
  // PGRMZ,altitude,f|m[,fix]
  if (f.fields.size() < 3 || !number(f.fields[1], out.altitude_m)) {
    return false;
  }
  if (f.fields[2] == "f" || f.fields[2] == "F") {
    out.altitude_m /= flight::kFeetPerM;
    return true;
  }
  return f.fields[2] == "m" || f.fields[2] == "M";
}

bool parse_lxwp0(const NmeaFields &f, Lxwp0 &out) {
  // LXWP0,logger,IAS km/h,baro altitude m,vario m/s x6,heading,wind from,wind km/h
  if (f.fields.size() < 13) {
    return false;
  }
  const auto field = [&](size_t i) { return optional_number(f.fields[i]); };
  // A field present but unreadable is a fault; an empty one is "not known".
  for (size_t i = 2; i < 13; ++i) {
    if (!f.fields[i].empty() && !field(i)) {
      return false;
    }
  }
  if (auto ias = field(2)) {
    out.airspeed_mps = *ias / kKmhPerMps;
  }
  out.baro_altitude_m = field(3);
  double sum = 0;
  int n = 0;
  for (size_t i = 4; i < 10; ++i) {
    if (auto v = field(i)) {
      sum += *v;
      ++n;
    }
  }
  if (n > 0) {
    out.vario_mps = sum / n;
  }
  out.heading_deg = field(10);
  out.wind_from_deg = field(11);
  if (auto wind = field(12)) {
    out.wind_speed_mps = *wind / kKmhPerMps;
  }
  return true;
}

} // namespace live
