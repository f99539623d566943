// Host-side view of the flight-recorder stand-in. For now it records each
// call and its time; the IGC log comes later.
#pragma once

#include <string>
#include <vector>

namespace soarrec {

struct CallRecord {
  bool on;           // SOARRec_on (true) or SOARRec_off (false)
  long long time_ms; // os_clock_now_ms() of the call
};

std::vector<CallRecord> take_calls();
// True between SOARRec_on and SOARRec_off.
bool recording();

} // namespace soarrec
