#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "flight/igc/igc.h"

namespace flight {
namespace {

bool digits(const std::string &s, size_t pos, size_t n) {
  if (pos + n > s.size()) {
    return false;
  }
  for (size_t i = pos; i < pos + n; ++i) {
    if (s[i] < '0' || s[i] > '9') {
      return false;
    }
  }
  return true;
}

int to_int(const std::string &s, size_t pos, size_t n) {
  return std::atoi(s.substr(pos, n).c_str());
}

// A signed altitude field: "01234" or "-0012".
std::optional<double> altitude(const std::string &s, size_t pos) {
  if (pos + 5 > s.size()) {
    return std::nullopt;
  }
  if (s[pos] == '-' && digits(s, pos + 1, 4)) {
    return -static_cast<double>(to_int(s, pos + 1, 4));
  }
  if (digits(s, pos, 5)) {
    return static_cast<double>(to_int(s, pos, 5));
  }
  return std::nullopt;
}

// HFDTEDATE:DDMMYY,NN (newer) or HFDTEDDMMYY (older): the six digits after
// the last colon, or right after HFDTE.
bool parse_date(const std::string &line, IgcLog &log) {
  size_t pos = line.find(':');
  pos = pos == std::string::npos ? 5 : pos + 1;
  if (!digits(line, pos, 6)) {
    return false;
  }
  log.day = to_int(line, pos, 2);
  log.month = to_int(line, pos + 2, 2);
  const int yy = to_int(line, pos + 4, 2);
  log.year = yy < 80 ? 2000 + yy : 1900 + yy;
  return true;
}

} // namespace

int IgcLog::extension_index(const std::string &code) const {
  for (size_t i = 0; i < extensions.size(); ++i) {
    if (extensions[i].code == code) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int64_t IgcLog::date_epoch_ms() const {
  std::tm t{};
  t.tm_year = (year > 0 ? year : 1970) - 1900;
  t.tm_mon = (month > 0 ? month : 1) - 1;
  t.tm_mday = day > 0 ? day : 1;
  return static_cast<int64_t>(timegm(&t)) * 1000;
}

std::optional<IgcLog> parse_igc(const std::string &text, const std::string &name,
                                std::string &error) {
  IgcLog log;
  std::istringstream in(text);
  std::string line;
  int line_number = 0;
  double day_offset_s = 0;
  double last_time_s = -1;
  while (std::getline(in, line)) {
    ++line_number;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
      line.pop_back();
    }
    if (line.empty()) {
      continue;
    }
    switch (line[0]) {
    case 'A':
      log.manufacturer = line.substr(1, 3);
      break;
    case 'H':
      if (line.rfind("HFDTE", 0) == 0 || line.rfind("HPDTE", 0) == 0) {
        if (!parse_date(line, log)) {
          error = name + ":" + std::to_string(line_number) + ": unreadable date record";
          return std::nullopt;
        }
      } else if (line.rfind("HFGTY", 0) == 0) {
        const size_t colon = line.find(':');
        log.glider_type = colon == std::string::npos ? "" : line.substr(colon + 1);
      }
      break;
    case 'I': {
      if (!digits(line, 1, 2)) {
        error = name + ":" + std::to_string(line_number) + ": unreadable I record";
        return std::nullopt;
      }
      // The extensions describe every fix: the fixes already read have none.
      if (!log.fixes.empty()) {
        error = name + ":" + std::to_string(line_number) + ": I record after the first B record";
        return std::nullopt;
      }
      const int count = to_int(line, 1, 2);
      log.extensions.clear();
      for (int i = 0; i < count; ++i) {
        const size_t pos = 3 + static_cast<size_t>(i) * 7;
        if (!digits(line, pos, 4) || pos + 7 > line.size()) {
          error = name + ":" + std::to_string(line_number) + ": I record shorter than its count";
          return std::nullopt;
        }
        log.extensions.push_back(
            {line.substr(pos + 4, 3), to_int(line, pos, 2), to_int(line, pos + 2, 2)});
      }
      break;
    }
    case 'B': {
      // B HHMMSS DDMMmmm N DDDMMmmm E V PPPPP GGGGG
      if (line.size() < 35 || !digits(line, 1, 6) || !digits(line, 7, 7) || !digits(line, 15, 8) ||
          (line[14] != 'N' && line[14] != 'S') || (line[23] != 'E' && line[23] != 'W')) {
        ++log.skipped_lines;
        break;
      }
      IgcFix fix;
      double t = to_int(line, 1, 2) * 3600.0 + to_int(line, 3, 2) * 60.0 + to_int(line, 5, 2);
      if (last_time_s >= 0 && t + day_offset_s < last_time_s - 43200) {
        day_offset_s += 86400; // past midnight UTC the clock wraps to 000000
      }
      fix.time_s = t + day_offset_s;
      last_time_s = fix.time_s;
      fix.latitude_deg = to_int(line, 7, 2) + to_int(line, 9, 5) / 60000.0;
      if (line[14] == 'S') {
        fix.latitude_deg = -fix.latitude_deg;
      }
      fix.longitude_deg = to_int(line, 15, 3) + to_int(line, 18, 5) / 60000.0;
      if (line[23] == 'W') {
        fix.longitude_deg = -fix.longitude_deg;
      }
      fix.valid = line[24] == 'A';
      const auto pressure = altitude(line, 25);
      const auto gnss = altitude(line, 30);
      if (!pressure || !gnss) {
        ++log.skipped_lines;
        break;
      }
      fix.pressure_altitude_m = *pressure;
      fix.gnss_altitude_m = *gnss;
      for (const IgcExtension &e : log.extensions) {
        // Bytes count from 1; a field declared from byte 0 or ending before
        // it starts has no value.
        const bool declared = e.start >= 1 && e.end >= e.start;
        const size_t pos = declared ? static_cast<size_t>(e.start - 1) : 0;
        const size_t len = declared ? static_cast<size_t>(e.end - e.start + 1) : 0;
        std::optional<double> value;
        if (declared && pos + len <= line.size()) {
          const std::string field = line.substr(pos, len);
          char *end = nullptr;
          const double v = std::strtod(field.c_str(), &end);
          if (end != field.c_str() && *end == '\0') {
            value = v;
          }
        }
        fix.extensions.push_back(value);
      }
      log.fixes.push_back(std::move(fix));
      break;
    }
    default:
      break; // C, D, E, F, G, J, K, L: not needed for replay
    }
  }
  if (log.fixes.empty()) {
    error = name + ": no B records";
    return std::nullopt;
  }
  return log;
}

std::optional<IgcLog> read_igc(const std::filesystem::path &file, std::string &error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot open the IGC file";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse_igc(text.str(), file.string(), error);
}

} // namespace flight
