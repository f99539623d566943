// durnik's gauge headers, listed by module.cpp in this order.
#pragma once

#include "frame/gauge.h"

namespace durnik {

extern GaugeHeader vsi_gauge; // vsi/vsi.cpp
extern GaugeHeader alt_gauge; // altimeter/alt.cpp
extern GaugeHeader asi_gauge; // altimeter/asi.cpp
extern GaugeHeader cmp_gauge; // altimeter/cmp.cpp
extern GaugeHeader sti_gauge; // attitude/sti.cpp
extern GaugeHeader ai_gauge;  // attitude/ai.cpp
extern GaugeHeader gr_gauge;  // levers/gr.cpp
extern GaugeHeader spl_gauge; // levers/spl.cpp
extern GaugeHeader com_gauge; // com/com.cpp
extern GaugeHeader bsw_gauge; // ballast/bsw.cpp
extern GaugeHeader bdp_gauge; // ballast/bdp.cpp

} // namespace durnik
