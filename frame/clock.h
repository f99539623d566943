// Differences of module-clock readings (frame/module_clock.h). The clock is a
// 32-bit count of milliseconds that wraps after 2^31 ms (24.86 days); a
// difference taken here is right across the wrap for any two readings less
// than 2^31 ms apart, and never overflows.
#pragma once

#include <cstdint>

namespace frame {

// Milliseconds from `then_ms` to `now_ms`, both module-clock readings.
// Subtracted in 32-bit unsigned arithmetic (defined to wrap) and read back as
// signed, so a reading taken just after the wrap minus one taken just before
// it is small and positive.
constexpr int32_t elapsed_ms(int32_t now_ms, int32_t then_ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(now_ms) - static_cast<uint32_t>(then_ms));
}

static_assert(elapsed_ms(INT32_MIN + 10, INT32_MAX - 9) == 20);
static_assert(elapsed_ms(5, 1005) == -1000);

} // namespace frame

namespace frame {

// Milliseconds since an earlier reading `then_ms`, never negative: 0 to
// 2^32 - 1, right across the wrap for readings less than 2^32 ms apart. For
// the gates that run a step when more than so many milliseconds have passed:
// a last-update time still at its 0 of load (a gauge placed or powered on
// after the clock has wrapped to negative readings) counts as long ago, not
// as a time to come.
constexpr uint32_t ms_since(int32_t now_ms, int32_t then_ms) {
  return static_cast<uint32_t>(now_ms) - static_cast<uint32_t>(then_ms);
}

static_assert(ms_since(INT32_MIN + 10, INT32_MAX - 9) == 20);
static_assert(ms_since(INT32_MIN + 1000, 0) == 2147484648u);

} // namespace frame
