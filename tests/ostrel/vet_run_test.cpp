// The launch sequence of VETswitch with VETlamp and VETsetup: start and stop,
// climb-rate hold, height and time limits, ending burst, run end, wind-down
// and its cancel, the lamp's states, clicks and sounds, the target height.
#include <cmath>
#include <set>

#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

constexpr uint32_t kTokenStartAltitudeRaw = 0x02;
constexpr uint32_t kTokenLevelSetAllowed = 0x3C;
constexpr uint32_t kTokenAirspeedKnots = 0x3D;
constexpr uint32_t kTokenClimbRaw = 0x41;
constexpr uint32_t kTokenAltitudeM = 0x49;
constexpr uint32_t kTokenThrottle = 0x80;
constexpr uint32_t kTokenThrottleAux = 0x82;
constexpr uint32_t kTokenAirbrake = 0x145;
constexpr uint32_t kTokenUnits = 0x14F;
constexpr uint32_t kTokenCancelA = 0x310;
constexpr uint32_t kTokenCancelB = 0x312;

constexpr uint32_t kKeyClimbCommand = 0x1009E;
constexpr uint32_t kKeyEndingPulse = 0x103E3;
constexpr uint32_t kKeyPowerOffA = 0x100F2;
constexpr uint32_t kKeyPowerOffB = 0x10044;
constexpr uint32_t kKeyLampToggle = 0x10173;

constexpr int32_t kSoundClick = 0x2600;
constexpr int32_t kSoundRunEnd = 0x2700;
constexpr int32_t kSoundBlink = 0x2800;
constexpr int32_t kSoundAirbrakeClosing = 0x2900;
constexpr int32_t kSoundAirbrakeOpening = 0x2A00;

// Element indexes: each gauge's one child after its root.
constexpr int kIcon = 1;
// VETdisplay's seconds line.
constexpr int kSecondsLine = 4;

// Lamp states as VETlamp shows them.
constexpr double kLampOff = 0, kLampOn = 1, kLampEnding = 2, kLampReady = 3;

// Button points inside their boxes.
constexpr int kStartX = 10, kStartY = 10;
constexpr int kStopX = 10, kStopY = 50;
constexpr int kUpX = 440, kUpY = 40;
constexpr int kDownX = 440, kDownY = 130;

double climb_raw(double mps) {
  return mps * 256.0;
}

// VETswitch before VETlamp and VETdisplay, so that they show the state of
// the same update.
struct LaunchPanel : OstrelPanel {
  explicit LaunchPanel(fsuipc_server::ServerOptions server_options = {})
      : OstrelPanel(std::move(server_options)) {
    place("VETswitch");
    place("VETlamp");
    place("VETdisplay");
    token(kTokenLevelSetAllowed, 1);
    token(kTokenThrottle, 1);
    token(kTokenAirspeedKnots, 60); // steady lamp: no blink tone
    // The module clock starts at load and every interval mark at 0: past the
    // longest interval (1000 ms) the sequence behaves as on a running panel.
    update(20);
    keys();
    sounds_played();
  }
  double lamp() { return value("VETlamp", kIcon); }
  double switch_image() { return value("VETswitch", kIcon); }
  int seconds() { return std::stoi(text("VETdisplay", kSecondsLine)); }
  void start() { click("VETswitch", kStartX, kStartY); }
  void stop() { click("VETswitch", kStopX, kStopY); }
  // From the default 450 m in steps of 10 on VETsetup.
  void set_target(double target_m) {
    for (double m = 450; m < target_m; m += 10) {
      click("VETsetup", kUpX, kUpY);
    }
    for (double m = 450; m > target_m; m -= 10) {
      click("VETsetup", kDownX, kDownY);
    }
  }
};

TEST(VetRun, PlacementPowersOffAndTheFlagMakesReady) {
  OstrelPanel panel;
  panel.place("VETswitch");
  panel.place("VETlamp");
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyPowerOffA, 0},
                              {kKeyPowerOffB, 0}
  }));
  panel.update();
  EXPECT_EQ(panel.value("VETlamp", kIcon), kLampOff);
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  EXPECT_EQ(panel.value("VETlamp", kIcon), kLampReady);
}

TEST(VetRun, StartSendsItsBurstInOrder) {
  LaunchPanel panel;
  panel.console("server absent"); // no version event, the start goes on
  panel.token(kTokenStartAltitudeRaw, 100.5 * 256);
  panel.start();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyClimbCommand, 0   },
                              {0x1009F,          0   },
                              {0x102E4,          0   },
                              {0x102E5,          0   },
                              {0x100A0,          0   },
                              {0x102E6,          0   },
                              {0x102E7,          0   },
                              {0x102B0,          0   },
                              {0x1003C,          0   },
                              {kKeyClimbCommand, -301}
  }));
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundClick});
  panel.update();
  EXPECT_EQ(panel.switch_image(), 1);
  // Again while running: nothing, not even the click.
  panel.keys();
  panel.start();
  EXPECT_TRUE(panel.keys().empty());
  EXPECT_TRUE(panel.sounds_played().empty());
}

TEST(VetRun, SimulatorVersionSixOrSevenAddsItsEvent) {
  for (uint16_t code : {2, 5, 6, 7, 8}) {
    fsuipc_server::ServerOptions options;
    options.sim_code = code;
    LaunchPanel panel(options);
    panel.start();
    const std::vector<Key> sent = panel.keys();
    const bool older = code == 6 || code == 7;
    ASSERT_EQ(sent.size(), older ? 10u : 9u) << "code " << code;
    EXPECT_EQ(sent[1] == (Key{0x100AA, 0}), older) << "code " << code;
  }
}

TEST(VetRun, StartWithoutTheFlagOnlyResetsTheMaximumClimb) {
  LaunchPanel panel;
  panel.token(kTokenClimbRaw, climb_raw(5));
  panel.update();
  panel.token(kTokenClimbRaw, climb_raw(2));
  panel.token(kTokenLevelSetAllowed, 0);
  panel.update();
  EXPECT_EQ(panel.text("VETdisplay", 8), "     5.0 vs(max)");
  panel.keys();
  panel.start();
  EXPECT_TRUE(panel.keys().empty());
  EXPECT_TRUE(panel.sounds_played().empty());
  panel.update();
  EXPECT_EQ(panel.text("VETdisplay", 8), "     2.0 vs(max)");
  EXPECT_EQ(panel.switch_image(), 0);
}

TEST(VetRun, ClimbRateHoldAtAndAroundItsBand) {
  LaunchPanel panel;
  panel.start();
  panel.update();
  panel.keys();
  struct Case {
    double rate_mps;
    int32_t command;
  };
  for (const Case c : {
           Case{16,         3840     },
           Case{15,         1        },
           Case{10,         1        },
           Case{9.5,        -128     },
           Case{-2,         -3072    },
           Case{1e12 / 256, INT32_MAX}
  }) {
    panel.token(kTokenClimbRaw, climb_raw(c.rate_mps));
    panel.update();
    EXPECT_EQ(panel.key_values(kKeyClimbCommand), std::vector<int32_t>{c.command})
        << c.rate_mps << " m/s";
  }
}

// Updates until the ending burst starts; returns the seconds that the
// display showed in the update before, which the sequence then saw.
int seconds_seen_when_ending_starts(LaunchPanel &panel) {
  int seen = panel.seconds();
  for (int i = 0; i < 2000; ++i) {
    panel.update();
    if (!panel.key_values(kKeyEndingPulse).empty()) {
      return seen;
    }
    seen = panel.seconds();
  }
  return -1;
}

TEST(VetRun, TimeLimitsEndTheRunOneSecondPastTheirValue) {
  struct Case {
    double target_m;
    int limit_s;
  };
  for (const Case c : {
           Case{370, 50},
           Case{380, 65},
           Case{520, 65},
           Case{530, 70}
  }) {
    LaunchPanel panel;
    panel.place("VETsetup");
    panel.set_target(c.target_m);
    panel.start();
    EXPECT_EQ(seconds_seen_when_ending_starts(panel), c.limit_s + 1) << c.target_m << " m";
    EXPECT_EQ(panel.lamp(), kLampEnding);
  }
}

TEST(VetRun, HeightLimitIsAboveTheStartReference) {
  LaunchPanel panel;
  panel.token(kTokenStartAltitudeRaw, 200 * 256);
  panel.start();
  panel.token(kTokenAltitudeM, 650); // 200 + 450: not above
  panel.update(3);
  EXPECT_TRUE(panel.key_values(kKeyEndingPulse).empty());
  panel.token(kTokenAltitudeM, 650.5);
  panel.update();
  EXPECT_EQ(panel.key_values(kKeyEndingPulse).size(), 1u);
  EXPECT_EQ(panel.lamp(), kLampEnding);
}

TEST(VetRun, EndingBurstsEvery300MsUntilBothPowerTokensAreZero) {
  LaunchPanel panel;
  panel.start();
  panel.keys();
  panel.sounds_played();
  panel.token(kTokenAltitudeM, 1000);
  panel.update();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyClimbCommand, -2560},
                              {kKeyEndingPulse,  0    },
                              {0x100F1,          0    },
                              {0x10042,          0    },
                              {kKeyClimbCommand, 0    }
  }));
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundRunEnd});
  panel.update(18); // more than 300 ms: every sixth 55 ms update
  EXPECT_EQ(panel.key_values(kKeyEndingPulse).size(), 3u);
  EXPECT_TRUE(panel.sounds_played().empty()); // once a run

  panel.token(kTokenThrottleAux, 1);
  panel.token(kTokenThrottle, 0);
  panel.update(10);
  EXPECT_TRUE(panel.key_values(kKeyPowerOffA).empty());
  panel.token(kTokenThrottleAux, 0);
  panel.update();
  const std::vector<Key> run_end = panel.keys();
  EXPECT_EQ(std::count(run_end.begin(), run_end.end(), Key{kKeyPowerOffA, 0}), 1);
  EXPECT_EQ(std::count(run_end.begin(), run_end.end(), Key{kKeyPowerOffB, 0}), 1);
  panel.update(20);
  EXPECT_TRUE(panel.key_values(kKeyEndingPulse).empty());
}

// Runs a launch to its run end; the wind-down command then follows a climb
// of 2 m/s: 512 x 15 = 7680.
void run_to_run_end(LaunchPanel &panel) {
  panel.start();
  panel.token(kTokenClimbRaw, climb_raw(2));
  panel.token(kTokenAltitudeM, 1000);
  panel.update();
  panel.token(kTokenThrottle, 0);
  panel.update();
  panel.keys();
}

TEST(VetRun, WindDownRampsTenSecondsAfterTheRunEnd) {
  LaunchPanel panel;
  run_to_run_end(panel);
  const int run_end_s = panel.seconds();
  while (panel.seconds() < run_end_s + 10) {
    panel.update();
    EXPECT_EQ(panel.key_values(kKeyClimbCommand), std::vector<int32_t>{7680});
    EXPECT_EQ(panel.lamp(), kLampEnding);
  }
  panel.update();
  EXPECT_EQ(panel.lamp(), kLampOn);
  EXPECT_EQ(panel.key_values(kKeyClimbCommand), std::vector<int32_t>{7680});

  // 10 % less every second, until at most 200 in magnitude, then 0 and idle.
  std::vector<int32_t> ramp;
  for (int i = 0; i < 2000 && panel.lamp() != kLampReady; ++i) {
    panel.update();
    for (int32_t v : panel.key_values(kKeyClimbCommand)) {
      ramp.push_back(v);
    }
  }
  ASSERT_EQ(ramp.size(), 36u); // 35 steps down from 7680, then 0
  EXPECT_EQ(ramp[0], 6912);
  EXPECT_EQ(ramp[1], 6220);
  EXPECT_GT(ramp[33], 200);
  EXPECT_LE(ramp[34], 200);
  EXPECT_EQ(ramp[35], 0);
  EXPECT_EQ(panel.switch_image(), 0);
}

TEST(VetRun, EitherCancelTokenEndsTheWindDown) {
  for (uint32_t cancel : {kTokenCancelA, kTokenCancelB}) {
    LaunchPanel panel;
    run_to_run_end(panel);
    panel.update(5);
    panel.token(cancel, 1);
    panel.update();
    EXPECT_EQ(panel.switch_image(), 0);
    EXPECT_EQ(panel.lamp(), kLampOff);
    panel.keys();
    panel.update(40);
    EXPECT_TRUE(panel.key_values(kKeyClimbCommand).empty());
  }
}

TEST(VetRun, NoRampWhileThePowerIsStillOn) {
  // Ending at once by height with the engine left running past the tenth
  // second: the ramp waits for the run end, whatever an earlier run end
  // second (0 at load) says.
  LaunchPanel panel;
  panel.start();
  panel.token(kTokenAltitudeM, 1000);
  panel.token(kTokenClimbRaw, climb_raw(2));
  while (panel.seconds() < 14) {
    panel.update();
  }
  EXPECT_EQ(panel.lamp(), kLampEnding);
  panel.keys();
  panel.update(20);
  for (int32_t v : panel.key_values(kKeyClimbCommand)) {
    EXPECT_TRUE(v == -2048 || v == 7680) << v; // hold at 2 m/s, wind-down command
  }
}

TEST(VetRun, StopEndsARunAtOnceAndClicksOnlyWhenTheSwitchMoves) {
  LaunchPanel panel;
  panel.start();
  panel.update(3);
  panel.keys();
  panel.sounds_played();
  panel.stop();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyEndingPulse, 0},
                              {kKeyPowerOffA,   0},
                              {kKeyPowerOffB,   0},
                              {0x102B0,         0},
                              {0x1003C,         0},
                              {kKeyPowerOffA,   0},
                              {kKeyPowerOffB,   0}
  }));
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundClick});
  panel.update();
  EXPECT_EQ(panel.switch_image(), 0);
  EXPECT_EQ(panel.lamp(), kLampReady); // the flag is still set
  panel.stop();
  EXPECT_TRUE(panel.keys().empty());
  EXPECT_TRUE(panel.sounds_played().empty());
}

TEST(VetRun, LampBlinksWithItsToneUnlessFasterThanTheWind) {
  LaunchPanel panel;
  panel.token(kTokenAirspeedKnots, 0.5); // not more than 1 kt above the wind
  panel.start();
  std::vector<double> lamp;
  int tones = 0;
  for (int i = 0; i < 40; ++i) {
    panel.update();
    lamp.push_back(panel.lamp());
    for (int32_t id : panel.sounds_played()) {
      tones += id == kSoundBlink;
    }
  }
  EXPECT_NE(std::count(lamp.begin(), lamp.end(), kLampOn), 0);
  EXPECT_NE(std::count(lamp.begin(), lamp.end(), kLampOff), 0);
  EXPECT_GT(tones, 0);
  panel.token(kTokenAirspeedKnots, 60);
  panel.update(20);
  EXPECT_EQ(panel.lamp(), kLampOn);
  EXPECT_TRUE(panel.sounds_played().empty());
}

TEST(VetRun, LampClickTogglesOnlyWhileReady) {
  LaunchPanel panel;
  panel.click("VETlamp", 100, 100);
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyLampToggle, 0}
  }));
  // The first running update takes the toggle back, once.
  panel.start();
  panel.keys();
  panel.update(2);
  EXPECT_EQ(panel.key_values(kKeyLampToggle).size(), 1u);
  panel.click("VETlamp", 100, 100); // lamp on, not ready
  EXPECT_TRUE(panel.keys().empty());
}

TEST(VetRun, AirbrakeSoundsOnceForEachMoveNearAnEnd) {
  LaunchPanel panel;
  for (double position : {300.0, 300.0, 300.0, 8000.0, 16100.0, 16100.0, 16200.0}) {
    panel.token(kTokenAirbrake, position);
    panel.update();
  }
  EXPECT_EQ(
      panel.sounds_played(),
      (std::vector<int32_t>{kSoundAirbrakeClosing, kSoundAirbrakeOpening, kSoundAirbrakeOpening}));
}

TEST(VetRun, SetupLimitsAndUnits) {
  OstrelPanel panel;
  panel.place("VETsetup");
  panel.update();
  EXPECT_EQ(panel.text("VETsetup", 1), "1500");
  panel.token(kTokenUnits, 2.7); // truncated: metric
  panel.update();
  EXPECT_EQ(panel.text("VETsetup", 1), "0450");
  for (int i = 0; i < 20; ++i) {
    panel.click("VETsetup", kUpX, kUpY);
  }
  panel.update();
  EXPECT_EQ(panel.text("VETsetup", 1), "0600");
  for (int i = 0; i < 40; ++i) {
    panel.click("VETsetup", kDownX, kDownY);
  }
  panel.update();
  EXPECT_EQ(panel.text("VETsetup", 1), "0300");
  panel.token(kTokenUnits, 1);
  panel.update();
  EXPECT_EQ(panel.text("VETsetup", 1), "1000");
}

TEST(VetRun, SoundsStayWithTheRemainingPlacementAndGoWithTheLast) {
  OstrelPanel panel;
  panel.place("VETswitch", "one");
  panel.place("VETswitch", "two");
  panel.token(kTokenLevelSetAllowed, 1);
  panel.remove("one");
  panel.sounds_played();
  panel.click("two", kStartX, kStartY);
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundClick});
  panel.remove("two");
  panel.place("ballast");
  panel.click("ballast", 50, 140); // valve open: VETswitch's click, now gone
  EXPECT_TRUE(panel.sounds_played().empty());
}

// Module time at which the 32-bit module clock wraps from INT32_MAX to
// INT32_MIN.
constexpr int64_t kClockWrapMs = int64_t{1} << 31;

TEST(VetRun, TimersRunOnAcrossTheModuleClockWrap) {
  {
    // Seconds and blink: a run started 5 s before the wrap.
    LaunchPanel panel;
    panel.token(kTokenAirspeedKnots, 0.5); // the lamp blinks
    panel.host().advance(kClockWrapMs - 5000 - panel.host().time_ms());
    panel.start();
    std::set<double> lamp_after_wrap;
    for (int i = 0; i < 200; ++i) { // 11 s
      panel.update();
      if (panel.host().time_ms() > kClockWrapMs) {
        lamp_after_wrap.insert(panel.lamp());
      }
    }
    EXPECT_EQ(panel.seconds(), 10);
    EXPECT_EQ(lamp_after_wrap, (std::set<double>{kLampOff, kLampOn}));
  }
  {
    // The wind-down ramp, about 37 s long, from 15 s before the wrap.
    LaunchPanel panel;
    panel.host().advance(kClockWrapMs - 25000 - panel.host().time_ms());
    run_to_run_end(panel);
    for (int i = 0; i < 2000 && panel.lamp() != kLampReady; ++i) {
      panel.update();
    }
    EXPECT_EQ(panel.lamp(), kLampReady) << "the ramp ended";
    EXPECT_GT(panel.host().time_ms(), kClockWrapMs) << "after the wrap";
  }
}

} // namespace
} // namespace ostrel_test
