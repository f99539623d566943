// Records of the lnav gauge: the element chain, the mouse list and the header.
#include "velmar/lnav/lnav_gauge.h"

#include "frame/module_frame.h"
#include "velmar/lnav/controls.h"
#include "velmar/lnav/display.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/vario_audio.h"

namespace lnav {
namespace records {

// Every text of the face: dark digits on the light display.
struct TextRow {
  int32_t x;
  int32_t y;
  int32_t width_px;
  int32_t max_chars;
  uint32_t source; // kTokenStringSource, or 0 on four of the strings
  ElementCallback callback;
};

constexpr uint32_t kTextColour = 0x101010;
constexpr uint32_t kDisplayColour = 0xEBEBEB;
constexpr int32_t kTextHeightPx = 30;

constexpr StringElement text(const TextRow &row, Element **children) {
  return {
      .element = {.kind = kElementString,
                  .resource_id = -1,
                  .x = row.x,
                  .y = row.y,
                  .gauge = &gauge_header,
                  .children = children,
                  .drawing_flags = kDrawErase},
      .sources = {{.id = row.source}            },
      .box_width_px = row.width_px,
      .box_height_px = kTextHeightPx,
      .text_colour = kTextColour,
      .background_colour = kDisplayColour,
      .highlight_colour = kTextColour,
      .font_face = "Quartz",
      .font_weight = kFontWeightNormal,
      .char_set = kCharSetDefault,
      .layout_flags = kTextLayoutCentred,
      .max_chars = row.max_chars,
      .callback = row.callback
  };
}

struct IconRow {
  int32_t bitmap;
  int32_t x;
  int32_t y;
  int32_t images;
  ElementCallback callback;
};

constexpr IconElement icon(const IconRow &row, Element **children) {
  return {
      .element = {.kind = kElementIcon,
                  .resource_id = row.bitmap,
                  .x = row.x,
                  .y = row.y,
                  .gauge = &gauge_header,
                  .children = children,
                  .drawing_flags = kDrawTransparent | kDrawErase},
      .image_count = row.images,
      .callback = row.callback
  };
}

// links[n - 1] is the child list of element n: element n + 1 alone.
extern Element *links[kElementCount - 1][2];

// Elements in drawing order, numbered as on the face. Read by the host's
// update walk, depth first.
// clang-format off
constinit StaticImageElement face = {.element = {.kind = kElementStaticImage, .resource_id = kBitmapFace, .gauge = &gauge_header, .children = links[0], .drawing_flags = kDrawTransparent}}; // 1
constinit NeedleElement knob = {.element = {.kind = kElementNeedle, .resource_id = kBitmapKnob, .x = 103, .y = 36, .offset_x = 14, .offset_y = 15, .gauge = &gauge_header, .children = links[1], .drawing_flags = kDrawTransparent | kDrawErase}, .callback = knob_angle}; // 2
constinit StringElement netto_tenths_text = text({.x = 143, .y = 104, .width_px = 15, .max_chars = 1, .source = kTokenStringSource, .callback = netto_tenths}, links[2]); // 3
constinit StringElement netto_point_text = text({.x = 130, .y = 104, .width_px = 15, .max_chars = 1, .source = 0, .callback = netto_point}, links[3]); // 4
constinit StringElement netto_digits_text = text({.x = 103, .y = 104, .width_px = 30, .max_chars = 2, .source = kTokenStringSource, .callback = netto_digits}, links[4]); // 5
constinit StringElement te_tenths_text = text({.x = 198, .y = 104, .width_px = 15, .max_chars = 1, .source = kTokenStringSource, .callback = te_tenths}, links[5]); // 6
constinit StringElement te_point_text = text({.x = 185, .y = 104, .width_px = 15, .max_chars = 1, .source = 0, .callback = te_point}, links[6]); // 7
constinit StringElement te_digits_text = text({.x = 156, .y = 104, .width_px = 30, .max_chars = 2, .source = kTokenStringSource, .callback = te_digits}, links[7]); // 8
constinit StringElement distance_tenths_text = text({.x = 198, .y = 139, .width_px = 15, .max_chars = 1, .source = 0, .callback = distance_tenths}, links[8]); // 9
constinit StringElement distance_point_text = text({.x = 185, .y = 139, .width_px = 15, .max_chars = 1, .source = 0, .callback = distance_point}, links[9]); // 10
constinit StringElement distance_digits_text = text({.x = 141, .y = 139, .width_px = 45, .max_chars = 3, .source = kTokenStringSource, .callback = distance_digits}, links[10]); // 11
constinit StringElement value_line_text = text({.x = 130, .y = 169, .width_px = 75, .max_chars = 5, .source = kTokenStringSource, .callback = value_line}, links[11]); // 12
constinit StringElement page_line_text = text({.x = 83, .y = 200, .width_px = 150, .max_chars = 10, .source = kTokenStringSource, .callback = page_line}, links[12]); // 13
constinit IconElement netto_label_icon = icon({.bitmap = kBitmapNettoLabel, .x = 110, .y = 90, .images = 2, .callback = netto_label}, links[13]); // 14
constinit IconElement te_label_icon = icon({.bitmap = kBitmapTeLabel, .x = 169, .y = 90, .images = 2, .callback = te_label}, links[14]); // 15
constinit IconElement distance_label_icon = icon({.bitmap = kBitmapDistanceLabel, .x = 116, .y = 145, .images = 2, .callback = distance_label}, links[15]); // 16
constinit IconElement value_label_icon = icon({.bitmap = kBitmapValueLabel, .x = 108, .y = 180, .images = 2, .callback = value_label}, links[16]); // 17
constinit IconElement alt_mode_icon = icon({.bitmap = kBitmapAltMode, .x = 214, .y = 188, .images = 3, .callback = alt_mode_marker}, links[17]); // 18
constinit ShiftElement glide_bar = {.element = {.kind = kElementShift, .resource_id = kBitmapGlideBar, .x = 217, .y = 143, .gauge = &gauge_header, .children = links[18], .drawing_flags = kDrawTransparent | kDrawErase}, .x_scale = 0.0, .y_scale = 0.05, .x_callback = nullptr, .y_callback = glide_bar_offset}; // 19
constinit IconElement glide_frame_icon = icon({.bitmap = kBitmapGlideFrame, .x = 215, .y = 143, .images = 2, .callback = glide_bar_frame}, links[19]); // 20
constinit IconElement speed_arrow_icon = icon({.bitmap = kBitmapSpeedArrow, .x = 73, .y = 92, .images = 10, .callback = speed_command_arrow}, links[20]); // 21
constinit IconElement scale_half_icon = icon({.bitmap = kBitmapScaleHalf, .x = 214, .y = 88, .images = 2, .callback = scale_half_marker}, links[21]); // 22
constinit IconElement scale_x2_icon = icon({.bitmap = kBitmapScaleX2, .x = 231, .y = 88, .images = 2, .callback = scale_x2_marker}, nullptr); // 23
// clang-format on

constinit Element *links[kElementCount - 1][2] = {
    {&knob.element,                 nullptr},
    {&netto_tenths_text.element,    nullptr},
    {&netto_point_text.element,     nullptr},
    {&netto_digits_text.element,    nullptr},
    {&te_tenths_text.element,       nullptr},
    {&te_point_text.element,        nullptr},
    {&te_digits_text.element,       nullptr},
    {&distance_tenths_text.element, nullptr},
    {&distance_point_text.element,  nullptr},
    {&distance_digits_text.element, nullptr},
    {&value_line_text.element,      nullptr},
    {&page_line_text.element,       nullptr},
    {&netto_label_icon.element,     nullptr},
    {&te_label_icon.element,        nullptr},
    {&distance_label_icon.element,  nullptr},
    {&value_label_icon.element,     nullptr},
    {&alt_mode_icon.element,        nullptr},
    {&glide_bar.element,            nullptr},
    {&glide_frame_icon.element,     nullptr},
    {&speed_arrow_icon.element,     nullptr},
    {&scale_half_icon.element,      nullptr},
    {&scale_x2_icon.element,        nullptr},
};

constinit Element *roots[] = {&face.element, nullptr};

// Knob halves, the home button at the top, back and forward beside the
// display, increase and decrease at the bottom. Read by the host's mouse
// dispatch.
constexpr uint32_t kStepping = kMouseClick | kMouseStepRepeat;
// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .x = 0, .y = 0, .width = 0, .height = 0, .cursor = kCursorNone, .help_id = 0xAB32, .event_mask = 0, .key_event = 0, .handler = nullptr},
    {.kind = kMouseChild, .x = 85, .y = 17, .width = 20, .height = 45, .cursor = kCursorDown, .help_id = 0, .event_mask = kStepping, .key_event = 0, .handler = on_knob_down},
    {.kind = kMouseChild, .x = 105, .y = 17, .width = 20, .height = 45, .cursor = kCursorUp, .help_id = 0, .event_mask = kStepping, .key_event = 0, .handler = on_knob_up},
    {.kind = kMouseChild, .x = 197, .y = 25, .width = 28, .height = 28, .cursor = kCursorHand, .help_id = 0, .event_mask = kMouseClick, .key_event = 0, .handler = on_home},
    {.kind = kMouseChild, .x = 21, .y = 182, .width = 28, .height = 28, .cursor = kCursorHand, .help_id = 0, .event_mask = kMouseClick, .key_event = 0, .handler = on_back},
    {.kind = kMouseChild, .x = 268, .y = 183, .width = 28, .height = 28, .cursor = kCursorHand, .help_id = 0, .event_mask = kMouseClick, .key_event = 0, .handler = on_forward},
    {.kind = kMouseChild, .x = 89, .y = 263, .width = 28, .height = 28, .cursor = kCursorHand, .help_id = 0, .event_mask = kStepping, .key_event = 0, .handler = on_increase},
    {.kind = kMouseChild, .x = 199, .y = 263, .width = 28, .height = 28, .cursor = kCursorHand, .help_id = 0, .event_mask = kStepping, .key_event = 0, .handler = on_decrease},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace records

constinit GaugeHeader gauge_header = {
    GAUGE_HEADER_COMMON("lnav", records::roots),
    .default_size = 100,
    .mouse_list = records::mouse_list,
    .gauge_callback = lnav_gauge_callback,
};

} // namespace lnav
