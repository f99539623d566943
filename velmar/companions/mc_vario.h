// mc's own total-energy vario needle. Its integer arithmetic (running sum
// truncated after each addition, integer division, the rounding step) is the
// instrument's response and is kept as it is.
#pragma once

namespace velmar::mc {

// Needle stops in raw vario units (1/256 m/s): +-10 m/s.
inline constexpr double kVarioLimitRaw = 2560.0;

// Runs one step when more than 100 ms have passed since the last one (tokens
// 0x41 and 0x3D) and returns the value in raw units clamped to
// +-kVarioLimitRaw; between steps it returns the kept value.
double vario_needle_raw();

} // namespace velmar::mc
