// Yaw strings: the shared flutter wave, slip truncation and clamp, and the
// FSUIPC presence check at placement.
#include <limits>

#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

constexpr uint32_t kTokenSlip = 0x45;
constexpr int kNeedle = 1;
constexpr const char *kNotLinked = "FSUIPC Not Linked|"; // caption | empty text

TEST(YawStrings, OneStringFollowsTheTriangleWaveAlone) {
  OstrelPanel panel;
  panel.place("white");
  std::vector<double> seen;
  for (int i = 0; i < 14; ++i) {
    panel.update();
    seen.push_back(panel.value("white", kNeedle));
  }
  EXPECT_EQ(seen, (std::vector<double>{4, 8, 12, 8, 4, 0, -4, -8, -12, -8, -4, 0, 4, 8}));
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

TEST(YawStrings, SlipIsTruncatedTowardZeroThenClamped) {
  OstrelPanel panel;
  panel.place("blue");
  struct Case {
    double slip;
    double needle; // with the offsets 4, 8, 12, 8, 4, 0, -4 of successive updates
  };
  for (const Case c : {
           Case{-3.7,                                     1   },
           Case{125.9,                                    127 },
           Case{-130,                                     -118},
           Case{-140,                                     -127},
           Case{1e12,                                     127 },
           Case{-1e12,                                    -127},
           Case{std::numeric_limits<double>::quiet_NaN(), -4  }
  }) {
    panel.token(kTokenSlip, c.slip);
    panel.update();
    EXPECT_EQ(panel.value("blue", kNeedle), c.needle) << "slip " << c.slip;
  }
}

TEST(YawStrings, PresenceCheckTellsEachPlacementUntilTheServerIsFound) {
  OstrelPanel panel;
  panel.console("server absent");
  panel.place("white");
  panel.place("red");
  panel.place("blue");
  EXPECT_EQ(panel.message_captions(),
            (std::vector<std::string>{kNotLinked, kNotLinked, kNotLinked}));
  panel.update();
  EXPECT_EQ(panel.value("white", kNeedle), 4); // the strings swing all the same

  panel.console("server refuse"); // a window, but no answer
  panel.place("white", "white2");
  EXPECT_EQ(panel.message_captions(), (std::vector<std::string>{kNotLinked}));

  panel.console("server normal");
  panel.place("red", "red2");
  EXPECT_TRUE(panel.message_captions().empty());
  // Found once: no later placement looks again.
  panel.console("server absent");
  panel.place("blue", "blue2");
  EXPECT_TRUE(panel.message_captions().empty());
}

} // namespace
} // namespace ostrel_test
