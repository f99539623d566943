// vsi through the host: the 100 ms gate, the trimmed mean's steady response,
// rejection of compensation spikes, the scale clamps, the mode switch and the
// labels. Every step of time is the host's virtual clock.
#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

// Element indices of vsi, depth-first.
constexpr int kScaleLabel = 1;
constexpr int kUnitLabel = 2;
constexpr int kSecondNeedle = 3;
constexpr int kMainNeedle = 4;
constexpr int kRangeSwitch = 5;
constexpr int kModeSwitch = 6;

// Switch children, x = 250..265.
constexpr int kSwitchX = 255;
constexpr int kRangeY[] = {0, 100, 116, 132}; // range 1, 2, 3
constexpr int kModeY[] = {0, 170, 186, 202};  // mode 1, 2, 3

constexpr int64_t kSampleStepMs = 200; // above the 100 ms gate

class VsiTest : public DurnikTest {
protected:
  VsiTest() { place("vsi"); }

  // Enough computations to fill the 47-sample history with one value.
  void run_steady(double climb_raw, double speed_kt, int cycles = 60) {
    host.set_token(0x41, climb_raw);
    host.set_token(0x3D, speed_kt);
    host.update(cycles, kSampleStepMs);
  }
  double main_needle() { return value("vsi", kMainNeedle); }
  double second_needle() { return value("vsi", kSecondNeedle); }
};

TEST_F(VsiTest, RequestsWithin100msShareOneComputation) {
  run_steady(300.0, 50.0);
  ASSERT_EQ(main_needle(), 281.0);
  host.set_token(0x41, -600.0);
  host.update(30, 0);
  EXPECT_EQ(main_needle(), 281.0) << "requests without time passing";
  host.update(1, 50);
  host.update(1, 50);
  EXPECT_EQ(main_needle(), 281.0) << "exactly 100 ms is still inside the gate";
  host.update(1, 1);
  EXPECT_EQ(main_needle(), 281.0) << "one low sample sorts to the bottom";
  // 25 samples of -600 in all: slots 17..25 hold -600, 26..31 hold 300, so
  // (9 x -600 + 6 x 300) / 16 = -225, rounded toward zero to -224. Samples
  // from the 32 gated requests would have changed that.
  host.update(24, kSampleStepMs);
  EXPECT_EQ(main_needle(), -224.0);
}

TEST_F(DurnikTest, VsiComputesAcrossTheModuleClockWrap) {
  // Placed just before the 32-bit clock wraps, and first placed after it
  // with the last computation mark still the one from load.
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  for (const int64_t start_ms : {kClockWrapMs - 3000, kClockWrapMs + 3000}) {
    std::string error;
    ASSERT_TRUE(host.unload_module("durnik", error)) << error;
    ASSERT_TRUE(host.load_module("durnik", error)) << error; // the clock starts at load
    host.advance(start_ms);
    place("vsi");
    host.set_token(0x41, 300.0);
    host.set_token(0x3D, 50.0);
    host.update(60, kSampleStepMs); // 12 s
    EXPECT_EQ(value("vsi", kMainNeedle), 281.0) << "from module time " << start_ms;
    ASSERT_TRUE(host.remove("vsi", error)) << error;
  }
}

TEST_F(VsiTest, SteadyRateGivesFifteenSixteenthsOfItsTruncation) {
  const struct {
    double climb_raw;
    int range;
    double expected;
  } cases[] = {
      {300.6,  2, 281.0 }, // truncate(15 x 300 / 16)
      {16.0,   2, 15.0  }, // the divisor is 16 although 15 slots are summed
      {300.6,  1, 562.0 }, // range factor 2
      {300.6,  3, 140.0 }, // 140.5, truncated by the rounding step
      {-300.6, 2, -280.0}, // -281 rounds toward zero through the tenths step
      {0.9,    2, 0.0   }, // each addition is truncated
  };
  for (const auto &c : cases) {
    click("vsi", kSwitchX, kRangeY[c.range]);
    run_steady(c.climb_raw, 50.0, 100);
    EXPECT_EQ(main_needle(), c.expected) << "climb " << c.climb_raw << " range " << c.range;
  }
}

TEST_F(VsiTest, AirspeedStepSortsToTheTopAndNeverEntersTheMean) {
  run_steady(300.0, 50.0);
  ASSERT_EQ(main_needle(), 281.0);
  // One sample of +20 kt: a compensation term of tens of thousands of units.
  host.set_token(0x3D, 70.0);
  for (int i = 0; i < 50; ++i) {
    host.update(1, kSampleStepMs);
    ASSERT_EQ(main_needle(), 281.0) << "cycle " << i << " after the step up";
  }
  host.set_token(0x3D, 40.0);
  for (int i = 0; i < 50; ++i) {
    host.update(1, kSampleStepMs);
    ASSERT_EQ(main_needle(), 281.0) << "cycle " << i << " after the step down";
  }
}

TEST_F(VsiTest, NeedlesPinAtTheScaleEnds) {
  click("vsi", kSwitchX, kRangeY[1]); // x2: 937 becomes 1874
  run_steady(1000.0, 50.0);
  EXPECT_EQ(main_needle(), 1280.0);
  EXPECT_EQ(second_needle(), 1280.0);
  run_steady(-1000.0, 50.0);
  EXPECT_EQ(main_needle(), -1280.0);
  click("vsi", kSwitchX, kModeY[3]);
  host.set_token(0x41, -700.0);
  host.update(1, 10);
  EXPECT_EQ(second_needle(), -1280.0) << "raw -700 x 2";
}

TEST_F(VsiTest, ModeThreeShowsTheRawRateTimesTheRange) {
  run_steady(300.0, 50.0);
  host.set_token(0x41, 100.0);
  host.update(1, 10); // inside the gate: the main needle keeps 281
  EXPECT_EQ(second_needle(), 281.0) << "mode 2 repeats the main needle";
  click("vsi", kSwitchX, kModeY[3]);
  click("vsi", kSwitchX, kRangeY[3]);
  host.update(1, 10);
  EXPECT_EQ(second_needle(), 50.0) << "the new range reaches the second needle at once";
  EXPECT_EQ(main_needle(), 281.0) << "and the main needle only at its next computation";
  EXPECT_EQ(value("vsi", kModeSwitch), 2.0);
  EXPECT_EQ(value("vsi", kRangeSwitch), 2.0);
  click("vsi", kSwitchX, kModeY[1]);
  host.update(1, 10);
  EXPECT_EQ(second_needle(), 281.0);
  EXPECT_EQ(value("vsi", kModeSwitch), 0.0);
}

TEST_F(VsiTest, LabelsFollowRangeAndUnits) {
  const struct {
    double units;
    int range;
    double scale_image;
    double unit_image;
  } cases[] = {
      {2.0, 1, 0.0, 1.0},
      {2.0, 2, 1.0, 1.0},
      {2.0, 3, 2.0, 1.0},
      {2.9, 3, 2.0, 1.0},
      {0.0, 1, 1.0, 0.0},
      {0.0, 3, 3.0, 0.0},
      {1.0, 2, 2.0, 0.0},
      {3.0, 1, 1.0, 0.0},
  };
  for (const auto &c : cases) {
    host.set_token(0x14F, c.units);
    click("vsi", kSwitchX, kRangeY[c.range]);
    host.update(1, 10);
    EXPECT_EQ(value("vsi", kScaleLabel), c.scale_image)
        << "units " << c.units << " range " << c.range;
    EXPECT_EQ(value("vsi", kUnitLabel), c.unit_image) << "units " << c.units;
  }
}

} // namespace
} // namespace durnik_test
