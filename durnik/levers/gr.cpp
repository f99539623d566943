// gr: two-position lever. Shows token 0x14B by sliding the lever picture and
// sets it through key event 0x100A4; the up command only while token 0x3C is 0.
// Its gauge callback has no effect.
#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

// Picture offsets of the two end positions, pixels.
inline constexpr int32_t kDownOffsetX_px = 224;
inline constexpr int32_t kDownOffsetY_px = 190;

// Written by the lever's callbacks only (position update).
constinit double last_position_raw = 0.0;
constinit int32_t offset_x_px = 0;
constinit int32_t offset_y_px = 0;

constinit TokenVar position_token = {.id = kTokenLeverPosition_raw};
constinit TokenVar up_inhibit_token = {.id = kTokenLeverUpInhibit};

// Values between the ends leave the picture where it is.
void update_position() {
  const double position_raw = frame::read_token(position_token);
  if (position_raw == last_position_raw) {
    return;
  }
  if (position_raw == kLeverUp_raw) {
    offset_x_px = 0;
    offset_y_px = 0;
  } else if (position_raw == kLeverDown_raw) {
    offset_x_px = kDownOffsetX_px;
    offset_y_px = kDownOffsetY_px;
  }
  last_position_raw = position_raw;
}

double lever_x(Element *) {
  update_position();
  return offset_x_px;
}

double lever_y(Element *) {
  update_position();
  return offset_y_px;
}

uint32_t command_up(MousePoint *, uint32_t) {
  if (frame::read_token(up_inhibit_token) == 0.0) {
    frame::send_key_event(kKeyLeverSet, kLeverUp_raw);
  }
  return 0;
}

uint32_t command_down(MousePoint *, uint32_t) {
  frame::send_key_event(kKeyLeverSet, kLeverDown_raw);
  return 0;
}

constinit ShiftElement lever = {
    .element = {.kind = kElementShift,
                .resource_id = kBitmapGrLever,
                .gauge = &gr_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .x_scale = 1.0,
    .y_scale = 1.0,
    .x_callback = lever_x,
    .y_callback = lever_y,
};
constinit Element *plate_children[] = {&lever.element, nullptr};

constinit StaticImageElement plate = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapGrPlate,
                .gauge = &gr_gauge,
                .children = plate_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&plate.element, nullptr};

// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone, .help_id = 43824},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 176, .height = 199, .cursor = kCursorUp, .event_mask = kMouseClick, .handler = command_up},
    {.kind = kMouseChild, .x = 176, .y = 199, .width = 176, .height = 199, .cursor = kCursorDown, .event_mask = kMouseClick, .handler = command_down},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace

constinit GaugeHeader gr_gauge = {
    GAUGE_HEADER_COMMON("gr", roots),
    .default_size = 352,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
