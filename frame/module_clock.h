// Module clock: milliseconds since the module was loaded, from the local time
// with milliseconds stored by a static initialiser at load. Every gate,
// interval and timer of the gauges compares differences of this clock, taken
// with frame::elapsed_ms (frame/clock.h) so that they stay right when the
// clock wraps from INT32_MAX to INT32_MIN after 24.86 days.
#pragma once

#include <cstdint>

#include "frame/clock.h"

namespace frame {
int32_t module_clock_ms();
}
