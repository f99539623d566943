// Host-side view of the operating-system stand-in: what a host or a test reads
// back from it. Ordinary C++.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform_os {

struct MessageBoxRecord {
  std::string caption;
  std::string text;
  long long time_ms; // os_clock_now_ms() when it was shown
};

// Message boxes shown since the last call, oldest first.
std::vector<MessageBoxRecord> take_message_boxes();
// Whether message boxes are also printed to standard error (default on).
void set_message_box_echo(bool echo);

// Folder holding what processes of this user share: the atom and message
// tables and the sockets of published windows. $GAUGE_RUNTIME_DIR if set
// (tests give each run its own), else $XDG_RUNTIME_DIR/gaugehost, else
// /tmp/gaugehost-UID. Read on every use, so a test may change it.
std::filesystem::path runtime_dir();

// Fault injection for tests: the next `count` os_map_view calls fail with
// kOsErrorNotEnoughMemory.
void fail_next_map_views(int count);

} // namespace platform_os
