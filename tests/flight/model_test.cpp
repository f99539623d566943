// The sailplane model's physics and the key events' effects.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flight/controls.h"
#include "flight/geo.h"
#include "flight/model/model_source.h"
#include "flight/model/sailplane.h"
#include "flight/model/thermal.h"
#include "flight/tokens.h"

namespace flight {
namespace {

// ASG-29E polar (examples/sailplane/LNAV_polar.dat).
const Polar kPolar{.a = -0.0001312, .b = 0.0223319, .c = -1.4463984, .reference_mass_kg = 400};
constexpr double kDt = 0.055;

Sailplane airborne(double speed_kmh, SailplaneOptions options = {}) {
  Sailplane glider(kPolar, options);
  glider.state.altitude_m = 2000;
  glider.state.airspeed_mps = speed_kmh / 3.6;
  for (double &cap : glider.state.controls.tank_capacity_gal) {
    cap = 0;
  }
  return glider;
}

double mean_vertical_speed(Sailplane &glider, const PilotInput &in, const AirMotion &air,
                           double settle_s, double measure_s) {
  for (double t = 0; t < settle_s; t += kDt) {
    glider.step(kDt, in, air);
  }
  const double h0 = glider.state.altitude_m;
  double t = 0;
  for (; t < measure_s; t += kDt) {
    glider.step(kDt, in, air);
  }
  return (glider.state.altitude_m - h0) / t;
}

TEST(SailplaneModel, StillAirSinkFollowsThePolar) {
  struct Row {
    double speed_kmh;
    double water_l;
  };
  const Row rows[] = {
      {80,  0  },
      {100, 0  },
      {140, 0  },
      {180, 0  },
      {100, 200},
      {160, 200}
  };
  for (const Row &row : rows) {
    Sailplane glider = airborne(row.speed_kmh);
    glider.state.controls.tank_capacity_gal[0] = row.water_l / kLitresPerGallon;
    glider.state.controls.tank_fraction[0] = 1.0;
    const double mass = kPolar.reference_mass_kg + row.water_l;
    const double expected = kPolar.sink_mps(row.speed_kmh, mass);
    const double measured =
        mean_vertical_speed(glider, {.target_speed_mps = row.speed_kmh / 3.6}, {}, 20, 60);
    EXPECT_NEAR(measured, expected, 0.02) << row.speed_kmh << " km/h, " << row.water_l << " l";
  }
}

TEST(SailplaneModel, AirbrakesAndTurnsSinkMore) {
  const double straight = mean_vertical_speed(*std::make_unique<Sailplane>(airborne(100)),
                                              {.target_speed_mps = 100 / 3.6}, {}, 20, 30);
  Sailplane braked = airborne(100);
  braked.state.controls.airbrake = 1.0;
  Sailplane turning = airborne(100);
  EXPECT_LT(mean_vertical_speed(braked, {.target_speed_mps = 100 / 3.6}, {}, 20, 30),
            straight - 1.5);
  EXPECT_LT(mean_vertical_speed(turning, {.target_speed_mps = 100 / 3.6, .target_bank_deg = 45}, {},
                                20, 30),
            straight - 0.2);
}

TEST(SailplaneModel, ThermalClimbIsUpdraftLessCirclingSink) {
  // Circling around the core at the model's circling bank and speed.
  const double top_m = 2000, strength = 4.0, base_agl = 800;
  Sailplane glider = airborne(100);
  glider.state.altitude_m = base_agl;
  const double n = 1.0 / std::cos(kCirclingBankDeg * kDegToRad);
  const double v_kmh = kCirclingSpeedFactor * kPolar.min_sink_speed_kmh(400, n);
  const double v = v_kmh / 3.6;
  const double radius = v * v / (kGravityMps2 * std::tan(kCirclingBankDeg * kDegToRad));
  const PilotInput in{.target_speed_mps = v, .target_bank_deg = kCirclingBankDeg};
  for (double t = 0; t < 20; t += kDt) {
    glider.step(kDt, in, {});
  }
  const double h0 = glider.state.altitude_m;
  double expected = 0, t = 0;
  for (; t < 60; t += kDt) {
    const double w = allen_updraft_mps(strength, top_m, glider.state.altitude_m, radius);
    expected += (w + kPolar.sink_mps(v_kmh, 400, n)) * kDt;
    glider.step(kDt, in, {.updraft_mps = w});
  }
  EXPECT_GT(glider.state.altitude_m - h0, 0.0);
  EXPECT_NEAR((glider.state.altitude_m - h0) / t, expected / t, 0.05);
}

TEST(SailplaneModel, PullUpWithoutDragKeepsTotalEnergy) {
  // 180 km/h down to 90 km/h: the height gained is the kinetic energy lost,
  // so the TE vario (vertical speed plus d(v^2/2g)/dt) stays at zero.
  Sailplane glider = airborne(180, {.drag = false});
  const PilotInput in{.target_speed_mps = 90 / 3.6};
  double worst = 0;
  for (double t = 0; t < 30; t += kDt) {
    const double v0 = glider.state.airspeed_mps;
    glider.step(kDt, in, {});
    const double v1 = glider.state.airspeed_mps;
    const double te =
        glider.state.vertical_speed_mps + (v1 * v1 - v0 * v0) / (2 * kGravityMps2 * kDt);
    worst = std::max(worst, std::fabs(te));
  }
  EXPECT_NEAR(glider.state.airspeed_mps, 90 / 3.6, 0.5);
  EXPECT_LT(worst, 1e-6);
}

TEST(KeyEventEffects, ActAsThePilotExpects) {
  struct Row {
    const char *what;
    uint32_t id;
    int32_t value;
    Controls before;
    bool defined;
    double airbrake, altimeter;
    uint32_t com;
  };
  Controls c{};
  c.com_bcd = 0x2295;
  Controls top = c;
  top.com_bcd = 0x3600;
  top.altimeter_hpa = kAltimeterMaxHpa;
  const Row rows[] = {
      {"fraction up wraps in the MHz", kKeyComFractUp,   0,      c,   true,  0,   1013.25,          0x2200},
      {"fraction down",                kKeyComFractDown, 0,      c,   true,  0,   1013.25,          0x2290},
      {"whole up",                     kKeyComWholeUp,   0,      c,   true,  0,   1013.25,          0x2395},
      {"whole up past 136",            kKeyComWholeUp,   0,      top, true,  0,   kAltimeterMaxHpa, 0x1800},
      {"set",                          kKeyComSet,       0x1835, c,   true,  0,   1013.25,          0x1835},
      {"airbrake 16384 is full",       kKeyAirbrakeSet,  16384,  c,   true,  1.0, 1013.25,          0x2295},
      {"altimeter up",                 kKeyAltimeterUp,  1,      c,   true,  0,   1014.25,          0x2295},
      {"altimeter held at its top",    kKeyAltimeterUp,  1,      top, true,  0,   kAltimeterMaxHpa, 0x3600},
      {"undefined",                    0x10999,          0,      c,   false, 0,   1013.25,          0x2295},
  };
  for (const Row &row : rows) {
    KeyEventEffects effects;
    Controls controls = row.before;
    EXPECT_EQ(effects.apply(controls, row.id, row.value), row.defined) << row.what;
    EXPECT_DOUBLE_EQ(controls.airbrake, row.airbrake) << row.what;
    EXPECT_DOUBLE_EQ(controls.altimeter_hpa, row.altimeter) << row.what;
    EXPECT_EQ(controls.com_bcd, row.com) << row.what;
    EXPECT_EQ(effects.undefined().size(), row.defined ? 0u : 1u) << row.what;
  }
}

TEST(KeyEventEffects, DumpSignalEmptiesTheTanksAtAPlausibleFlow) {
  // 200 l dumped in a few minutes, not in a cycle and not in an hour.
  Scenario scenario;
  scenario.altitude_m = 1500;
  scenario.speed_kmh = 100;
  scenario.ballast_pct = 100;
  ModelSource source(scenario, kPolar, {});
  struct Bus : TokenBus {
    std::map<uint32_t, double> t;
    double get(uint32_t id) const override { return t.count(id) ? t.at(id) : 0.0; }
    void set(uint32_t id, double v) override { t[id] = v; }
  } bus;
  double seconds = 0;
  source.step(kDt, bus);
  while (bus.get(kTokenTank1Level) > 0 && seconds < 3600) {
    source.key_event(kKeyDumpOn, 1);
    source.step(kDt, bus);
    seconds += kDt;
  }
  EXPECT_GT(seconds, 60.0);
  EXPECT_LT(seconds, 300.0);
}

TEST(ModelSource, KeyboardPilotTakesOverFromTheScenario) {
  // The scenario would circle right at 5 s and end at 10 s; a key pressed at
  // the start hands the glider to the keyboard pilot for good.
  Scenario scenario;
  scenario.altitude_m = 1500;
  scenario.speed_kmh = 100;
  scenario.end_s = 10;
  scenario.actions.push_back(
      {.trigger = Trigger::At, .time_s = 5, .kind = ActionKind::Circle, .number = 1});
  const struct {
    const char *what;
    std::vector<PilotControl> keys;
    int bank_sign;
    double airbrake;
    double speed_kmh;
  } rows[] = {
      {"circle left",                   {PilotControl::CircleLeft},                          -1, 0, 0  },
      {"the same side again: straight",
       {PilotControl::CircleRight, PilotControl::CircleRight},
       0,                                                                                        0,
       100                                                                                             },
      {"airbrakes, no scenario circle", {PilotControl::AirbrakesToggle},                     0,  1, 100},
      {"airbrakes toggled shut",
       {PilotControl::AirbrakesToggle, PilotControl::AirbrakesToggle},
       0,                                                                                        0,
       100                                                                                             },
      {"two steps faster",              {PilotControl::SpeedUp, PilotControl::SpeedUp},      0,  0, 120},
      {"slower ends the circle",        {PilotControl::CircleLeft, PilotControl::SpeedDown}, 0,  0, 90 },
  };
  for (const auto &row : rows) {
    ModelSource source(scenario, kPolar, {});
    struct Bus : TokenBus {
      double get(uint32_t) const override { return 0; }
      void set(uint32_t, double) override {}
    } bus;
    source.step(kDt, bus);
    for (PilotControl key : row.keys) {
      EXPECT_TRUE(source.pilot(key)) << row.what;
    }
    for (double t = 0; t < 40; t += kDt) {
      source.step(kDt, bus);
    }
    const AircraftState &s = source.state();
    EXPECT_FALSE(source.finished()) << row.what;
    if (row.bank_sign == 0) {
      EXPECT_LT(std::fabs(s.bank_deg), 5.0) << row.what;
    } else {
      EXPECT_GT(s.bank_deg * row.bank_sign, 20.0) << row.what;
    }
    EXPECT_EQ(s.controls.airbrake, row.airbrake) << row.what;
    if (row.speed_kmh > 0) {
      EXPECT_NEAR(s.airspeed_mps * 3.6, row.speed_kmh, 3.0) << row.what;
    }
  }
}

} // namespace
} // namespace flight
