#include "flight/scenario/scenario.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>

namespace flight {
namespace {

// Longest duration taken, s: a century, far beyond any flight, and still a
// whole number of milliseconds in 64 bits.
constexpr double kMaxDurationS = 100 * 366 * 86400.0;

// "inf" and "nan" are no numbers here: every value is a finite quantity.
std::optional<double> number(const std::string &text) {
  if (text.empty()) {
    return std::nullopt;
  }
  char *end = nullptr;
  const double v = text.rfind("0x", 0) == 0
                       ? static_cast<double>(std::strtoul(text.c_str(), &end, 16))
                       : std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

struct LineError {
  std::string message;
};

class LineParser {
public:
  LineParser(const std::vector<std::string> &words) : words_(words) {}
  size_t size() const { return words_.size(); }
  const std::string &word(size_t i) const {
    if (i >= words_.size()) {
      throw LineError{"missing value after \"" + words_.back() + "\""};
    }
    return words_[i];
  }
  double num(size_t i) const {
    auto v = number(word(i));
    if (!v) {
      throw LineError{"not a number: \"" + words_[i] + "\""};
    }
    return *v;
  }
  // A number from `lo` up to, not including, `below`, truncated toward zero.
  int64_t whole(size_t i, double lo, double below, const char *what) const {
    const double v = num(i);
    if (v < lo || v >= below) {
      throw LineError{std::string(what) + " out of range: \"" + words_[i] + "\""};
    }
    return static_cast<int64_t>(v);
  }
  double duration(size_t i) const {
    auto v = parse_duration_s(word(i));
    if (!v) {
      throw LineError{"not a time (MM:SS or seconds): \"" + words_[i] + "\""};
    }
    return *v;
  }
  double angle(size_t i) const {
    auto v = parse_angle_deg(word(i));
    if (!v) {
      throw LineError{"not a latitude or longitude: \"" + words_[i] + "\""};
    }
    return *v;
  }
  void at_most(size_t n) const {
    if (words_.size() > n) {
      throw LineError{"unexpected \"" + words_[n] + "\""};
    }
  }

private:
  const std::vector<std::string> &words_;
};

int64_t utc_ms(int year, int month, int day, int seconds_of_day) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  return static_cast<int64_t>(timegm(&t)) * 1000 + seconds_of_day * 1000LL;
}

// Parses the action words starting at `i` into `a`.
void parse_action(const LineParser &p, size_t i, Action &a) {
  const std::string &verb = p.word(i);
  auto options = [&](size_t from) {
    for (size_t k = from; k < p.size(); k += 2) {
      if (p.word(k) == "until") {
        a.until_altitude_m = p.num(k + 1);
      } else if (p.word(k) == "for") {
        a.seconds = p.duration(k + 1);
      } else {
        throw LineError{"unexpected \"" + p.word(k) + "\" (until ALTITUDE or for TIME)"};
      }
    }
  };
  if (verb == "click") {
    a.kind = ActionKind::Click;
    a.gauge = p.word(i + 1);
    a.button = p.word(i + 2);
    if (p.size() > i + 3) {
      a.count = static_cast<int>(p.whole(i + 3, 0, 1e6, "click count"));
      p.at_most(i + 4);
    }
  } else if (verb == "heading") {
    a.kind = ActionKind::Heading;
    a.number = p.num(i + 1);
    options(i + 2);
  } else if (verb == "goto") {
    a.kind = ActionKind::Goto;
    for (size_t k = i + 1; k < p.size(); ++k) {
      a.name += (a.name.empty() ? "" : " ") + p.word(k);
    }
    if (a.name.empty()) {
      throw LineError{"goto needs a turnpoint name"};
    }
  } else if (verb == "circle") {
    a.kind = ActionKind::Circle;
    a.number = 1;
    size_t k = i + 1;
    if (k < p.size() && (p.word(k) == "left" || p.word(k) == "right")) {
      a.number = p.word(k) == "left" ? -1 : 1;
      ++k;
    }
    options(k);
  } else if (verb == "speed") {
    if (p.word(i + 1) == "command") {
      a.kind = ActionKind::SpeedCommand;
    } else {
      a.kind = ActionKind::Speed;
      a.number = p.num(i + 1);
    }
    p.at_most(i + 2);
  } else if (verb == "mc") {
    a.kind = ActionKind::MacCready;
    a.number = p.num(i + 1);
    p.at_most(i + 2);
  } else if (verb == "airbrakes") {
    a.kind = ActionKind::Airbrakes;
    a.number = p.num(i + 1);
    p.at_most(i + 2);
  } else if (verb == "launch") {
    a.kind = ActionKind::Launch;
    p.at_most(i + 1);
  } else if (verb == "land") {
    a.kind = ActionKind::Land;
    p.at_most(i + 1);
  } else if (verb == "wait") {
    a.kind = ActionKind::Wait;
    a.seconds = p.duration(i + 1);
    p.at_most(i + 2);
  } else if (verb == "end") {
    a.kind = ActionKind::End;
    p.at_most(i + 1);
  } else {
    throw LineError{"unknown action \"" + verb + "\""};
  }
}

void parse_line(const LineParser &p, Scenario &s, int line_number) {
  const std::string &key = p.word(0);
  if (key == "date") {
    int y = 0, m = 0, d = 0;
    if (std::sscanf(p.word(1).c_str(), "%d-%d-%d", &y, &m, &d) != 3 || y < 1 || y > 9999 || m < 1 ||
        m > 12 || d < 1 || d > 31) {
      throw LineError{"date must be YYYY-MM-DD"};
    }
    const int64_t day_ms = s.start_utc_ms % 86400000;
    s.start_utc_ms = utc_ms(y, m, d, 0) + day_ms;
  } else if (key == "time") {
    const double t = p.duration(1);
    s.start_utc_ms = s.start_utc_ms - s.start_utc_ms % 86400000 + static_cast<int64_t>(t * 1000);
  } else if (key == "position") {
    s.latitude_deg = p.angle(1);
    s.longitude_deg = p.angle(2);
    p.at_most(3);
  } else if (key == "elevation") {
    s.elevation_m = p.num(1);
  } else if (key == "altitude") {
    s.altitude_m = p.num(1);
  } else if (key == "heading") {
    s.heading_deg = p.num(1);
  } else if (key == "speed") {
    s.speed_kmh = p.num(1);
  } else if (key == "wind") {
    s.wind_from_deg = p.num(1);
    s.wind_kmh = p.num(2);
  } else if (key == "qnh") {
    s.qnh_hpa = p.num(1);
  } else if (key == "units") {
    const double units = p.num(1);
    if (units < 0 || units >= 3) {
      throw LineError{"units must be 0, 1 or 2"};
    }
    s.units = static_cast<int>(units);
  } else if (key == "ballast") {
    s.ballast_pct = p.num(1);
  } else if (key == "capacity") {
    s.capacity_gal[0] = p.num(1);
    s.capacity_gal[1] = p.num(2);
  } else if (key == "com") {
    s.com_bcd = static_cast<uint32_t>(p.whole(1, 0, 4294967296.0, "COM frequency"));
  } else if (key == "wing_area") {
    s.wing_area_m2 = p.num(1);
  } else if (key == "polar") {
    s.polar_file = p.word(1);
  } else if (key == "turnpoints") {
    s.turnpoint_file = p.word(1);
  } else if (key == "end") {
    s.end_s = p.duration(1);
  } else if (key == "thermal") {
    NamedThermal t;
    t.name = p.word(1);
    t.thermal.centre = {p.angle(2), p.angle(3)};
    t.thermal.strength_mps = p.num(4);
    t.thermal.top_m = p.num(5);
    if (p.size() > 6) {
      t.thermal.start_s = p.duration(6);
    }
    if (p.size() > 7) {
      t.thermal.end_s = p.duration(7);
    }
    p.at_most(8);
    s.thermals.push_back(t);
  } else if (key == "at" || key == "after" || key == "then") {
    Action a;
    a.line = line_number;
    size_t i = 1;
    if (key == "then") {
      a.trigger = Trigger::Then;
    } else {
      a.trigger = key == "at" ? Trigger::At : Trigger::After;
      a.time_s = p.duration(1);
      i = 2;
    }
    parse_action(p, i, a);
    s.actions.push_back(a);
  } else {
    throw LineError{"unknown keyword \"" + key + "\""};
  }
}

} // namespace

std::optional<double> parse_duration_s(const std::string &text) {
  double parts[3] = {}; // whole numbers: "1:30.5" is 90 s
  int n = 0;
  size_t start = 0;
  while (n < 3) {
    const size_t colon = text.find(':', start);
    const std::string piece = text.substr(start, colon - start);
    auto v = number(piece);
    if (!v || *v < 0 || *v > kMaxDurationS) {
      return std::nullopt;
    }
    if (colon == std::string::npos) {
      if (n == 0) {
        return *v;
      }
      parts[n++] = std::trunc(*v);
      break;
    }
    parts[n++] = std::trunc(*v);
    start = colon + 1;
  }
  if (n == 2) {
    return parts[0] * 60 + parts[1];
  }
  if (n == 3) {
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
  }
  return std::nullopt;
}

std::optional<double> parse_angle_deg(const std::string &text) {
  if (text.empty()) {
    return std::nullopt;
  }
  const char hemisphere = text.back();
  if (hemisphere != 'N' && hemisphere != 'S' && hemisphere != 'E' && hemisphere != 'W') {
    return number(text);
  }
  const std::string body = text.substr(0, text.size() - 1);
  double d = 0, m = 0, sec = 0;
  int fields = 0;
  if (body.find(':') == body.rfind(':')) {
    fields = std::sscanf(body.c_str(), "%lf:%lf", &d, &m) == 2 ? 2 : 0;
  } else {
    fields = std::sscanf(body.c_str(), "%lf:%lf:%lf", &d, &m, &sec) == 3 ? 3 : 0;
  }
  const double deg = d + m / 60.0 + sec / 3600.0;
  if (fields == 0 || m >= 60 || sec >= 60 || !std::isfinite(deg)) {
    return std::nullopt;
  }
  return hemisphere == 'S' || hemisphere == 'W' ? -deg : deg;
}

std::optional<Scenario> parse_scenario(const std::string &text, const std::filesystem::path &file,
                                       std::string &error) {
  Scenario s;
  s.file = file;
  std::istringstream in(text);
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) {
      line.resize(hash);
    }
    std::istringstream words_in(line);
    std::vector<std::string> words;
    for (std::string w; words_in >> w;) {
      words.push_back(w);
    }
    if (words.empty()) {
      continue;
    }
    try {
      parse_line(LineParser(words), s, line_number);
    } catch (const LineError &e) {
      error = file.string() + ":" + std::to_string(line_number) + ": " + e.message;
      return std::nullopt;
    }
  }
  return s;
}

std::optional<Scenario> read_scenario(const std::filesystem::path &file, std::string &error) {
  std::ifstream in(file);
  if (!in) {
    error = file.string() + ": cannot open the scenario";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse_scenario(text.str(), file, error);
}

} // namespace flight
