// Speed to fly, ballast, required altitude, the wind filter and the fields
// that show them.
#include <cmath>
#include <fstream>
#include <string>

#include "tests/velmar/lnav/lnav_panel.h"

namespace lnav_test {
namespace {

using namespace lnav_fixture;

constexpr double kA = -0.0001165;
constexpr double kB = 0.0138864;
constexpr double kC = -0.8118127;
constexpr double kSettledGain = 64.0 / 65.0; // 65-sample averager
constexpr double kTolerance = 1e-9;
// Cycles until every 65-sample history has forgotten the power-on transient.
constexpr int kSettleCycles = 400;

double polar(double v_kmh, double k = 1.0, double a = kA, double b = kB, double c = kC) {
  return (a / k) * v_kmh * v_kmh + b * v_kmh + c * k;
}

class GlideTest : public LnavTest {
protected:
  void write_polar(const std::string &text) {
    std::ofstream(folder_.path() / "LNAV_polar.dat", std::ios::binary) << text;
  }
  // Steady flight at v in still air, fed so that the averaged TE vario
  // settles exactly on the polar sink at v: the air-mass term t is then 0.
  void fly_still_air(double v_kmh, double sink_mps) {
    panel_.set(kTokenAirspeedKnots, v_kmh / kKmhPerKnot);
    panel_.set(kTokenVerticalSpeedRaw, sink_mps / kSettledGain * kRawPerMps);
  }
  void fill_tanks(double litres) {
    const double gallons_each = litres / 3.785 / 2.0;
    panel_.set(kTokenTank1CapacityGal, gallons_each);
    panel_.set(kTokenTank2CapacityGal, gallons_each);
    panel_.set(kTokenTank1Level, 8388608.0);
    panel_.set(kTokenTank2Level, 8388608.0);
  }
};

TEST_F(GlideTest, SpeedToFlySettlesAt64Of65OfTheTangentSpeed) {
  panel_.power_on_past_splash();
  fly_still_air(100.0, polar(100.0));
  panel_.vario_cycles(kSettleCycles);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), kSettledGain * std::sqrt(kC / kA), kTolerance);
  EXPECT_NEAR(kSettledGain * std::sqrt(kC / kA), 82.19, 0.005);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlySinkMps), polar(panel_.probe(kProbeSpeedToFlyKmh)),
              kTolerance);

  // MacCready 2 m/s: the tangent from (0, 2) touches at sqrt((c - 2) / a).
  panel_.go_to_page(21);
  panel_.click(Button::kIncrease, 20);
  panel_.vario_cycles(kSettleCycles);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), kSettledGain * std::sqrt((kC - 2.0) / kA), 1e-6);
}

TEST_F(GlideTest, BallastScalesThePolarByTheWingLoading) {
  write_polar("  -0.0001165\n   0.0138864\n  -0.8118127\n 400.0000000\n   0.0000000\n");
  fill_tanks(100.0);
  panel_.power_on_past_splash();
  const double k = std::sqrt(1.25);
  fly_still_air(100.0, polar(100.0, k));
  panel_.vario_cycles(kSettleCycles);
  EXPECT_NEAR(panel_.probe(kProbeWingLoadingK), k, kTolerance);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), kSettledGain * k * std::sqrt(kC / kA), 1e-6);

  // One tank dumped: half the water.
  panel_.set(kTokenTank1Level, 0.0);
  panel_.vario_cycles(1);
  EXPECT_NEAR(panel_.probe(kProbeWingLoadingK), std::sqrt(450.0 / 400.0), kTolerance);
}

// A real polar (LS-8 15 m, reference 346 kg, up to 185 l of water) written
// with more digits than "%12.7f" gives: each line is read whole.
TEST_F(GlideTest, RealPolarWithLongLinesAndFullBallast) {
  const double a = -0.0001776577149213412;
  const double b = 0.029786111552518688;
  const double c = -1.83587954870491;
  write_polar("-0.0001776577149213412\n0.029786111552518688\n-1.83587954870491\n346\n0\n");
  fill_tanks(185.0);
  panel_.power_on_past_splash();
  const double k = std::sqrt((346.0 + 185.0) / 346.0);
  fly_still_air(130.0, polar(130.0, k, a, b, c));
  panel_.vario_cycles(kSettleCycles);
  EXPECT_NEAR(panel_.probe(kProbeWingLoadingK), k, 1e-6);
  // Best glide of the dry glider about 101.7 km/h; wet, k times that.
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), kSettledGain * k * std::sqrt(c / a), 1e-6);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh) / kSettledGain, 125.93, 0.01);
}

// A freshly created file has reference mass 0; water in the tanks must not
// turn the glide values into non-numbers.
TEST_F(GlideTest, FreshFileWithBallastKeepsTheDisplaysSensible) {
  fill_tanks(150.0);
  panel_.set(kTokenGpsPowerOn, 1);
  panel_.set(kTokenActiveTpDistanceKm, 50.0);
  panel_.set(kTokenAltitudeM, 1500.0);
  panel_.set(kTokenGroundSpeedKmh, 90.0); // no wind
  panel_.set(kTokenUnits, 2);
  panel_.power_on_past_splash();
  fly_still_air(90.0, polar(90.0));
  panel_.go_to_page(21);
  panel_.vario_cycles(kSettleCycles);
  EXPECT_EQ(panel_.probe(kProbeWingLoadingK), 1.0);
  EXPECT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), kSettledGain * std::sqrt(kC / kA), kTolerance);
  const double required = panel_.probe(kProbeRequiredAltitudeM);
  ASSERT_TRUE(std::isfinite(required));
  char expected[16];
  std::snprintf(expected, sizeof expected, "%5.0f", 1500.0 - required);
  EXPECT_EQ(panel_.text(kValueLine), expected);
  EXPECT_EQ(panel_.value(kSpeedArrow), 4.0); // 82.2 - 90 km/h: a little slower
  EXPECT_TRUE(std::isfinite(panel_.value(kGlideBar, 1)));
}

TEST_F(GlideTest, RequiredAltitudeToTheActiveTurnpoint) {
  panel_.set(kTokenGpsPowerOn, 1);
  panel_.set(kTokenActiveTpDistanceKm, 100.0);
  panel_.set(kTokenActiveTpElevationM, 300.0);
  panel_.set(kTokenAltitudeM, 2500.0);
  panel_.set(kTokenGroundSpeedKmh, 100.0); // no wind
  panel_.set(kTokenUnits, 2);
  panel_.power_on_past_splash();
  fly_still_air(100.0, polar(100.0));
  panel_.go_to_page(21);
  panel_.vario_cycles(kSettleCycles);

  const double stf = panel_.probe(kProbeSpeedToFlyKmh);
  const double sink = panel_.probe(kProbeSpeedToFlySinkMps);
  EXPECT_NEAR(panel_.probe(kProbeHeadwindKmh), 0.0, kTolerance);
  const double required = std::fabs(100.0 / stf * 3600.0 * sink) + 300.0 + 100.0;
  EXPECT_NEAR(panel_.probe(kProbeRequiredAltitudeM), required, 1e-6);
  char expected[16];
  std::snprintf(expected, sizeof expected, "%5.0f", 2500.0 - required); // Alt.Diff.
  EXPECT_EQ(panel_.text(kValueLine), expected);
  EXPECT_NEAR(panel_.value(kGlideBar, 1), required - 2500.0, 1e-6);

  panel_.go_to_page(28);
  panel_.click(Button::kIncrease); // Alt.Req.
  panel_.set(kTokenUnits, 1);      // feet
  panel_.go_to_page(21);
  std::snprintf(expected, sizeof expected, "%5.0f", required * kFeetPerMetre);
  EXPECT_EQ(panel_.text(kValueLine), expected);

  // gpsnav switched off: nothing to reach.
  panel_.set(kTokenGpsPowerOn, 0);
  panel_.vario_cycles(2);
  EXPECT_EQ(panel_.probe(kProbeRequiredAltitudeM), 0.0);
  EXPECT_EQ(panel_.text(kValueLine), "    0");
  EXPECT_EQ(panel_.value(kGlideBar, 1), -500.0); // far above a path to nowhere
  panel_.go_to_page(22);                         // hides the bar
  EXPECT_EQ(panel_.value(kGlideBar, 1), 0.0);
  EXPECT_EQ(panel_.value(kGlideFrame), 0.0);
}

// The value line holds five characters: a number that needs more shows the
// field's stop, never its first five characters (-17027 ft read -1702). A
// goal out of reach (a headwind as fast as the speed to fly) shows dashes in
// both modes, with the final-glide bar at its lower stop.
TEST_F(GlideTest, ValueLineShowsStopsAndAnUnreachableGoal) {
  struct Case {
    double distance_km;
    double ground_speed_kmh; // at 100 km/h airspeed
    int alt_mode;            // 1 Alt.Diff., 2 Alt.Req.
    int units;               // 1 feet, 2 metres
    const char *value_line;
  };
  panel_.set(kTokenGpsPowerOn, 1);
  panel_.set(kTokenAltitudeM, 1200.0);
  panel_.power_on_past_splash();
  fly_still_air(100.0, polar(100.0));
  int alt_mode = 1;
  for (const Case &c : {
           Case{300.0,  100.0, 1, 1, "-9999"}, // about -4900 m: -16100 ft
           Case{2000.0, 100.0, 2, 1, "99999"}, // about 41000 m: 134000 ft
           Case{20.0,   10.0,  2, 2, "-----"}, // 90 km/h of headwind
           Case{20.0,   10.0,  1, 1, "-----"},
  }) {
    if (c.alt_mode != alt_mode) {
      panel_.go_to_page(28);
      panel_.click(Button::kIncrease);
      alt_mode = c.alt_mode;
    }
    panel_.set(kTokenActiveTpDistanceKm, c.distance_km);
    panel_.set(kTokenGroundSpeedKmh, c.ground_speed_kmh);
    panel_.set(kTokenUnits, c.units);
    panel_.go_to_page(21);
    panel_.vario_cycles(kSettleCycles);
    SCOPED_TRACE(std::to_string(c.distance_km) + " km, mode " + std::to_string(c.alt_mode));
    EXPECT_EQ(panel_.text(kValueLine), c.value_line);
    EXPECT_EQ(panel_.value(kGlideBar, 1), 500.0);
  }
}

TEST_F(GlideTest, WindFilterAveragesAirspeedMinusGroundSpeed) {
  panel_.set(kTokenAirspeedKnots, 100.0 / kKmhPerKnot);
  panel_.set(kTokenGroundSpeedKmh, 60.0);
  panel_.update(10);
  // Off, the filter runs all the same.
  EXPECT_NEAR(panel_.probe(kProbeLnavAirspeedKmh), 100.0, kTolerance);
  EXPECT_GT(panel_.probe(kProbeHeadwindKmh), 0.0);

  panel_.set(kTokenGroundSpeedKmh, 90.0);
  panel_.power_on_past_splash();
  EXPECT_LT(panel_.probe(kProbeHeadwindKmh), 1.0); // cleared at power-on
  panel_.go_to_page(20);
  panel_.vario_cycles(100);
  EXPECT_NEAR(panel_.probe(kProbeHeadwindKmh), 10.0, 1e-9);
  EXPECT_EQ(panel_.text(kPageLine), "HW 5.4 M"); // knots
  panel_.set(kTokenUnits, 2);
  panel_.set(kTokenGpsPowerOn, 1);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "HW10.0 A");

  panel_.set(kTokenGroundSpeedKmh, 105.0);
  panel_.vario_cycles(100);
  EXPECT_EQ(panel_.text(kPageLine), "TW 5.0 A");
  panel_.set(kTokenGroundSpeedKmh, -60.0);
  panel_.vario_cycles(100);
  EXPECT_EQ(panel_.text(kPageLine), "HW--.- A");
  panel_.go_to_page(21);
  EXPECT_EQ(panel_.text(kPageLine), "Mc0.0 HWxx");

  panel_.set(kTokenAirspeedKnots, 540.0);
  panel_.update();
  EXPECT_EQ(panel_.probe(kProbeLnavAirspeedKmh), 999.0);
  panel_.set(kTokenAirspeedKnots, 539.0);
  panel_.update();
  EXPECT_NEAR(panel_.probe(kProbeLnavAirspeedKmh), 539.0 * 1.852, kTolerance);
}

TEST_F(GlideTest, DistanceFieldAndTheAltimeterSettingOnPage19) {
  struct Case {
    int page;
    int units;
    double gps_on, distance_km, pressure_hpa;
    const char *digits;
    const char *tenths;
  };
  panel_.power_on_past_splash();
  for (const Case &c : {
           Case{20, 2, 1, 123.4,  0,       "123", "4"},
           Case{20, 0, 1, 123.4,  0,       " 66", "6"}, // nautical miles
           Case{20, 2, 0, 123.4,  0,       "  0", "0"}, // gpsnav off
           Case{20, 2, 1, 1234.5, 0,       "123", "."}, // too wide for the field
           Case{19, 0, 1, 55.0,   1013.25, "029", "9"}, // 29.92 inHg
           Case{19, 2, 1, 55.0,   1013.0,  "013", "0"}, // hPa less the thousand
           Case{19, 2, 1, 55.0,   987.0,   "987", "0"}
  }) {
    panel_.set(kTokenUnits, c.units);
    panel_.set(kTokenGpsPowerOn, c.gps_on);
    panel_.set(kTokenActiveTpDistanceKm, c.distance_km);
    panel_.set(kTokenAltimeterHpa, c.pressure_hpa);
    panel_.go_to_page(c.page);
    SCOPED_TRACE("page " + std::to_string(c.page) + " distance " + std::to_string(c.distance_km));
    EXPECT_EQ(panel_.text(kDistanceDigits), c.digits);
    EXPECT_EQ(panel_.text(kDistancePoint), ".");
    EXPECT_EQ(panel_.text(kDistanceTenths), c.tenths);
  }
}

// The arrow's image follows d = speed to fly - airspeed in 5 km/h bands. In
// still air with t = 0 the speed to fly does not depend on the airspeed, so
// each airspeed is flown until everything has settled.
TEST_F(GlideTest, SpeedCommandArrowBands) {
  panel_.power_on_past_splash();
  panel_.go_to_page(20);
  const double stf = kSettledGain * std::sqrt(kC / kA);
  struct Band {
    double d;
    int image;
  };
  for (const Band &band : {
           Band{-30,   1},
           Band{-17.5, 2},
           Band{-12.5, 3},
           Band{-7.5,  4},
           Band{-2.5,  5},
           Band{2.5,   5},
           Band{7.5,   6},
           Band{12.5,  7},
           Band{17.5,  8},
           Band{30,    9}
  }) {
    fly_still_air(stf - band.d, polar(stf - band.d));
    panel_.vario_cycles(kSettleCycles);
    ASSERT_NEAR(panel_.probe(kProbeSpeedToFlyKmh), stf, 1e-6);
    EXPECT_EQ(panel_.value(kSpeedArrow), band.image) << "d = " << band.d;
  }
  panel_.go_to_page(22); // hides the arrow
  EXPECT_EQ(panel_.value(kSpeedArrow), 0.0);
}

} // namespace
} // namespace lnav_test
