// The measurement chain: TE vario, netto, the 65-sample averages, the
// 100 ms gate and the 30-second digits.
#include <cmath>
#include <string>

#include "tests/velmar/lnav/lnav_panel.h"

namespace lnav_test {
namespace {

using namespace lnav_fixture;

constexpr double kA = -0.0001165;
constexpr double kB = 0.0138864;
constexpr double kC = -0.8118127;
constexpr double kTolerance = 1e-9;

double polar(double v_kmh) {
  return kA * v_kmh * v_kmh + kB * v_kmh + kC;
}

class VarioTest : public LnavTest {
protected:
  // On, metric, level at v with the raw vertical speed given, long enough
  // for every history to hold only this state.
  void settle(double v_kmh, double raw) {
    panel_.set(kTokenUnits, 2);
    panel_.set(kTokenAirspeedKnots, v_kmh / kKmhPerKnot);
    panel_.set(kTokenVerticalSpeedRaw, raw);
    panel_.vario_cycles(100);
  }
};

TEST_F(VarioTest, AStepEntersWithTwo65thsAndSettlesAt64) {
  panel_.power_on_past_splash();
  settle(0.0, 0.0);
  EXPECT_EQ(panel_.probe(kProbeTeAverageMps), 0.0);
  panel_.set(kTokenVerticalSpeedRaw, 2.0 * kRawPerMps);
  panel_.vario_cycles(1);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 2.0 * 2.0 / 65.0, kTolerance);
  panel_.vario_cycles(63);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 2.0 * 64.0 / 65.0, kTolerance);
}

TEST_F(VarioTest, FiltersUpdateOnlyAfterMoreThan100Ms) {
  panel_.power_on_past_splash();
  settle(0.0, 0.0);
  panel_.set(kTokenVerticalSpeedRaw, 2.0 * kRawPerMps);
  panel_.update(1, 100); // exactly 100 ms: gate stays shut
  EXPECT_EQ(panel_.probe(kProbeTeAverageMps), 0.0);
  panel_.update(1, 1); // 101 ms since the last update
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 4.0 / 65.0, kTolerance);
  panel_.update(1, 55);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 4.0 / 65.0, kTolerance);
}

// Speeding up stores energy: 1000 (v^2 - v_prev^2) / dt raw units join the
// vertical speed; the glider's sink joins the netto.
TEST_F(VarioTest, TotalEnergyTermAndNetto) {
  panel_.power_on_past_splash();
  settle(100.0, kRawPerMps * polar(100.0)); // sinking exactly as the polar says
  EXPECT_NEAR(panel_.probe(kProbeNettoAverageMps), 0.0, kTolerance);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 64.0 / 65.0 * polar(100.0), kTolerance);

  const double before = panel_.probe(kProbeTeAverageMps);
  panel_.set(kTokenAirspeedKnots, 110.0 / kKmhPerKnot);
  panel_.vario_cycles(1);
  const double te_raw = kRawPerMps * polar(100.0) + 1000.0 * (110.0 * 110.0 - 100.0 * 100.0) / 110;
  // The new sample counts twice, the oldest of 64 leaves.
  const double expected = before + 2.0 * (te_raw / kRawPerMps - polar(100.0)) / 65.0;
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), expected, 1e-6);

  // Rising air of 1 m/s: netto settles at 64/65 of it.
  settle(110.0, kRawPerMps * (polar(110.0) + 1.0));
  EXPECT_NEAR(panel_.probe(kProbeNettoAverageMps), 64.0 / 65.0, kTolerance);
}

struct DigitsCase {
  int units;
  double te_mps; // steady TE vario
  const char *digits;
  const char *tenths;
};

// The TE 30-second average as digits: "%4.1f" in m/s or knots, " x.x" past
// 9.9. After 400 updates the 299-slot history is full: 298/299 of the
// 64/65 of the input.
TEST_F(VarioTest, ThirtySecondAverageDigits) {
  panel_.power_on_past_splash();
  panel_.go_to_page(20);
  for (const DigitsCase &c : {
           DigitsCase{2, 2.0,   " 2", "0"}, // 1.96
           DigitsCase{0, 2.0,   " 3", "8"}, // 3.81 kt
           DigitsCase{2, -3.0,  "-2", "9"}, // -2.94
           DigitsCase{1, 6.0,   " x", "x"}, // 11.5 kt
           DigitsCase{2, -12.0, " x", "x"}, // beyond -9.9
           DigitsCase{2, 0.0,   " 0", "0"}
  }) {
    panel_.set(kTokenUnits, c.units);
    panel_.set(kTokenAirspeedKnots, 0.0);
    panel_.set(kTokenVerticalSpeedRaw, c.te_mps * kRawPerMps);
    panel_.vario_cycles(400);
    SCOPED_TRACE("TE " + std::to_string(c.te_mps) + " units " + std::to_string(c.units));
    EXPECT_EQ(panel_.text(kTeDigits), c.digits);
    EXPECT_EQ(panel_.text(kTePoint), ".");
    EXPECT_EQ(panel_.text(kTeTenths), c.tenths);
  }
}

TEST_F(VarioTest, NettoDigitsAndTheirWindow) {
  panel_.power_on_past_splash();
  settle(100.0, kRawPerMps * (polar(100.0) + 4.0)); // 4 m/s of rising air
  panel_.go_to_page(20);
  // The average was hidden until now: its history starts from zero, a
  // 299-slot window, the newest sample twice.
  const double netto = 4.0 * 64.0 / 65.0;
  // The last of go_to_page's cycles made the first update; 96 more, then a
  // cycle within the gate so the tenths (drawn before the digits) catch up.
  panel_.vario_cycles(96);
  panel_.update(1, 55);
  const double after_97 = netto * 98.0 / 299.0;
  char text[8];
  std::snprintf(text, sizeof text, "%4.1f", after_97);
  EXPECT_EQ(panel_.text(kNettoDigits) + "." + panel_.text(kNettoTenths), text);
  panel_.vario_cycles(300);
  EXPECT_EQ(panel_.text(kNettoDigits), " 3");
  EXPECT_EQ(panel_.text(kNettoTenths), "9");
}

TEST_F(VarioTest, PowerOnStartsFromEmptyHistories) {
  panel_.power_on_past_splash();
  settle(0.0, 3.0 * kRawPerMps);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 3.0 * 64.0 / 65.0, kTolerance);
  panel_.click(Button::kKnobDown);
  panel_.click(Button::kKnobUp);
  panel_.vario_cycles(1);
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 3.0 * 2.0 / 65.0, kTolerance);
}

// Switched on in flight, the first cycle has no earlier airspeed: it takes
// the current one, so no speed gained from 0 shows as climb; the next cycle
// measures from it.
TEST_F(VarioTest, FirstCycleAfterPowerOnSeesNoSpeedChange) {
  panel_.set(kTokenAirspeedKnots, 100.0 / kKmhPerKnot);
  panel_.host().advance(5000);
  panel_.click(Button::kKnobUp);
  panel_.vario_cycles(1);
  EXPECT_EQ(panel_.probe(kProbeTeAverageMps), 0.0);
  panel_.set(kTokenAirspeedKnots, 110.0 / kKmhPerKnot);
  panel_.vario_cycles(1);
  const double te_raw = 1000.0 * (110.0 * 110.0 - 100.0 * 100.0) / kVarioStepMs;
  EXPECT_NEAR(panel_.probe(kProbeTeAverageMps), 2.0 * te_raw / kRawPerMps / 65.0, 1e-6);
}

// The module clock wraps to negative readings 2^31 ms (24.86 days) after the
// load. Every gate (vario cycle, wind filter, 30-second digits, splash) keeps
// opening across the wrap, and also after a power-on that comes after it.
TEST(VarioClock, GatesOpenAcrossTheWrap) {
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  for (int64_t before_power_on_ms : {kClockWrapMs - 3000, kClockWrapMs + 3000}) {
    SCOPED_TRACE(before_power_on_ms);
    WorkFolder folder; // one panel at a time: each owns the process's one host
    LnavPanel panel;
    panel.host().advance(before_power_on_ms);
    panel.set(kTokenUnits, 2);
    panel.set(kTokenGroundSpeedKmh, 0.0);
    panel.set(kTokenAirspeedKnots, 0.0);
    panel.power_on_past_splash();
    panel.go_to_page(20);
    panel.set(kTokenVerticalSpeedRaw, 2.0 * kRawPerMps);
    panel.set(kTokenAirspeedKnots, 50.0 / kKmhPerKnot);
    panel.vario_cycles(400);
    EXPECT_NEAR(panel.probe(kProbeTeAverageMps), 2.0 * 64.0 / 65.0, kTolerance);
    EXPECT_NEAR(panel.probe(kProbeHeadwindKmh), 50.0, kTolerance);
    EXPECT_EQ(panel.text(kTeDigits) + panel.text(kTePoint) + panel.text(kTeTenths), " 2.0");
  }
}

} // namespace
} // namespace lnav_test
