// A host with durnik loaded, on the virtual clock, and small helpers to read
// what the drawing side would get.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/host.h"

namespace durnik_test {

using KeyList = std::vector<std::pair<uint32_t, int32_t>>;

class DurnikTest : public ::testing::Test {
protected:
  DurnikTest() : host(make_options()) {
    std::string error;
    loaded = host.load_module("durnik", error);
    EXPECT_TRUE(loaded) << error;
  }

  static gaugehost::HostOptions make_options() {
    gaugehost::HostOptions options;
    options.module_dir = GAUGE_MODULE_DIR;
    return options;
  }

  // Places durnik!GAUGE under its own name (services 2, 3, 4, 5).
  gaugehost::PlacedGauge &place(const std::string &gauge) {
    std::string error;
    EXPECT_TRUE(host.place("durnik", gauge, gauge, error)) << error;
    return *host.gauge(gauge);
  }

  const gaugehost::ElementState &element(const std::string &placement, int index) {
    gaugehost::PlacedGauge *gauge = host.gauge(placement);
    EXPECT_NE(gauge, nullptr) << placement;
    return gauge->elements.at(static_cast<size_t>(index));
  }

  double value(const std::string &placement, int index, int axis = 0) {
    return element(placement, index).values[axis];
  }

  std::string text(const std::string &placement, int index) {
    return element(placement, index).text;
  }

  void click(const std::string &placement, int x, int y, uint32_t flags = kMouseClick) {
    std::string error;
    EXPECT_TRUE(host.click(placement, x, y, flags, error)) << error;
  }

  // Key events since the last call, as (id, value).
  KeyList keys() {
    KeyList out;
    for (const gaugehost::KeyEvent &k : host.take_key_events()) {
      out.emplace_back(k.id, k.value);
    }
    return out;
  }

  gaugehost::Host host;
  bool loaded = false;
};

} // namespace durnik_test
