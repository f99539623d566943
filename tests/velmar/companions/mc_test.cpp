// mc: texts in each units setting, turnpoint name, compass, the deviation
// arrow's bands and timing, and the integer arithmetic of its vario needle.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "tests/velmar/companions/panel.h"

namespace companions_test {
namespace {

using namespace companions_fixture;

constexpr int kHeading = 1;
constexpr int kName = 2;
constexpr int kAltitude = 3;
constexpr int kAirspeed = 4;
constexpr int kArrow = 5;
constexpr int kVario = 6;
constexpr int kCompass = 7;

constexpr double kLatitudeRawPerMin = 1852.175925953;
constexpr double kLongitudeRawPerMin = 13031248921.78;
constexpr double kPi = 3.14159265359;
constexpr int kIntervalMs = 2000;

struct McPanel : Panel {
  McPanel() { place("mc"); }
};

TEST(Mc, TextsInEachUnitsSetting) {
  struct Case {
    double units;
    const char *altitude;
    const char *airspeed;
  };
  // 1000 m and 50 kt: feet with 0 and 1, knots only with 0.
  const Case cases[] = {
      {0, " 3281", " 50"},
      {1, " 3281", " 93"},
      {2, " 1000", " 93"},
  };
  for (const Case &c : cases) {
    McPanel panel;
    panel.set(kTokenAltitudeM, 1000.0);
    panel.set(kTokenAirspeedKnots, 50.0);
    panel.set(kTokenUnitsSetting, c.units);
    panel.set(kTokenHeadingDeg, 7.9);
    panel.update();
    EXPECT_EQ(panel.text("mc", kAltitude), c.altitude) << c.units;
    EXPECT_EQ(panel.text("mc", kAirspeed), c.airspeed) << c.units;
    EXPECT_EQ(panel.text("mc", kHeading), "007") << c.units;
  }
}

TEST(Mc, TurnpointNameFillsTwelveCharactersWhileGpsIsOn) {
  McPanel panel;
  panel.set(kTokenActiveTpNameIndex, 2); // "ABCDEFGHIJKL"
  panel.update();
  EXPECT_EQ(panel.text("mc", kName), std::string(12, ' '));
  panel.set(kTokenGpsPowerOn, 1);
  panel.update();
  EXPECT_EQ(panel.text("mc", kName), "ABCDEFGHIJKL");
  // The whole 28-character text sits in the host's buffer; the element shows 12.
  EXPECT_EQ(std::strlen(panel.element("mc", kName).buffer.data()), 28u);
  panel.set(kTokenActiveTpNameIndex, 1);
  panel.update();
  EXPECT_EQ(panel.text("mc", kName), "Rudno       ");
}

TEST(Mc, CompassPointsByHeadingWithinACircle) {
  McPanel panel;
  for (const auto &[heading, angle] : {
           std::pair{0.0,   -90.0},
           {90.9,  0.0  },
           {360.0, 270.0},
           {361.0, -90.0},
           {-1.0,  -90.0},
           {1e12,  -90.0}
  }) {
    panel.set(kTokenHeadingDeg, heading);
    panel.update();
    EXPECT_DOUBLE_EQ(panel.value("mc", kCompass), angle) << heading;
  }
}

struct Position {
  double lat_min;
  double lon_min; // west negative
};

// The point `km` away along `bearing_deg` in mc's flat-earth frame (the
// inverse of its bearing formula, mean latitude included).
Position move(Position from, double bearing_deg, double km) {
  const double rad = bearing_deg * kPi / 180.0;
  const double lat_min = from.lat_min + km * std::cos(rad) / 111.15 * 60.0;
  const double mid_rad = (from.lat_min + lat_min) / 2.0 / 60.0 * kPi / 180.0;
  const double lon_min = from.lon_min + km * std::sin(rad) / (111.321 * std::cos(mid_rad)) * 60.0;
  return {lat_min, lon_min};
}

void fly_to(Panel &panel, Position p) {
  panel.set(kTokenLatitude, p.lat_min * kLatitudeRawPerMin);
  panel.set(kTokenLongitude,
            (p.lon_min < 0 ? p.lon_min + 21600.0 : p.lon_min) * kLongitudeRawPerMin);
}

void set_turnpoint(Panel &panel, Position p) {
  panel.set(kTokenActiveTpLatMin, p.lat_min);
  panel.set(kTokenActiveTpLonMin, p.lon_min);
}

// Measures once from `start`, then moves 1 km along `track_deg` with the
// turnpoint along `bearing_deg`, and returns the arrow. Half degrees keep the
// truncated angles off their boundaries.
double arrow_after(double track_deg, double bearing_deg, Position start = {3000.0, 1000.0}) {
  McPanel panel;
  panel.set(kTokenGpsPowerOn, 1);
  fly_to(panel, start);
  panel.update(1, kIntervalMs);
  const Position next = move(start, track_deg + 0.5, 1.0);
  set_turnpoint(panel, move(next, bearing_deg + 0.5, 50.0));
  fly_to(panel, next);
  panel.update(1, kIntervalMs);
  return panel.value("mc", kArrow);
}

TEST(Mc, DeviationArrowBands) {
  struct Case {
    double track_deg;
    double bearing_deg;
    double arrow;
  };
  const Case cases[] = {
      {100, 100, 5},
      {110, 100, 5},
      {111, 100, 4},
      {120, 100, 4},
      {121, 100, 3},
      {131, 100, 2},
      {141, 100, 1},
      {90,  100, 5},
      {89,  100, 6},
      {80,  100, 6},
      {79,  100, 7},
      {69,  100, 8},
      {59,  100, 9},
      {350, 10,  6}, // d = 340 - 360 = -20: not below
  // -20
      {10,  350, 4}, // d = -340 + 360 = 20
      {190, 10,  1}, // d = 180 stays 180
      {10,  190, 9}, // d = -180 stays -180
  };
  for (const Case &c : cases) {
    EXPECT_DOUBLE_EQ(arrow_after(c.track_deg, c.bearing_deg), c.arrow)
        << c.track_deg << " vs " << c.bearing_deg;
  }
  // Across the zero meridian eastward: west longitudes come in as 21600 - x.
  EXPECT_DOUBLE_EQ(arrow_after(90, 90, {3000.0, -0.3}), 5);
}

TEST(Mc, DeviationArrowWaitsTwoWholeSecondsAndShowsZeroWhileGpsIsOff) {
  McPanel panel;
  panel.update();
  EXPECT_DOUBLE_EQ(panel.value("mc", kArrow), 0); // GPS off
  panel.set(kTokenGpsPowerOn, 1);
  const Position start{3000.0, 1000.0};
  set_turnpoint(panel, move(start, 0.5, 50.0));
  fly_to(panel, start);
  panel.update(1, kIntervalMs);
  // This first track runs from 0, 0 (where the previous position starts).
  const double first = panel.value("mc", kArrow);
  const Position east = move(start, 90.5, 1.0);
  fly_to(panel, east);
  panel.update(1, kIntervalMs - 1);
  EXPECT_DOUBLE_EQ(panel.value("mc", kArrow), first) << "1999 ms: not yet measured";
  panel.update(1, 1);
  EXPECT_DOUBLE_EQ(panel.value("mc", kArrow), 1) << "track 90 right of bearing 0";
  panel.set(kTokenGpsPowerOn, 0);
  panel.update();
  EXPECT_DOUBLE_EQ(panel.value("mc", kArrow), 0);
}

// The module clock wraps to negative readings 2^31 ms (24.86 days) after the
// load: the vario's 100 ms gate and the arrow's 2 s interval keep opening
// across the wrap, and also for a gauge first placed after it.
TEST(Mc, GatesOpenAcrossTheClockWrap) {
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  for (int64_t before_placing_ms : {kClockWrapMs - 3000, kClockWrapMs + 3000}) {
    SCOPED_TRACE(before_placing_ms);
    Panel panel;
    panel.host().advance(before_placing_ms);
    panel.place("mc");
    panel.set(kTokenVerticalSpeed, 500.0);
    panel.set(kTokenGpsPowerOn, 1);
    set_turnpoint(panel, {3050.0, 1000.0}); // north
    fly_to(panel, {3000.0, 999.0});
    panel.update(1, kIntervalMs);
    fly_to(panel, {3000.0, 1000.0}); // flown east
    panel.update(20);                // 2.2 s, across the wrap for the first
    EXPECT_DOUBLE_EQ(panel.value("mc", kArrow), 1);
    panel.update(100);
    EXPECT_DOUBLE_EQ(panel.value("mc", kVario), 495);
  }
}

// The needle's value after `updates` steps of a constant raw vertical speed.
double vario_after(double raw, int updates) {
  McPanel panel;
  panel.set(kTokenVerticalSpeed, raw);
  panel.update(updates);
  return panel.value("mc", kVario);
}

TEST(Mc, VarioKeepsItsIntegerArithmetic) {
  // Each addition is truncated: 0.9 per slot never adds up.
  EXPECT_DOUBLE_EQ(vario_after(0.9, 120), 0);
  // One step fills slots 1 and 2: 149 + 149.9 -> 298, / 100 -> 2.
  EXPECT_DOUBLE_EQ(vario_after(149.9, 1), 2);
  EXPECT_DOUBLE_EQ(vario_after(150.0, 1), 3);
  // 99 slots of 500 -> 49500 -> 495; the rounding step moves -495 to -494.
  EXPECT_DOUBLE_EQ(vario_after(500.0, 120), 495);
  EXPECT_DOUBLE_EQ(vario_after(-500.0, 120), -494);
  EXPECT_DOUBLE_EQ(vario_after(3000.0, 120), 2560);
  EXPECT_DOUBLE_EQ(vario_after(-3000.0, 120), -2560);
  // A wild token saturates the running sum instead of overflowing it.
  EXPECT_DOUBLE_EQ(vario_after(1e18, 3), 2560);
  EXPECT_DOUBLE_EQ(vario_after(-1e18, 3), -2560);
}

TEST(Mc, VarioUsesItsOwnCompensation) {
  McPanel panel;
  panel.set(kTokenCompensation, 0.0); // lnav's setting does not reach mc
  panel.update();
  panel.set(kTokenAirspeedKnots, 10.0);
  panel.update(1, kStepMs);
  const double v_kmh = 10.0 * 1.852;
  const double te_raw = v_kmh * v_kmh / kStepMs * 4.0 * 250.0;
  const int64_t sum =
      static_cast<int64_t>(static_cast<double>(static_cast<int64_t>(te_raw)) + te_raw);
  EXPECT_DOUBLE_EQ(panel.value("mc", kVario), static_cast<double>(sum / 100));
}

} // namespace
} // namespace companions_test
