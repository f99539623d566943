// VETdisplay: its twelve lines, computed once per update by line 1, and the
// maximum climb rate that only a VETswitch start resets.
#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

constexpr uint32_t kTokenLevelSetAllowed = 0x3C;
constexpr uint32_t kTokenAirspeedKnots = 0x3D;
constexpr uint32_t kTokenClimbRaw = 0x41;
constexpr uint32_t kTokenAltitudeM = 0x49;
constexpr uint32_t kTokenThrottle = 0x80;
constexpr uint32_t kTokenRpm = 0x87;
constexpr uint32_t kTokenThrust = 0x279;
constexpr uint32_t kTokenElevatorRad = 0x30E;
constexpr uint32_t kTokenTrimRad = 0x30F;

constexpr double kKmhPerKnot = 1.852;

// Shown text of line n (1 .. 12); the root is element 0.
std::string line(OstrelPanel &panel, int n) {
  return panel.text("VETdisplay", n);
}

TEST(VetDisplay, ShowsEveryLineWithItsFormatAndLabel) {
  OstrelPanel panel;
  panel.place("VETdisplay");
  panel.token(kTokenThrust, 1234.4);
  panel.token(kTokenThrottle, 16383);
  panel.token(kTokenRpm, 5499.5);
  panel.token(kTokenAirspeedKnots, 95.0 / kKmhPerKnot);
  panel.token(kTokenAltitudeM, 512.34);
  panel.token(kTokenClimbRaw, 2.5 * 256);
  panel.token(kTokenElevatorRad, 0.157);
  panel.token(kTokenTrimRad, -0.0314);
  panel.update();
  const std::vector<std::string> want = {
      "    1234 thrust",
      "   16383 throttle", // 18 formatted, the trailing space cut
      "    5500 rpm",      "       0 sec.",     "    95.0 km/h",  "   512.3 alt",  "     2.5 vs",
      "     2.5 vs(max)",  "     0.0 %ballast", "     9.0 elev.", "    -1.8 trim", "    2.50@095.0",
  };
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(line(panel, n), want[static_cast<size_t>(n - 1)]) << "line " << n;
  }
}

TEST(VetDisplay, LongValuesAreCutToTheLineWithoutHarm) {
  OstrelPanel panel;
  panel.place("VETdisplay");
  panel.token(kTokenThrust, 1e200);
  panel.token(kTokenClimbRaw, 1e300);
  panel.token(kTokenAirspeedKnots, -1e300);
  panel.update();
  EXPECT_EQ(line(panel, 1).size(), 17u);
  EXPECT_EQ(line(panel, 12).size(), 17u);
  EXPECT_EQ(line(panel, 12).substr(0, 4), "   3");
}

TEST(VetDisplay, MaximumClimbHoldsUntilTheNextStart) {
  OstrelPanel panel;
  panel.place("VETswitch");
  panel.place("VETdisplay");
  for (double rate : {1.0, 4.0, 2.0, -3.0}) {
    panel.token(kTokenClimbRaw, rate * 256);
    panel.update();
  }
  EXPECT_EQ(line(panel, 8), "     4.0 vs(max)");
  panel.token(kTokenLevelSetAllowed, 1);
  panel.click("VETswitch", 10, 10);
  panel.update();
  EXPECT_EQ(line(panel, 8), "     0.0 vs(max)"); // below zero: the reset value stays
}

TEST(VetDisplay, WithoutASwitchTheMaximumIsNeverReset) {
  OstrelPanel panel;
  panel.place("VETdisplay");
  panel.token(kTokenClimbRaw, 6.0 * 256);
  panel.update();
  panel.token(kTokenClimbRaw, 0);
  panel.update(100);
  EXPECT_EQ(line(panel, 8), "     6.0 vs(max)");
}

TEST(VetDisplay, SecondsFollowTheRunCounter) {
  OstrelPanel panel;
  panel.place("VETswitch");
  panel.place("VETdisplay");
  panel.token(kTokenLevelSetAllowed, 1);
  panel.token(kTokenThrottle, 1);
  panel.update();
  panel.click("VETswitch", 10, 10);
  panel.update(19); // 1045 ms: the first tick after more than a second
  EXPECT_EQ(line(panel, 4), "       1 sec.");
  panel.update(19 * 4);
  EXPECT_EQ(line(panel, 4), "       5 sec.");
}

} // namespace
} // namespace ostrel_test
