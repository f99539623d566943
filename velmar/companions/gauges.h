// Gauge headers of velmar's companion gauges, listed in the module's Linkage
// after gpsnav and lnav.
#pragma once

#include "frame/gauge.h"

namespace velmar {

extern GaugeHeader caf_gauge;  // needle variometer
extern GaugeHeader mc_gauge;   // mini control unit
extern GaugeHeader test_gauge; // wind check display

} // namespace velmar
