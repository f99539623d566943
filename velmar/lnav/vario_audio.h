// The audio variometer: a looping climb tone or sink tone whose playback rate
// follows the averaged TE vario, at the volume knob's attenuation.
#pragma once

#include <cstdint>

#include "frame/gauge.h"

namespace lnav {

// Playback rate (Hz) for an averaged TE vario of x raw units (1/256 m/s):
// 22000 + 5 x truncated toward zero, within 100 .. 40000.
int32_t tone_rate_hz(double te_raw);

// Attenuation (hundredths of a dB) for the volume knob: 0 at 9, -3200 at 1.
int32_t tone_attenuation(int32_t knob);

// Called by the vario cycle with the averaged TE vario in raw units. Off:
// stops whatever plays and returns 0. On: climb tone above 0, silence down
// to -0.5 m/s (x > -128), the sink tone below when enabled; rate and volume
// on every call; returns 1.
int32_t update_audio(double te_raw);

// lnav's gauge callback: service 3 loads both tones, 12 releases them.
int32_t lnav_gauge_callback(GaugeHeader *gauge, int32_t service_id, uint32_t host_value);

} // namespace lnav
