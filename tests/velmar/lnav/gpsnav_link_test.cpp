// lnav with the real gpsnav in velmar.so: the turnpoint that gpsnav makes
// active (the home point of a real turnpoint file) reaches lnav's distance
// field, its elevation and goal pages, the required altitude and the " A"
// of the wind page.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/velmar/lnav/lnav_panel.h"

namespace lnav_test {
namespace {

constexpr uint32_t kTokenLatitude = 0x47;  // value / 1852.175925953 = minutes north
constexpr uint32_t kTokenLongitude = 0x48; // value / 13031248921.78 = minutes east
constexpr double kLatitudeUnitsPerMinute = 1852.175925953;
constexpr double kLongitudeUnitsPerMinute = 13031248921.78;
// Bergneustadt, the home point of waypoints.dat: 51:03:07N 007:42:22E, 488 m.
constexpr double kHomeLatitudeMin = 51 * 60 + 3 + 7 * 0.0166667;
constexpr double kHomeLongitudeMin = 7 * 60 + 42 + 22 * 0.0166667;
constexpr double kKmPerLatitudeMinute = 1.852;
constexpr std::pair<int, int> kGpsnavOn = {108, 31};

// Whether this velmar.so has gpsnav yet (a Host of its own, gone before the
// test's own is made).
bool velmar_has_gpsnav() {
  gaugehost::HostOptions options;
  options.module_dir = GAUGE_MODULE_DIR;
  gaugehost::Host host(options);
  std::string error;
  if (!host.load_module("velmar", error)) {
    return false;
  }
  for (const std::string &name : host.gauge_names("velmar")) {
    if (name == "gpsnav") {
      return true;
    }
  }
  return false;
}

class GpsnavLink : public ::testing::Test {
protected:
  GpsnavLink()
      : has_gpsnav_(velmar_has_gpsnav()),
        panel_("velmar", has_gpsnav_ ? std::vector<std::string>{"gpsnav", "lnav"}
                                     : std::vector<std::string>{"lnav"}) {}

  void SetUp() override {
    if (!has_gpsnav_) {
      GTEST_SKIP() << "velmar.so has no gpsnav yet";
    }
    std::filesystem::copy_file(std::string(GAUGE_SOURCE_DIR) + "/tests/data/waypoints.dat",
                               folder_.path() / "RUR-UDI.dat");
    // 10 km south of the home point, 1500 m up, metric.
    panel_.set(kTokenLatitude,
               (kHomeLatitudeMin - 10.0 / kKmPerLatitudeMinute) * kLatitudeUnitsPerMinute);
    panel_.set(kTokenLongitude, kHomeLongitudeMin * kLongitudeUnitsPerMinute);
    panel_.set(kTokenAltitudeM, 1500.0);
    panel_.set(kTokenUnits, 2);
    switch_gpsnav();
    panel_.power_on_past_splash();
  }
  void switch_gpsnav() {
    std::string error;
    EXPECT_TRUE(panel_.host().click("gpsnav", kGpsnavOn.first, kGpsnavOn.second, 0x20000000, error))
        << error;
    panel_.update(60); // past gpsnav's two-second navigation update
  }
  double shown_distance_km() {
    return std::atof((panel_.text(kDistanceDigits) + "." + panel_.text(kDistanceTenths)).c_str());
  }

  bool has_gpsnav_;
  WorkFolder folder_;
  LnavPanel panel_;
};

TEST_F(GpsnavLink, ActiveTurnpointReachesLnav) {
  panel_.go_to_page(20);
  const std::string wind = panel_.text(kPageLine);
  EXPECT_EQ(wind.substr(wind.size() - 2), " A") << wind;
  EXPECT_NEAR(shown_distance_km(), 10.0, 0.2);

  panel_.go_to_page(23);
  EXPECT_EQ(panel_.text(kValueLine), "  488");
  panel_.go_to_page(22);
  EXPECT_EQ(panel_.text(kValueLine), "  588"); // with the 100 m margin

  panel_.go_to_page(28);
  panel_.click(Button::kIncrease); // Alt.Req.
  // Standing still for gpsnav, the whole airspeed is headwind: fly slowly
  // (40 km/h, sinking as the initial polar says) so the goal stays in reach.
  panel_.set(kTokenAirspeedKnots, 40.0 / kKmhPerKnot);
  panel_.set(kTokenVerticalSpeedRaw, kRawPerMps * (-0.0001165 * 1600 + 0.0138864 * 40 - 0.8118127));
  panel_.go_to_page(21);
  panel_.vario_cycles(300);
  const double required_m = std::atof(panel_.text(kValueLine).c_str());
  EXPECT_GT(required_m, 588.0);
  EXPECT_LT(required_m, 9999.0);

  switch_gpsnav(); // off
  panel_.go_to_page(20);
  EXPECT_EQ(panel_.text(kPageLine).substr(panel_.text(kPageLine).size() - 2), " M");
  EXPECT_EQ(shown_distance_km(), 0.0);
}

} // namespace
} // namespace lnav_test
