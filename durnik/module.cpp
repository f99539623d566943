// The durnik module: its exported Linkage and gauge list.
#include "durnik/gauges.h"
#include "frame/module_frame.h"

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kModuleId,
    .start = frame::module_start,
    .stop = frame::module_stop,
    .reserved_a = 0,
    .reserved_b = 0,
    .link_version = 0x800,
    .gauges = {&durnik::vsi_gauge, &durnik::alt_gauge, &durnik::asi_gauge, &durnik::cmp_gauge,
               &durnik::sti_gauge, &durnik::ai_gauge, &durnik::gr_gauge, &durnik::spl_gauge,
               &durnik::com_gauge, &durnik::bsw_gauge, &durnik::bdp_gauge, nullptr},
};
