#include "velmar/companions/mc_vario.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/companions/mc_tokens.h"
#include "velmar/companions/units.h"

namespace velmar::mc {
namespace {

constexpr int32_t kUpdateGateMs = 100;
constexpr int kWindowSamples = 100;
// mc's own compensation, fixed: lnav's compensation setting does not reach it.
constexpr double kCompensation = 4.0;
constexpr double kTeGainPerCompensation = 250.0;

// Written by vario_needle_raw; lives as long as the module.
struct VarioState {
  int32_t last_update_ms;
  double previous_airspeed_kmh;
  double value_raw;                   // unclamped, kept between steps
  double history[kWindowSamples + 1]; // indexed from 1, slot 0 never read
};
constinit VarioState state = {
    .last_update_ms = 0, .previous_airspeed_kmh = 0.0, .value_raw = 0.0, .history = {}};

constinit TokenVar vertical_speed = {.id = kTokenVerticalSpeedRaw};
constinit TokenVar airspeed = {.id = kTokenAirspeedKnots};

// Truncates toward zero into 64 bits. The sum runs in 64 bits and saturates
// so that a wild sample (a start-up airspeed step over a long first interval,
// or a broken token) cannot overflow it; within range the result is the
// plain truncated sum.
int64_t truncate_to_int64(double value) {
  constexpr double kMax = 9.2e18; // below INT64_MAX, exactly representable region
  if (std::isnan(value)) {
    return 0;
  }
  return static_cast<int64_t>(std::clamp(value, -kMax, kMax));
}

// The module's history averager for n = 100, summed the way this needle
// always has: an integer running sum truncated after every addition, an
// integer mean, then trunc(10 * mean + 0.5) / 10 in integer division, which
// moves a negative mean one unit toward zero.
double integer_average(double sample) {
  state.history[1] = sample;
  for (int i = kWindowSamples; i >= 2; --i) {
    state.history[i] = state.history[i - 1];
  }
  int64_t sum = 0;
  for (int i = 1; i <= kWindowSamples - 1; ++i) {
    sum = truncate_to_int64(static_cast<double>(sum) + state.history[i]);
  }
  const int64_t mean = sum / kWindowSamples;
  const int64_t rounded = truncate_to_int64(10.0 * static_cast<double>(mean) + 0.5);
  return static_cast<double>(rounded / 10);
}

} // namespace

double vario_needle_raw() {
  const int32_t now_ms = frame::module_clock_ms();
  const int64_t dt_ms = frame::elapsed_ms(now_ms, state.last_update_ms);
  if (dt_ms > kUpdateGateMs) {
    const double raw = frame::read_token(vertical_speed);
    const double airspeed_kmh = companions::kmh_from_knots(frame::read_token(airspeed));
    const double compensated_raw =
        raw +
        (airspeed_kmh * airspeed_kmh - state.previous_airspeed_kmh * state.previous_airspeed_kmh) /
            dt_ms * kCompensation * kTeGainPerCompensation;
    state.value_raw = integer_average(compensated_raw);
    state.previous_airspeed_kmh = airspeed_kmh;
    state.last_update_ms = now_ms;
  }
  return std::clamp(state.value_raw, -kVarioLimitRaw, kVarioLimitRaw);
}

} // namespace velmar::mc
