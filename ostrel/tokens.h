// Host ids that ostrel's gauges use: token variables they read and key events
// they send. Meanings are those the gauges' use shows; the host's own meaning
// of an event beyond that is the host's matter.
#pragma once

#include <cstdint>

namespace ostrel {

// ---- token variables (read as doubles) ------------------------------------

// Source token of every icon and string element; the host refreshes it, no
// callback reads it.
inline constexpr uint32_t kTokenElementSource = 0x01;
// Altitude reference at the launch start, 1/256 m (value / 256 = metres).
inline constexpr uint32_t kTokenStartAltitudeRaw = 0x02;
// Flag: non-zero allows the ballast presets and steps, the launch's ready
// state and its start.
inline constexpr uint32_t kTokenLevelSetAllowed = 0x3C;
// Airspeed, knots (x 1.852 = km/h).
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D;
// Vertical speed, 1/256 m/s.
inline constexpr uint32_t kTokenVerticalSpeedRaw = 0x41;
// Slip, used directly in the yaw string's needle units (-127 .. 127).
inline constexpr uint32_t kTokenSlip = 0x45;
// Altitude, metres.
inline constexpr uint32_t kTokenAltitudeM = 0x49;
// Throttle; the launch run is over once it and kTokenThrottleAux are both 0.
inline constexpr uint32_t kTokenThrottle = 0x80;
// Second power value, see kTokenThrottle.
inline constexpr uint32_t kTokenThrottleAux = 0x82;
// Engine speed, rpm.
inline constexpr uint32_t kTokenEngineRpm = 0x87;
// Levels of the two ballast tanks, 0x800000 = full.
inline constexpr uint32_t kTokenTank1Level = 0x123;
inline constexpr uint32_t kTokenTank2Level = 0x129;
// Airbrake lever position, 0 closed .. 16383 open.
inline constexpr uint32_t kTokenAirbrakePosition = 0x145;
// Units setting, truncated: 2 = metric, anything else shows feet.
inline constexpr uint32_t kTokenUnitSetting = 0x14F;
// Wind speed, knots.
inline constexpr uint32_t kTokenWindSpeedKnots = 0x157;
// Engine thrust, host units (shown as they are).
inline constexpr uint32_t kTokenThrust = 0x279;
// Elevator and elevator-trim angles, radians with 6.28 taken as a full turn.
inline constexpr uint32_t kTokenElevatorRad = 0x30E;
inline constexpr uint32_t kTokenElevatorTrimRad = 0x30F;
// Either non-zero cancels the launch's wind-down.
inline constexpr uint32_t kTokenWindDownCancelA = 0x310;
inline constexpr uint32_t kTokenWindDownCancelB = 0x312;

// Value of kTokenUnitSetting (truncated) that selects metric display.
inline constexpr int32_t kUnitSettingMetric = 2;

// ---- key events (value 0 unless the comment gives one) -----------------

// Launch climb command, sent on every update of a run and its wind-down.
// Value: +1 inside the 10 .. 15 m/s band, (rate - 15) x 256 x 15 above it,
// -(10 - rate) x 256 below it; the wind-down sends the vertical speed in
// 1/256 m/s x 15, decaying; the start sends 0 and -3 x the start altitude (m).
inline constexpr uint32_t kKeyClimbCommand = 0x1009E;
// Sent at the start when the simulator version code is 6 or 7.
inline constexpr uint32_t kKeyOlderSimulator = 0x100AA;
// The start burst, in the order sent: six launch set-up events ...
inline constexpr uint32_t kKeyStartSetup1 = 0x1009F;
inline constexpr uint32_t kKeyStartSetup2 = 0x102E4;
inline constexpr uint32_t kKeyStartSetup3 = 0x102E5;
inline constexpr uint32_t kKeyStartSetup4 = 0x100A0;
inline constexpr uint32_t kKeyStartSetup5 = 0x102E6;
inline constexpr uint32_t kKeyStartSetup6 = 0x102E7;
// ... then this pair, which the stop button sends as well.
inline constexpr uint32_t kKeyRunPairA = 0x102B0;
inline constexpr uint32_t kKeyRunPairB = 0x1003C;
// Power-off pair: at VETswitch's placement, at the run end and at stop.
inline constexpr uint32_t kKeyPowerOffA = 0x100F2;
inline constexpr uint32_t kKeyPowerOffB = 0x10044;
// Ending burst, every 300 ms while a run is ending; kKeyEndingPulse also at stop.
inline constexpr uint32_t kKeyEndingPulse = 0x103E3;
inline constexpr uint32_t kKeyEndingA = 0x100F1;
inline constexpr uint32_t kKeyEndingB = 0x10042;
// Toggled by a click on VETlamp while the launch is ready.
inline constexpr uint32_t kKeyLampToggle = 0x10173;
// Ballast valve signal, value 1, one of the two on every update of ballast.
inline constexpr uint32_t kKeyWaterDumping = 0x10201;
inline constexpr uint32_t kKeyWaterNotDumping = 0x10202;

} // namespace ostrel
