// State of the com gauge and its frequency decoding. Panel thread only.
#pragma once

#include <cstdint>

namespace durnik::com {

inline constexpr int32_t kVolumeMax = 9;
inline constexpr int32_t kMemorySlots = 4;
inline constexpr int32_t kSelectorBeyondSlots = 4; // the position after the last slot
inline constexpr int32_t kCoarsePositions = 19;    // picture positions 0..18
inline constexpr int32_t kFinePositions = 20;      // picture positions 0..19
inline constexpr double kDisplayLimit_mhz = 999.0; // "---.--" from here on

// Digit indices of ComState::digits, most significant first.
enum : int { kMhzTens = 0, kMhzUnits = 1, kTenths = 2, kHundredths = 3 };

// Written by the handlers (knobs, memories) and by every decode; lives as long
// as the module and is shared by every com placement.
struct ComState {
  int32_t volume;          // 0..9, drives only its picture
  int32_t memory_selector; // 0..3 slots, 4 beyond the last
  uint32_t memory[kMemorySlots];
  uint32_t frequency_to_send; // BCD value of the last set event
  int32_t coarse_knob;        // picture position 0..18
  int32_t fine_knob;          // picture position 0..19
  int32_t digits[4];          // last decoded BCD digits (nibbles above 9 kept)
  double frequency_mhz;       // last decoded frequency
};
static_assert(sizeof(ComState{}.digits) / sizeof(int32_t) == kHundredths + 1);

// The stored frequencies are 119.30, 122.10, 118.35 and 120.70 MHz.
extern ComState state;

// Frequency = (digits as a decimal number + 10000) x 10 kHz; nibbles above 9
// are not rejected, they add their value.
void decode_frequency(ComState &s, uint32_t frequency_bcd);
// One step of a knob picture, wrapping; a fine-knob wrap moves the coarse knob.
void step_coarse_knob(ComState &s, int32_t step);
void step_fine_knob(ComState &s, int32_t step);

} // namespace durnik::com
