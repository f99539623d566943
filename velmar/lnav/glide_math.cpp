#include "velmar/lnav/glide_math.h"

#include <cmath>

#include "velmar/lnav/units.h"

namespace lnav {

namespace {
constexpr double kSecondsPerHour = 3600.0;
}

double ballast_kg(double capacity_l, double tank1_level_raw, double tank2_level_raw) {
  if (capacity_l == 0.0) {
    return 0.0;
  }
  return ((tank1_level_raw / kTankLevelFull) + (tank2_level_raw / kTankLevelFull)) / 2.0 *
         capacity_l;
}

double wing_loading_factor(double reference_mass_kg, double ballast_kg) {
  if (!(reference_mass_kg > 0.0)) {
    return 1.0;
  }
  const double k = std::sqrt((reference_mass_kg + ballast_kg) / reference_mass_kg);
  return std::isfinite(k) ? k : 1.0;
}

double polar_sink_mps(const Polar &polar, double k, double speed_kmh) {
  return (polar.a / k) * speed_kmh * speed_kmh + polar.b * speed_kmh + polar.c * k;
}

double tangent_speed_kmh(const Polar &polar, double k, double air_mass_mps, double mc_setting_mps) {
  const double speed =
      std::sqrt(std::fabs((polar.c * k + air_mass_mps - mc_setting_mps) / (polar.a / k)));
  return std::isfinite(speed) ? speed : 0.0;
}

double required_altitude_m(double distance_km, double speed_to_fly_kmh, double headwind_kmh,
                           double sink_mps, double goal_altitude_m) {
  const double ground_speed_kmh = speed_to_fly_kmh - headwind_kmh;
  if (!(ground_speed_kmh > 0.0)) {
    return kOutOfReach;
  }
  const double required =
      std::fabs(distance_km / ground_speed_kmh * kSecondsPerHour * sink_mps) + goal_altitude_m;
  return std::isfinite(required) ? required : kOutOfReach;
}

int speed_command_image(double d) {
  if (d <= -20.0) {
    return 1;
  }
  if (d < -15.0) {
    return 2;
  }
  if (d < -10.0) {
    return 3;
  }
  if (d < -5.0) {
    return 4;
  }
  if (d < 5.0) {
    return 5;
  }
  if (d < 10.0) {
    return 6;
  }
  if (d < 15.0) {
    return 7;
  }
  if (d < 20.0) {
    return 8;
  }
  return 9;
}

} // namespace lnav
