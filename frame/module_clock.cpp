#include "frame/module_clock.h"

#include "platform/os/os.h"

namespace {

OsTimeB read_now() {
  OsTimeB now{};
  os_ftime(&now);
  return now;
}

// Stored once when the module is loaded (static initialisation of the module).
const OsTimeB load_time = read_now();

} // namespace

namespace frame {

int32_t module_clock_ms() {
  const OsTimeB now = read_now();
  // Whole seconds and milliseconds are differenced separately; the sum is the
  // same as one millisecond difference. Cut to 32 bits (modulo 2^32, defined
  // since C++20): after 2^31 ms the clock wraps to INT32_MIN.
  return static_cast<int32_t>((now.time_s - load_time.time_s) * 1000 +
                              (static_cast<int32_t>(now.millitm) - load_time.millitm));
}

} // namespace frame
