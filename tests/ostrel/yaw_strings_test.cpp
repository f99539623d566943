// Yaw strings: the shared flutter wave, slip truncation and clamp, and the
// FSUIPC presence check at placement.
#include <cmath>
#include <limits>

#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

constexpr uint32_t kTokenSlip = 0x45;
constexpr int kNeedle = 1;
constexpr const char *kNotLinked = "FSUIPC Not Linked|";

std::vector<double> needle_over(OstrelPanel &panel, const std::string &name, int cycles) {
  std::vector<double> out;
  for (int i = 0; i < cycles; ++i) {
    panel.update();
    out.push_back(panel.value(name, kNeedle));
  }
  return out;
}

TEST(YawStrings, OneStringFollowsTheTriangleWaveAlone) {
  OstrelPanel panel;
  panel.place("white");
  const std::vector<double> want = {4, 8, 12, 8, 4, 0, -4, -8, -12, -8, -4, 0, 4, 8};
  EXPECT_EQ(needle_over(panel, "white", static_cast<int>(want.size())), want);
}

TEST(YawStrings, TwoStringsEachSeeTheirOwnPhase) {
  OstrelPanel panel;
  panel.place("white");
  panel.place("red");
  std::vector<double> white, red;
  for (int i = 0; i < 7; ++i) {
    panel.update();
    white.push_back(panel.value("white", kNeedle));
    red.push_back(panel.value("red", kNeedle));
  }
  EXPECT_EQ(white, (std::vector<double>{4, 12, 4, -4, -12, -4, 4}));
  EXPECT_EQ(red, (std::vector<double>{8, 8, 0, -8, -8, 0, 8}));
}

TEST(YawStrings, ThreeStringsShareOneWave) {
  OstrelPanel panel;
  panel.place("white");
  panel.place("red");
  panel.place("blue");
  panel.update(2);
  // Offsets run 4 8 12 | 8 4 0: the second update gives each the second triple.
  EXPECT_EQ(panel.value("white", kNeedle), 8);
  EXPECT_EQ(panel.value("red", kNeedle), 4);
  EXPECT_EQ(panel.value("blue", kNeedle), 0);
}

TEST(YawStrings, SlipIsTruncatedTowardZeroThenClamped) {
  OstrelPanel panel;
  panel.place("blue");
  panel.token(kTokenSlip, -3.7); // offset 4: -3 + 4, not -4 + 4
  panel.update();
  EXPECT_EQ(panel.value("blue", kNeedle), 1);
  panel.token(kTokenSlip, 125.9); // offset 8: 125 + 8 = 133
  panel.update();
  EXPECT_EQ(panel.value("blue", kNeedle), 127);
  panel.token(kTokenSlip, -130); // offset 12
  panel.update();
  EXPECT_EQ(panel.value("blue", kNeedle), -118);
  panel.token(kTokenSlip, -140); // offset 8
  panel.update();
  EXPECT_EQ(panel.value("blue", kNeedle), -127);
}

TEST(YawStrings, SlipOutsideAnyIntegerRangeStaysSafe) {
  OstrelPanel panel;
  panel.place("white");
  panel.token(kTokenSlip, 1e12);
  panel.update();
  EXPECT_EQ(panel.value("white", kNeedle), 127);
  panel.token(kTokenSlip, -1e12);
  panel.update();
  EXPECT_EQ(panel.value("white", kNeedle), -127);
  panel.token(kTokenSlip, std::numeric_limits<double>::quiet_NaN());
  panel.update();
  EXPECT_EQ(panel.value("white", kNeedle), 12); // slip taken as 0, offset 12
}

TEST(YawStrings, WithoutServerEachPlacementShowsNotLinked) {
  OstrelPanel panel;
  panel.console("server absent");
  panel.place("white");
  panel.place("red");
  panel.place("blue");
  EXPECT_EQ(panel.message_captions(),
            (std::vector<std::string>{kNotLinked, kNotLinked, kNotLinked}));
  panel.place("white", "white2");
  EXPECT_EQ(panel.message_captions(), (std::vector<std::string>{kNotLinked}));
  // The strings swing all the same.
  panel.update();
  EXPECT_EQ(panel.value("white", kNeedle), 4);
}

TEST(YawStrings, OneSuccessfulCheckLinksForTheModuleLoad) {
  OstrelPanel panel;
  panel.console("server normal");
  panel.place("white");
  EXPECT_TRUE(panel.message_captions().empty());
  // Linked once: later placements do not look for the server again.
  panel.console("server absent");
  panel.place("red");
  panel.place("blue");
  EXPECT_TRUE(panel.message_captions().empty());
}

TEST(YawStrings, ServerAppearingLaterIsFoundAtTheNextPlacement) {
  OstrelPanel panel;
  panel.console("server refuse");
  panel.place("white");
  EXPECT_EQ(panel.message_captions(), (std::vector<std::string>{kNotLinked}));
  panel.console("server normal");
  panel.place("red");
  EXPECT_TRUE(panel.message_captions().empty());
}

} // namespace
} // namespace ostrel_test
