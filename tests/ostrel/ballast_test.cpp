// ballast: needle, valve and its signal, and the tank levels it sets through
// the in-process FSUIPC client against the host's offset server (tank 1 and 2
// are tokens 0x123 and 0x129 there).
#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

constexpr uint32_t kTokenLevelSetAllowed = 0x3C;
constexpr uint32_t kTokenTank1 = 0x123;
constexpr uint32_t kTokenTank2 = 0x129;
constexpr uint32_t kKeyWaterDumping = 0x10201;
constexpr uint32_t kKeyWaterNotDumping = 0x10202;
constexpr int32_t kSoundClick = 0x2600;

constexpr double kFull = 0x800000;

// Element indexes and button points.
constexpr int kNeedle = 1;
constexpr int kValveIcon = 2;
struct Point {
  int x, y;
};
constexpr Point kPreset0 = {20, 20}, kPreset25 = {60, 20}, kPreset50 = {100, 20},
                kPreset75 = {140, 20}, kPreset100 = {180, 20};
constexpr Point kStepDown = {30, 90}, kStepUp = {170, 90};
constexpr Point kValveOpen = {50, 140}, kValveClose = {140, 140};

struct BallastPanel : OstrelPanel {
  explicit BallastPanel(const char *server_mode = "normal") {
    console(std::string("server ") + server_mode);
    place("ballast");
    place("VETdisplay");
  }
  // Moves the module clock past the first dump interval (it starts at load).
  void settle() { update(20); }
  void press(Point p) { click("ballast", p.x, p.y); }
  double tank1() { return host().token(kTokenTank1); }
  double tank2() { return host().token(kTokenTank2); }
  void set_tanks(double level) {
    token(kTokenTank1, level);
    token(kTokenTank2, level);
  }
  double valve() { return value("ballast", kValveIcon); }
  // VETdisplay's ballast line.
  std::string ballast_line() { return text("VETdisplay", 9); }
};

TEST(Ballast, NeedleShowsTheMeanFillingWithinTheScale) {
  OstrelPanel panel;
  panel.place("ballast");
  struct Case {
    double tank1, tank2, percent;
  };
  for (const Case c : {
           Case{kFull,     kFull / 2, 75 },
           Case{2 * kFull, kFull,     100},
           Case{-kFull,    0,         0  }
  }) {
    panel.token(kTokenTank1, c.tank1);
    panel.token(kTokenTank2, c.tank2);
    panel.update();
    EXPECT_DOUBLE_EQ(panel.value("ballast", kNeedle), c.percent) << c.tank1 << " " << c.tank2;
  }
}

TEST(Ballast, ValveButtonsSignalEveryUpdateAndClickWithVetSwitch) {
  BallastPanel panel;
  panel.update();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterNotDumping, 1}
  }));
  panel.press(kValveOpen);
  EXPECT_TRUE(panel.sounds_played().empty()); // no VETswitch: silent
  panel.update(2);
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterDumping, 1},
                              {kKeyWaterDumping, 1}
  }));
  EXPECT_EQ(panel.valve(), 1);
  panel.place("VETswitch");
  panel.keys();
  panel.press(kValveClose);
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundClick});
  panel.update();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterNotDumping, 1}
  }));
  EXPECT_EQ(panel.valve(), 0);
}

TEST(Ballast, WithoutTheFlagOnlyTheEndPresetsDoAnythingToTheValve) {
  BallastPanel panel;
  panel.set_tanks(kFull);
  panel.update();
  panel.press(kPreset0);
  panel.update();
  EXPECT_EQ(panel.valve(), 1);
  for (Point p : {kPreset25, kPreset50, kPreset75, kStepDown, kStepUp}) {
    panel.press(p);
  }
  panel.update();
  EXPECT_EQ(panel.valve(), 1);
  EXPECT_EQ(panel.tank1(), kFull);
  panel.press(kPreset100);
  panel.update();
  EXPECT_EQ(panel.valve(), 0);
  panel.press({41, 20}); // the column both first presets cover belongs to 0 %
  panel.update();
  EXPECT_EQ(panel.valve(), 1);
}

// Without a server, and with one that takes the connect but fails every
// exchange after it: the percentage changes only when its write went through.
TEST(Ballast, WithoutTheServerLevelChangesAreSkippedSilently) {
  for (const char *mode : {"absent", "drop"}) {
    BallastPanel panel(mode);
    panel.token(kTokenLevelSetAllowed, 1);
    panel.set_tanks(0x400000);
    panel.update();
    for (Point p : {kPreset0, kPreset100, kStepDown, kStepUp}) {
      panel.press(p);
    }
    panel.press(kValveOpen);
    panel.update(100); // dump steps every second, none reaching the tanks
    EXPECT_EQ(panel.tank1(), 0x400000) << mode;
    EXPECT_EQ(panel.valve(), 1) << mode; // never closes by itself
    EXPECT_EQ(panel.ballast_line(), "     0.0 %ballast") << mode;
    EXPECT_TRUE(panel.message_captions().empty()) << mode;
  }
}

TEST(Ballast, StartUpEmptiesTheTanksOnlyWithTheFlag) {
  for (double flag : {0.0, 1.0}) {
    BallastPanel panel;
    panel.token(kTokenLevelSetAllowed, flag);
    panel.set_tanks(0x400000);
    panel.update(2);
    EXPECT_EQ(panel.tank1(), flag != 0 ? 0 : 0x400000) << flag;
    EXPECT_EQ(panel.tank2(), flag != 0 ? 0 : 0x400000) << flag;
  }
}

TEST(Ballast, PresetsSetBothTanksAndTheShownPercent) {
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  struct Case {
    Point button;
    double level;
    const char *line;
  };
  for (const Case c : {
           Case{kPreset25,  0x200000, "    25.0 %ballast"},
           Case{kPreset75,  0x600000, "    75.0 %ballast"},
           Case{kPreset100, 0x800000, "   100.0 %ballast"},
           Case{kPreset0,   0x000000, "     0.0 %ballast"}
  }) {
    panel.press(c.button);
    panel.update();
    EXPECT_EQ(panel.tank1(), c.level);
    EXPECT_EQ(panel.tank2(), c.level);
    EXPECT_EQ(panel.ballast_line(), c.line);
  }
  EXPECT_EQ(panel.valve(), 0); // with the flag the end presets leave the valve
}

TEST(Ballast, StepsWorkOnTheUpperSixteenBits) {
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  panel.set_tanks(kFull);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 7549747); // 0x733333
  panel.press(kStepDown);            // from 115 / 128, not from 0.9
  EXPECT_EQ(panel.tank1(), 6697779);
  EXPECT_EQ(panel.tank2(), 6697779);
  panel.update();
  EXPECT_EQ(panel.ballast_line(), "    79.8 %ballast");

  panel.set_tanks(121 << 16 | 0xFFFF); // fraction 0.9453125
  panel.press(kStepUp);
  EXPECT_EQ(panel.tank1(), kFull);
  panel.press(kStepUp);
  EXPECT_EQ(panel.tank1(), kFull);
}

TEST(Ballast, DumpStepsOnePercentOfTheRestEachSecond) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(kFull);
  panel.press(kValveOpen);
  panel.update(); // the first step: the last one was at load
  EXPECT_EQ(panel.tank1(), 8304721);
  EXPECT_EQ(panel.tank2(), 8304721);
  EXPECT_EQ(panel.ballast_line(), "    99.0 %ballast");
  // The next one after more than 1000 ms: the 19th update of 55 ms.
  panel.update(18);
  EXPECT_EQ(panel.tank1(), 8304721);
  panel.update();
  EXPECT_EQ(panel.tank1(), 8174960); // 126 / 128 x 0.99 of full
}

TEST(Ballast, DumpingEndsWhenTheUpperBitsReachZero) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(0x010000); // fraction 1/128, x 0.99: 64880, below 65536
  panel.press(kValveOpen);
  panel.update();
  EXPECT_EQ(panel.tank1(), 64880);
  EXPECT_EQ(panel.valve(), 1);
  panel.keys();
  panel.update(19);
  EXPECT_EQ(panel.tank1(), 0);
  EXPECT_EQ(panel.valve(), 0);
  EXPECT_EQ(panel.key_values(kKeyWaterNotDumping).size(), 1u);
}

TEST(Ballast, FailedConnectionStillStartsANewInterval) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(kFull);
  panel.console("server absent");
  panel.press(kValveOpen);
  panel.update(); // the failed step
  panel.console("server normal");
  panel.update(18);
  EXPECT_EQ(panel.tank1(), kFull);
  panel.update();
  EXPECT_EQ(panel.tank1(), 8304721);
}

TEST(Ballast, NoLevelIsComputedFromAnAnswerThatNeverCame) {
  // The server spoils the read record, so the exchange succeeds without an
  // answer: neither a step nor a dump may write from the previous answer.
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.settle();
  panel.set_tanks(kFull);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 7549747);
  panel.set_tanks(0x400000);
  panel.console("server corrupt");
  panel.press(kStepDown);
  panel.press(kValveOpen);
  panel.update();
  EXPECT_EQ(panel.tank1(), 0x400000);
  EXPECT_EQ(panel.ballast_line(), "    90.0 %ballast");
}

TEST(Ballast, AnAnswerOfAllOnesIsALevelLikeAnyOther) {
  // Upper 16 bits 0xFFFF: fraction 65535 / 128, less 0.1, times 0x800000.
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  panel.set_tanks(4294967295.0);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 4294062899.0);
  EXPECT_EQ(panel.tank2(), 4294062899.0);
}

TEST(Ballast, DumpStepsGoOnAcrossTheModuleClockWrap) {
  // Module time just before the 32-bit clock wraps, with dump marks crossing
  // it, and just after it, with the last mark still the one from load.
  // The first row, far from the wrap, sets the count the others must match.
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  int steps_without_wrap = -1;
  for (const int64_t start_ms : {int64_t{10000}, kClockWrapMs - 2500, kClockWrapMs + 2500}) {
    BallastPanel panel;
    panel.host().advance(start_ms - panel.host().time_ms());
    panel.set_tanks(kFull);
    panel.press(kValveOpen);
    int steps = 0;
    double level = panel.tank1();
    for (int i = 0; i < 200; ++i) { // 11 s
      panel.update();
      steps += panel.tank1() != level;
      level = panel.tank1();
    }
    if (steps_without_wrap < 0) {
      steps_without_wrap = steps;
    }
    EXPECT_EQ(steps, steps_without_wrap) << "from module time " << start_ms;
  }
}

} // namespace
} // namespace ostrel_test
