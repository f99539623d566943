// Host token ids, key events and resource ids of the lnav variometer.
#pragma once

#include <cstdint>

namespace lnav {

// Token variables read through read_token_var. Every value arrives as a double.
inline constexpr uint32_t kTokenStringSource =
    0x01; // first source of most strings; the host refreshes it, no callback reads it
inline constexpr uint32_t kTokenClockHours = 0x03;    // simulator time of day, hours (truncated)
inline constexpr uint32_t kTokenClockMinutes = 0x04;  // simulator time of day, minutes (truncated)
inline constexpr uint32_t kTokenClockSeconds = 0x05;  // simulator time of day, seconds (truncated)
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D; // indicated airspeed, knots (x 1.852 = km/h)
inline constexpr uint32_t kTokenVerticalSpeedRaw = 0x41; // vertical speed, 1/256 m/s
inline constexpr uint32_t kTokenAltitudeM = 0x49;        // altitude, metres
inline constexpr uint32_t kTokenAltimeterHpa = 0x4B;     // altimeter pressure setting, hectopascals
inline constexpr uint32_t kTokenTank1Level = 0x123;      // ballast tank 1 level, 8388608 = full
inline constexpr uint32_t kTokenTank1CapacityGal = 0x124; // ballast tank 1 capacity, US gallons
inline constexpr uint32_t kTokenTank2Level = 0x129;       // ballast tank 2 level, 8388608 = full
inline constexpr uint32_t kTokenTank2CapacityGal = 0x12A; // ballast tank 2 capacity, US gallons
inline constexpr uint32_t kTokenUnits = 0x14F; // units setting: 0 nautical/feet, 1 feet, 2 metric

// Key events sent by the increase and decrease buttons on page 19, value 1.
inline constexpr uint32_t kKeyAltimeterSettingUp = 0x1015B; // host altimeter setting one step up
inline constexpr uint32_t kKeyAltimeterSettingDown =
    0x1015C; // host altimeter setting one step down
inline constexpr int32_t kKeyAltimeterStep = 1;

// Bitmap resources; an icon's images are consecutive ids from the first.
inline constexpr int32_t kBitmapFace = 0x1600;          // 315 x 315
inline constexpr int32_t kBitmapKnob = 0x1700;          // 28 x 30, pivot 14, 15
inline constexpr int32_t kBitmapSpeedArrow = 0x1800;    // 10 images 32 x 102
inline constexpr int32_t kBitmapGlideBar = 0x1900;      // 30 x 7
inline constexpr int32_t kBitmapNettoLabel = 0x1A00;    // 2 images 17 x 10
inline constexpr int32_t kBitmapTeLabel = 0x1B00;       // 2 images 18 x 13
inline constexpr int32_t kBitmapDistanceLabel = 0x1C00; // 2 images 18 x 11
inline constexpr int32_t kBitmapValueLabel = 0x1D00;    // 2 images 15 x 12
inline constexpr int32_t kBitmapAltMode = 0x1E00;       // 3 images 18 x 11
inline constexpr int32_t kBitmapGlideFrame = 0x1F00;    // 2 images 32 x 6
inline constexpr int32_t kBitmapScaleX2 = 0x2000;       // 2 images 14 x 14
inline constexpr int32_t kBitmapScaleHalf = 0x2100;     // 2 images 14 x 14

// SOUND resources of the audio variometer, looped.
inline constexpr int32_t kSoundClimbTone = 0x2C00; // about 1650 Hz beep
inline constexpr int32_t kSoundSinkTone = 0x2D00;  // about 400 Hz near-square beep

} // namespace lnav
