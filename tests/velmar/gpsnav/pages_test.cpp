// Every page's two lines and fields, the navigation page's modes, the
// switching and the no-file state.
#include "platform/soarrec/soarrec_host.h"
#include "tests/velmar/gpsnav/gpsnav_fixture.h"
#include "tests/velmar/gpsnav/sample_files.h"

namespace gpsnav_test {
namespace {

class Pages : public GpsnavTest {
protected:
  void SetUp() override {
    GpsnavTest::SetUp();
    write_file(kTaskFile);
    set_position(kOwnLatMin, kOwnLonMin);
    host_->set_token(kTokenAltitude, 1234);
    host_->set_token(kTokenWindSpeed, 10);      // knots: 18.52 km/h
    host_->set_token(kTokenWindDirection, 270); // degrees
    switch_on();
  }

  // Line 1, line 2, and whether bearing, distance and track are shown.
  void expect_page(const char *line1, const char *line2, bool bearing, bool distance, bool track) {
    cycle();
    SCOPED_TRACE(line1);
    EXPECT_EQ(text(kLine1), line1);
    EXPECT_EQ(text(kLine2), line2);
    EXPECT_EQ(!text(kBearing).empty(), bearing);
    EXPECT_EQ(!distance_shown().empty(), distance);
    EXPECT_EQ(!text(kTrack).empty(), track);
    // The arrow goes blank with any emptied field.
    if (!bearing || !distance || !track) {
      EXPECT_EQ(icon(kArrow), 0);
    }
  }
};

TEST_F(Pages, WalkThroughEveryPage) {
  expect_page("Navigate to", "Home Field  ", true, true, true);
  EXPECT_EQ(text(kBearing), "000");
  EXPECT_EQ(distance_shown(), " 27.8");
  press(kLeft);
  expect_page("Wind 270  19", "Home Field  ", true, true, true);
  press(kLeft);
  expect_page("Latitude", " 51:45.00 N", false, false, false);
  press(kDown);
  expect_page("Longitude", "  5:00.00 E", false, false, false);
  press(kDown);
  expect_page("Altitude", "     1234 m", false, false, false);
  press(kLeft);
  expect_page("RUR-UDI FS9 ", "DEC 24, 2003", false, false, false);
  press(kLeft); // stops at 17
  expect_page("RUR-UDI FS9 ", "DEC 24, 2003", false, false, false);
  press(kRight, 3);
  navigate();
  expect_page("Navigate to", "Home Field  ", true, true, true);
  press(kRight);
  expect_page("Last Point", "Home Field  ", true, true, false);
  press(kRight);
  expect_page("Task TP:  --", "No Selection", false, false, false);
  press(kRight);
  expect_page("TP: Alphabet", "East Farm   ", false, false, false);
  press(kRight);
  navigate();
  expect_page("TP: Distance", "South Tower ", true, true, false);
  press(kRight);
  navigate();
  expect_page("Landpoints", "Meadow      ", true, true, false);
  EXPECT_EQ(distance_shown(), " 14.7");
  press(kRight);
  expect_page("   Task     ", " Selection  ", false, false, false);
  press(kRight); // stops at 26
  expect_page("   Task     ", " Selection  ", false, false, false);
  press(kGo);
  expect_page("Select Task ", "     A", false, true, false);
  press(kGo);
  expect_page("   Task A", "Declare? No ", false, true, false);
  press(kDown);
  expect_page("   Task A", "Declare? Yes", false, true, false);
  press(kGo);
  expect_page("   Task A", "Start? No", false, true, false);
  press(kDown);
  expect_page("   Task A", "Start? Yes", false, true, false);
  press(kUp);
  expect_page("   Task A", "Start? No", false, true, false);
  press(kGo); // No: back to navigation, no task; the last shown record stays shown
  navigate();
  expect_page("Navigate to", "Meadow      ", true, true, true);
}

TEST_F(Pages, NavigatePageModesAndThresholds) {
  navigate(); // not moved since the last update: 0 km/h
  press(kDown);
  cycle();
  EXPECT_EQ(text(kLine1), "Elev  10M   ");
  press(kDown); // from mode 1 to the remark
  cycle();
  EXPECT_EQ(text(kLine1), "Grass 600m  ");
  EXPECT_EQ(icon(kBearingLabel), 2); // V: the bearing field shows the speed
  EXPECT_EQ(buffer(kBearing), "000");
  press(kDown);
  cycle();
  EXPECT_EQ(text(kLine1), "Navigate to");
  EXPECT_EQ(icon(kBearingLabel), 1);

  set_position(3120.0 - 1.2 / 111.15 * 60, kOwnLonMin); // 1.2 km south of Home
  navigate();
  EXPECT_EQ(text(kLine1), "Close To");
  set_position(3120.0 - 0.4 / 111.15 * 60, kOwnLonMin);
  navigate();
  EXPECT_EQ(text(kLine1), "Arrival!");
  // Thresholds are kilometres whatever the units.
  host_->set_token(kTokenUnits, 0);
  navigate();
  EXPECT_EQ(text(kLine1), "Arrival!");
  EXPECT_EQ(distance_shown(), "  0.2"); // nautical miles
}

TEST_F(Pages, DistanceSplitsIntoThreeFields) {
  // 12.3 km north of the own position: " 12.3".
  set_position(3120.0 - 12.3 / 111.15 * 60, kOwnLonMin);
  navigate();
  EXPECT_EQ(text(kDistanceWhole), " 12");
  EXPECT_EQ(text(kDistancePoint), ".");
  EXPECT_EQ(text(kDistanceTenths), "3");
  // Farther than 999.9 in the shown unit: 999.9.
  set_position(-3000.0, kOwnLonMin);
  navigate();
  EXPECT_EQ(distance_shown(), "999.9");
}

TEST_F(Pages, SwitchingCallsTheRecorderAndBlanksTheDisplay) {
  auto calls = soarrec::take_calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].on);
  press(kOn);
  cycle();
  calls = soarrec::take_calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_FALSE(calls[0].on);
  for (int i = kLine1; i <= kDistanceTenths; ++i) {
    SCOPED_TRACE(i);
    if (i >= kArrow && i <= kSymbols) {
      EXPECT_EQ(icon(i), 0);
    } else {
      EXPECT_EQ(text(i), "");
    }
  }
  // Page moves while off are kept until the next switch-on resets them.
  press(kRight);
  press(kOn);
  cycle();
  EXPECT_EQ(text(kLine1), "Navigate to");
}

TEST_F(Pages, MissingFileShowsItsStateUntilOnIsPressedAgain) {
  press(kOn); // off
  std::filesystem::remove(folder_ / "RUR-UDI.dat");
  soarrec::take_calls();
  press(kOn);
  navigate();
  EXPECT_EQ(text(kLine1), "Switch off -");
  EXPECT_EQ(text(kLine2), "No DAT File");
  for (int i = kArrow; i <= kSymbols; ++i) {
    EXPECT_EQ(icon(i), 0) << i;
  }
  EXPECT_EQ(text(kBearing) + text(kTrack) + distance_shown(), "");
  press(kRight); // buttons still work
  press(kOn);    // clears the state, no recorder call
  cycle();
  EXPECT_EQ(text(kLine1), "");
  EXPECT_EQ(text(kLine2), "");
  auto calls = soarrec::take_calls();
  ASSERT_EQ(calls.size(), 1u); // only the switch-on that found no file
  EXPECT_TRUE(calls[0].on);
  write_file(kTaskFile);
  switch_on();
  EXPECT_EQ(text(kLine1), "Navigate to");
}

} // namespace
} // namespace gpsnav_test
