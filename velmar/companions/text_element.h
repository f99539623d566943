// Builds the StringElement records of the companion gauges: every text uses
// the font "Quartz", weight 400, character set 1, centred single-line layout
// and token 1 as its first source.
#pragma once

#include <cstdint>

#include "frame/gauge.h"

namespace velmar::companions {

// Colours in 0x00BBGGRR form.
struct TextColours {
  uint32_t text;
  uint32_t background;
  uint32_t highlight;
};

// Place and size in the gauge's design pixels; max_chars is what the element
// shows of its text.
struct TextBox {
  int32_t x;
  int32_t y;
  int32_t width_px;
  int32_t height_px;
  int32_t max_chars;
};

inline constexpr uint32_t kStringSourceToken = 0x01; // refreshed by the host, read by no callback

constexpr StringElement text_element(GaugeHeader *gauge, TextBox box, TextColours colours,
                                     ElementCallback callback) {
  return StringElement{
      .element = {.kind = kElementString,
                  .resource_id = -1,
                  .x = box.x,
                  .y = box.y,
                  .gauge = gauge,
                  .drawing_flags = kDrawErase},
      .sources = {{.id = kStringSourceToken},         {.id = 0}, {.id = 0}},
      .box_width_px = box.width_px,
      .box_height_px = box.height_px,
      .text_colour = colours.text,
      .background_colour = colours.background,
      .highlight_colour = colours.highlight,
      .font_face = "Quartz",
      .font_weight = kFontWeightNormal,
      .char_set = kCharSetDefault,
      .layout_flags = kTextLayoutCentred,
      .max_chars = box.max_chars,
      .callback = callback,
  };
}

} // namespace velmar::companions
