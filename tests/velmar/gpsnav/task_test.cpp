// Choosing, declaring, starting and flying a task; the lookups by
// containment; the end of a task.
#include "tests/velmar/gpsnav/gpsnav_fixture.h"
#include "tests/velmar/gpsnav/sample_files.h"

namespace gpsnav_test {
namespace {

class Task : public GpsnavTest {
protected:
  void SetUp() override {
    GpsnavTest::SetUp();
    write_file(kTaskFile);
    set_position(kOwnLatMin, kOwnLonMin);
    switch_on();
  }

  void expect_lines(const char *line1, const char *line2) {
    cycle();
    EXPECT_EQ(text(kLine1), line1);
    EXPECT_EQ(buffer(kLine2), line2);
  }

  // From page 20 to the task selection page, then GO: choosing task A.
  void start_choosing() {
    press(kRight, 6);
    press(kGo);
  }

  // Declares and starts the task being chosen.
  void declare_and_start() {
    press(kGo);
    press(kDown);
    press(kGo);
    press(kDown);
    press(kGo);
  }
};

TEST_F(Task, ChoosingPreviewsEachPointAndItsLeg) {
  start_choosing();
  press(kDown, 2); // task C
  expect_lines("Select Task ", "     C");
  press(kRight);
  expect_lines("Turnpoint C0", "South Tower ");
  EXPECT_EQ(distance_shown(), "  0.0"); // the start's leg shows as 0
  press(kRight);
  expect_lines("Turnpoint C1", "North Point ");
  EXPECT_EQ(distance_shown(), " 92.6");
  host_->set_token(kTokenUnits, 0);
  press(kGo, 2); // Declare? No: page 20, where the units are read
  navigate();
  start_choosing();
  press(kDown, 2);
  press(kRight, 2);
  cycle();
  EXPECT_EQ(distance_shown(), " 50.0"); // 92.6 km in nautical miles
  press(kRight, 20);                    // stops at point 10: no such entry, texts empty
  expect_lines("Turnpoint C9", "");
  EXPECT_EQ(distance_shown(), "");
}

TEST_F(Task, StartThenFlyEveryPointUntilTaskEnded) {
  start_choosing();
  declare_and_start();
  expect_lines("On Task TP:0", "Home Field  ");
  press(kRight, 2); // Task TP page: the next point
  expect_lines("Task TP:  A1", "North Point ");
  press(kRight); // leaving to 23 gives the point back
  press(kLeft);  // and entering again advances it
  expect_lines("Task TP:  A1", "North Point ");
  press(kGo);
  navigate();
  expect_lines("On Task TP:1", "North Point ");
  EXPECT_EQ(distance_shown(), " 83.4");
  press(kRight, 2);
  press(kGo);
  expect_lines("On Task TP:2", "East Farm   ");
  press(kRight, 2); // no point 3
  expect_lines("Task TP:  --", "Task Ended");
  EXPECT_EQ(text(kBearing) + text(kTrack) + distance_shown(), "");
  EXPECT_EQ(icon(kArrow), 0);
  press(kGo);
  navigate();
  expect_lines("Navigate to", "East Farm   "); // the target stays, the task is over
  press(kRight, 2);
  expect_lines("Task TP:  --", "No Selection");
}

TEST_F(Task, KeyMatchesTheFirstEntryContainingIt) {
  // Task B: point 1 is found in "B10" (East Farm), before "B1" (South Tower).
  start_choosing();
  press(kDown);
  press(kRight, 2);
  expect_lines("Turnpoint B1", "East Farm   ");
  EXPECT_EQ(distance_shown(), " 99.0");
}

TEST_F(Task, SwitchingOffAndOnKeepsTheTask) {
  start_choosing();
  declare_and_start();
  press(kRight, 2);
  press(kGo);
  press(kOn);
  press(kOn);
  navigate();
  expect_lines("On Task TP:1", "Home Field  "); // the home point is the target again
  press(kRight, 2);
  expect_lines("Task TP:  A2", "East Farm   ");
}

// Every entry to page 23 steps the task point back, also from page 24, but
// never below the start point 0: the Task TP page reached again shows the
// point after the one it steps back from, however often that was repeated.
TEST_F(Task, StepsBackFromPage24StopAtTheStartPoint) {
  for (int repeats : {1, 4}) {
    press(kOn);
    switch_on();
    start_choosing();
    declare_and_start();
    press(kRight, 4); // 21, 22 (point 1), 23 (back to 0), 24
    for (int i = 1; i < repeats; ++i) {
      press(kLeft);  // 23: a step back
      press(kRight); // 24
    }
    press(kLeft, 2); // 23, 22 (point 1)
    SCOPED_TRACE(repeats);
    expect_lines("Task TP:  A1", "North Point ");
  }
}

// Points 0 to 9 keep their texts; point 10 fits the 12 characters too.
TEST_F(Task, TaskPointTextsFitTheirLine) {
  std::string file = "1,51:45.000N,005:00.000E,0M,H,Home,\n"
                     "2,52:30.000N,005:00.000E,0M,T,Far Point,\n";
  for (int point = 0; point <= 10; ++point) {
    file += "A" + std::to_string(point) + ",2,10\n";
  }
  write_file(file);
  press(kOn);
  switch_on();
  start_choosing();
  declare_and_start();
  for (int point = 1; point <= 10; ++point) {
    press(kRight, 2); // the Task TP page: the next point
    if (point >= 9) {
      expect_lines(point == 9 ? "Task TP:  A9" : "Task TP: A10", "Far Point   ");
    }
    press(kGo); // made the target: back on page 20
  }
  navigate();
  expect_lines("On Task TP10", "Far Point   ");
}

TEST_F(Task, LandpointCursorOneReadsAsChoosing) {
  press(kRight, 5); // landpoints
  press(kDown);
  press(kRight);
  expect_lines("Turnpoint A0", "Home Field  ");
  press(kGo);
  press(kDown); // Declare? Yes
  press(kLeft); // back to 26 keeping mode 1
  press(kRight);
  expect_lines("Turnpoint A1", "North Point ");
}

// A start that finds no start point keeps the target (the lookup gives no
// record after a task has ended).
TEST_F(Task, StartWithoutStartPointKeepsTheTarget) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home Field,\n"
             "2,52:30.000N,005:00.000E,0M,T,North Point,\n"
             "D1,2,10\n");
  press(kOn);
  switch_on();
  press(kRight, 2); // point 1 of task A: none, the lookup ends it
  press(kGo);
  start_choosing();
  declare_and_start();
  navigate();
  expect_lines("On Task TP:0", "Home Field  ");
  EXPECT_EQ(distance_shown(), " 27.8");
}

} // namespace
} // namespace gpsnav_test
