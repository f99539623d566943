// Host token ids and key events that durnik's gauges use, with the meaning and
// unit their code gives them. Token values arrive as doubles through
// read_token_var, except the COM frequency (see kTokenComFrequencyBcd).
#pragma once

#include <cstdint>

namespace durnik {

// ---- tokens --------------------------------------------------------------

// Source word of every string element; its value is not used.
inline constexpr uint32_t kTokenStringSource = 0x01;
// An altitude in 1/256 m, taken by alt's zero button as its reference.
inline constexpr uint32_t kTokenReferenceAltitude_raw = 0x02;
// Active COM frequency: a 32-bit unsigned integer in the first four bytes of
// the value field, BCD in the low 16 bits, units of 10 kHz above 100 MHz
// (0x2310 is 123.10 MHz).
inline constexpr uint32_t kTokenComFrequencyBcd = 0x17;
// Non-zero while gr's up command is refused (the lever stays down).
inline constexpr uint32_t kTokenLeverUpInhibit = 0x3C;
// Indicated airspeed, knots.
inline constexpr uint32_t kTokenAirspeed_kt = 0x3D;
// Vertical speed, 1/256 m/s (1280 is 5 m/s).
inline constexpr uint32_t kTokenClimbRate_raw = 0x41;
// Slip (ball deflection), host units; sti scales it to pixels.
inline constexpr uint32_t kTokenSlip_raw = 0x45;
// Turn rate, host units, sti's needle shows -900 .. +900.
inline constexpr uint32_t kTokenTurnRate_raw = 0x46;
// Altitude in the host's display unit: feet, or metres under metric units.
inline constexpr uint32_t kTokenIndicatedAltitude = 0x4A;
// Altimeter pressure setting, the unit the rotating scale is drawn for.
inline constexpr uint32_t kTokenPressureSetting = 0x4B;
// Pitch, degrees; ai's horizon card moves 2 px per degree.
inline constexpr uint32_t kTokenPitch_deg = 0x4E;
// Bank, degrees; turns ai's card and bezel.
inline constexpr uint32_t kTokenBank_deg = 0x50;
// Heading, degrees.
inline constexpr uint32_t kTokenHeading_deg = 0x53;
// Level of ballast tank 1 and 2: kTankFull_raw is full.
inline constexpr uint32_t kTokenTank1Level_raw = 0x123;
inline constexpr uint32_t kTokenTank2Level_raw = 0x129;
// Capacity of ballast tank 1 and 2, US gallons.
inline constexpr uint32_t kTokenTank1Capacity_gal = 0x124;
inline constexpr uint32_t kTokenTank2Capacity_gal = 0x12A;
// Two-position lever: 0 up, 16383 down.
inline constexpr uint32_t kTokenLeverPosition_raw = 0x14B;
// Airbrake position: 0 closed .. 16383 fully open.
inline constexpr uint32_t kTokenAirbrake_raw = 0x145;
// Units setting, truncated to 0, 1 or 2 (2 = metric).
inline constexpr uint32_t kTokenUnits = 0x14F;

// ---- key events (sent with send_key_event) ----------------------------------

// Pressure setting up / down; the host sends these itself for alt's knob.
inline constexpr uint32_t kKeyPressureSettingUp = 0x1015B;
inline constexpr uint32_t kKeyPressureSettingDown = 0x1015C;
// COM whole megahertz down / up, fraction down / up (value 0).
inline constexpr uint32_t kKeyComMhzDown = 0x10064;
inline constexpr uint32_t kKeyComMhzUp = 0x10065;
inline constexpr uint32_t kKeyComFractionDown = 0x10066;
inline constexpr uint32_t kKeyComFractionUp = 0x10067;
// COM set: value = BCD frequency as in kTokenComFrequencyBcd.
inline constexpr uint32_t kKeyComSet = 0x100AB;
// Two-position lever set: 0 up, 16383 down.
inline constexpr uint32_t kKeyLeverSet = 0x100A4;
// Airbrake set: 0 .. 16384.
inline constexpr uint32_t kKeyAirbrakeSet = 0x100FA;
// Water is / is not being dumped (value 1), sent on every bsw update.
inline constexpr uint32_t kKeyBallastDumping = 0x10201;
inline constexpr uint32_t kKeyBallastNotDumping = 0x10202;

// ---- values ---------------------------------------------------------------

inline constexpr int32_t kUnitsMetric = 2;
inline constexpr double kTankFull_raw = 8388608.0; // 0x800000
inline constexpr int32_t kLeverUp_raw = 0;
inline constexpr int32_t kLeverDown_raw = 16383;

} // namespace durnik
