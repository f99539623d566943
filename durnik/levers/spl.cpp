// spl: airbrake lever. Dragging along the slot sets the airbrakes through key
// event 0x100FA; the picture follows token 0x145, and a sound plays on each
// arrival at fully closed or fully open.
#include <algorithm>
#include <cmath>

#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"
#include "frame/sound_slot.h"

namespace durnik {
namespace {

inline constexpr double kAirbrakeClosed_raw = 0.0;
inline constexpr double kAirbrakeOpen_raw = 16383.0;
inline constexpr double kAirbrakeSpan_raw = 16384.0; // largest command, and the picture's scale
// Picture travel at fully open: left and down, pixels.
inline constexpr double kTravelX_px = -256.0;
inline constexpr double kTravelY_px = 212.0;
// Drag: the slot is 510 design pixels long; 32 command units per pixel.
inline constexpr double kSlotLength_px = 510.0;
inline constexpr double kCommandPerPx = 32.0;
inline constexpr double kPicturePerSlotPx = 134.0 / 255.0;
inline constexpr double kSlotAngle_deg = 40.0;
inline constexpr double kPi = 3.1415926535;
inline constexpr int32_t kSoundAttenuation = -800;

// Written by the lever's callbacks and by the drag handler.
constinit double last_position_raw = 0.0;
constinit int32_t offset_x_px = 0;
constinit int32_t offset_y_px = 0;
// Drawn width of the slot image, written at service 5.
constinit double background_width_px = 0.0;
// Shared by every placement of spl: loaded at the first placement's service
// 3, released at the last placement's service 12. sound_holders counts the
// placements between the two.
constinit SoundSlot closing_sound = {.resource_id = 0x2D00};
constinit SoundSlot opening_sound = {.resource_id = 0x2E00};
constinit int32_t sound_holders = 0;

constinit TokenVar airbrake_token = {.id = kTokenAirbrake_raw};

void update_position() {
  const double position_raw = frame::read_token(airbrake_token);
  if (position_raw == last_position_raw) {
    return;
  }
  if (position_raw == kAirbrakeClosed_raw) {
    frame::sound_slot_play_once(closing_sound, kSoundAttenuation);
  } else if (position_raw == kAirbrakeOpen_raw) {
    frame::sound_slot_play_once(opening_sound, kSoundAttenuation);
  }
  offset_y_px = truncate_i32(position_raw / kAirbrakeSpan_raw * kTravelY_px);
  offset_x_px = truncate_i32(position_raw / kAirbrakeSpan_raw * kTravelX_px);
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

// Moves the picture at once; the next change of the token repositions it. A
// click before the slot's drawn width is known (no service 5 yet, or an image
// without size) is ignored rather than divided by zero.
uint32_t drag_lever(MousePoint *point, uint32_t) {
  if (!(background_width_px > 0.0)) {
    return 0;
  }
  // 510 at the left edge, 0 at the right edge.
  const double slot_px = kSlotLength_px - point->x / background_width_px * kSlotLength_px;
  const double command = std::clamp(slot_px * kCommandPerPx, 0.0, kAirbrakeSpan_raw);
  frame::send_key_event(kKeyAirbrakeSet, truncate_i32(command));
  const double travel_px = slot_px * kPicturePerSlotPx;
  offset_x_px = truncate_i32(-travel_px);
  offset_y_px = truncate_i32(std::tan(kSlotAngle_deg * kPi / 180.0) * travel_px);
  return 0;
}

constinit ShiftElement lever = {
    .element = {.kind = kElementShift,
                .resource_id = kBitmapSplLever,
                .x = 256,
                .y = 0,
                .gauge = &spl_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .x_scale = 1.0,
    .y_scale = 1.0,
    .x_callback = lever_x,
    .y_callback = lever_y,
};
constinit Element *slot_children[] = {&lever.element, nullptr};

constinit StaticImageElement slot_image = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapSplSlot,
                .gauge = &spl_gauge,
                .children = slot_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&slot_image.element, nullptr};

// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone, .help_id = 43874},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 510, .height = 322, .cursor = kCursorHand, .event_mask = kMouseClick | kMouseDrag, .handler = drag_lever},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

int32_t spl_service(GaugeHeader *, int32_t service_id, uint32_t host_value) {
  switch (service_id) {
  case 3:
    if (sound_holders++ == 0) {
      frame::sound_slot_load(closing_sound, host_value);
      frame::sound_slot_load(opening_sound, host_value);
    }
    break;
  case 5:
    background_width_px = slot_image.image != nullptr ? slot_image.image->width_px : 0.0;
    break;
  case 12:
    if (sound_holders > 0 && --sound_holders == 0) {
      frame::sound_slot_release_unloaded(closing_sound);
      frame::sound_slot_release_unloaded(opening_sound);
    }
    break;
  default:
    break;
  }
  return 0;
}

} // namespace

constinit GaugeHeader spl_gauge = {
    GAUGE_HEADER_COMMON("spl", roots),
    .default_size = 510,
    .mouse_list = mouse_list,
    .gauge_callback = spl_service,
};

} // namespace durnik
