// The six buttons of gpsnav: ON, GO, left, up, down, right. All but ON move
// the pages and their modes whether the unit is on or off.
#pragma once

#include <cstdint>

#include "frame/gauge.h"

namespace velmar::gpsnav {

uint32_t on_button(MousePoint *point, uint32_t flags);
uint32_t go_button(MousePoint *point, uint32_t flags);
uint32_t left_button(MousePoint *point, uint32_t flags);
uint32_t up_button(MousePoint *point, uint32_t flags);
uint32_t down_button(MousePoint *point, uint32_t flags);
uint32_t right_button(MousePoint *point, uint32_t flags);

} // namespace velmar::gpsnav
