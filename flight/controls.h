// The effect of the panel's key events on the aircraft's controls and
// systems, as a pilot expects them: shared by every flight source.
#pragma once

#include <cstdint>
#include <map>

#include "flight/state.h"

namespace flight {

// Steps of the controls.
inline constexpr double kAltimeterStepHpa = 1.0;
inline constexpr double kAltimeterMinHpa = 940.0;
inline constexpr double kAltimeterMaxHpa = 1060.0;
inline constexpr int kComLowestMhz = 118;
inline constexpr int kComHighestMhz = 136;
inline constexpr int kComFractionStep = 5; // 10 kHz units: .00, .05, ... .95
inline constexpr double kThrottleStep = 0.125;

class KeyEventEffects {
public:
  // Applies one key event. Returns false (and counts it) when the event
  // has no defined effect.
  bool apply(Controls &controls, uint32_t id, int32_t value);
  // Start of a cycle: the dump signal of the last cycle takes effect (both
  // ballast gauges repeat theirs every cycle; dumping if either said so).
  void begin_cycle(Controls &controls);
  const std::map<uint32_t, long> &undefined() const { return undefined_; }

private:
  bool dump_seen_ = false;
  std::map<uint32_t, long> undefined_;
};

// COM frequency steps on the BCD value (leading 1 of 1xx MHz implied).
uint32_t com_whole_step(uint32_t bcd, int direction);
uint32_t com_fraction_step(uint32_t bcd, int direction);

} // namespace flight
