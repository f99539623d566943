// The host's own reading of a turnpoint file (the comma-separated file the
// navigation computer reads): numbers, positions, elevations and names, for
// scenarios that fly toward a turnpoint by name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "flight/geo.h"

namespace flight {

struct Turnpoint {
  std::string number;
  std::string name; // trimmed
  LatLon position;
  double elevation_m = 0;
};

// Reads every record with a readable position; comment lines ("*") and task
// lines without a position are skipped. Returns nullopt with `error` if the
// file cannot be opened.
std::optional<std::vector<Turnpoint>> read_turnpoints(const std::filesystem::path &file,
                                                      std::string &error);
// The first turnpoint whose name equals `name` (ignoring case and padding).
const Turnpoint *find_turnpoint(const std::vector<Turnpoint> &points, const std::string &name);

} // namespace flight
