// The glide computer's formulas: the ballast-scaled polar, the speed to fly
// for a MacCready setting and the altitude needed to reach a goal. Pure
// functions of their arguments; the state they work on is in lnav_state.h.
#pragma once

#include <cstdint>
#include <limits>

namespace lnav {

// The speed polar as stored in "LNAV_polar.dat", in file order. It gives the
// vertical speed in m/s (negative = sinking) for an airspeed in km/h.
struct Polar {
  double a;                 // coefficient of v^2, (m/s)/(km/h)^2
  double b;                 // coefficient of v, (m/s)/(km/h)
  double c;                 // constant term, m/s
  double reference_mass_kg; // the mass for which a, b, c hold; 0 = unknown
  double reserved;          // fifth value of the file, used by no computation
};

// The highest altitude (m) the instrument reads.
inline constexpr double kAltitudeCeilingM = 9999.0;
// The required altitude of a goal out of reach: no height is enough.
inline constexpr double kOutOfReach = std::numeric_limits<double>::infinity();

// Water in the two tanks (kg): their mean fill fraction times the capacity in
// litres. Levels are raw host values, 8388608 = full. 0 without a capacity.
double ballast_kg(double capacity_l, double tank1_level_raw, double tank2_level_raw);

// Wing-loading factor k = sqrt((reference mass + ballast) / reference mass).
// Without a usable reference mass (0 in a freshly created file, or negative)
// the polar is taken as it stands: k = 1.
double wing_loading_factor(double reference_mass_kg, double ballast_kg);

// Sink of the polar scaled by k at airspeed v (km/h): (a/k) v^2 + b v + c k, m/s.
double polar_sink_mps(const Polar &polar, double k, double speed_kmh);

// Speed (km/h) at which the tangent from (0, mc_setting - air_mass) touches
// the scaled polar: sqrt(|(c k + air_mass - mc_setting) / (a / k)|). A polar
// without a square term has no tangent point: 0.
double tangent_speed_kmh(const Polar &polar, double k, double air_mass_mps, double mc_setting_mps);

// Altitude (m) needed to fly distance_km at speed_to_fly_kmh against
// headwind_kmh, sinking sink_mps, and arrive at goal_altitude_m. When the
// speed does not beat the headwind (or is not a number) the goal is out of
// reach: kOutOfReach, never a negative height or a placeholder that could
// pass for a real one.
double required_altitude_m(double distance_km, double speed_to_fly_kmh, double headwind_kmh,
                           double sink_mps, double goal_altitude_m);

// Image of the speed-command arrow for d = speed to fly - airspeed (km/h):
// 1 (d <= -20: fly much slower) .. 5 (within 5 km/h) .. 9 (d >= 20: much faster).
int speed_command_image(double difference_kmh);

} // namespace lnav
