// Differences of module-clock readings (frame/module_clock.h). The clock is a
// 32-bit count of milliseconds that wraps from INT32_MAX to INT32_MIN after
// 2^31 ms (24.86 days of module time). Every gate compares differences taken
// here, never a plain subtraction of two readings (signed overflow).
#pragma once

#include <cstdint>

namespace frame {

// Milliseconds from `then_ms` to the later reading `now_ms`, 0 .. 2^32 - 1.
// Subtracted in 32-bit unsigned arithmetic, which is defined to wrap, so the
// result is right across the clock's wrap for any two readings less than
// 2^32 ms (49.7 days) apart: a mark taken just before the wrap is a few
// milliseconds old just after it, and a mark set at load still ages
// correctly after the wrap. Returned in 64 bits so that callers compare it
// with signed limits without surprises.
constexpr int64_t elapsed_ms(int32_t now_ms, int32_t then_ms) {
  return static_cast<uint32_t>(static_cast<uint32_t>(now_ms) - static_cast<uint32_t>(then_ms));
}

static_assert(elapsed_ms(INT32_MIN + 10, INT32_MAX - 9) == 20);
static_assert(elapsed_ms(INT32_MIN, 0) == 2147483648);
static_assert(elapsed_ms(1005, 5) == 1000);

} // namespace frame
