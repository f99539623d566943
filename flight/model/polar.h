// The glider's speed polar from the panel folder's polar file, the same file
// the variometer reads: five lines, one number each (a, b, c, reference mass
// kg, reserved), sink w(v) = a v^2 + b v + c in m/s (negative down) for v in
// km/h at the reference mass.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace flight {

struct Polar {
  double a = 0, b = 0, c = 0;
  double reference_mass_kg = 0;

  // Vertical speed of the glider through the air, m/s (negative: sinking),
  // at airspeed v_kmh with gross mass mass_kg and load factor n. Heavier and
  // turning gliders both move along the same scaled polar:
  // w = n * ((a/k) v^2 + b v + c k) with k = sqrt(n * mass / reference mass).
  double sink_mps(double v_kmh, double mass_kg, double load_factor = 1.0) const;
  // Airspeed of least sink, km/h, at that mass and load factor.
  double min_sink_speed_kmh(double mass_kg, double load_factor = 1.0) const;
  // MacCready speed to fly, km/h, for the expected climb mc_mps and the air
  // mass moving vertically at netto_mps where the glider is.
  double speed_to_fly_kmh(double mass_kg, double mc_mps, double netto_mps) const;
};

// Reads a polar file. On failure returns nullopt with `error` naming the
// file, the line and the fault.
std::optional<Polar> read_polar_file(const std::filesystem::path &path, std::string &error);

} // namespace flight
