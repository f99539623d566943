// Helpers that several durnik gauges share; unit factors are in convert.h.
#pragma once

#include <cstdint>

#include "durnik/convert.h"
#include "frame/gauge.h"

namespace durnik {

// Gauge callback of the gauges that have one but act on no service.
int32_t ignore_services(GaugeHeader *gauge, int32_t service_id, uint32_t host_value);

} // namespace durnik
