// Module-wide state of the lnav gauge. Everything runs on the host's panel
// thread, one call at a time, so nothing here is locked. Two placements of
// lnav share this one state. Values are those at load unless a comment says
// who changes them.
#pragma once

#include <cstdint>

#include "frame/history_averager.h"
#include "velmar/lnav/glide_math.h"

namespace lnav {

// Filter windows derived from the two stored window parameters: 5 * 8 + 25.
inline constexpr int kWindowParameterA = 8; // TE vario
inline constexpr int kWindowParameterB = 8; // netto and speed to fly
inline constexpr int kTeWindow = 5 * kWindowParameterA + 25;
inline constexpr int kNettoWindow = 5 * kWindowParameterB + 25;
static_assert(kTeWindow == 65 && kNettoWindow == 65);
inline constexpr int kThirtySecondWindow = 299; // at one sample per ~100 ms
inline constexpr int kWindWindow = 100;
inline constexpr double kWindDivisor = 99.0; // slots 1..99 summed: unit gain
// A filter updates only when more than this has passed since its last update.
inline constexpr int32_t kFilterGateMs = 100;

// The polar, re-read from "LNAV_polar.dat" at every power-on.
extern Polar polar;

// Glide computer (cleared at power-on except the capacity, which power-on sets).
struct GlideState {
  double ballast_capacity_l;    // both tanks, set at power-on
  double ballast_kg;            // every vario cycle
  double wing_loading_k;        // every vario cycle, from the ballast
  double speed_to_fly_kmh;      // averaged over kNettoWindow samples
  double speed_to_fly_sink_mps; // polar sink at the speed to fly
  double goal_altitude_m;       // turnpoint elevation + margin
  double required_altitude_m;   // 0 while gpsnav is off; kOutOfReach
  double altitude_m;            // token 0x49, at most 9999, refreshed by the display
  int32_t wind_update_ms;       // module clock at the last wind sample
  frame::History<kWindWindow> wind_history;
  frame::History<kNettoWindow> speed_to_fly_history;
};
extern GlideState glide;

// Headwind component (km/h, negative = tailwind), written by the wind filter.
extern double headwind_kmh;
// MacCready setting, m/s, 0 .. 4.0; 0 at power-on, stepped on page 21.
extern double mc_setting;
// Arrival margin above the turnpoint, m, 0 .. 9990; 100 at power-on, page 24.
extern double goal_height_margin;

// The vario chain (cleared at power-on), written by the vario cycle.
struct VarioChain {
  int32_t cycles_run; // 0 until the first cycle after power-on has run
  int32_t last_update_ms;
  double airspeed_kmh;      // v at the last cycle
  double prev_airspeed_kmh; // v at the cycle before
  double te_vario_mps;      // instantaneous total-energy vario
  double te_average_mps;    // over kTeWindow samples
  double polar_sink_mps;    // polar at the current airspeed
  double netto_mps;         // instantaneous
  double netto_average_mps; // over kNettoWindow samples
  frame::History<kTeWindow> te_history;
  frame::History<kNettoWindow> netto_history;
};
extern VarioChain chain;

// A 30-second average shown as digits ("%4.1f", " x.x" beyond +-9.9, four
// blanks while hidden). Cleared at power-on; written by its digit element.
struct ThirtySecondAverage {
  int32_t last_update_ms;
  frame::History<kThirtySecondWindow> history;
  char text[8];
};
extern ThirtySecondAverage netto_30s;
extern ThirtySecondAverage te_30s;

// Controls, written by the mouse handlers. Settings marked "kept" survive
// power cycles for the life of the module.
extern int32_t volume_knob;       // 0 .. 9, 0 = off
extern int32_t power_on;          // instrument on
extern int32_t sink_tone_enabled; // kept; page 29
extern int32_t alt_mode;          // kept; 1 "Alt.Diff.", 2 "Alt.Req." (page 28)

// Display: page and visibility flags, written by the page logic and buttons.
extern int32_t lnav_page;         // 0 off, 1 splash, 2, 18 .. 29
extern int32_t power_on_ms;       // module clock at power-on
extern int64_t start_of_flight_s; // simulator time of day at power-on, s
extern int32_t show_speed_command;
extern int32_t show_netto_average;
extern int32_t show_te_average;
extern int32_t show_distance;
extern int32_t show_value_line;
extern int32_t mark_alt_req;
extern int32_t mark_alt_diff;
extern int32_t show_glide_bar;
extern int32_t mark_scale_x2;
extern int32_t mark_scale_half;
extern char distance_text[8]; // "%5.1f" distance or "%05.1f" altimeter setting
extern char page_text[40];    // the text line

// Power-on: clears the vario chain, the averages and the glide state, and
// resets the MacCready setting and the arrival margin.
void clear_for_power_on();

} // namespace lnav
