#include "durnik/vsi/te_filter.h"

#include "durnik/common.h"

namespace durnik::vsi {
namespace {

// Ascending over slots 1..48, slot 0 as the temporary; stops after the first
// pass without a swap (at most 47 passes).
void bubble_sort(double *slots) {
  for (int pass = 0; pass < kSortSlots - 1; ++pass) {
    bool swapped = false;
    for (int i = 1; i < kSortSlots; ++i) {
      if (slots[i] > slots[i + 1]) {
        slots[0] = slots[i];
        slots[i] = slots[i + 1];
        slots[i + 1] = slots[0];
        swapped = true;
      }
    }
    if (!swapped) {
      return;
    }
  }
}

} // namespace

double te_filter_step(TeFilter &filter, double climb_raw, double speed_kmh, double dt_ms,
                      int32_t now_ms, double range_factor) {
  // Total-energy compensation: the change of speed squared per millisecond.
  double te_raw =
      climb_raw + (speed_kmh * speed_kmh - filter.previous_speed_kmh * filter.previous_speed_kmh) /
                      dt_ms * 1024.0;

  for (int i = kHistorySlots; i >= 2; --i) {
    filter.history_raw[i] = filter.history_raw[i - 1];
  }
  filter.history_raw[1] = te_raw;
  for (int i = 1; i <= kHistorySlots; ++i) {
    filter.sorted_raw[i] = filter.history_raw[i];
  }
  bubble_sort(filter.sorted_raw);

  // Truncated at each addition; 15 slots over 16 is the instrument's response.
  int32_t sum = 0;
  for (int i = kFirstMeanSlot; i <= kLastMeanSlot; ++i) {
    sum = truncate_i32(static_cast<double>(sum) + filter.sorted_raw[i]);
  }
  te_raw = static_cast<double>(sum / kMeanDivisor);

  te_raw *= range_factor;
  filter.previous_speed_kmh = speed_kmh;
  filter.last_tick_ms = now_ms;

  // Rounds to a whole unit by way of tenths: truncate(x * 10 + 0.5) / 10 in
  // integers, so negative values round toward zero.
  te_raw = static_cast<double>(truncate_i32(te_raw * 10.0 + 0.5) / 10);
  filter.te_value_raw = te_raw;
  return te_raw;
}

} // namespace durnik::vsi
