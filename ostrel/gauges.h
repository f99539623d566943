// The gauges of ostrel, in the order of the module's gauge list.
#pragma once

#include "frame/gauge.h"

namespace ostrel {

extern GaugeHeader white_gauge;       // yaw_strings.cpp
extern GaugeHeader red_gauge;         // yaw_strings.cpp
extern GaugeHeader blue_gauge;        // yaw_strings.cpp
extern GaugeHeader ballast_gauge;     // ballast.cpp
extern GaugeHeader vet_display_gauge; // vet_display.cpp
extern GaugeHeader vet_lamp_gauge;    // vet_lamp.cpp
extern GaugeHeader vet_setup_gauge;   // vet_setup.cpp
extern GaugeHeader vet_switch_gauge;  // vet_switch.cpp

} // namespace ostrel
