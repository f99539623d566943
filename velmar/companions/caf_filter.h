// The caf needle filter: total-energy vertical speed averaged over a window
// chosen by lnav's response setting, scaled by its scale setting and
// compensated with its compensation setting. Independent of lnav's power knob.
#pragma once

#include <cstdint>

namespace velmar::caf {

// Needle stops in raw vario units (1/256 m/s): +-5 m/s at scale x 1.
inline constexpr double kNeedleLimitRaw = 1280.0;
// Longest window (slow response); the history holds this many slots.
inline constexpr int32_t kMaxWindowSamples = 96;

// Samples averaged for a vario_response setting: 24 fast, 48 standard, 96
// slow. Any other setting counts as standard, so the window never leaves the
// history buffer.
int32_t window_samples(int32_t vario_response);

// Runs one filter step when more than 100 ms have passed since the last one
// (reading tokens 0x41 and 0x3D) and returns the filtered value in raw units
// clamped to +-kNeedleLimitRaw; between steps it returns the kept value.
double needle_value_raw();

} // namespace velmar::caf
