// Host-side view of the operating-system stand-in: what a host or a test reads
// back from it. Ordinary C++.
#pragma once

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

} // namespace platform_os
