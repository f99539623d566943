// test, the wind check display: rows with the GPS off and on, headwind and
// tailwind, and the reserved rows.
#include "tests/velmar/companions/panel.h"

namespace companions_test {
namespace {

using namespace companions_fixture;

struct WindCheckPanel : Panel {
  WindCheckPanel() { place("test"); }
  std::string row(int n) { return text("test", n); } // rows 1..10 are elements 1..10
};

TEST(WindCheck, GpsOffShowsAirspeedOnly) {
  WindCheckPanel panel;
  panel.set(kTokenLnavAirspeedKmh, 95.24);
  panel.set(kTokenGroundSpeedKmh, 80.0);
  panel.update();
  EXPECT_EQ(panel.row(1), "    95.2 kmh/asi");
  EXPECT_EQ(panel.row(2), "     0.0 gps off");
  EXPECT_EQ(panel.row(3), "     0.0 ");
  for (int n = 4; n <= 10; ++n) {
    EXPECT_EQ(panel.row(n), "     0.0 ") << n;
  }
}

TEST(WindCheck, HeadwindKeepsTenthsTailwindIsCutToWholeKmh) {
  WindCheckPanel panel;
  panel.set(kTokenGpsPowerOn, 1);
  panel.set(kTokenLnavAirspeedKmh, 100.0);
  panel.set(kTokenGroundSpeedKmh, 103.7);
  panel.update();
  EXPECT_EQ(panel.row(1), "   100.0 kmh/asi");
  EXPECT_EQ(panel.row(2), "   103.7 kmh/gps");
  EXPECT_EQ(panel.row(3), "     3.0 TW");
  panel.set(kTokenGroundSpeedKmh, 96.3);
  panel.update();
  EXPECT_EQ(panel.row(3), "     3.7 HW");
  panel.set(kTokenGroundSpeedKmh, 100.0);
  panel.update();
  EXPECT_EQ(panel.row(3), "     0.0 HW");
  // Switching the GPS off clears rows 2 and 3 in the same cycle.
  panel.set(kTokenGpsPowerOn, 0);
  panel.update();
  EXPECT_EQ(panel.row(2), "     0.0 gps off");
  EXPECT_EQ(panel.row(3), "     0.0 ");
  EXPECT_EQ(panel.row(10), "     0.0 ");
}

} // namespace
} // namespace companions_test
