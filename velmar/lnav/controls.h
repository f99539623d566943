// The power/volume knob and the five push buttons of lnav: mouse handlers
// that change the page and the settings.
#pragma once

#include <cstdint>

#include "frame/gauge.h"

namespace lnav {

// Knob: one step per click; from 0 to 1 powers on, from 1 to 0 powers off.
uint32_t on_knob_down(MousePoint *point, uint32_t flags);
uint32_t on_knob_up(MousePoint *point, uint32_t flags);
// Page buttons; they act only while the instrument is on.
uint32_t on_home(MousePoint *point, uint32_t flags);
uint32_t on_back(MousePoint *point, uint32_t flags);
uint32_t on_forward(MousePoint *point, uint32_t flags);
// Setting buttons of pages 19 to 29; only while on.
uint32_t on_increase(MousePoint *point, uint32_t flags);
uint32_t on_decrease(MousePoint *point, uint32_t flags);

} // namespace lnav
