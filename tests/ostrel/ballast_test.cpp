// ballast: needle, valve and its signal, and the tank levels it sets through
// the in-process FSUIPC client against the host's offset server.
#include <cstdio>
#include <cstdlib>

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
// VETdisplay's ballast line.
constexpr int kBallastLine = 9;

struct BallastPanel : OstrelPanel {
  explicit BallastPanel(const char *server_mode = "normal") {
    console(std::string("server ") + server_mode);
    place("ballast");
    place("VETdisplay");
  }
  // Moves the module clock past the first dump interval (it starts at load).
  void settle() { update(20); }
  void press(Point p) { click("ballast", p.x, p.y); }
  // Tank 1 as the offset server holds it.
  uint32_t tank1() {
    const std::string out = console("offset 0x0B7C 4");
    // "offset 0xB7C 4 -> VALUE": take the last number on the line.
    const auto pos = out.find_last_of(' ');
    return static_cast<uint32_t>(std::strtoul(out.c_str() + pos + 1, nullptr, 0));
  }
  void set_tanks(uint32_t level) {
    token(kTokenTank1, level);
    token(kTokenTank2, level);
  }
  std::string ballast_line() { return text("VETdisplay", kBallastLine); }
};

TEST(Ballast, NeedleShowsTheMeanFillingWithinTheScale) {
  OstrelPanel panel;
  panel.place("ballast");
  struct Case {
    double tank1, tank2, percent;
  };
  for (const Case c : {
           Case{kFull,     kFull / 2, 75 },
           Case{0,         0,         0  },
           Case{kFull,     kFull,     100},
           Case{2 * kFull, kFull,     100},
           Case{-kFull,    0,         0  }
  }) {
    panel.token(kTokenTank1, c.tank1);
    panel.token(kTokenTank2, c.tank2);
    panel.update();
    EXPECT_DOUBLE_EQ(panel.value("ballast", kNeedle), c.percent) << c.tank1 << " " << c.tank2;
  }
}

TEST(Ballast, ValveButtonsAndTheSignalOnEveryUpdate) {
  OstrelPanel panel;
  panel.place("ballast");
  panel.update(2);
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterNotDumping, 1},
                              {kKeyWaterNotDumping, 1}
  }));
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
  panel.click("ballast", kValveOpen.x, kValveOpen.y);
  panel.update(2);
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterDumping, 1},
                              {kKeyWaterDumping, 1}
  }));
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1);
  panel.click("ballast", kValveClose.x, kValveClose.y);
  panel.update();
  EXPECT_EQ(panel.keys(), (std::vector<Key>{
                              {kKeyWaterNotDumping, 1}
  }));
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
}

TEST(Ballast, WithoutTheFlagTheEndPresetsWorkTheValve) {
  OstrelPanel panel;
  panel.place("ballast");
  panel.click("ballast", kPreset0.x, kPreset0.y);
  panel.update();
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1);
  for (Point p : {kPreset25, kPreset50, kPreset75}) {
    panel.click("ballast", p.x, p.y);
  }
  panel.update();
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1);
  panel.click("ballast", kPreset100.x, kPreset100.y);
  panel.update();
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
  // The shared column x = 41 belongs to the 0 % preset.
  panel.click("ballast", 41, 20);
  panel.update();
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1);
}

TEST(Ballast, ValveClickIsVetSwitchsSound) {
  OstrelPanel panel;
  panel.place("ballast");
  panel.click("ballast", kValveOpen.x, kValveOpen.y);
  EXPECT_TRUE(panel.sounds_played().empty());
  panel.place("VETswitch");
  panel.click("ballast", kValveClose.x, kValveClose.y);
  EXPECT_EQ(panel.sounds_played(), std::vector<int32_t>{kSoundClick});
}

TEST(Ballast, WithoutTheServerLevelChangesAreSkippedSilently) {
  BallastPanel panel("absent");
  panel.token(kTokenLevelSetAllowed, 1);
  panel.set_tanks(0x400000);
  panel.update();
  for (Point p : {kPreset0, kPreset100, kStepDown, kStepUp}) {
    panel.press(p);
  }
  panel.press(kValveOpen);
  panel.update(100); // dump steps every second, none reaching the tanks
  EXPECT_EQ(panel.host().token(kTokenTank1), 0x400000);
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1); // never closes by itself
  EXPECT_EQ(panel.ballast_line(), "     0.0 %ballast");
  EXPECT_TRUE(panel.message_captions().empty());
}

TEST(Ballast, StartUpEmptiesTheTanksOnlyWithTheFlag) {
  {
    BallastPanel panel;
    panel.set_tanks(0x400000);
    panel.update(2);
    EXPECT_EQ(panel.tank1(), 0x400000u);
  }
  {
    BallastPanel panel;
    panel.token(kTokenLevelSetAllowed, 1);
    panel.set_tanks(0x400000);
    panel.update();
    EXPECT_EQ(panel.tank1(), 0u);
    EXPECT_EQ(panel.host().token(kTokenTank2), 0);
  }
}

TEST(Ballast, PresetsSetBothTanksOnlyWithTheFlag) {
  BallastPanel panel;
  panel.update();
  panel.press(kPreset75);
  EXPECT_EQ(panel.tank1(), 0u);
  panel.token(kTokenLevelSetAllowed, 1);
  struct Case {
    Point button;
    uint32_t level;
    const char *line;
  };
  for (const Case c : {
           Case{kPreset25,  0x200000, "    25.0 %ballast"},
           Case{kPreset50,  0x400000, "    50.0 %ballast"},
           Case{kPreset75,  0x600000, "    75.0 %ballast"},
           Case{kPreset100, 0x800000, "   100.0 %ballast"},
           Case{kPreset0,   0x000000, "     0.0 %ballast"}
  }) {
    panel.press(c.button);
    panel.update();
    EXPECT_EQ(panel.tank1(), c.level);
    EXPECT_EQ(panel.host().token(kTokenTank2), c.level);
    EXPECT_EQ(panel.ballast_line(), c.line);
  }
  // With the flag the end presets leave the valve alone.
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
}

TEST(Ballast, StepsWorkOnTheUpperSixteenBits) {
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  panel.set_tanks(0x800000);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 7549747u); // 0x733333
  panel.press(kStepDown);             // from 115 / 128, not from 0.9
  EXPECT_EQ(panel.tank1(), 6697779u);
  panel.update();
  EXPECT_EQ(panel.ballast_line(), "    79.8 %ballast");

  panel.set_tanks(121u << 16 | 0xFFFF); // fraction 0.9453125
  panel.press(kStepUp);
  EXPECT_EQ(panel.tank1(), 0x800000u);
  panel.press(kStepUp);
  EXPECT_EQ(panel.tank1(), 0x800000u);

  panel.set_tanks(0x00FFFF); // counts as empty
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 0u);
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
}

TEST(Ballast, StepsNeedTheFlag) {
  BallastPanel panel;
  panel.update();
  panel.set_tanks(0x800000);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 0x800000u);
}

TEST(Ballast, DumpStepsOnePercentOfTheRestEachSecond) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(0x800000);
  panel.press(kValveOpen);
  panel.update(); // the first step: the last one was at load
  EXPECT_EQ(panel.tank1(), 8304721u);
  EXPECT_EQ(panel.host().token(kTokenTank2), 8304721);
  EXPECT_EQ(panel.ballast_line(), "    99.0 %ballast");
  // The next one comes after more than 1000 ms: the 19th update of 55 ms.
  panel.update(18);
  EXPECT_EQ(panel.tank1(), 8304721u);
  panel.update();
  EXPECT_EQ(panel.tank1(), static_cast<uint32_t>((8304721u >> 16) / 128.0 * 0.99 * kFull));
}

TEST(Ballast, DumpingEndsWhenTheUpperBitsReachZero) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(0x010000); // fraction 1/128, x 0.99: 64880, below 65536
  panel.press(kValveOpen);
  panel.update();
  EXPECT_EQ(panel.tank1(), 64880u);
  EXPECT_EQ(panel.value("ballast", kValveIcon), 1);
  panel.keys();
  panel.update(19);
  EXPECT_EQ(panel.tank1(), 0u);
  EXPECT_EQ(panel.value("ballast", kValveIcon), 0);
  EXPECT_EQ(panel.key_values(kKeyWaterNotDumping).size(), 1u);
}

TEST(Ballast, FailedConnectionStillStartsANewInterval) {
  BallastPanel panel;
  panel.settle();
  panel.set_tanks(0x800000);
  panel.console("server absent");
  panel.press(kValveOpen);
  panel.update(); // failed step
  panel.console("server normal");
  panel.update(18);
  EXPECT_EQ(panel.tank1(), 0x800000u);
  panel.update();
  EXPECT_EQ(panel.tank1(), 8304721u);
}

TEST(Ballast, NoLevelIsWrittenFromAFailedRead) {
  // The server answers with nothing usable: the step must not compute a new
  // level from an old answer.
  BallastPanel panel;
  panel.token(kTokenLevelSetAllowed, 1);
  panel.update();
  panel.set_tanks(0x800000);
  panel.press(kStepDown);
  EXPECT_EQ(panel.tank1(), 7549747u);
  panel.set_tanks(0x400000);
  panel.console("server corrupt");
  panel.press(kStepDown);
  panel.press(kValveOpen);
  panel.update();
  panel.console("server normal");
  EXPECT_EQ(panel.tank1(), 0x400000u);
  panel.update();
  EXPECT_EQ(panel.ballast_line(), "    90.0 %ballast");
}

} // namespace
} // namespace ostrel_test
