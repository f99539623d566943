// A host in a fresh temporary working folder (lnav reads and writes
// "LNAV_polar.dat" there) with lnav placed, driven by clicks on its buttons.
// By default the module is velmar_lnav_fixture: its `gps` gauge, placed
// first, publishes the navigation values from tokens and its `probe` gauge,
// placed last, shows lnav's glide values. Virtual time throughout.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/host.h"
#include "tests/velmar/lnav/fixture/lnav_fixture_tokens.h"

namespace lnav_test {

inline constexpr uint32_t kTokenClockHours = 0x03;
inline constexpr uint32_t kTokenClockMinutes = 0x04;
inline constexpr uint32_t kTokenClockSeconds = 0x05;
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D;
inline constexpr uint32_t kTokenVerticalSpeedRaw = 0x41;
inline constexpr uint32_t kTokenAltitudeM = 0x49;
inline constexpr uint32_t kTokenAltimeterHpa = 0x4B;
inline constexpr uint32_t kTokenTank1Level = 0x123;
inline constexpr uint32_t kTokenTank1CapacityGal = 0x124;
inline constexpr uint32_t kTokenTank2Level = 0x129;
inline constexpr uint32_t kTokenTank2CapacityGal = 0x12A;
inline constexpr uint32_t kTokenUnits = 0x14F;

inline constexpr double kRawPerMps = 256.0;
inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kFeetPerMetre = 3.280839895013123;
// One update per vario cycle: every filter gate (more than 100 ms) opens.
inline constexpr int kVarioStepMs = 110;

// Element numbers as on the face, 1 = the face; the host's index is one less.
enum Face : int {
  kKnob = 2,
  kNettoTenths = 3,
  kNettoPoint = 4,
  kNettoDigits = 5,
  kTeTenths = 6,
  kTePoint = 7,
  kTeDigits = 8,
  kDistanceTenths = 9,
  kDistancePoint = 10,
  kDistanceDigits = 11,
  kValueLine = 12,
  kPageLine = 13,
  kNettoLabel = 14,
  kTeLabel = 15,
  kDistanceLabel = 16,
  kValueLabel = 17,
  kAltModeMarker = 18,
  kGlideBar = 19,
  kGlideFrame = 20,
  kSpeedArrow = 21,
  kScaleHalf = 22,
  kScaleX2 = 23,
};

enum class Button { kKnobDown, kKnobUp, kHome, kBack, kForward, kIncrease, kDecrease };

// A point inside each button's rectangle (design pixels).
inline std::pair<int, int> button_point(Button button) {
  switch (button) {
  case Button::kKnobDown:
    return {95, 40};
  case Button::kKnobUp:
    return {115, 40};
  case Button::kHome:
    return {211, 39};
  case Button::kBack:
    return {35, 196};
  case Button::kForward:
    return {282, 197};
  case Button::kIncrease:
    return {103, 277};
  case Button::kDecrease:
    return {213, 277};
  }
  return {0, 0};
}

// A fresh folder made current for the life of the object, then removed.
class WorkFolder {
public:
  WorkFolder() {
    previous_ = std::filesystem::current_path();
    char pattern[] = "/tmp/lnav_work_XXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~WorkFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path &path() const { return path_; }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

inline std::string file_contents(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LnavPanel {
public:
  explicit LnavPanel(const std::string &module = "velmar_lnav_fixture") : host_(options()) {
    std::string error;
    EXPECT_TRUE(host_.load_module(module, error)) << error;
    if (module == "velmar_lnav_fixture") {
      EXPECT_TRUE(host_.place(module, "gps", "gps", error)) << error;
      EXPECT_TRUE(host_.place(module, "lnav", "lnav", error)) << error;
      EXPECT_TRUE(host_.place(module, "probe", "probe", error)) << error;
    } else {
      EXPECT_TRUE(host_.place(module, "lnav", "lnav", error)) << error;
    }
  }
  // The given gauges of `module`, in this order.
  LnavPanel(const std::string &module, const std::vector<std::string> &gauges) : host_(options()) {
    std::string error;
    EXPECT_TRUE(host_.load_module(module, error)) << error;
    for (const std::string &gauge : gauges) {
      EXPECT_TRUE(host_.place(module, gauge, gauge, error)) << error;
    }
  }

  void click(Button button, int times = 1) {
    const auto [x, y] = button_point(button);
    std::string error;
    for (int i = 0; i < times; ++i) {
      EXPECT_TRUE(host_.click("lnav", x, y, 0x20000000, error)) << error;
    }
  }
  void set(uint32_t token, double value) { host_.set_token(token, value); }
  void update(int cycles = 1, int step_ms = 55) { host_.update(cycles, step_ms); }
  void vario_cycles(int cycles) { host_.update(cycles, kVarioStepMs); }

  // Knob from 0 to 1, then past the 3-second splash page.
  void power_on_past_splash() {
    click(Button::kKnobUp);
    update(1);
    host_.advance(3000);
    update(1);
  }
  // From any page once on: home (page 20), then back or forward.
  void go_to_page(int page) {
    click(Button::kHome);
    for (int p = 20; p > page; --p) {
      click(Button::kBack);
    }
    for (int p = 20; p < page; ++p) {
      click(Button::kForward);
    }
    // The page logic sets its flags, the other elements see them a cycle
    // later, and the 30-second averages wait out their 100 ms gate.
    update(3);
  }

  const gaugehost::ElementState &element(int face_number) {
    return host_.gauge("lnav")->elements.at(static_cast<size_t>(face_number - 1));
  }
  std::string text(int face_number) { return element(face_number).text; }
  double value(int face_number, int axis = 0) { return element(face_number).values[axis]; }
  double probe(int index) {
    return host_.gauge("probe")->elements.at(static_cast<size_t>(index)).values[0];
  }
  gaugehost::Host &host() { return host_; }

private:
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  gaugehost::Host host_;
};

// Each test in its own folder, with its own panel.
class LnavTest : public ::testing::Test {
protected:
  WorkFolder folder_;
  LnavPanel panel_;
};

} // namespace lnav_test
