// Coordinates, distance and bearing, own-position texts, ground speed, the
// steering arrow and the 2 s navigation gate.
#include <cmath>

#include "tests/velmar/gpsnav/gpsnav_fixture.h"
#include "tests/velmar/gpsnav/sample_files.h"

namespace gpsnav_test {
namespace {

constexpr double kMinutesTolerance = 1e-6;
constexpr double kKmTolerance = 1e-6;
constexpr double kKmPerDegreeLatitude = 111.15;

// Minutes of latitude for a distance along a meridian.
double km_to_lat_min(double km) {
  return km / kKmPerDegreeLatitude * 60.0;
}

class Navigation : public GpsnavProbeTest {};

TEST_F(Navigation, PositionTextsOfTheFileParse) {
  struct Case {
    const char *latitude;
    const char *longitude;
    double lat_min;
    double lon_min;
  };
  const Case cases[] = {
      {"52:30.500N", "005:07.200E", 3150.5,                  307.2                 },
      {"52:30:30N",  "005:07:12E",  3150.0 + 30 * 0.0166667, 307.0 + 12 * 0.0166667},
      {"52:30.500S", "005:07.200W", -3150.5,                 -307.2                },
      {"37:50.85N",  "122:28.7W",   2270.85,                 -7348.7               }, // two decimals, as in real files
      {"N/A",        "",            -0.0,                    -0.0                  }, // no digits: 0
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.latitude);
    write_file(std::string("1,") + c.latitude + "," + c.longitude + ",0M,H,Home,\n");
    press(kOn);
    cycle();
    EXPECT_NEAR(probe_number(kProbeLatMin), c.lat_min, kMinutesTolerance);
    EXPECT_NEAR(probe_number(kProbeLonMin), c.lon_min, kMinutesTolerance);
    press(kOn);
  }
}

TEST_F(Navigation, OneDegreeOfLatitudeIs111_15Km) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  set_position(3060.0, 300.0); // 51 N
  switch_on();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), kKmPerDegreeLatitude, kKmTolerance);
  EXPECT_EQ(text(kBearing), "000");
  set_position(3180.0, 300.0); // 53 N
  navigate();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), kKmPerDegreeLatitude, kKmTolerance);
  EXPECT_EQ(text(kBearing), "180");
  // East along the parallel: 111.321 km per degree times cos(52).
  set_position(3120.0, 240.0);
  navigate();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), 111.321 * std::cos(52.0 * M_PI / 180.0), 1e-4);
  EXPECT_EQ(text(kBearing), "090");
}

TEST_F(Navigation, OwnPositionTexts) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  // 3119.9951 minutes: 51 degrees 59.9951 minutes rounds up to 52:00.00.
  host_->set_token(kTokenLatitude, 3119.9951 * kLatitudeRawPerMinute);
  // Three quarters of a turn east: 90 W; 60 minutes round up to the degree.
  host_->set_token(kTokenLongitude, 0.75 * 281474976710656.0);
  host_->set_token(kTokenAltitude, 1234);
  switch_on();
  press(kLeft, 2); // page 18
  struct Case {
    int units;
    int mode;
    const char *line2;
  };
  const Case cases[] = {
      {2, 0, " 52:00.00 N" },
      {2, 1, " 90:00.00 W" },
      {2, 2, "     1234 m" },
      {1, 2, "     4049 ft"},
      {0, 2, "     4049 ft"},
      {7, 2, "     1234"   },
  };
  for (const Case &c : cases) {
    host_->set_token(kTokenUnits, c.units);
    navigate();
    press(kUp, 2);
    press(kDown, c.mode);
    cycle();
    EXPECT_EQ(buffer(kLine2), c.line2) << c.units << " " << c.mode;
  }
  host_->set_token(kTokenAltitude, 40000); // 131234 ft
  host_->set_token(kTokenUnits, 1);
  navigate();
  EXPECT_EQ(buffer(kLine2), "    99999 ft");
  host_->set_token(kTokenLatitude, -3150.5 * kLatitudeRawPerMinute);
  host_->set_token(kTokenLongitude, 307.2 * kLongitudeRawPerMinute);
  navigate();
  press(kUp, 2);
  cycle();
  EXPECT_EQ(buffer(kLine2), " 52:30.50 S");
  press(kDown);
  cycle();
  EXPECT_EQ(buffer(kLine2), "  5:07.20 E");
}

// Nonsense from the host gives nonsense texts, cut to their buffers.
TEST_F(Navigation, AbsurdTokensStayWithinTheTexts) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  switch_on();
  press(kLeft, 2); // own position page
  for (double value : {1e300, -1e300, std::nan("")}) {
    for (uint32_t id : {kTokenLatitude, kTokenLongitude, kTokenAltitude, kTokenUnits,
                        kTokenWindSpeed, kTokenWindDirection}) {
      host_->set_token(id, value);
    }
    for (int mode = 0; mode < 3; ++mode) {
      navigate();
      EXPECT_LT(buffer(kLine2).size(), 32u);
      press(kDown);
    }
    press(kUp, 2);
  }
}

TEST_F(Navigation, GroundSpeedOverWholeSecondsBetweenUpdates) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  double lat_min = kOwnLatMin;
  set_position(lat_min, kOwnLonMin);
  switch_on();
  // The first fix has nothing to measure from: no movement.
  EXPECT_EQ(probe_number(kProbeGroundSpeedKmh), 0.0);
  EXPECT_EQ(text(kTrack), "000");
  // 0.05 km in 3.0 s: 60 km/h.
  lat_min += km_to_lat_min(0.05);
  set_position(lat_min, kOwnLonMin);
  host_->advance(3000 - 55);
  cycle();
  EXPECT_NEAR(probe_number(kProbeGroundSpeedKmh), 60.0, 1e-6);
  // 0.05 km in 2.9 s counts as 2 s: 90 km/h, whatever the units.
  host_->set_token(kTokenUnits, 0);
  lat_min += km_to_lat_min(0.05);
  set_position(lat_min, kOwnLonMin);
  host_->advance(2900 - 55);
  cycle();
  EXPECT_NEAR(probe_number(kProbeGroundSpeedKmh), 90.0, 1e-6);
  // Shown in the bearing field on the remark line.
  press(kUp);
  cycle();
  EXPECT_EQ(icon(kBearingLabel), 2);
  EXPECT_EQ(text(kBearing), "090");
  EXPECT_EQ(text(kTrack), "000");
}

TEST_F(Navigation, UpdatesWaitTwoSecondsAndPauseOnTaskPages) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  set_position(kOwnLatMin, kOwnLonMin);
  switch_on();
  const double first = probe_number(kProbeDistanceKm);
  set_position(kOwnLatMin + 1.0, kOwnLonMin);
  host_->update(35, 55); // 1925 ms: the gate stays shut
  EXPECT_EQ(probe_number(kProbeDistanceKm), first);
  host_->update(2, 55);
  EXPECT_LT(probe_number(kProbeDistanceKm), first);
  // Pages 26 to 28 do not read the position.
  press(kRight, 6);
  cycle();
  const double on_task_page = probe_number(kProbeDistanceKm);
  set_position(kOwnLatMin, kOwnLonMin);
  navigate();
  EXPECT_EQ(probe_number(kProbeDistanceKm), on_task_page);
  press(kGo, 2);
  press(kGo); // Declare? No: back to page 20
  navigate();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), first, kKmTolerance);
}

// Before the first navigation update has read the own position, no distance
// is published: it would be the distance from 0 N 0 E.
TEST_F(Navigation, NoDistanceIsPublishedBeforeTheFirstFix) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  set_position(kOwnLatMin, kOwnLonMin);
  press(kOn);
  cycle();
  EXPECT_EQ(probe_number(kProbeDistanceKm), 0.0);
  navigate();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), 27.7875, kKmTolerance);
}

// The module clock wraps to negative readings 2^31 ms (24.86 days) after the
// load. The 2 s gate keeps opening across the wrap, and also for a unit
// switched on for the first time after it.
class NavigationAcrossTheClockWrap : public GpsnavProbeTest,
                                     public ::testing::WithParamInterface<int64_t> {};

TEST_P(NavigationAcrossTheClockWrap, UpdatesEveryTwoSeconds) {
  host_->advance(GetParam());
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  set_position(kOwnLatMin, kOwnLonMin);
  switch_on();
  EXPECT_NEAR(probe_number(kProbeDistanceKm), 27.7875, kKmTolerance);
  set_position(kOwnLatMin + km_to_lat_min(27.7875), kOwnLonMin);
  navigate(); // across the wrap for a switch-on just before it
  EXPECT_NEAR(probe_number(kProbeDistanceKm), 0.0, kKmTolerance);
}

constexpr int64_t kClockWrapMs = int64_t{1} << 31;
INSTANTIATE_TEST_SUITE_P(Gate, NavigationAcrossTheClockWrap,
                         ::testing::Values(kClockWrapMs - 3000, kClockWrapMs + 3000));

// Positions `km` from the target on `bearing_deg`, then moves 1 km along
// `track_deg` onto that point; the arrow compares track and bearing.
TEST_F(Navigation, SteeringArrowFollowsTrackMinusBearing) {
  write_file("1,52:00.000N,005:00.000E,0M,H,Home,\n");
  const double target_lat = 3120.0, target_lon = 300.0;
  const double lon_km_per_min = 111.321 * std::cos(52.0 * M_PI / 180.0) / 60.0;
  const double lat_km_per_min = kKmPerDegreeLatitude / 60.0;
  auto offset = [&](double lat, double lon, double km, double deg, double &out_lat,
                    double &out_lon) {
    out_lat = lat + km * std::cos(deg * M_PI / 180.0) / lat_km_per_min;
    out_lon = lon + km * std::sin(deg * M_PI / 180.0) / lon_km_per_min;
  };
  struct Case {
    double track_deg;
    double bearing_deg;
    int arrow;
  };
  const Case cases[] = {
      {10.5,  350.5, 2},
      {350.5, 10.5,  8},
      {120.5, 90.5,  1},
      {90.5,  90.5,  5},
      {98.5,  90.5,  4},
      {103.5, 90.5,  3},
      {82.5,  90.5,  6},
      {77.5,  90.5,  7},
      {60.5,  90.5,  9},
  };
  switch_on();
  for (const Case &c : cases) {
    double lat1, lon1, lat0, lon0;
    // The aircraft ends 20 km from the target, which lies on the bearing.
    offset(target_lat, target_lon, 20.0, c.bearing_deg + 180.0, lat1, lon1);
    offset(lat1, lon1, 1.0, c.track_deg + 180.0, lat0, lon0);
    set_position(lat0, lon0);
    navigate();
    set_position(lat1, lon1);
    navigate();
    EXPECT_EQ(icon(kArrow), c.arrow) << "track " << c.track_deg << " bearing " << c.bearing_deg;
  }
}

} // namespace
} // namespace gpsnav_test
