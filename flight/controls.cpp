#include "flight/controls.h"

#include <algorithm>

#include "flight/tokens.h"

namespace flight {
namespace {

// BCD nibbles: tens and units of MHz above 100, tenths and hundredths.
int bcd_to_int(uint32_t bcd_byte) {
  return static_cast<int>((bcd_byte >> 4) & 0xF) * 10 + static_cast<int>(bcd_byte & 0xF);
}
uint32_t int_to_bcd(int value) {
  return static_cast<uint32_t>((value / 10) << 4 | (value % 10));
}

// Climb command scaling: the launch gauge sends (rate - 15) * 256 * 15 above
// the band and -(10 - rate) * 256 below it.
constexpr double kClimbTooFastUnits = 256.0 * 15.0;
constexpr double kClimbTooSlowUnits = 256.0;
constexpr double kClimbTrimStep = 0.01;
constexpr double kClimbTrimMin = 0.3;
constexpr double kClimbTrimMax = 1.3;

} // namespace

uint32_t com_whole_step(uint32_t bcd, int direction) {
  int mhz = 100 + bcd_to_int(bcd >> 8);
  mhz += direction;
  if (mhz > kComHighestMhz) {
    mhz = kComLowestMhz;
  } else if (mhz < kComLowestMhz) {
    mhz = kComHighestMhz;
  }
  return int_to_bcd(mhz - 100) << 8 | (bcd & 0xFF);
}

uint32_t com_fraction_step(uint32_t bcd, int direction) {
  // Wraps within the megahertz: .95 up is .00 of the same MHz.
  int fraction = bcd_to_int(bcd & 0xFF);
  fraction = (fraction / kComFractionStep) * kComFractionStep + direction * kComFractionStep;
  fraction = (fraction % 100 + 100) % 100;
  return (bcd & 0xFF00) | int_to_bcd(fraction);
}

void KeyEventEffects::begin_cycle(Controls &c) {
  c.dumping = dump_seen_;
  dump_seen_ = false;
}

bool KeyEventEffects::apply(Controls &c, uint32_t id, int32_t value) {
  switch (id) {
  case kKeyAirbrakeSet:
    c.airbrake = std::clamp(value / kControlFull, 0.0, 1.0);
    return true;
  case kKeyLeverSet:
    c.lever = std::clamp(value / kControlFull, 0.0, 1.0);
    return true;
  case kKeyComWholeUp:
    c.com_bcd = com_whole_step(c.com_bcd, +1);
    return true;
  case kKeyComWholeDown:
    c.com_bcd = com_whole_step(c.com_bcd, -1);
    return true;
  case kKeyComFractUp:
    c.com_bcd = com_fraction_step(c.com_bcd, +1);
    return true;
  case kKeyComFractDown:
    c.com_bcd = com_fraction_step(c.com_bcd, -1);
    return true;
  case kKeyComSet:
    c.com_bcd = static_cast<uint32_t>(value) & 0xFFFF;
    return true;
  case kKeyAltimeterUp:
    c.altimeter_hpa = std::min(c.altimeter_hpa + kAltimeterStepHpa, kAltimeterMaxHpa);
    return true;
  case kKeyAltimeterDown:
    c.altimeter_hpa = std::max(c.altimeter_hpa - kAltimeterStepHpa, kAltimeterMinHpa);
    return true;
  case kKeyDumpOn:
    dump_seen_ = true;
    return true;
  case kKeyDumpOff:
    return true;
  case kKeyEngineStart:
    c.engine_running = true;
    c.climb_trim = 1.0;
    return true;
  case kKeyThrottleFull:
    c.throttle = 1.0;
    return true;
  case kKeyThrottleStep3:
    c.throttle = std::max(0.0, c.throttle - kThrottleStep);
    return true;
  case kKeyEngineStop:
    c.engine_running = false;
    return true;
  case kKeyThrottleCut:
    c.throttle = 0.0;
    return true;
  case kKeyLaunchClimbCommand:
    if (c.engine_running) {
      if (value > 1) {
        c.climb_trim -= std::min(value / kClimbTooFastUnits, 2.0) * kClimbTrimStep;
      } else if (value < 0) {
        c.climb_trim += std::min(-value / kClimbTooSlowUnits, 5.0) * kClimbTrimStep * 0.4;
      }
      c.climb_trim = std::clamp(c.climb_trim, kClimbTrimMin, kClimbTrimMax);
    }
    return true;
  // The rest of the launch burst: switches without an effect on the model.
  case kKeyEngineFuelOn:
  case kKeyEngineVersionHint:
  case kKeyThrottleStep1:
  case kKeyThrottleStep2:
  case kKeyLaunchLampToggle:
  case kKeyMagnetoLeft:
  case kKeyMagnetoRight:
  case kKeyMagnetoBoth:
  case kKeyMagnetoStart:
  case kKeyPropeller:
    return true;
  default:
    ++undefined_[id];
    return false;
  }
}

} // namespace flight
