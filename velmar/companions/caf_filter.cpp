#include "velmar/companions/caf_filter.h"

#include <algorithm>

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/companions/caf_tokens.h"
#include "velmar/companions/units.h"
#include "velmar/shared_state.h"

namespace velmar::caf {
namespace {

// A filter step runs only when more than this has passed since the last one.
constexpr int32_t kUpdateGateMs = 100;
// TE gain per unit of compensation_setting: the default 4.0 gives 1000, the
// gain of lnav's own chain.
constexpr double kTeGainPerCompensation = 250.0;

// Read by window_samples: lnav's response setting to the averaging window.
struct ResponseRow {
  int32_t vario_response;
  int32_t window_samples;
};
constexpr ResponseRow kResponses[] = {
    {.vario_response = 1, .window_samples = 24}, // "Fast Vario"
    {.vario_response = 2, .window_samples = 48}, // "Std. Vario"
    {.vario_response = 3, .window_samples = 96}, // "Slow Vario"
};
constexpr int32_t kStandardWindowSamples = 48;

// Read by scale_factor: lnav's scale setting to the factor on the raw vertical
// speed. A coarser scale ("x.5") doubles the needle's deflection.
struct ScaleRow {
  int32_t vario_scale;
  double factor;
};
constexpr ScaleRow kScales[] = {
    {.vario_scale = 1, .factor = 2.0}, // "Scale: x.5"
    {.vario_scale = 2, .factor = 1.0}, // "Scale: x 1"
    {.vario_scale = 3, .factor = 0.5}, // "Scale: x 2"
};

// Filter state, written only by needle_value_raw; lives as long as the module.
struct FilterState {
  int32_t last_update_ms;
  double previous_airspeed_kmh;
  double value_raw; // filtered, unclamped, kept between steps
  // Indexed from 1; slot 0 is never read. The window decides how many of the
  // slots shift and count, so a shorter window takes effect at once on the
  // existing history.
  double history[kMaxWindowSamples + 1];
};
constinit FilterState state = {
    .last_update_ms = 0, .previous_airspeed_kmh = 0.0, .value_raw = 0.0, .history = {}};

constinit TokenVar vertical_speed = {.id = kTokenVerticalSpeedRaw};
constinit TokenVar airspeed = {.id = kTokenAirspeedKnots};

double scale_factor(int32_t vario_scale) {
  for (const ScaleRow &row : kScales) {
    if (row.vario_scale == vario_scale) {
      return row.factor;
    }
  }
  return 1.0;
}

// The module's history averager with a window chosen at run time (<= the
// buffer): newest sample into slots 1 and 2, window-1 slots summed, divided
// by the window.
double average(double (&history)[kMaxWindowSamples + 1], int32_t window, double sample) {
  history[1] = sample;
  for (int32_t i = window; i >= 2; --i) {
    history[i] = history[i - 1];
  }
  double sum = 0.0;
  for (int32_t i = 1; i <= window - 1; ++i) {
    sum += history[i];
  }
  return sum / window;
}

} // namespace

int32_t window_samples(int32_t vario_response) {
  for (const ResponseRow &row : kResponses) {
    if (row.vario_response == vario_response) {
      return row.window_samples;
    }
  }
  return kStandardWindowSamples;
}

double needle_value_raw() {
  const int32_t now_ms = frame::module_clock_ms();
  const int64_t dt_ms = frame::elapsed_ms(now_ms, state.last_update_ms);
  if (dt_ms > kUpdateGateMs) {
    const double raw = frame::read_token(vertical_speed) * scale_factor(vario_scale);
    const double airspeed_kmh = companions::kmh_from_knots(frame::read_token(airspeed));
    // The compensation is not scaled with the raw vertical speed.
    const double te_term_raw =
        kTeGainPerCompensation * compensation_setting *
        (airspeed_kmh * airspeed_kmh - state.previous_airspeed_kmh * state.previous_airspeed_kmh) /
        dt_ms;
    state.value_raw = average(state.history, window_samples(vario_response), raw + te_term_raw);
    state.previous_airspeed_kmh = airspeed_kmh;
    state.last_update_ms = now_ms;
  }
  return std::clamp(state.value_raw, -kNeedleLimitRaw, kNeedleLimitRaw);
}

} // namespace velmar::caf
