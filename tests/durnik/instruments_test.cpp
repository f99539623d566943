// alt, asi, cmp, sti and ai through the host: pointer angles, the zero
// toggle and its units, the knob's own key events, the airspeed limit, the
// compass card, the slip ball and the clamps.
#include <cmath>

#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

constexpr double kAngleTolerance_deg = 1e-9;

// alt, depth-first.
constexpr int kAltUnitLabel = 1;
constexpr int kAltPressureScale = 2;
constexpr int kAltShortPointer = 3;
constexpr int kAltMiddlePointer = 4;
constexpr int kAltLongPointer = 5;
// Zero button (parent 135,139) and knob halves (parent 0,254).
constexpr int kZeroX = 150, kZeroY = 155;
constexpr int kKnobY = 280, kKnobRightX = 40, kKnobLeftX = 10;

class AltTest : public DurnikTest {
protected:
  AltTest() { place("alt"); }
  void show(double altitude, double units) {
    host.set_token(0x4A, altitude);
    host.set_token(0x14F, units);
    host.update(1);
  }
  void expect_pointers(double short_deg, double middle_deg, double long_deg, const char *what) {
    EXPECT_NEAR(value("alt", kAltShortPointer), short_deg, kAngleTolerance_deg) << what;
    EXPECT_NEAR(value("alt", kAltMiddlePointer), middle_deg, kAngleTolerance_deg) << what;
    EXPECT_NEAR(value("alt", kAltLongPointer), long_deg, kAngleTolerance_deg) << what;
  }
};

TEST_F(AltTest, PointersTurnOncePerTheirSpanFromTheZeroMark) {
  show(0.0, 0.0);
  expect_pointers(-90.0, -90.0, -90.0, "0 ft");
  EXPECT_EQ(value("alt", kAltUnitLabel), 0.0);
  show(1000.0, 0.0);
  expect_pointers(-86.4, -54.0, 270.0, "1000 ft: the long pointer made one turn");
  show(100000.0, 1.0);
  expect_pointers(270.0, 3510.0, 35910.0, "100000 ft: one turn of the short pointer");
  show(1000.0, 2.0);
  expect_pointers(-54.0, -54.0, 270.0, "1000 m");
  EXPECT_EQ(value("alt", kAltUnitLabel), 1.0);
}

TEST_F(AltTest, ZeroToggleSubtractsTheReferenceInTheDisplayUnit) {
  host.set_token(0x02, 100.0 * 256.0); // 100 m
  show(1328.1, 0.0);
  click("alt", kZeroX, kZeroY);
  host.update(1);
  expect_pointers(-86.4, -54.0, 270.0, "328.1 ft subtracted");
  // The offset keeps its unit when the setting changes after the click.
  show(1328.1, 2.0);
  EXPECT_NEAR(value("alt", kAltLongPointer), 270.0, kAngleTolerance_deg);
  click("alt", kZeroX, kZeroY);
  host.update(1);
  EXPECT_NEAR(value("alt", kAltLongPointer), 1328.1 * 0.36 - 90.0, kAngleTolerance_deg)
      << "a second click restores the plain reading";
  // Under metric units the reference is taken in metres.
  click("alt", kZeroX, kZeroY);
  show(1100.0, 2.0);
  expect_pointers(-54.0, -54.0, 270.0, "100 m subtracted");
  EXPECT_TRUE(keys().empty()) << "the zero button sends nothing";
}

TEST_F(AltTest, KnobHalvesSendTheHostsOwnKeyEvents) {
  click("alt", kKnobRightX, kKnobY);
  click("alt", kKnobLeftX, kKnobY);
  click("alt", kKnobRightX, kKnobY, 0x00200000); // the step-repeat event
  const KeyList expected = {
      {0x1015B, 0},
      {0x1015C, 0},
      {0x1015B, 0}
  };
  EXPECT_EQ(keys(), expected);
  host.set_token(0x4B, 1013.25);
  host.update(1);
  EXPECT_NEAR(value("alt", kAltPressureScale, 2), 1013.25 * 3.022, 1e-9);
}

TEST_F(DurnikTest, AsiNeedleStopsAt173AndTheFaceFollowsUnits) {
  place("asi");
  const struct {
    double speed_kt;
    double units;
    double needle;
    double face;
  } cases[] = {
      {100.0, 0.0, 100.0, 1.0},
      {173.0, 1.0, 173.0, 0.0},
      {250.0, 2.0, 173.0, 0.0},
      {-5.0,  0.5, -5.0,  0.0},
  };
  for (const auto &c : cases) {
    host.set_token(0x3D, c.speed_kt);
    host.set_token(0x14F, c.units);
    host.update(1);
    EXPECT_EQ(value("asi", 2), c.needle) << c.speed_kt << " kt";
    EXPECT_EQ(value("asi", 1), c.face) << "units " << c.units;
  }
}

TEST_F(DurnikTest, CompassCardRunsFrom360DownAndIsZeroOutsideTheCircle) {
  place("cmp");
  const double cases[][2] = {
      {0.0,   360.0},
      {90.0,  270.0},
      {359.5, 0.5  },
      {360.0, 0.0  },
      {361.0, 0.0  },
      {-1.0,  0.0  }
  };
  for (const auto &c : cases) {
    host.set_token(0x53, c[0]);
    host.update(1);
    EXPECT_EQ(value("cmp", 1, 0), c[1]) << "heading " << c[0];
    EXPECT_EQ(value("cmp", 1, 1), 1.0);
  }
}

TEST_F(DurnikTest, SlipBallRisesOnBothSidesAndTurnNeedleStopsAt900) {
  gaugehost::PlacedGauge &sti = place("sti");
  const auto *ball = reinterpret_cast<const ShiftElement *>(sti.elements[1].element);
  const struct {
    double slip;
    double x;
    double y;
  } cases[] = {
      {10.0,  10.0,  -10.0},
      {-10.0, -10.0, -10.0},
      {0.0,   0.0,   0.0  }
  };
  for (const auto &c : cases) {
    host.set_token(0x45, c.slip);
    host.update(1);
    EXPECT_EQ(value("sti", 1, 0), c.x) << "slip " << c.slip;
    EXPECT_EQ(value("sti", 1, 1), c.y) << "slip " << c.slip;
    EXPECT_FALSE(std::signbit(value("sti", 1, 1)) && c.slip == 0.0) << "-0 at the centre";
  }
  EXPECT_NEAR(10.0 * ball->y_scale, 0.859, 1e-3) << "pixels the ball rises at slip 10";
  EXPECT_NEAR(10.0 * ball->x_scale, 5.86, 1e-2) << "pixels the ball moves sideways";
  for (const double turn : {1200.0, -1200.0, 546.0}) {
    host.set_token(0x46, turn);
    host.update(1);
    EXPECT_EQ(value("sti", 2), std::fmax(-900.0, std::fmin(900.0, turn))) << "turn " << turn;
  }
}

TEST_F(DurnikTest, HorizonCardStopsAt45DegreesAndTurnsWithTheBezel) {
  gaugehost::PlacedGauge &ai = place("ai");
  const auto *card = reinterpret_cast<const RotateElement *>(ai.elements[1].element);
  const auto *bezel = reinterpret_cast<const RotateElement *>(ai.elements[2].element);
  for (const double pitch : {60.0, -60.0, 30.0}) {
    host.set_token(0x4E, pitch);
    host.update(1);
    EXPECT_EQ(value("ai", 1, 1), std::fmax(-45.0, std::fmin(45.0, pitch))) << "pitch " << pitch;
  }
  EXPECT_EQ(45.0 * card->y_scale, 90.0) << "pixels of the card at the limit";
  EXPECT_EQ(card->rotation_source.id, bezel->rotation_source.id);
  EXPECT_EQ(card->rotation_scale, bezel->rotation_scale);
}

} // namespace
} // namespace durnik_test
