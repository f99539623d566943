#include "velmar/lnav/glide.h"

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"
#include "velmar/lnav/polar_file.h"
#include "velmar/lnav/units.h"
#include "velmar/shared_state.h"

namespace lnav {
namespace {

constinit TokenVar tank1_capacity = {.id = kTokenTank1CapacityGal};
constinit TokenVar tank2_capacity = {.id = kTokenTank2CapacityGal};
constinit TokenVar tank1_level = {.id = kTokenTank1Level};
constinit TokenVar tank2_level = {.id = kTokenTank2Level};
constinit TokenVar altitude = {.id = kTokenAltitudeM};
constinit TokenVar units = {.id = kTokenUnits};
constinit TokenVar airspeed = {.id = kTokenAirspeedKnots};

constexpr double kAirspeedCeilingKmh = 999.0; // what the wind check display can show

} // namespace

void read_ballast_capacity() {
  glide.ballast_capacity_l =
      gallons_to_litres(frame::read_token(tank1_capacity) + frame::read_token(tank2_capacity));
}

void load_polar() {
  load_or_create_polar_file(kPolarFileName, polar);
}

void update_ballast() {
  if (glide.ballast_capacity_l != 0.0) {
    glide.ballast_kg = ballast_kg(glide.ballast_capacity_l, frame::read_token(tank1_level),
                                  frame::read_token(tank2_level));
  } else {
    glide.ballast_kg = 0.0;
  }
  glide.wing_loading_k = wing_loading_factor(polar.reference_mass_kg, glide.ballast_kg);
}

void update_speed_to_fly(double te_average_mps, double polar_sink_at_airspeed_mps) {
  const double k = glide.wing_loading_k;
  const double air_mass_mps = te_average_mps - polar_sink_at_airspeed_mps;
  const double speed = tangent_speed_kmh(polar, k, air_mass_mps, mc_setting);
  glide.speed_to_fly_kmh = frame::history_average(glide.speed_to_fly_history, kNettoWindow, speed);
  glide.speed_to_fly_sink_mps = polar_sink_mps(polar, k, glide.speed_to_fly_kmh);

  glide.goal_altitude_m = velmar::active_tp_elevation_m + goal_height_margin;
  if (velmar::gps_power_on != 0) {
    glide.required_altitude_m =
        required_altitude_m(velmar::active_tp_distance_km, glide.speed_to_fly_kmh, headwind_kmh,
                            glide.speed_to_fly_sink_mps, glide.goal_altitude_m);
  } else {
    glide.required_altitude_m = 0.0;
  }
}

void read_altitude() {
  glide.altitude_m = frame::read_token(altitude);
  if (glide.altitude_m > kAltitudeCeilingM) {
    glide.altitude_m = kAltitudeCeilingM;
  }
  velmar::unit_system = truncate_i32(frame::read_token(units));
}

void run_wind_filter() {
  double speed_kmh = knots_to_kmh(frame::read_token(airspeed));
  if (speed_kmh > kAirspeedCeilingKmh) {
    speed_kmh = kAirspeedCeilingKmh;
  }
  velmar::lnav_airspeed_kmh = speed_kmh;

  const int32_t now = frame::module_clock_ms();
  if (frame::elapsed_ms(now, glide.wind_update_ms) <= kFilterGateMs) {
    return;
  }
  const double sample_kmh = velmar::lnav_airspeed_kmh - velmar::ground_speed_kmh;
  headwind_kmh = frame::history_average(glide.wind_history, kWindDivisor, sample_kmh);
  glide.wind_update_ms = now;
}

} // namespace lnav
