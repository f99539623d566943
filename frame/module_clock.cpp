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
  // Whole seconds and milliseconds are differenced separately, as the
  // original does; the sum is the same as one millisecond difference.
  return static_cast<int32_t>((now.time_s - load_time.time_s) * 1000 +
                              (static_cast<int32_t>(now.millitm) - load_time.millitm));
}

} // namespace frame
