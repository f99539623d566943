// The gpsnav gauge: navigation computer of the velmar module.
#pragma once

#include "frame/gauge.h"

namespace velmar {

extern GaugeHeader gpsnav_gauge;

} // namespace velmar
