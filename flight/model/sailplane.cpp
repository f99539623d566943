#include "flight/model/sailplane.h"

#include <algorithm>
#include <cmath>

#include "flight/geo.h"
#include "flight/tokens.h"

namespace flight {
namespace {

constexpr double kRollingFriction = 0.04;
constexpr double kBrakingDecelMps2 = 2.0;
constexpr double kLiftCurvePerDeg = 0.1; // lift coefficient per degree of attack
constexpr double kZeroLiftAttackDeg = -2.0;
constexpr double kRpmTimeConstantS = 1.0;
constexpr double kAdverseYawPerRollRate = 1.0 / 40.0; // ball travel per deg/s of roll

} // namespace

Sailplane::Sailplane(Polar polar, SailplaneOptions options) : polar_(polar), options_(options) {}

double Sailplane::mass_kg(const Controls &c) const {
  double water_kg = 0;
  for (int i = 0; i < 2; ++i) {
    water_kg += c.tank_fraction[i] * c.tank_capacity_gal[i] * kLitresPerGallon;
  }
  return polar_.reference_mass_kg + water_kg;
}

void Sailplane::step(double dt, const PilotInput &pilot, const AirMotion &air) {
  AircraftState &s = state;
  Controls &c = s.controls;
  const double mass = mass_kg(c);
  const double weight_n = mass * kGravityMps2;

  // Launch engine: rpm follows the throttle; thrust scales with the climb
  // command's trim and the rpm.
  const double rpm_target = c.engine_running ? c.throttle * options_.max_rpm : 0.0;
  c.rpm += (rpm_target - c.rpm) * std::min(1.0, dt / kRpmTimeConstantS);
  c.thrust_n = c.engine_running ? options_.launch_thrust_per_weight * weight_n * c.climb_trim *
                                      (c.rpm / options_.max_rpm)
                                : 0.0;

  if (s.on_ground) {
    step_ground(dt, pilot, air, mass);
    return;
  }

  // Roll toward the target bank at a limited rate.
  const double bank_error = pilot.target_bank_deg - s.bank_deg;
  const double roll = std::clamp(bank_error, -kRollRateDegS * dt, kRollRateDegS * dt);
  s.bank_deg += roll;
  const double roll_rate = roll / dt;
  const double n = 1.0 / std::cos(s.bank_deg * kDegToRad);

  const double v = std::max(s.airspeed_mps, 5.0);
  const double v_kmh = v * 3.6;
  double sink = 0.0; // m/s through the air, negative down
  if (options_.drag) {
    sink = polar_.sink_mps(v_kmh, mass, n);
    sink -=
        0.5 * kAirDensityKgM3 * options_.airbrake_drag_area_m2 * c.airbrake * v * v * v / weight_n;
  }
  last_sink_mps_ = sink;
  const double thrust_rate = c.thrust_n * v / weight_n;
  const double energy_rate = sink + thrust_rate; // d/dt (h + v^2 / 2g) through the air

  // The pilot trades height for speed toward the target speed.
  double v_dot = std::clamp((pilot.target_speed_mps - v) / kSpeedTimeConstantS,
                            -kMaxSpeedChangeMps2, kMaxSpeedChangeMps2);
  double climb = energy_rate - v * v_dot / kGravityMps2; // through the air
  const double max_climb = v * std::sin(kMaxFlightPathDeg * kDegToRad);
  if (std::fabs(climb) > max_climb) {
    climb = std::copysign(max_climb, climb);
    v_dot = (energy_rate - climb) * kGravityMps2 / v;
  }
  const double v_new = std::max(v + v_dot * dt, 5.0);
  // Height from the energy balance, so that speed and height trade exactly.
  const double h_new = s.altitude_m + (energy_rate + air.updraft_mps) * dt -
                       (v_new * v_new - v * v) / (2.0 * kGravityMps2);
  const double gamma = std::asin(std::clamp(climb / v, -1.0, 1.0));

  const double turn_rate = kGravityMps2 * std::tan(s.bank_deg * kDegToRad) / v / kDegToRad;
  s.heading_deg = wrap_360(s.heading_deg + turn_rate * dt);
  const double horizontal = v * std::cos(gamma);
  const double north = horizontal * std::cos(s.heading_deg * kDegToRad) + air.wind_north_mps;
  const double east = horizontal * std::sin(s.heading_deg * kDegToRad) + air.wind_east_mps;
  const LatLon p = offset_position({s.latitude_deg, s.longitude_deg}, north * dt, east * dt);
  s.latitude_deg = p.latitude_deg;
  s.longitude_deg = p.longitude_deg;

  s.vertical_speed_mps = (h_new - s.altitude_m) / dt;
  s.altitude_m = h_new;
  s.airspeed_mps = v_new;
  s.turn_rate_degs = turn_rate;
  s.ground_speed_mps = std::hypot(north, east);
  s.track_deg = wrap_360(std::atan2(east, north) / kDegToRad);
  const double lift_coefficient =
      n * weight_n / (0.5 * kAirDensityKgM3 * v * v * options_.wing_area_m2);
  s.pitch_deg = gamma / kDegToRad + lift_coefficient / kLiftCurvePerDeg + kZeroLiftAttackDeg;
  s.slip = -roll_rate * kAdverseYawPerRollRate;
  s.elevator_rad = -0.01 * v_dot;
  s.trim_rad = 0.002 * (30.0 - v);
  s.time_s += dt;

  if (s.altitude_m <= s.ground_elevation_m) {
    s.altitude_m = s.ground_elevation_m;
    s.vertical_speed_mps = 0;
    s.on_ground = true;
    s.bank_deg = 0;
    s.pitch_deg = 0;
  }
}

void Sailplane::step_ground(double dt, const PilotInput &pilot, const AirMotion &air, double mass) {
  AircraftState &s = state;
  const double v = s.airspeed_mps;
  double accel = s.controls.thrust_n / mass;
  if (v > 0.01 || accel > kRollingFriction * kGravityMps2) {
    accel -= kRollingFriction * kGravityMps2;
  }
  if (pilot.wheel_brake || s.controls.thrust_n <= 0) {
    accel -= kBrakingDecelMps2;
  }
  double v_new = std::max(0.0, v + accel * dt);
  if (s.controls.thrust_n <= 0 && v_new < 0.05) {
    v_new = 0.0;
  }
  const double north = v_new * std::cos(s.heading_deg * kDegToRad);
  const double east = v_new * std::sin(s.heading_deg * kDegToRad);
  const LatLon p = offset_position({s.latitude_deg, s.longitude_deg}, north * dt, east * dt);
  s.latitude_deg = p.latitude_deg;
  s.longitude_deg = p.longitude_deg;
  s.airspeed_mps = v_new;
  s.ground_speed_mps = v_new;
  s.track_deg = s.heading_deg;
  s.vertical_speed_mps = 0;
  s.turn_rate_degs = 0;
  s.bank_deg = 0;
  s.slip = 0;
  s.altitude_m = s.ground_elevation_m;
  s.time_s += dt;
  (void)air;
  // Lift-off once the wing carries the glider at the launch's target speed.
  const double liftoff_mps = 0.85 * polar_.min_sink_speed_kmh(mass) / 3.6;
  if (s.controls.thrust_n > 0 && v_new > liftoff_mps && pilot.target_speed_mps > liftoff_mps) {
    s.on_ground = false;
    s.altitude_m = s.ground_elevation_m + 0.1;
  }
}

} // namespace flight
