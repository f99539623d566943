// Module clock: milliseconds since the module was loaded, from the local time
// with milliseconds stored by a static initialiser at load. Every gate,
// interval and timer of the gauges compares differences of this clock.
#pragma once

#include <cstdint>

namespace frame {
int32_t module_clock_ms();
}
