// A host with the companions fixture loaded and its `state` gauge placed
// first, so the shared state written from the fixture tokens is current
// before the companions run in each cycle. Virtual time throughout.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/host.h"
#include "tests/velmar/companions/fixture/fixture_tokens.h"

namespace companions_test {

// Raw vertical speed per m/s (tokens 0x41).
inline constexpr double kRawPerMps = 256.0;
inline constexpr uint32_t kTokenVerticalSpeed = 0x41;
inline constexpr uint32_t kTokenAirspeedKnots = 0x3D;
inline constexpr uint32_t kTokenLatitude = 0x47;
inline constexpr uint32_t kTokenLongitude = 0x48;
inline constexpr uint32_t kTokenAltitudeM = 0x49;
inline constexpr uint32_t kTokenHeadingDeg = 0x53;
inline constexpr uint32_t kTokenUnitsSetting = 0x14F;
// A cycle step that always opens the 100 ms filter gates.
inline constexpr int kStepMs = 110;

class Panel {
public:
  Panel() : host_(options()) {
    std::string error;
    EXPECT_TRUE(host_.load_module("velmar_companions_fixture", error)) << error;
    EXPECT_TRUE(host_.place("velmar_companions_fixture", "state", "state", error)) << error;
    // lnav's settings as stored at load.
    set(companions_fixture::kTokenVarioResponse, 2);
    set(companions_fixture::kTokenVarioScale, 2);
    set(companions_fixture::kTokenCompensation, 4.0);
  }

  void place(const std::string &gauge) {
    std::string error;
    EXPECT_TRUE(host_.place("velmar_companions_fixture", gauge, gauge, error)) << error;
  }
  void set(uint32_t token, double value) { host_.set_token(token, value); }
  void update(int cycles = 1, int step_ms = kStepMs) { host_.update(cycles, step_ms); }

  const gaugehost::ElementState &element(const std::string &gauge, int index) {
    return host_.gauge(gauge)->elements.at(static_cast<size_t>(index));
  }
  double value(const std::string &gauge, int index) { return element(gauge, index).values[0]; }
  std::string text(const std::string &gauge, int index) { return element(gauge, index).text; }
  gaugehost::Host &host() { return host_; }

private:
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  gaugehost::Host host_;
};

} // namespace companions_test
