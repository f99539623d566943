#include <gtest/gtest.h>

#include "frame/history_averager.h"

namespace {

// Window n sums slots 1..n-1: the newest sample counted twice, then n-3
// older ones; slot n is only a carrier.
TEST(HistoryAverager, NewestCountsTwiceAndDivisorIsGiven) {
  frame::History<4> h{};
  EXPECT_DOUBLE_EQ(frame::history_average(h, 3.0, 3.0), 2.0); // 3 + 3 + 0
  EXPECT_DOUBLE_EQ(frame::history_average(h, 3.0, 6.0), 5.0); // 6 + 6 + 3
  EXPECT_DOUBLE_EQ(frame::history_average(h, 3.0, 9.0), 8.0); // 9 + 9 + 6
  EXPECT_DOUBLE_EQ(h.slots[4], 3.0);                          // carried, not summed
  EXPECT_DOUBLE_EQ(h.slots[0], 0.0);                          // never written
}

TEST(HistoryAverager, SettlesToSampleTimesWindowMinusOneOverDivisor) {
  frame::History<65> h{};
  double value = 0;
  for (int i = 0; i < 200; ++i) {
    value = frame::history_average(h, 65.0, 1.0);
  }
  EXPECT_DOUBLE_EQ(value, 64.0 / 65.0);
  frame::history_clear(h);
  EXPECT_DOUBLE_EQ(frame::history_average(h, 65.0, 0.0), 0.0);
}

} // namespace
