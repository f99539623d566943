// The ostrel module: its exported Linkage and gauge list.
#include "frame/module_frame.h"
#include "ostrel/gauges.h"

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kModuleId,
    .start = frame::module_start,
    .stop = frame::module_stop,
    .reserved_a = 0,
    .reserved_b = 0,
    .link_version = 0x900,
    .gauges = {&ostrel::white_gauge, &ostrel::red_gauge, &ostrel::blue_gauge,
               &ostrel::ballast_gauge, &ostrel::vet_display_gauge, &ostrel::vet_lamp_gauge,
               &ostrel::vet_setup_gauge, &ostrel::vet_switch_gauge, nullptr},
};
