// What a flight source knows about the aircraft at one instant, in SI units
// and degrees, and the bus through which it reaches the host's tokens.
#pragma once

#include <cstdint>

namespace flight {

// Read and write access to the host's token variables. The host (or a test)
// implements it; a token bound elsewhere (the tank levels, which live in the
// offset server) reads back what the gauges wrote.
class TokenBus {
public:
  virtual ~TokenBus() = default;
  virtual double get(uint32_t id) const = 0;
  virtual void set(uint32_t id, double value) = 0;
};

// Pilot controls and systems: the state that key events change.
struct Controls {
  double airbrake = 0;       // 0 closed .. 1 open
  double lever = 0;          // 0 up .. 1 down
  uint32_t com_bcd = 0x2310; // 123.10 MHz
  double altimeter_hpa = 1013.25;
  bool dumping = false; // the last dump signal said "dumping"
  double tank_capacity_gal[2] = {26.4, 26.4};
  double tank_fraction[2] = {0, 0}; // 0..1
  // Launch engine.
  bool engine_running = false;
  double throttle = 0;     // 0..1
  double climb_trim = 1.0; // thrust factor set by the climb command
  double rpm = 0;
  double thrust_n = 0;
  int units = 2; // 0, 1 or 2 (metric)
};

struct AircraftState {
  double time_s = 0;        // since the source started
  int64_t utc_epoch_ms = 0; // UTC of this instant
  double latitude_deg = 0;
  double longitude_deg = 0;       // east positive
  double altitude_m = 0;          // MSL (GNSS altitude)
  double pressure_altitude_m = 0; // ISA, 1013.25 hPa
  double gnss_altitude_m = 0;
  double ground_elevation_m = 0;
  double airspeed_mps = 0;
  double vertical_speed_mps = 0;
  double heading_deg = 0;
  double track_deg = 0;
  double ground_speed_mps = 0;
  double pitch_deg = 0;
  double bank_deg = 0;
  double turn_rate_degs = 0; // positive to the right
  double slip = 0;           // -1 .. 1, ball to the right positive
  double wind_speed_mps = 0;
  double wind_from_deg = 0;
  double qnh_hpa = 1013.25; // the air's sea-level pressure
  double elevator_rad = 0;
  double trim_rad = 0;
  bool on_ground = false;
  Controls controls;
};

// Writes every token a gauge reads from `state` (tank levels only when
// `write_tanks`: they are otherwise the offset server's, which gauges write).
void publish_state(const AircraftState &state, TokenBus &bus, bool write_tanks);

// Indicated altitude for an altimeter set to `setting_hpa` at true altitude
// `altitude_m` in an ISA atmosphere whose sea-level pressure is `qnh_hpa`.
double indicated_altitude_m(double altitude_m, double qnh_hpa, double setting_hpa);
// ISA pressure altitude (1013.25 hPa) for the same.
double pressure_altitude_m(double altitude_m, double qnh_hpa);

} // namespace flight
