// vsi's total-energy computation: compensation for airspeed changes, a
// trimmed mean over the last 47 samples and the range factor, at most once per
// 100 ms. The quirks below are the instrument's response and stay as they are.
#pragma once

#include <cstdint>

namespace durnik::vsi {

inline constexpr int kHistorySlots = 47;  // slots 1..47, newest in 1
inline constexpr int kSortSlots = 48;     // slots 1..48; slot 0 is the swap temporary
inline constexpr int kFirstMeanSlot = 17; // slots 17..31 are summed ...
inline constexpr int kLastMeanSlot = 31;
inline constexpr int kMeanDivisor = 16; // ... and divided by 16, not 15
inline constexpr double kMinIntervalMs = 100.0;
// Scale ends of both needles, 1/256 m/s (5 m/s).
inline constexpr double kNeedleLimit_raw = 1280.0;

// Filter state, written only by te_filter_step, which the main needle's
// callback calls at most once per 100 ms.
struct TeFilter {
  double te_value_raw;  // last result, 1/256 m/s, range factor applied, not clamped
  int32_t last_tick_ms; // module clock at the last computation
  double previous_speed_kmh;
  double history_raw[kHistorySlots + 1];
  // Slot 48 is never refilled: it keeps what the previous sort left there, so
  // it holds the largest of 0 and every sample sorted since load.
  double sorted_raw[kSortSlots + 1];
};

// One computation from a new climb rate (1/256 m/s) and airspeed (km/h) at
// module time now_ms, `dt_ms` after the last one. Returns the new te value.
double te_filter_step(TeFilter &filter, double climb_raw, double speed_kmh, double dt_ms,
                      int32_t now_ms, double range_factor);

} // namespace durnik::vsi
