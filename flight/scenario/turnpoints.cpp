#include "flight/scenario/turnpoints.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "flight/scenario/scenario.h"

namespace flight {
namespace {

std::string trim(const std::string &s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) {
    ++b;
  }
  while (e > b && (std::isspace(static_cast<unsigned char>(s[e - 1])) || s[e - 1] == 0x1A)) {
    --e;
  }
  return s.substr(b, e - b);
}

std::string lower(std::string s) {
  for (char &c : s) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return s;
}

} // namespace

std::optional<std::vector<Turnpoint>> read_turnpoints(const std::filesystem::path &file,
                                                      std::string &error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot open the turnpoint file";
    return std::nullopt;
  }
  std::vector<Turnpoint> points;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '*') {
      continue;
    }
    std::vector<std::string> fields;
    std::stringstream ss(line);
    for (std::string f; std::getline(ss, f, ',');) {
      fields.push_back(trim(f));
    }
    if (fields.size() < 6) {
      continue;
    }
    const auto lat = parse_angle_deg(fields[1]);
    const auto lon = parse_angle_deg(fields[2]);
    if (!lat || !lon) {
      continue;
    }
    double elevation = std::strtod(fields[3].c_str(), nullptr);
    if (!fields[3].empty() && (fields[3].back() == 'F' || fields[3].back() == 'f')) {
      elevation *= 0.3048;
    }
    points.push_back({
        fields[0], fields[5], {*lat, *lon},
          elevation
    });
  }
  return points;
}

const Turnpoint *find_turnpoint(const std::vector<Turnpoint> &points, const std::string &name) {
  const std::string want = lower(trim(name));
  for (const Turnpoint &p : points) {
    if (lower(p.name) == want) {
      return &p;
    }
  }
  return nullptr;
}

} // namespace flight
