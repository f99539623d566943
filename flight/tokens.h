// The host-side catalogue of token variables and key events: every id the
// host, the flight sources and the outputs use, with its unit. Flight
// sources keep their state in SI units (AircraftState) and convert to token
// units in one place, publish_state() in tokens.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace flight {

// ---- Token variables (host -> gauges) --------------------------------------
inline constexpr uint32_t kTokenAltitudeRef256 = 0x02;    // altitude, 1/256 m
inline constexpr uint32_t kTokenClockHours = 0x03;        // simulator clock, UTC hours
inline constexpr uint32_t kTokenClockMinutes = 0x04;      // minutes
inline constexpr uint32_t kTokenClockSeconds = 0x05;      // seconds
inline constexpr uint32_t kTokenComBcd = 0x17;            // COM, BCD 10 kHz, leading 1 implied
inline constexpr uint32_t kTokenOnGround = 0x3C;          // 1 on the ground, 0 airborne
inline constexpr uint32_t kTokenAirspeedKt = 0x3D;        // airspeed, knots
inline constexpr uint32_t kTokenVerticalSpeed256 = 0x41;  // vertical speed, 1/256 m/s
inline constexpr uint32_t kTokenSlipBall = 0x45;          // slip ball, -127..127
inline constexpr uint32_t kTokenTurnRate = 0x46;          // turn rate, 512 = 3 deg/s
inline constexpr uint32_t kTokenLatitude = 0x47;          // 1852.175925953 per arc-minute
inline constexpr uint32_t kTokenLongitude = 0x48;         // 13031248921.78 per arc-minute east
inline constexpr uint32_t kTokenAltitudeM = 0x49;         // altitude MSL, m
inline constexpr uint32_t kTokenIndicatedAltitude = 0x4A; // altimeter, ft (m when units 2)
inline constexpr uint32_t kTokenAltimeterHpa = 0x4B;      // altimeter setting, hPa
inline constexpr uint32_t kTokenPitchDeg = 0x4E;          // pitch, deg, nose up positive
inline constexpr uint32_t kTokenBankDeg = 0x50;           // bank, deg, right wing down positive
inline constexpr uint32_t kTokenHeadingDeg = 0x53;        // heading, deg true
inline constexpr uint32_t kTokenThrottle1 = 0x80;         // engine 1 throttle, 0..16383
inline constexpr uint32_t kTokenThrottle2 = 0x82;         // engine 2 throttle, 0..16383
inline constexpr uint32_t kTokenRpm = 0x87;               // engine rpm
inline constexpr uint32_t kTokenTank1Level = 0x123;       // 0x800000 = full
inline constexpr uint32_t kTokenTank1CapacityGal = 0x124; // US gallons
inline constexpr uint32_t kTokenTank2Level = 0x129;       // 0x800000 = full
inline constexpr uint32_t kTokenTank2CapacityGal = 0x12A; // US gallons
inline constexpr uint32_t kTokenAirbrake = 0x145;         // 0 closed .. 16383 open
inline constexpr uint32_t kTokenLever = 0x14B;            // 0 up, 16383 down
inline constexpr uint32_t kTokenUnits = 0x14F;            // 0, 1, 2 (2 = metric)
inline constexpr uint32_t kTokenWindSpeedKt = 0x157;      // wind speed, knots
inline constexpr uint32_t kTokenWindFromDeg = 0x158;      // wind direction (from), deg
inline constexpr uint32_t kTokenThrustLbf = 0x279;        // engine thrust, lbf
inline constexpr uint32_t kTokenElevatorRad = 0x30E;      // elevator deflection, rad
inline constexpr uint32_t kTokenTrimRad = 0x30F;          // elevator trim, rad
inline constexpr uint32_t kTokenEngine1Fire = 0x310;      // engine 1 fire, never set
inline constexpr uint32_t kTokenEngine2Fire = 0x312;      // engine 2 fire, never set

// ---- Key events (gauges -> host) --------------------------------------------
inline constexpr uint32_t kKeyComWholeDown = 0x10064;
inline constexpr uint32_t kKeyComWholeUp = 0x10065;
inline constexpr uint32_t kKeyComFractDown = 0x10066;
inline constexpr uint32_t kKeyComFractUp = 0x10067;
inline constexpr uint32_t kKeyComSet = 0x100AB;      // value: BCD frequency
inline constexpr uint32_t kKeyLeverSet = 0x100A4;    // value: 0 up, 16383 down
inline constexpr uint32_t kKeyAirbrakeSet = 0x100FA; // value: 0..16384
inline constexpr uint32_t kKeyAltimeterUp = 0x1015B;
inline constexpr uint32_t kKeyAltimeterDown = 0x1015C;
inline constexpr uint32_t kKeyDumpOn = 0x10201;  // sent every cycle while dumping
inline constexpr uint32_t kKeyDumpOff = 0x10202; // sent every cycle while not
// The VET launch: the model reads these as the launch engine's commands.
inline constexpr uint32_t kKeyLaunchClimbCommand = 0x1009E; // <0 more climb, 1 hold, >1 less
inline constexpr uint32_t kKeyEngineStart = 0x1009F;
inline constexpr uint32_t kKeyEngineFuelOn = 0x100A0;
inline constexpr uint32_t kKeyEngineVersionHint = 0x100AA;
inline constexpr uint32_t kKeyThrottleFull = 0x1003C;
inline constexpr uint32_t kKeyThrottleStep1 = 0x103E3;
inline constexpr uint32_t kKeyThrottleStep2 = 0x100F1;
inline constexpr uint32_t kKeyThrottleStep3 = 0x10042;
inline constexpr uint32_t kKeyEngineStop = 0x100F2;
inline constexpr uint32_t kKeyThrottleCut = 0x10044;
inline constexpr uint32_t kKeyLaunchLampToggle = 0x10173;
inline constexpr uint32_t kKeyMagnetoLeft = 0x102E4;
inline constexpr uint32_t kKeyMagnetoRight = 0x102E5;
inline constexpr uint32_t kKeyMagnetoBoth = 0x102E6;
inline constexpr uint32_t kKeyMagnetoStart = 0x102E7;
inline constexpr uint32_t kKeyPropeller = 0x102B0;

// ---- Scales ------------------------------------------------------------------
inline constexpr double kLatitudeUnitsPerMinute = 1852.175925953;
inline constexpr double kLongitudeUnitsPerMinute = 13031248921.78;
inline constexpr double kVerticalSpeedUnitsPerMps = 256.0;
inline constexpr double kAltitudeRefUnitsPerM = 256.0;
inline constexpr double kTankFullLevel = 8388608.0;
inline constexpr double kControlFull = 16383.0;
inline constexpr double kTurnRateUnitsPerDegS = 512.0 / 3.0;
inline constexpr double kSlipBallMax = 127.0;
inline constexpr double kKnotsPerMps = 3600.0 / 1852.0;
inline constexpr double kFeetPerM = 1.0 / 0.3048;
inline constexpr double kLitresPerGallon = 3.785;
inline constexpr double kLbfPerNewton = 0.224809;

// One row of the catalogue: who reads it and in which unit.
struct TokenInfo {
  uint32_t id;
  std::string_view name;
  std::string_view unit;
};
// Every token a flight source writes, in id order.
std::span<const TokenInfo> token_catalogue();

// Every key event the flight sources give an effect, in id order.
struct KeyInfo {
  uint32_t id;
  std::string_view name;
};
std::span<const KeyInfo> key_catalogue();
// Name of a key event, or "" if it is not in the catalogue.
std::string_view key_name(uint32_t id);

} // namespace flight
