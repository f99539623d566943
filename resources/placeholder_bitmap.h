// Placeholder gauge images: a bottom-up 24-bit BMP of the stated size, filled
// with a colour derived from the id, a one-pixel frame and the id's hex
// digits in the top-left corner, so a misplaced image is recognisable.
#pragma once

#include <cstdint>
#include <vector>

namespace rescomp {

std::vector<uint8_t> make_placeholder_bitmap(uint32_t id, uint32_t width_px, uint32_t height_px);

} // namespace rescomp
