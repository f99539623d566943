#include "durnik/com/com_state.h"

namespace durnik::com {

constinit ComState state = {
    .volume = 0,
    .memory_selector = kSelectorBeyondSlots,
    .memory = {0x1930, 0x2210, 0x1835, 0x2070},
    .frequency_to_send = 0x1800,
    .coarse_knob = 0,
    .fine_knob = 0,
    .digits = {0,      0,      0,      0     },
    .frequency_mhz = 0.0,
};

void decode_frequency(ComState &s, uint32_t frequency_bcd) {
  // 64-bit: the upper 16 bits of the token are not masked off, and a value
  // above 0xFFFF must not overflow on its way to "---.--".
  const int64_t f = frequency_bcd;
  const int64_t a = f / 4096;
  const int64_t b = (f - a * 4096) / 256;
  const int64_t c = (f - a * 4096 - b * 256) / 16;
  const int64_t d = f - a * 4096 - b * 256 - c * 16;
  s.digits[kMhzTens] = static_cast<int32_t>(a);
  s.digits[kMhzUnits] = static_cast<int32_t>(b);
  s.digits[kTenths] = static_cast<int32_t>(c);
  s.digits[kHundredths] = static_cast<int32_t>(d);
  s.frequency_mhz = static_cast<double>(a * 1000 + b * 100 + c * 10 + d + 10000) * 0.01;
}

void step_coarse_knob(ComState &s, int32_t step) {
  s.coarse_knob += step;
  if (s.coarse_knob == kCoarsePositions) {
    s.coarse_knob = 0;
  } else if (s.coarse_knob == -1) {
    s.coarse_knob = kCoarsePositions - 1;
  }
}

void step_fine_knob(ComState &s, int32_t step) {
  s.fine_knob += step;
  if (s.fine_knob == kFinePositions) {
    s.fine_knob = 0;
    step_coarse_knob(s, +1);
  } else if (s.fine_knob == -1) {
    s.fine_knob = kFinePositions - 1;
    step_coarse_knob(s, -1);
  }
}

} // namespace durnik::com
