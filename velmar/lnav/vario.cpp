#include "velmar/lnav/vario.h"

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/lnav/glide.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"
#include "velmar/lnav/units.h"
#include "velmar/lnav/vario_audio.h"

namespace lnav {
namespace {

constinit TokenVar vertical_speed = {.id = kTokenVerticalSpeedRaw};
constinit TokenVar airspeed = {.id = kTokenAirspeedKnots};

// Gain of the total-energy term: 1000 (km/h)^2 per ms is close to the
// 1/256 m/s that d(v^2/2g)/dt gives (1006.7 with v in km/h, dt in ms).
constexpr double kTeFactor = 1000.0;
// Digits show at most this much; beyond it the text is " x.x".
constexpr double kDigitsLimit = 9.9;

void run_30s_average(ThirtySecondAverage &average, int32_t shown, double input_mps) {
  const int32_t now = frame::module_clock_ms();
  if (power_on == 0 || shown == 0) {
    average.last_update_ms = now;
    frame::format_into(average.text, sizeof average.text, "    ");
    return;
  }
  if (frame::elapsed_ms(now, average.last_update_ms) <= kFilterGateMs) {
    return;
  }
  const double mean_mps = frame::history_average(average.history, kThirtySecondWindow, input_mps);
  const double shown_value = vertical_speed_for_display(mean_mps);
  if (shown_value > kDigitsLimit || shown_value < -kDigitsLimit) {
    frame::format_into(average.text, sizeof average.text, " x.x");
  } else {
    frame::format_into(average.text, sizeof average.text, "%4.1f", shown_value);
  }
  average.last_update_ms = now;
}

} // namespace

void run_vario_cycle() {
  const int32_t now = frame::module_clock_ms();
  const int64_t dt_ms = frame::elapsed_ms(now, chain.last_update_ms);
  if (dt_ms <= kFilterGateMs) {
    return;
  }
  // The first cycle after power-on has no earlier one to measure from: it
  // takes the previous airspeed as the current one, so that switching on in
  // flight shows no climb from 0.
  const bool first_cycle = chain.cycles_run == 0;
  update_ballast();
  const double raw = frame::read_token(vertical_speed);
  const double v = knots_to_kmh(frame::read_token(airspeed));
  const double v_prev = first_cycle ? v : chain.prev_airspeed_kmh;
  chain.airspeed_kmh = v;

  // Energy height gained by speeding up counts as climb (raw units).
  const double te_term_raw = first_cycle ? 0.0 : kTeFactor * (v * v - v_prev * v_prev) / dt_ms;
  chain.te_vario_mps = (raw + te_term_raw) / kRawPerMps;
  chain.polar_sink_mps = polar_sink_mps(polar, glide.wing_loading_k, v);
  chain.netto_mps = chain.te_vario_mps - chain.polar_sink_mps;

  chain.te_average_mps = frame::history_average(chain.te_history, kTeWindow, chain.te_vario_mps);
  update_audio(chain.te_average_mps * kRawPerMps);
  chain.netto_average_mps =
      frame::history_average(chain.netto_history, kNettoWindow, chain.netto_mps);
  update_speed_to_fly(chain.te_average_mps, chain.polar_sink_mps);

  chain.prev_airspeed_kmh = v;
  chain.last_update_ms = now;
  chain.cycles_run = 1;
}

void run_netto_30s_average() {
  run_30s_average(netto_30s, show_netto_average, chain.netto_average_mps);
}

void run_te_30s_average() {
  run_30s_average(te_30s, show_te_average, chain.te_average_mps);
}

} // namespace lnav
