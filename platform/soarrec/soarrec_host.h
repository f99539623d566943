// Host-side view of the flight-recorder stand-in. For now it records each
// call and its time; the IGC log comes later.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace soarrec {

struct CallRecord {
  bool on;           // SOARRec_on (true) or SOARRec_off (false)
  long long time_ms; // os_clock_now_ms() of the call
};

// Calls since the last take, oldest first; the last kMaxCalls are kept.
std::vector<CallRecord> take_calls();
inline constexpr size_t kMaxCalls = 100000;
// Switches the call log on (the default) or off (nothing is kept; the
// allocation test). Switching it off forgets what it holds.
void set_call_log(bool on);
// True between SOARRec_on and SOARRec_off.
bool recording();

} // namespace soarrec
