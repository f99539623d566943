#include "flight/tokens.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "flight/state.h"

namespace flight {
namespace {

// Read by the CSV trace's header and the summary; one row per token.
constexpr std::array kTokens = {
    TokenInfo{.id = kTokenAltitudeRef256,    .name = "altitude reference", .unit = "1/256 m"                 },
    TokenInfo{.id = kTokenClockHours,        .name = "clock hours",        .unit = "h UTC"                   },
    TokenInfo{.id = kTokenClockMinutes,      .name = "clock minutes",      .unit = "min"                     },
    TokenInfo{.id = kTokenClockSeconds,      .name = "clock seconds",      .unit = "s"                       },
    TokenInfo{.id = kTokenComBcd,            .name = "COM frequency",      .unit = "BCD 10 kHz"              },
    TokenInfo{.id = kTokenOnGround,          .name = "on ground",          .unit = "flag"                    },
    TokenInfo{.id = kTokenAirspeedKt,        .name = "airspeed",           .unit = "kt"                      },
    TokenInfo{.id = kTokenVerticalSpeed256,  .name = "vertical speed",     .unit = "1/256 m/s"               },
    TokenInfo{.id = kTokenSlipBall,          .name = "slip ball",          .unit = "-127..127"               },
    TokenInfo{.id = kTokenTurnRate,          .name = "turn rate",          .unit = "512 = 3 deg/s"           },
    TokenInfo{.id = kTokenLatitude,          .name = "latitude",           .unit = "1852.175925953 / arc-min"},
    TokenInfo{.id = kTokenLongitude,         .name = "longitude",          .unit = "13031248921.78 / arc-min"},
    TokenInfo{.id = kTokenAltitudeM,         .name = "altitude",           .unit = "m"                       },
    TokenInfo{.id = kTokenIndicatedAltitude, .name = "altimeter",          .unit = "ft (m when metric)"      },
    TokenInfo{.id = kTokenAltimeterHpa,      .name = "altimeter setting",  .unit = "hPa"                     },
    TokenInfo{.id = kTokenPitchDeg,          .name = "pitch",              .unit = "deg"                     },
    TokenInfo{.id = kTokenBankDeg,           .name = "bank",               .unit = "deg"                     },
    TokenInfo{.id = kTokenHeadingDeg,        .name = "heading",            .unit = "deg"                     },
    TokenInfo{.id = kTokenThrottle1,         .name = "throttle 1",         .unit = "0..16383"                },
    TokenInfo{.id = kTokenThrottle2,         .name = "throttle 2",         .unit = "0..16383"                },
    TokenInfo{.id = kTokenRpm,               .name = "rpm",                .unit = "1/min"                   },
    TokenInfo{.id = kTokenTank1Level,        .name = "tank 1 level",       .unit = "0x800000 = full"         },
    TokenInfo{.id = kTokenTank1CapacityGal,  .name = "tank 1 capacity",    .unit = "US gal"                  },
    TokenInfo{.id = kTokenTank2Level,        .name = "tank 2 level",       .unit = "0x800000 = full"         },
    TokenInfo{.id = kTokenTank2CapacityGal,  .name = "tank 2 capacity",    .unit = "US gal"                  },
    TokenInfo{.id = kTokenAirbrake,          .name = "airbrake",           .unit = "0..16383"                },
    TokenInfo{.id = kTokenLever,             .name = "lever",              .unit = "0 up, 16383 down"        },
    TokenInfo{.id = kTokenUnits,             .name = "units",              .unit = "0, 1, 2 = metric"        },
    TokenInfo{.id = kTokenWindSpeedKt,       .name = "wind speed",         .unit = "kt"                      },
    TokenInfo{.id = kTokenWindFromDeg,       .name = "wind direction",     .unit = "deg from"                },
    TokenInfo{.id = kTokenThrustLbf,         .name = "thrust",             .unit = "lbf"                     },
    TokenInfo{.id = kTokenElevatorRad,       .name = "elevator",           .unit = "rad"                     },
    TokenInfo{.id = kTokenTrimRad,           .name = "trim",               .unit = "rad"                     },
    TokenInfo{.id = kTokenEngine1Fire,       .name = "engine 1 fire",      .unit = "flag"                    },
    TokenInfo{.id = kTokenEngine2Fire,       .name = "engine 2 fire",      .unit = "flag"                    },
};

// Read by key_name() and the summary's key-event counts.
constexpr std::array kKeys = {
    KeyInfo{.id = kKeyThrottleFull,       .name = "throttle full"         },
    KeyInfo{.id = kKeyThrottleStep3,      .name = "throttle decrease"     },
    KeyInfo{.id = kKeyThrottleCut,        .name = "throttle cut"          },
    KeyInfo{.id = kKeyComWholeDown,       .name = "COM MHz down"          },
    KeyInfo{.id = kKeyComWholeUp,         .name = "COM MHz up"            },
    KeyInfo{.id = kKeyComFractDown,       .name = "COM fraction down"     },
    KeyInfo{.id = kKeyComFractUp,         .name = "COM fraction up"       },
    KeyInfo{.id = kKeyLaunchClimbCommand, .name = "launch climb command"  },
    KeyInfo{.id = kKeyEngineStart,        .name = "engine start"          },
    KeyInfo{.id = kKeyEngineFuelOn,       .name = "engine fuel on"        },
    KeyInfo{.id = kKeyLeverSet,           .name = "lever set"             },
    KeyInfo{.id = kKeyEngineVersionHint,  .name = "engine variant"        },
    KeyInfo{.id = kKeyComSet,             .name = "COM set"               },
    KeyInfo{.id = kKeyThrottleStep2,      .name = "mixture lean"          },
    KeyInfo{.id = kKeyEngineStop,         .name = "engine stop"           },
    KeyInfo{.id = kKeyAirbrakeSet,        .name = "airbrake set"          },
    KeyInfo{.id = kKeyAltimeterUp,        .name = "altimeter setting up"  },
    KeyInfo{.id = kKeyAltimeterDown,      .name = "altimeter setting down"},
    KeyInfo{.id = kKeyLaunchLampToggle,   .name = "launch lamp"           },
    KeyInfo{.id = kKeyDumpOn,             .name = "water dumping"         },
    KeyInfo{.id = kKeyDumpOff,            .name = "water not dumping"     },
    KeyInfo{.id = kKeyPropeller,          .name = "propeller"             },
    KeyInfo{.id = kKeyMagnetoLeft,        .name = "magneto left"          },
    KeyInfo{.id = kKeyMagnetoRight,       .name = "magneto right"         },
    KeyInfo{.id = kKeyMagnetoBoth,        .name = "magneto both"          },
    KeyInfo{.id = kKeyMagnetoStart,       .name = "magneto start"         },
    KeyInfo{.id = kKeyThrottleStep1,      .name = "carburettor heat"      },
};

constexpr double kIsaSeaLevelHpa = 1013.25;
constexpr double kIsaHeightScaleM = 44330.8; // h = 44330.8 (1 - (p/p0)^0.190263)
constexpr double kIsaExponent = 0.190263;

} // namespace

std::span<const TokenInfo> token_catalogue() {
  return kTokens;
}
std::span<const KeyInfo> key_catalogue() {
  return kKeys;
}
std::string_view key_name(uint32_t id) {
  for (const KeyInfo &k : kKeys) {
    if (k.id == id) {
      return k.name;
    }
  }
  return {};
}

double pressure_altitude_m(double altitude_m, double qnh_hpa) {
  return indicated_altitude_m(altitude_m, qnh_hpa, kIsaSeaLevelHpa);
}

double indicated_altitude_m(double altitude_m, double qnh_hpa, double setting_hpa) {
  const double p = qnh_hpa * std::pow(1.0 - altitude_m / kIsaHeightScaleM, 1.0 / kIsaExponent);
  return kIsaHeightScaleM * (1.0 - std::pow(p / setting_hpa, kIsaExponent));
}

void publish_state(const AircraftState &s, TokenBus &bus, bool write_tanks) {
  const Controls &c = s.controls;
  const int64_t day_s = (s.utc_epoch_ms / 1000) % 86400;
  bus.set(kTokenClockHours, static_cast<double>(day_s / 3600));
  bus.set(kTokenClockMinutes, static_cast<double>(day_s / 60 % 60));
  bus.set(kTokenClockSeconds, static_cast<double>(day_s % 60));

  bus.set(kTokenLatitude, s.latitude_deg * 60.0 * kLatitudeUnitsPerMinute);
  double lon_min = s.longitude_deg * 60.0;
  if (lon_min < 0) {
    lon_min += 21600.0; // west longitudes count on past 180 degrees east
  }
  bus.set(kTokenLongitude, lon_min * kLongitudeUnitsPerMinute);
  bus.set(kTokenAltitudeM, s.altitude_m);
  bus.set(kTokenAltitudeRef256, s.altitude_m * kAltitudeRefUnitsPerM);
  const double indicated = indicated_altitude_m(s.altitude_m, s.qnh_hpa, c.altimeter_hpa);
  bus.set(kTokenIndicatedAltitude, c.units == 2 ? indicated : indicated * kFeetPerM);
  bus.set(kTokenAltimeterHpa, c.altimeter_hpa);
  bus.set(kTokenAirspeedKt, s.airspeed_mps * kKnotsPerMps);
  bus.set(kTokenVerticalSpeed256, s.vertical_speed_mps * kVerticalSpeedUnitsPerMps);
  bus.set(kTokenHeadingDeg, s.heading_deg);
  bus.set(kTokenPitchDeg, s.pitch_deg);
  bus.set(kTokenBankDeg, s.bank_deg);
  bus.set(kTokenTurnRate, s.turn_rate_degs * kTurnRateUnitsPerDegS);
  bus.set(kTokenSlipBall, std::clamp(s.slip, -1.0, 1.0) * kSlipBallMax);
  bus.set(kTokenWindSpeedKt, s.wind_speed_mps * kKnotsPerMps);
  bus.set(kTokenWindFromDeg, s.wind_from_deg);
  bus.set(kTokenOnGround, s.on_ground ? 1.0 : 0.0);
  bus.set(kTokenUnits, c.units);

  bus.set(kTokenComBcd, c.com_bcd);
  bus.set(kTokenAirbrake, std::round(c.airbrake * kControlFull));
  bus.set(kTokenLever, std::round(c.lever * kControlFull));
  bus.set(kTokenTank1CapacityGal, c.tank_capacity_gal[0]);
  bus.set(kTokenTank2CapacityGal, c.tank_capacity_gal[1]);
  if (write_tanks) {
    bus.set(kTokenTank1Level, std::round(c.tank_fraction[0] * kTankFullLevel));
    bus.set(kTokenTank2Level, std::round(c.tank_fraction[1] * kTankFullLevel));
  }
  const double throttle = std::round(c.throttle * kControlFull);
  bus.set(kTokenThrottle1, throttle);
  bus.set(kTokenThrottle2, throttle);
  bus.set(kTokenRpm, c.rpm);
  bus.set(kTokenThrustLbf, c.thrust_n * kLbfPerNewton);
  bus.set(kTokenElevatorRad, s.elevator_rad);
  bus.set(kTokenTrimRad, s.trim_rad);
  bus.set(kTokenEngine1Fire, 0);
  bus.set(kTokenEngine2Fire, 0);
}

} // namespace flight
