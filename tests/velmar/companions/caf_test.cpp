// caf and its needle filter: windows, scale, compensation, gate, clamp and the
// units overlay, through the host with virtual time.
#include <cmath>

#include "tests/velmar/companions/panel.h"

namespace companions_test {
namespace {

using namespace companions_fixture;

constexpr int kOverlay = 1;
constexpr int kNeedle = 2;
constexpr double kTolerance = 1e-9;
constexpr double kKmhPerKnot = 1.852;

// Airspeed stays 0 (no total-energy term) unless a test changes it. One
// panel at a time: each owns the process's one host.
struct CafPanel : Panel {
  CafPanel() { place("caf"); }
  double needle() { return value("caf", kNeedle); }
};

TEST(Caf, SettlesAtWindowGainForEachResponse) {
  struct Case {
    int response;
    int window;
  };
  const Case cases[] = {
      {1, 24},
      {2, 48},
      {3, 96},
  };
  for (const Case &c : cases) {
    CafPanel fresh;
    fresh.set(kTokenVarioResponse, c.response);
    fresh.set(kTokenVerticalSpeed, 1.0 * kRawPerMps);
    fresh.update(1);
    // A step enters with twice its weight: the newest sample fills slots 1 and 2.
    EXPECT_NEAR(fresh.needle(), 2 * 256.0 / c.window, kTolerance) << c.response;
    fresh.update(c.window);
    EXPECT_NEAR(fresh.needle(), 256.0 * (c.window - 1) / c.window, kTolerance) << c.response;
  }
}

// The module clock wraps to negative readings 2^31 ms (24.86 days) after the
// load: the gate keeps opening across the wrap, and also for a needle first
// placed after it.
TEST(Caf, GateOpensAcrossTheClockWrap) {
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  for (int64_t before_placing_ms : {kClockWrapMs - 2000, kClockWrapMs + 2000}) {
    Panel panel;
    panel.host().advance(before_placing_ms);
    panel.place("caf");
    panel.set(kTokenVerticalSpeed, 1.0 * kRawPerMps);
    panel.update(49); // 5.4 s
    EXPECT_NEAR(panel.value("caf", kNeedle), 256.0 * 47 / 48, kTolerance) << before_placing_ms;
  }
}

TEST(Caf, ScaleHalfDoublesTheReadingUpToTheStop) {
  CafPanel panel;
  panel.set(kTokenVarioScale, 1); // "Scale: x.5"
  panel.set(kTokenVerticalSpeed, 2.5 * kRawPerMps);
  panel.update(60);
  EXPECT_NEAR(panel.needle(), 1280.0 * 47 / 48, kTolerance);
  // The stop lies at 1280 x 48/47 / 512 = 2.5532 m/s.
  panel.set(kTokenVerticalSpeed, 2.553 * kRawPerMps);
  panel.update(60);
  EXPECT_LT(panel.needle(), 1280.0);
  panel.set(kTokenVerticalSpeed, 2.554 * kRawPerMps);
  panel.update(60);
  EXPECT_DOUBLE_EQ(panel.needle(), 1280.0);
  panel.set(kTokenVerticalSpeed, -20.0 * kRawPerMps);
  panel.update(60);
  EXPECT_DOUBLE_EQ(panel.needle(), -1280.0);
}

TEST(Caf, ScaleDoubleHalvesTheReadingAndUnknownSettingsActAsStandard) {
  CafPanel panel;
  panel.set(kTokenVarioScale, 3); // "Scale: x 2"
  panel.set(kTokenVerticalSpeed, 4.0 * kRawPerMps);
  panel.update(60);
  EXPECT_NEAR(panel.needle(), 512.0 * 47 / 48, kTolerance);
  // Settings lnav never writes: scale x 1, window 48 (the history buffer
  // holds 96 slots and is never indexed beyond them).
  panel.set(kTokenVarioScale, 7);
  panel.set(kTokenVarioResponse, 200);
  panel.update(60);
  EXPECT_NEAR(panel.needle(), 1024.0 * 47 / 48, kTolerance);
}

TEST(Caf, ShorterResponseTakesEffectOnTheExistingHistory) {
  CafPanel panel;
  panel.set(kTokenVarioResponse, 3);
  panel.set(kTokenVerticalSpeed, 100.0);
  panel.update(100); // all 96 slots hold 100
  panel.set(kTokenVarioResponse, 1);
  panel.set(kTokenVerticalSpeed, 340.0);
  panel.update(1);
  // Slots 1 and 2 hold the new sample, slots 3..23 the old history.
  EXPECT_NEAR(panel.needle(), (2 * 340.0 + 21 * 100.0) / 24, kTolerance);
}

TEST(Caf, CompensationScalesTheEnergyTermButTheScaleDoesNot) {
  // Settle at a steady 50 kt first so the start-up speed step has left the window.
  struct Case {
    double compensation;
    int scale;
  };
  const Case cases[] = {
      {4.0, 2},
      {8.0, 2},
      {0.0, 2},
      {4.0, 1},
  };
  for (const Case &c : cases) {
    CafPanel fresh;
    fresh.set(kTokenCompensation, c.compensation);
    fresh.set(kTokenVarioScale, c.scale);
    fresh.set(kTokenVerticalSpeed, 0.0);
    fresh.set(kTokenAirspeedKnots, 50.0);
    fresh.update(60);
    ASSERT_NEAR(fresh.needle(), 0.0, kTolerance);
    fresh.set(kTokenAirspeedKnots, 51.0);
    fresh.update(1, kStepMs);
    const double v0 = 50.0 * kKmhPerKnot;
    const double v1 = 51.0 * kKmhPerKnot;
    const double te_raw = 250.0 * c.compensation * (v1 * v1 - v0 * v0) / kStepMs;
    EXPECT_NEAR(fresh.needle(), 2 * te_raw / 48, 1e-6) << c.compensation;
  }
}

TEST(Caf, GateKeepsTheValueUntilMoreThan100Ms) {
  CafPanel panel;
  panel.set(kTokenVerticalSpeed, 480.0);
  panel.update(1);
  const double first = panel.needle();
  EXPECT_NEAR(first, 480.0 * 2 / 48, kTolerance);
  panel.set(kTokenVerticalSpeed, 960.0);
  panel.update(1, 100); // exactly 100 ms: still closed
  EXPECT_DOUBLE_EQ(panel.needle(), first);
  panel.update(1, 1); // 101 ms since the last step
  // Slots 1 and 2 take 960; the first 480 moves up to slot 3.
  EXPECT_NEAR(panel.needle(), (2 * 960.0 + 480.0) / 48, kTolerance);
}

TEST(Caf, OverlayFollowsTheUnitsSetting) {
  CafPanel panel;
  for (const auto &[units, image] : {
           std::pair{2.0, 0.0},
           {0.0, 1.0},
           {1.0, 1.0},
           {2.9, 0.0}
  }) {
    panel.set(kTokenUnitsSetting, units);
    panel.update(1);
    EXPECT_DOUBLE_EQ(panel.value("caf", kOverlay), image) << units;
  }
}

} // namespace
} // namespace companions_test
