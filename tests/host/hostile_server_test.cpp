// Every fault mode of the offset server through the real modules, while the
// ballast dumps and a launch runs: what the panel must show in each.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "host/console.h"
#include "host/host.h"
#include "host/host_offset_server.h"
#include "platform/os/os_host.h"

namespace {

constexpr uint32_t kClick = 0x20000000;

// Every fault mode of the offset server, switched on while durnik's bsw and
// ostrel's ballast dump full tanks, then a launch. Whatever the mode, both
// valves stay open and signal the dump on every update, and the launch starts
// with its burst; the tanks drop only where the dump's exchanges go through
// (both dump steps accept any simulator), ostrel's presence check shows
// "FSUIPC Not Linked" where a connect fails, and once the server is normal
// again the dump goes on.
TEST(HostileServer, EveryFaultModeDuringDumpAndLaunch) {
  struct Row {
    const char *mode;
    bool tanks_drop;
    bool not_linked;
  };
  const Row rows[] = {
      {"normal",      true,  false},
      {"absent",      false, true },
      {"refuse",      false, true },
      {"hang",        false, true },
      {"version",     false, true },
      {"version-old", false, true },
      {"version-sim", true,  false},
      {"corrupt",     false, false},
      {"drop",        false, false},
  };
  constexpr double kFull = 8388608;
  constexpr int kCycles = 60; // 3.3 s: three dump steps
  platform_os::set_message_box_echo(false);
  for (const Row &row : rows) {
    SCOPED_TRACE(row.mode);
    gaugehost::HostOptions options;
    options.module_dir = GAUGE_MODULE_DIR;
    gaugehost::Host host(options);
    fsuipc_server::HostOffsetServer server(host);
    std::ostringstream out;
    gaugehost::Console console(host, out);
    server.add_console_commands(console);
    std::string error;
    ASSERT_TRUE(host.load_module("durnik", error)) << error;
    ASSERT_TRUE(host.load_module("ostrel", error)) << error;
    for (uint32_t capacity : {0x124u, 0x12Au}) {
      host.set_token(capacity, 20);
    }
    host.set_token(0x123, kFull);
    host.set_token(0x129, kFull);
    for (const auto &[module, gauge] : {
             std::pair{"durnik", "bsw"      },
             std::pair{"ostrel", "ballast"  },
             std::pair{"ostrel", "VETswitch"},
             std::pair{"ostrel", "VETlamp"  }
    }) {
      ASSERT_TRUE(host.place(module, gauge, gauge, error)) << error;
    }
    host.update(2);
    platform_os::take_message_boxes();
    ASSERT_EQ(console.execute(std::string("server ") + row.mode).exit_code, 0);
    ASSERT_TRUE(host.place("ostrel", "white", "white", error)) << error;
    const auto boxes = platform_os::take_message_boxes();
    EXPECT_EQ(boxes.size(), row.not_linked ? 1u : 0u);
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].caption, "FSUIPC Not Linked");
    }

    ASSERT_TRUE(host.click("bsw", 10, 60, kClick, error)) << error;      // open
    ASSERT_TRUE(host.click("ballast", 45, 140, kClick, error)) << error; // open
    host.take_key_events();
    host.update(kCycles);
    int dump_signals = 0;
    for (const auto &key : host.take_key_events()) {
      EXPECT_NE(key.id, 0x10202u) << "a valve closed";
      dump_signals += key.id == 0x10201;
    }
    EXPECT_EQ(dump_signals, 2 * kCycles);
    EXPECT_EQ(host.token(0x123) < kFull, row.tanks_drop);
    EXPECT_EQ(host.token(0x129) < kFull, row.tanks_drop);
    EXPECT_EQ(host.gauge("bsw")->elements[1].values[0], 1.0);
    EXPECT_EQ(host.gauge("ballast")->elements[2].values[0], 1.0);

    host.set_token(0x3C, 1);
    ASSERT_TRUE(host.click("VETswitch", 10, 10, kClick, error)) << error; // start
    host.update(3);
    int engine_starts = 0, climb_holds = 0;
    for (const auto &key : host.take_key_events()) {
      engine_starts += key.id == 0x1009F;
      climb_holds += key.id == 0x1009E;
    }
    EXPECT_EQ(engine_starts, 1);
    EXPECT_GE(climb_holds, 3) << "one climb hold on each update";

    const double level = host.token(0x123);
    ASSERT_EQ(console.execute("server normal").exit_code, 0);
    host.update(40);
    EXPECT_LT(host.token(0x123), level) << "the dump goes on";
  }
}

} // namespace
