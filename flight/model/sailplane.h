// Point-mass sailplane: speed, climb, heading and position from the energy
// balance. The pilot holds a target airspeed with the elevator (modelled as
// a first-order approach of the airspeed) and a target bank with the ailerons
// (a limited roll rate); what is left of the energy rate goes into height.
// One airspeed: the air's density is taken as sea-level ISA throughout, so
// indicated and true airspeed coincide.
#pragma once

#include "flight/model/polar.h"
#include "flight/state.h"

namespace flight {

struct AirMotion {
  double updraft_mps = 0;
  double wind_north_mps = 0; // the air's velocity (towards)
  double wind_east_mps = 0;
};

struct PilotInput {
  double target_speed_mps = 28;
  double target_bank_deg = 0; // right positive
  bool wheel_brake = false;
};

struct SailplaneOptions {
  double wing_area_m2 = 10.5;
  double airbrake_drag_area_m2 = 0.75; // full airbrakes: about 2.5 m/s more sink at 100 km/h
  double launch_thrust_per_weight = 0.5;
  double max_rpm = 6000;
  bool drag = true; // false: no aerodynamic drag at all (energy checks)
};

inline constexpr double kAirDensityKgM3 = 1.225;
inline constexpr double kSpeedTimeConstantS = 4.0;
inline constexpr double kMaxSpeedChangeMps2 = 2.5;
inline constexpr double kRollRateDegS = 20.0;
inline constexpr double kMaxFlightPathDeg = 40.0;

class Sailplane {
public:
  Sailplane(Polar polar, SailplaneOptions options);

  // Gross mass: the polar's reference mass plus the water aboard (1 kg/l).
  double mass_kg(const Controls &controls) const;
  // Advances dt_s seconds. `state.controls` must hold the current controls.
  void step(double dt_s, const PilotInput &pilot, const AirMotion &air);

  AircraftState state;
  const Polar &polar() const { return polar_; }
  // Sink through the air, m/s (negative), at the present speed, bank, mass
  // and airbrakes: what the polar and the brakes cost.
  double still_air_sink_mps() const { return last_sink_mps_; }

private:
  void step_ground(double dt_s, const PilotInput &pilot, const AirMotion &air, double mass);
  Polar polar_;
  SailplaneOptions options_;
  double last_sink_mps_ = 0;
};

} // namespace flight
