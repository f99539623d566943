// The glide computer's steps on the module state: ballast, speed to fly and
// required altitude (inside the vario cycle), the altitude read and the wind
// filter (driven by the page text), the polar load (at power-on).
#pragma once

namespace lnav {

// Power-on: the capacity of both ballast tanks (litres) from their tokens.
void read_ballast_capacity();
// Power-on, after the state is cleared: reads or creates "LNAV_polar.dat".
void load_polar();

// Vario cycle step 2: ballast mass and the wing-loading factor it gives.
void update_ballast();
// Vario cycle step 11: speed to fly from the averaged TE vario and the polar
// sink at the current airspeed (m/s), its sink, and the required altitude to
// gpsnav's active turnpoint.
void update_speed_to_fly(double te_average_mps, double polar_sink_at_airspeed_mps);

// Altitude (token 0x49, at most 9999 m) and the units setting.
void read_altitude();
// Airspeed for the other gauges on every call; every 100 ms a headwind
// sample (airspeed - GPS ground speed) into a 100-slot average.
void run_wind_filter();

} // namespace lnav
