// Host rules that a console script cannot see directly.
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "host/host.h"

namespace {

gaugehost::HostOptions options() {
  gaugehost::HostOptions o;
  o.module_dir = GAUGE_MODULE_DIR;
  return o;
}

constexpr int kClockNeedle = 10;
constexpr int kHistoryNeedle = 11;

TEST(HostFrame, ModuleClockFollowsVirtualTime) {
  gaugehost::Host host(options());
  std::string error;
  ASSERT_TRUE(host.load_module("frametest", error)) << error;
  ASSERT_TRUE(host.place("frametest", "kinds", "kinds", error)) << error;
  host.update(1, 55);
  EXPECT_DOUBLE_EQ(host.gauge("kinds")->elements[kClockNeedle].values[0], 55.0);
  host.advance(1945);
  host.update(3, 1000);
  EXPECT_DOUBLE_EQ(host.gauge("kinds")->elements[kClockNeedle].values[0], 5000.0);
  EXPECT_EQ(host.time_ms(), 5000);
}

TEST(HostFrame, ReloadStartsFromLoadState) {
  gaugehost::Host host(options());
  std::string error;
  ASSERT_TRUE(host.load_module("frametest", error)) << error;
  ASSERT_TRUE(host.place("frametest", "kinds", "kinds", error)) << error;
  host.set_token(0x41, 4.0);
  host.update(3);
  EXPECT_DOUBLE_EQ(host.gauge("kinds")->elements[kHistoryNeedle].values[0], 6.0); // 4+4+4 / 2
  ASSERT_TRUE(host.unload_module("frametest", error)) << error;
  ASSERT_TRUE(host.load_module("frametest", error)) << error;
  ASSERT_TRUE(host.place("frametest", "kinds", "kinds", error)) << error;
  host.update(1);
  EXPECT_DOUBLE_EQ(host.gauge("kinds")->elements[kHistoryNeedle].values[0], 4.0); // 4+4+0 / 2
  // The clock restarts at the reload.
  EXPECT_DOUBLE_EQ(host.gauge("kinds")->elements[kClockNeedle].values[0], 55.0);
}

TEST(HostFrame, LoadErrorsNameTheFile) {
  gaugehost::Host host(options());
  std::string error;
  EXPECT_FALSE(host.load_module("nosuchmodule", error));
  EXPECT_NE(error.find("nosuchmodule.so"), std::string::npos) << error;

  // A shared library that is not a gauge module.
  gaugehost::HostOptions o = options();
  o.module_dir = std::filesystem::path(GAUGE_BINARY_DIR) / "lib";
  gaugehost::Host other(o);
  EXPECT_FALSE(other.load_module("libsoarrec", error));
  EXPECT_NE(error.find("Linkage"), std::string::npos) << error;
}

TEST(HostFrame, PlacementErrors) {
  gaugehost::Host host(options());
  std::string error;
  EXPECT_FALSE(host.place("frametest", "kinds", "kinds", error)); // not loaded
  ASSERT_TRUE(host.load_module("frametest", error)) << error;
  EXPECT_FALSE(host.place("frametest", "nosuch", "x", error));
  ASSERT_TRUE(host.place("frametest", "kinds", "kinds", error)) << error;
  EXPECT_FALSE(host.place("frametest", "kinds", "kinds", error)); // same name twice
  EXPECT_FALSE(host.remove("nosuch", error));
  EXPECT_FALSE(host.click("nosuch", 1, 1, kMouseClick, error));
}

TEST(HostFrame, ComFrequencyTravelsAsUnsignedInFirstFourBytes) {
  gaugehost::Host host(options());
  host.set_token(gaugehost::kTokenComFrequency, 0x12345);
  TokenVar var{};
  var.id = gaugehost::kTokenComFrequency;
  host.serve_read_token(&var);
  uint32_t raw = 0;
  std::memcpy(&raw, &var.value, sizeof raw);
  EXPECT_EQ(raw, 0x12345u);
  uint32_t high = 0xFFFFFFFF;
  std::memcpy(&high, reinterpret_cast<const char *>(&var.value) + 4, sizeof high);
  EXPECT_EQ(high, 0u);
}

TEST(HostFrame, KeyEventsReachTheSinkAfterTheHandlerReturns) {
  gaugehost::Host host(options());
  std::string error;
  ASSERT_TRUE(host.load_module("frametest", error)) << error;
  ASSERT_TRUE(host.place("frametest", "kinds", "kinds", error)) << error;
  std::vector<uint32_t> seen;
  host.set_key_event_sink([&](const gaugehost::KeyEvent &e) { seen.push_back(e.id); });
  ASSERT_TRUE(host.click("kinds", 33, 3, kMouseClick, error));
  ASSERT_TRUE(host.click("kinds", 55, 5, kMouseClick, error));
  EXPECT_EQ(seen, (std::vector<uint32_t>{0x1015B, 0x10998}));
  const auto log = host.take_key_events();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].value, 1);
}

} // namespace
