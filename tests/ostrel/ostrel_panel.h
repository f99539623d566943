// A panel of ostrel gauges on the substitute host, on its virtual clock: the
// real module, loaded fresh for every test, driven through the host, with
// the FSUIPC offset server stand-in and its console commands.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "host/console.h"
#include "host/host.h"
#include "host/host_offset_server.h"
#include "platform/fssound/fssound_host.h"
#include "platform/os/os_host.h"

namespace ostrel_test {

// Mouse flags of a plain click.
inline constexpr uint32_t kClick = 0x20000000;

// Update step of the host's default cycle, ms.
inline constexpr int kCycleMs = 55;

struct Key {
  uint32_t id;
  int32_t value;
  bool operator==(const Key &) const = default;
};

inline void PrintTo(const Key &key, std::ostream *os) {
  *os << std::hex << "{0x" << key.id << ", " << std::dec << key.value << "}";
}

class OstrelPanel {
public:
  explicit OstrelPanel(fsuipc_server::ServerOptions server_options = {})
      : host_(options()), server_(host_, std::move(server_options)), console_(host_, console_out_) {
    server_.add_console_commands(console_);
    platform_os::set_message_box_echo(false);
    std::string error;
    EXPECT_TRUE(host_.load_module("ostrel", error)) << error;
    // Logs of earlier tests in this process are not ours.
    platform_os::take_message_boxes();
    fssound::take_calls();
    host_.take_key_events();
  }

  gaugehost::Host &host() { return host_; }

  void place(const std::string &gauge, const std::string &name = "") {
    std::string error;
    ASSERT_TRUE(host_.place("ostrel", gauge, name.empty() ? gauge : name, error)) << error;
  }
  void remove(const std::string &name) {
    std::string error;
    ASSERT_TRUE(host_.remove(name, error)) << error;
  }
  void token(uint32_t id, double value) { host_.set_token(id, value); }
  void update(int cycles = 1) { host_.update(cycles, kCycleMs); }
  void click(const std::string &name, int x, int y) {
    std::string error;
    ASSERT_TRUE(host_.click(name, x, y, kClick, error)) << error;
  }

  // Value of element `index` (depth-first, root 0) after the last update.
  double value(const std::string &name, int index) {
    gaugehost::PlacedGauge *g = host_.gauge(name);
    EXPECT_NE(g, nullptr) << name;
    return g == nullptr ? 0.0 : g->elements.at(static_cast<size_t>(index)).values[0];
  }
  std::string text(const std::string &name, int index) {
    gaugehost::PlacedGauge *g = host_.gauge(name);
    EXPECT_NE(g, nullptr) << name;
    return g == nullptr ? "" : g->elements.at(static_cast<size_t>(index)).text;
  }

  // Key events since the last call, oldest first.
  std::vector<Key> keys() {
    std::vector<Key> out;
    for (const gaugehost::KeyEvent &k : host_.take_key_events()) {
      out.push_back({k.id, k.value});
    }
    return out;
  }
  // Only the events with id `id`, their values in order.
  std::vector<int32_t> key_values(uint32_t id) {
    std::vector<int32_t> out;
    for (const Key &k : keys()) {
      if (k.id == id) {
        out.push_back(k.value);
      }
    }
    return out;
  }

  // Captions of the message boxes since the last call.
  std::vector<std::string> message_captions() {
    std::vector<std::string> out;
    for (const auto &box : platform_os::take_message_boxes()) {
      out.push_back(box.caption + "|" + box.text);
    }
    return out;
  }

  // Resource ids of successful sound_play calls since the last call.
  std::vector<int32_t> sounds_played() {
    std::vector<int32_t> out;
    for (const auto &call : fssound::take_calls()) {
      if (call.op == "sound_play" && call.result != 0) {
        out.push_back(call.resource_id);
      }
    }
    return out;
  }

  // One console command (the offset server's `server` and `offset`); fails
  // the test on an error and returns what it printed.
  std::string console(const std::string &line) {
    console_out_.str("");
    const gaugehost::CommandResult result = console_.execute(line);
    EXPECT_EQ(result.exit_code, 0) << line << ": " << result.message;
    return console_out_.str();
  }

private:
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }

  gaugehost::Host host_;
  // The in-process FSUIPC server, normal unless a test says `server MODE`;
  // the tank offsets are tokens 0x123 and 0x129.
  fsuipc_server::HostOffsetServer server_;
  std::ostringstream console_out_;
  gaugehost::Console console_;
};

} // namespace ostrel_test
