// The name list and the distance lists: sort order, fillers, ties, the
// cursor, far turnpoints and empty lists.
#include "tests/velmar/gpsnav/gpsnav_fixture.h"

namespace gpsnav_test {
namespace {

class Lists : public GpsnavTest {
protected:
  std::string line2_after(ButtonPoint button, int times = 1) {
    press(button, times);
    cycle();
    return buffer(kLine2);
  }
};

TEST_F(Lists, NamesInByteOrderWithFillersBeforeLowerCase) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n"
             "2,52:01.000N,005:00.000E,0M,T,delta,\n"
             "3,52:02.000N,005:00.000E,0M,T,Alpha,\n"
             "4,52:03.000N,005:00.000E,0M,T,Zebra,\n"
             "5,52:04.000N,005:00.000E,0M,S,Bravo,\n"
             "6,52:05.000N,005:00.000E,0M,F,ZAP,\n");
  switch_on();
  EXPECT_EQ(line2_after(kRight, 3), "Alpha       ");
  EXPECT_EQ(line2_after(kDown), "Bravo       ");
  EXPECT_EQ(line2_after(kDown), "ZAP         ");
  // Slots 3 and 4 of the five hold fillers: nothing new is shown, and the
  // cursor stops there ("Zebra" and "delta" sort after every filler).
  EXPECT_EQ(line2_after(kDown, 5), "ZAP         ");
  EXPECT_EQ(line2_after(kUp, 2), "ZAP         ");
  EXPECT_EQ(line2_after(kUp), "Bravo       ");
  EXPECT_EQ(line2_after(kUp, 5), "Alpha       ");
  press(kGo);
  cycle();
  EXPECT_EQ(text(kLine1), "Navigate to");
  EXPECT_EQ(buffer(kLine2), "Alpha       ");
}

TEST_F(Lists, DistanceListsNearestFirstTiesInFileOrder) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n"
             "2,51:30.000N,005:00.000E,0M,T,South A,\n"
             "3,51:30.000N,005:00.000E,0M,T,South B,\n"
             "4,52:00.000N,005:30.000E,0M,TL,East Farm,\n"
             "5,51:50.000N,005:10.000E,0M,L,Meadow,\n"
             "6,51:40.000N,005:00.000E,0M,R,Near,\n");
  set_position(3105.0, 300.0);
  switch_on();
  press(kRight, 4);
  navigate();
  EXPECT_EQ(buffer(kLine2), "Near        "); // 9.3 km; Home (H only) is on no list
  EXPECT_EQ(distance_shown(), "  9.3");
  EXPECT_EQ(line2_after(kDown), "South A     ");
  EXPECT_EQ(line2_after(kDown), "South B     "); // same place: key 0.01 km larger
  EXPECT_EQ(line2_after(kDown), "East Farm   ");
  EXPECT_EQ(line2_after(kDown), "East Farm   ");
  EXPECT_EQ(line2_after(kRight), "Meadow      "); // landpoints
  EXPECT_EQ(line2_after(kDown), "East Farm   ");  // TL: on both lists
  EXPECT_EQ(line2_after(kDown), "East Farm   ");
  // The cursor is a rank: after the aircraft moves, the nearest shows at 0.
  press(kUp);
  navigate();
  set_position(3120.0, 329.0);
  host_->update(30, 55); // within 2 s of the last update: no rebuild
  EXPECT_EQ(buffer(kLine2), "Meadow      ");
  navigate();
  EXPECT_EQ(buffer(kLine2), "East Farm   ");
  press(kLeft);
  set_position(3090.0, 300.0);
  navigate();
  EXPECT_EQ(buffer(kLine2), "South A     ");
}

// Keys of 1000 km and more keep the list in distance order.
TEST_F(Lists, FarTurnpointsStayInDistanceOrder) {
  write_file("1,00:00.000N,150:00.000E,0M,T,Km16698,\n"
             "2,89:48.000N,000:00.000E,0M,T,Km9981,\n"
             "3,60:00.000S,000:00.000E,0M,T,Km6669,\n"
             "4,45:00.000N,000:00.000E,0M,T,Km5001,\n"
             "5,08:06.000N,000:00.000E,0M,T,Km900,\n");
  set_position(0.0, 0.0);
  switch_on();
  press(kRight, 4);
  navigate();
  for (const char *name : {"Km900", "Km5001", "Km6669", "Km9981", "Km16698"}) {
    EXPECT_EQ(buffer(kLine2).substr(0, std::string(name).size()), name);
    press(kDown);
    cycle();
  }
}

// With no listed record the cursor stays at 0 and GO keeps the target.
TEST_F(Lists, EmptyListsKeepTheTarget) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  set_position(3105.0, 300.0);
  switch_on();
  for (int page = 23; page <= 25; ++page) {
    SCOPED_TRACE(page);
    press(kLeft, 3);
    press(kRight, page - 20 + 3);
    press(kDown, 3);
    press(kGo);
    navigate();
    EXPECT_EQ(text(kLine1), "Navigate to");
    EXPECT_EQ(buffer(kLine2), "Home        ");
    EXPECT_EQ(distance_shown(), " 27.8");
  }
}

} // namespace
} // namespace gpsnav_test
