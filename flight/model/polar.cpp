#include "flight/model/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace flight {

double Polar::sink_mps(double v_kmh, double mass_kg, double n) const {
  const double k = std::sqrt(n * mass_kg / reference_mass_kg);
  return n * ((a / k) * v_kmh * v_kmh + b * v_kmh + c * k);
}

double Polar::min_sink_speed_kmh(double mass_kg, double n) const {
  const double k = std::sqrt(n * mass_kg / reference_mass_kg);
  return -b / (2.0 * a / k);
}

double Polar::speed_to_fly_kmh(double mass_kg, double mc_mps, double netto_mps) const {
  // Tangent from (0, mc - netto) to the polar: (a/k) v^2 = c k + netto - mc.
  const double k = std::sqrt(mass_kg / reference_mass_kg);
  const double v = std::sqrt(std::fabs((c * k + netto_mps - mc_mps) / (a / k)));
  return std::max(v, min_sink_speed_kmh(mass_kg));
}

std::optional<Polar> read_polar_file(const std::filesystem::path &path, std::string &error) {
  std::ifstream in(path);
  if (!in) {
    error = path.string() + ": cannot open the polar file";
    return std::nullopt;
  }
  double values[5] = {};
  std::string line;
  for (int i = 0; i < 5; ++i) {
    if (!std::getline(in, line)) {
      error = path.string() + ":" + std::to_string(i + 1) + ": missing line (five numbers needed)";
      return std::nullopt;
    }
    char *end = nullptr;
    values[i] = std::strtod(line.c_str(), &end);
    if (end == line.c_str()) {
      error = path.string() + ":" + std::to_string(i + 1) + ": not a number: \"" + line + "\"";
      return std::nullopt;
    }
  }
  Polar polar{.a = values[0], .b = values[1], .c = values[2], .reference_mass_kg = values[3]};
  if (!(polar.a < 0) || !(polar.reference_mass_kg > 0)) {
    error = path.string() + ": not a glider polar (a must be negative, the mass positive)";
    return std::nullopt;
  }
  return polar;
}

} // namespace flight
