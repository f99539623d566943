// The knob, the buttons, the pages and their flags.
#include <cmath>
#include <string>
#include <vector>

#include "tests/velmar/lnav/lnav_panel.h"

namespace lnav_test {
namespace {

constexpr char kInitialPolarFile[] =
    "  -0.0001165\n   0.0138864\n  -0.8118127\n   0.0000000\n   0.0000000\n";

TEST_F(LnavTest, KnobPowersOnOnceAndOffAtZero) {
  const auto polar_file = folder_.path() / "LNAV_polar.dat";
  panel_.update();
  EXPECT_EQ(panel_.value(kKnob), -60.0);
  EXPECT_EQ(panel_.text(kPageLine), "");

  panel_.click(Button::kKnobUp);
  panel_.update();
  EXPECT_EQ(panel_.value(kKnob), -30.0);
  EXPECT_EQ(panel_.text(kPageLine), "24/12/2003");
  EXPECT_EQ(file_contents(polar_file), kInitialPolarFile);

  // Turning further changes the volume only: no new power-on, so neither a
  // new splash nor a new file.
  std::filesystem::remove(polar_file);
  panel_.host().advance(2000);
  panel_.click(Button::kKnobUp);
  panel_.update();
  EXPECT_EQ(panel_.value(kKnob), 0.0);
  panel_.host().advance(1000);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  EXPECT_FALSE(std::filesystem::exists(polar_file));

  panel_.click(Button::kKnobUp, 10);
  panel_.update();
  EXPECT_EQ(panel_.value(kKnob), 210.0); // stops at 9

  panel_.click(Button::kKnobDown, 8);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  panel_.click(Button::kKnobDown, 2); // the second click finds 0 and stays
  panel_.update();
  EXPECT_EQ(panel_.value(kKnob), -60.0);
  EXPECT_EQ(panel_.text(kPageLine), "");
  EXPECT_EQ(panel_.text(kValueLine), "");

  panel_.click(Button::kKnobUp);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "24/12/2003");
  EXPECT_EQ(file_contents(polar_file), kInitialPolarFile);
}

TEST_F(LnavTest, SplashForThreeSecondsThenOnlyHomeLeaves) {
  panel_.set(kTokenAltitudeM, 1000.0);
  panel_.click(Button::kKnobUp);
  panel_.update();
  panel_.host().advance(2800);
  panel_.update(); // 2.91 s since power-on
  EXPECT_EQ(panel_.text(kPageLine), "24/12/2003");
  panel_.host().advance(35); // 3.00 s
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  panel_.update();
  EXPECT_EQ(panel_.text(kValueLine), " 3281"); // feet

  panel_.click(Button::kBack);
  panel_.click(Button::kForward);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  panel_.click(Button::kHome);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "TW 0.0 M");

  panel_.click(Button::kBack, 5);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine).substr(0, 2), "FT");
  panel_.click(Button::kForward, 20);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "No Sink T");
  panel_.click(Button::kHome);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "TW 0.0 M");
}

// What each page shows and which marks it leaves on, walking forward from
// page 20 to 29 and back to 18 (the flags depend on the path).
struct PageRow {
  int page;
  const char *text;
  const char *value_line;
  // Icons 14 netto, 15 TE, 16 distance, 17 value line, 20 glide bar, then
  // the altitude-mode marker and whether the speed arrow shows.
  int netto, te, distance, value, glide, alt_mode;
  bool arrow;
};

TEST_F(LnavTest, EveryPageShowsItsTextAndFlags) {
  panel_.set(kTokenAltitudeM, 500.0);
  panel_.set(kTokenUnits, 2); // metric
  panel_.power_on_past_splash();
  const std::vector<PageRow> rows = {
      {20, "TW 0.0 M",   "  500", 1, 1, 1, 1, 1, 0, true },
      {21, "Mc0.0 TW 0", "  500", 1, 1, 1, 1, 1, 2, true },
      {22, "Goal Alt.",  "  100", 0, 0, 0, 1, 0, 0, false},
      {23, "Elevation",  "    0", 0, 0, 0, 1, 0, 0, false},
      {24, "Goal Hgt.",  "  100", 0, 0, 0, 1, 0, 0, false},
      {25, "Compensat",  "  4.0", 0, 0, 0, 1, 0, 0, false},
      {26, "Std. Vario", "",      0, 0, 0, 0, 0, 0, false},
      {27, "Scale: x 1", "",      0, 0, 0, 0, 0, 0, false},
      {28, "Alt.Diff.",  "",      0, 0, 0, 0, 0, 0, false},
      {29, "No Sink T",  "",      0, 0, 0, 0, 0, 0, false},
      {19, "Altimeter",  "  500", 0, 1, 1, 1, 0, 0, false},
      {18, "FT00:00:00", "",      0, 0, 0, 0, 0, 0, false},
  };
  for (const PageRow &row : rows) {
    panel_.go_to_page(row.page);
    SCOPED_TRACE("page " + std::to_string(row.page));
    EXPECT_EQ(panel_.text(kPageLine), row.text);
    EXPECT_EQ(panel_.text(kValueLine), row.value_line);
    EXPECT_EQ(panel_.value(kNettoLabel), row.netto);
    EXPECT_EQ(panel_.value(kTeLabel), row.te);
    EXPECT_EQ(panel_.value(kDistanceLabel), row.distance);
    EXPECT_EQ(panel_.value(kValueLabel), row.value);
    EXPECT_EQ(panel_.value(kGlideFrame), row.glide);
    EXPECT_EQ(panel_.value(kAltModeMarker), row.alt_mode);
    EXPECT_EQ(panel_.value(kSpeedArrow) != 0.0, row.arrow);
    EXPECT_EQ(panel_.text(kNettoPoint), row.netto ? "." : "");
    EXPECT_EQ(panel_.text(kTePoint), row.te ? "." : "");
    EXPECT_EQ(panel_.text(kDistancePoint), row.distance ? "." : "");
    if (!row.te) {
      EXPECT_EQ(panel_.text(kTeDigits), "  "); // hidden average: four blanks
      EXPECT_EQ(panel_.text(kTeTenths), " ");
    }
    if (row.distance) {
      EXPECT_EQ(panel_.text(kDistanceDigits) + panel_.text(kDistanceTenths),
                row.page == 19 ? "0000" : "  00"); // page 19: the altimeter setting
    } else {
      EXPECT_EQ(panel_.text(kDistanceDigits), "");
    }
  }
  // Switching off clears the marks; switched on again, page 2 sets only the
  // value line, which page 18 had cleared.
  panel_.click(Button::kKnobDown);
  panel_.update(2);
  EXPECT_EQ(panel_.value(kValueLabel), 0.0);
  EXPECT_EQ(panel_.value(kAltModeMarker), 0.0);
  panel_.power_on_past_splash();
  panel_.update(2);
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  EXPECT_EQ(panel_.value(kValueLabel), 1.0);
  EXPECT_EQ(panel_.value(kTeLabel), 0.0);
}

TEST_F(LnavTest, SettingButtonsStepAndStopAtTheirLimits) {
  panel_.set(kTokenUnits, 2);
  panel_.power_on_past_splash();

  panel_.go_to_page(21);
  panel_.click(Button::kIncrease, 45);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Mc4.0 TW 0");
  panel_.click(Button::kDecrease, 3);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Mc3.7 TW 0");
  panel_.click(Button::kDecrease, 45);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Mc0.0 TW 0");

  panel_.go_to_page(24);
  panel_.click(Button::kIncrease, 1000);
  panel_.update(2);
  EXPECT_EQ(panel_.text(kValueLine), " 9990");
  panel_.click(Button::kDecrease, 1000);
  panel_.update(2);
  EXPECT_EQ(panel_.text(kValueLine), "    0");

  panel_.go_to_page(25);
  panel_.click(Button::kIncrease, 100);
  panel_.update(2);
  EXPECT_EQ(panel_.text(kValueLine), "  9.9");
  panel_.click(Button::kDecrease, 100);
  panel_.update(2);
  EXPECT_EQ(panel_.text(kValueLine), "  0.0");

  panel_.go_to_page(26);
  std::vector<std::string> texts;
  for (Button b : {Button::kIncrease, Button::kIncrease, Button::kIncrease, Button::kDecrease}) {
    panel_.click(b);
    panel_.update();
    texts.push_back(panel_.text(kPageLine));
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Fast Vario", "Slow Vario", "Std. Vario", "Slow Vario"}));

  panel_.go_to_page(27);
  struct ScaleStep {
    Button button;
    const char *text;
    int half, x2;
  };
  for (const ScaleStep &step : {
           ScaleStep{Button::kIncrease, "Scale: x 2", 0, 1},
           ScaleStep{Button::kIncrease, "Scale: x.5", 1, 0},
           ScaleStep{Button::kDecrease, "Scale: x 2", 0, 1},
           ScaleStep{Button::kDecrease, "Scale: x 1", 0, 0}
  }) {
    panel_.click(step.button);
    panel_.update();
    EXPECT_EQ(panel_.text(kPageLine), step.text);
    EXPECT_EQ(panel_.value(kScaleHalf), step.half) << step.text;
    EXPECT_EQ(panel_.value(kScaleX2), step.x2) << step.text;
  }

  panel_.go_to_page(28);
  panel_.click(Button::kIncrease);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Alt.Req.");
  panel_.go_to_page(21);
  EXPECT_EQ(panel_.value(kAltModeMarker), 1.0);
  panel_.go_to_page(28);
  panel_.click(Button::kDecrease);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Alt.Diff.");

  panel_.go_to_page(29);
  panel_.click(Button::kIncrease);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "Sink Tone");
  panel_.click(Button::kDecrease);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "No Sink T");
}

TEST_F(LnavTest, AltimeterPageStepsTheHostSettingAndOtherPagesDoNot) {
  panel_.power_on_past_splash();
  panel_.click(Button::kIncrease); // page 2: nothing
  panel_.go_to_page(19);
  panel_.click(Button::kIncrease);
  panel_.click(Button::kDecrease);
  for (int page : {20, 22, 23}) {
    panel_.go_to_page(page);
    panel_.click(Button::kIncrease);
    panel_.click(Button::kDecrease);
  }
  const auto keys = panel_.host().take_key_events();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].id, 0x1015Bu);
  EXPECT_EQ(keys[0].value, 1);
  EXPECT_EQ(keys[1].id, 0x1015Cu);
  EXPECT_EQ(keys[1].value, 1);
}

// A switched-off instrument's buttons change nothing: no altimeter steps, no
// vario settings behind the pilot's back.
TEST_F(LnavTest, ButtonsOfASwitchedOffInstrumentDoNothing) {
  panel_.set(kTokenUnits, 2);
  panel_.power_on_past_splash();
  panel_.go_to_page(19);
  panel_.click(Button::kKnobDown);
  panel_.click(Button::kIncrease);
  panel_.click(Button::kHome);
  panel_.click(Button::kForward, 5); // would be page 25
  panel_.click(Button::kIncrease, 10);
  panel_.update();
  EXPECT_TRUE(panel_.host().take_key_events().empty());
  panel_.power_on_past_splash();
  EXPECT_EQ(panel_.text(kPageLine), "Altimeter");
  panel_.go_to_page(25);
  EXPECT_EQ(panel_.text(kValueLine), "  4.0");
}

TEST_F(LnavTest, SettingsSurvivePowerCyclesButMcAndMarginReset) {
  panel_.set(kTokenUnits, 2);
  panel_.power_on_past_splash();
  panel_.go_to_page(21);
  panel_.click(Button::kIncrease, 5);
  panel_.go_to_page(24);
  panel_.click(Button::kIncrease, 5);
  panel_.go_to_page(28);
  panel_.click(Button::kIncrease);
  panel_.go_to_page(29);
  panel_.click(Button::kIncrease);
  panel_.click(Button::kKnobDown);
  panel_.power_on_past_splash();
  panel_.go_to_page(21);
  EXPECT_EQ(panel_.text(kPageLine), "Mc0.0 TW 0");
  EXPECT_EQ(panel_.value(kAltModeMarker), 1.0); // Alt.Req. kept
  panel_.go_to_page(24);
  EXPECT_EQ(panel_.text(kValueLine), "  100");
  panel_.go_to_page(29);
  EXPECT_EQ(panel_.text(kPageLine), "Sink Tone");
}

TEST_F(LnavTest, FlightTimeCountsFromPowerOnAcrossMidnight) {
  panel_.set(kTokenClockHours, 10);
  panel_.set(kTokenClockMinutes, 59);
  panel_.set(kTokenClockSeconds, 30.9); // truncated
  panel_.power_on_past_splash();
  panel_.go_to_page(18);
  EXPECT_EQ(panel_.text(kPageLine), "FT00:00:00");
  panel_.set(kTokenClockHours, 12);
  panel_.set(kTokenClockMinutes, 1);
  panel_.set(kTokenClockSeconds, 5);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "FT01:01:35");

  panel_.click(Button::kKnobDown);
  panel_.set(kTokenClockHours, 23);
  panel_.set(kTokenClockMinutes, 59);
  panel_.set(kTokenClockSeconds, 50);
  panel_.power_on_past_splash();
  panel_.go_to_page(18);
  panel_.set(kTokenClockHours, 0);
  panel_.set(kTokenClockMinutes, 0);
  panel_.set(kTokenClockSeconds, 20);
  panel_.update();
  EXPECT_EQ(panel_.text(kPageLine), "FT00:00:30");
}

} // namespace
} // namespace lnav_test
