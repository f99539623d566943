// Moving average used by several gauges. The buffer is indexed from 1 (slot 0
// is never read) and holds `window` slots: the new sample goes into slot 1,
// slots shift up from `window` down to 2 (so slot 2 also receives the new
// sample), slots 1..window-1 are summed -- window-1 values with the newest
// counted twice -- and the sum is divided by `divisor`.
#pragma once

namespace frame {

template <int Window> struct History { double slots[Window + 1]; };

template <int Window>
double history_average(History<Window> &history, double divisor, double sample) {
  static_assert(Window >= 2);
  double *slot = history.slots;
  slot[1] = sample;
  for (int i = Window; i >= 2; --i) {
    slot[i] = slot[i - 1];
  }
  double sum = 0.0;
  for (int i = 1; i <= Window - 1; ++i) {
    sum += slot[i];
  }
  return sum / divisor;
}

template <int Window> void history_clear(History<Window> &history) {
  for (double &s : history.slots) {
    s = 0.0;
  }
}

} // namespace frame
