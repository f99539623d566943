// The velmar module: its exported Linkage and gauge list.
#include "frame/module_frame.h"
#include "velmar/companions/gauges.h"
#include "velmar/gpsnav/gauge.h"
#include "velmar/lnav/lnav_gauge.h"

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kModuleId,
    .start = frame::module_start,
    .stop = frame::module_stop,
    .reserved_a = 0,
    .reserved_b = 0,
    .link_version = 0x900,
    .gauges = {&velmar::gpsnav_gauge, &lnav::gauge_header, &velmar::caf_gauge, &velmar::mc_gauge,
               &velmar::test_gauge, nullptr},
};
