// Drives gpsnav through the host with virtual time: a fresh host and module
// per test, a private working folder for "RUR-UDI.dat", the six buttons, and
// readers for what the display shows.
#pragma once

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "host/host.h"
#include "platform/soarrec/soarrec_host.h"

namespace gpsnav_test {

// Element indices, depth-first from the faceplate (0).
enum Child : int {
  kLine1 = 1,
  kLine2 = 2,
  kArrow = 3,
  kBearingLabel = 4,
  kDistanceLabel = 5,
  kTrackLabel = 6,
  kSymbols = 7,
  kBearing = 8,
  kTrack = 9,
  kDistanceWhole = 10,
  kDistancePoint = 11,
  kDistanceTenths = 12,
};

// Button centres in design pixels.
struct ButtonPoint {
  int x;
  int y;
};
inline constexpr ButtonPoint kOn{108, 31};
inline constexpr ButtonPoint kGo{205, 31};
inline constexpr ButtonPoint kLeft{38, 284};
inline constexpr ButtonPoint kUp{119, 284};
inline constexpr ButtonPoint kDown{194, 284};
inline constexpr ButtonPoint kRight{274, 284};

// Probe gauge (test module gpsnavprobe): published values, one per string.
enum Probe : int {
  kProbePower = 1,
  kProbeDistanceKm = 2,
  kProbeElevationM = 3,
  kProbeLatMin = 4,
  kProbeLonMin = 5,
  kProbeName = 6,
  kProbeGroundSpeedKmh = 7,
  kProbeUnits = 8,
};

// Token scales of the host's position variables.
inline constexpr double kLatitudeRawPerMinute = 1852.175925953;
inline constexpr double kLongitudeRawPerMinute = 13031248921.78;
inline constexpr uint32_t kTokenLatitude = 0x47;
inline constexpr uint32_t kTokenLongitude = 0x48;
inline constexpr uint32_t kTokenAltitude = 0x49;
inline constexpr uint32_t kTokenUnits = 0x14F;
inline constexpr uint32_t kTokenWindSpeed = 0x157;
inline constexpr uint32_t kTokenWindDirection = 0x158;
inline constexpr int kUnitsMetric = 2;

// Longer than the navigation update interval (2 s).
inline constexpr int64_t kNavigationWaitMs = 2000;

inline std::string data_path(const std::string &name) {
  return std::string(GAUGE_SOURCE_DIR) + "/tests/data/" + name;
}

class GpsnavTest : public ::testing::Test {
protected:
  // Module "velmar" (the real one) or "gpsnavprobe" (gpsnav and the probe).
  explicit GpsnavTest(std::string module = "velmar") : module_(std::move(module)) {}

  void SetUp() override {
    char pattern[] = "/tmp/gpsnav_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    previous_folder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    gaugehost::HostOptions options;
    options.module_dir = GAUGE_MODULE_DIR;
    host_ = std::make_unique<gaugehost::Host>(options);
    std::string error;
    ASSERT_TRUE(host_->load_module(module_, error)) << error;
    ASSERT_TRUE(host_->place(module_, "gpsnav", "gpsnav", error)) << error;
    if (module_ == "gpsnavprobe") {
      ASSERT_TRUE(host_->place(module_, "probe", "probe", error)) << error;
    }
    host_->set_token(kTokenUnits, kUnitsMetric);
    soarrec::take_calls(); // calls of earlier tests in this process
  }

  void TearDown() override {
    host_.reset();
    std::filesystem::current_path(previous_folder_);
    std::filesystem::remove_all(folder_);
  }

  // Writes the turnpoint file, bytes as given.
  void write_file(const std::string &bytes) {
    std::ofstream out(folder_ / "RUR-UDI.dat", std::ios::binary);
    out << bytes;
  }
  void copy_file(const std::string &data_name) {
    std::filesystem::copy_file(data_path(data_name), folder_ / "RUR-UDI.dat",
                               std::filesystem::copy_options::overwrite_existing);
  }

  void press(ButtonPoint b) {
    std::string error;
    ASSERT_TRUE(host_->click("gpsnav", b.x, b.y, kMouseClick, error)) << error;
  }
  void press(ButtonPoint b, int times) {
    for (int i = 0; i < times; ++i) {
      press(b);
    }
  }
  // One update cycle; the clock moves 55 ms before it.
  void cycle() { host_->update(1, 55); }
  // Lets the 2 s gate open, then one cycle: a navigation update runs. A
  // second cycle publishes the new position (the active turnpoint is
  // published before the update reads the position).
  void navigate() {
    host_->advance(kNavigationWaitMs);
    cycle();
    cycle();
  }
  // ON, then a navigation update.
  void switch_on() {
    press(kOn);
    navigate();
  }

  // Own position in signed minutes (north, east positive).
  void set_position(double lat_min, double lon_min) {
    host_->set_token(kTokenLatitude, lat_min * kLatitudeRawPerMinute);
    const double east_min = lon_min < 0 ? lon_min + 21600.0 : lon_min;
    host_->set_token(kTokenLongitude, east_min * kLongitudeRawPerMinute);
  }

  // What an element shows (strings cut to their maximum), its full text
  // buffer, and an icon's image.
  std::string text(int index) { return gauge()->elements[index].text; }
  std::string buffer(int index) { return gauge()->elements[index].buffer.data(); }
  double icon(int index) { return gauge()->elements[index].values[0]; }
  std::string distance_shown() {
    return text(kDistanceWhole) + text(kDistancePoint) + text(kDistanceTenths);
  }
  std::string probe(int index) { return host_->gauge("probe")->elements[index].buffer.data(); }
  double probe_number(int index) { return std::strtod(probe(index).c_str(), nullptr); }

  gaugehost::PlacedGauge *gauge() { return host_->gauge("gpsnav"); }

  std::string module_;
  std::filesystem::path folder_;
  std::filesystem::path previous_folder_;
  std::unique_ptr<gaugehost::Host> host_;
};

class GpsnavProbeTest : public GpsnavTest {
protected:
  GpsnavProbeTest() : GpsnavTest("gpsnavprobe") {}
};

} // namespace gpsnav_test
