// gpsnav's records: the element tree, the mouse list, the header and the
// element callbacks. The first child's callback runs the navigation update
// and sets every text that the later children show in the same cycle.
#include "velmar/gpsnav/gauge.h"

#include <cstring>

#include "frame/module_frame.h"
#include "velmar/gpsnav/buttons.h"
#include "velmar/gpsnav/navigation.h"
#include "velmar/gpsnav/pages.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/tokens.h"
#include "velmar/shared_state.h"

namespace velmar::gpsnav {
namespace {

constexpr uint32_t kTextColour = 0x101010;       // 0x00BBGGRR
constexpr uint32_t kBackgroundColour = 0xEBEBEB; // display window grey
constexpr int32_t kHelpId = 43853;
constexpr uint32_t kStepButtonMask = kMouseClick | kMouseStepRepeat; // repeats while held
constexpr int kDistanceTextChars = 5; // "%5.1f": three digits, point, tenths

bool unit_on() {
  return velmar::gps_power_on != 0;
}

// ---- element callbacks -------------------------------------------------

double line1_callback(Element *element) {
  if (nav.no_file != 0) {
    frame::format_text(element, "%s", "Switch off -");
    return 0.0;
  }
  navigation_update();
  if (unit_on()) {
    set_page_texts();
  } else {
    display.line1[0] = '\0';
  }
  frame::format_text(element, "%s", display.line1);
  return 0.0;
}

double line2_callback(Element *element) {
  const char *text = nav.no_file != 0 ? "No DAT File" : unit_on() ? line2_text() : "";
  frame::format_text(element, "%s", text);
  return 0.0;
}

double steering_arrow_callback(Element *) {
  return unit_on() ? nav.steering_index : 0;
}

// 2 ("V") on the navigation page's remark line, where the bearing field
// shows the ground speed in km/h instead.
double bearing_label_callback(Element *) {
  if (!unit_on()) {
    return 0;
  }
  if (display.page == kNavigatePage && display.page_mode == -1) {
    frame::format_into(nav.bearing_text, sizeof nav.bearing_text, "%03.0f",
                       velmar::ground_speed_kmh);
    return 2;
  }
  return 1;
}

double label_callback(Element *) {
  return unit_on() ? 1 : 0;
}

double bearing_field_callback(Element *element) {
  frame::format_text(element, "%s", unit_on() ? nav.bearing_text : "");
  return 0.0;
}

double track_field_callback(Element *element) {
  frame::format_text(element, "%s", unit_on() ? nav.track_text : "");
  return 0.0;
}

// The distance is shown in three fields only when its text is "%5.1f" wide.
bool distance_split() {
  return unit_on() && std::strlen(nav.distance_text) == kDistanceTextChars;
}

double distance_whole_callback(Element *element) {
  frame::format_text(element, "%.3s", distance_split() ? nav.distance_text : "");
  return 0.0;
}

double distance_point_callback(Element *element) {
  frame::format_text(element, "%s", distance_split() ? "." : "");
  return 0.0;
}

double distance_tenths_callback(Element *element) {
  frame::format_text(element, "%s", distance_split() ? nav.distance_text + 4 : "");
  return 0.0;
}

// ---- records -------------------------------------------------------------

struct TextBox {
  int32_t x;
  int32_t y;
  int32_t width_px;
  int32_t height_px;
  int32_t max_chars;
};

constexpr StringElement text_element(TextBox box, ElementCallback callback) {
  return StringElement{
      .element = {.kind = kElementString,
                  .resource_id = -1,
                  .x = box.x,
                  .y = box.y,
                  .gauge = &velmar::gpsnav_gauge,
                  .drawing_flags = kDrawErase},
      .sources = {{.id = kTokenStringSource}, {.id = 0}, {.id = 0}},
      .box_width_px = box.width_px,
      .box_height_px = box.height_px,
      .text_colour = kTextColour,
      .background_colour = kBackgroundColour,
      .highlight_colour = kTextColour,
      .font_face = "Quartz",
      .font_weight = kFontWeightNormal,
      .char_set = kCharSetDefault,
      .layout_flags = kTextLayoutCentred,
      .max_chars = box.max_chars,
      .callback = callback,
  };
}

constexpr IconElement icon_element(int32_t first_bitmap, int32_t x, int32_t y, int32_t images,
                                   ElementCallback callback) {
  return IconElement{
      .element = {.kind = kElementIcon,
                  .resource_id = first_bitmap,
                  .x = x,
                  .y = y,
                  .gauge = &velmar::gpsnav_gauge,
                  .drawing_flags = kDrawTransparent | kDrawErase},
      .image_count = images,
      .callback = callback,
  };
}

// Children of the faceplate, in drawing and update order.
constinit StringElement line1 = text_element({42, 76, 216, 36, 12}, line1_callback);
constinit StringElement line2 = text_element({42, 112, 216, 36, 12}, line2_callback);
constinit IconElement steering_arrow =
    icon_element(kBitmapSteeringArrow, 80, 148, 10, steering_arrow_callback);
constinit IconElement bearing_label =
    icon_element(kBitmapBearingLabel, 45, 180, 3, bearing_label_callback);
constinit IconElement distance_label =
    icon_element(kBitmapDistanceLabel, 42, 206, 2, label_callback);
constinit IconElement track_label = icon_element(kBitmapTrackLabel, 243, 183, 2, label_callback);
constinit IconElement symbols = icon_element(kBitmapSymbols, 196, 209, 2, label_callback);
constinit StringElement bearing_field = text_element({85, 168, 54, 36, 3}, bearing_field_callback);
constinit StringElement track_field = text_element({180, 168, 54, 36, 3}, track_field_callback);
constinit StringElement distance_whole =
    text_element({85, 204, 54, 36, 3}, distance_whole_callback);
constinit StringElement distance_point =
    text_element({139, 204, 18, 36, 1}, distance_point_callback);
constinit StringElement distance_tenths =
    text_element({151, 204, 18, 36, 1}, distance_tenths_callback);

constinit Element *faceplate_children[] = {
    &line1.element,
    &line2.element,
    &steering_arrow.element,
    &bearing_label.element,
    &distance_label.element,
    &track_label.element,
    &symbols.element,
    &bearing_field.element,
    &track_field.element,
    &distance_whole.element,
    &distance_point.element,
    &distance_tenths.element,
    nullptr,
};

constinit StaticImageElement faceplate = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapFaceplate,
                .x = 0,
                .y = 0,
                .gauge = &velmar::gpsnav_gauge,
                .children = faceplate_children,
                .drawing_flags = kDrawTransparent},
};

constinit Element *roots[] = {&faceplate.element, nullptr};

// One parent for the whole gauge holding the six buttons; the list ends with
// the record that closes the parent (no end-of-list record follows). Read by
// the host at placement and for every click.
// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent,    .x = 0,   .y = 0,   .width = 0,  .height = 0,  .cursor = kCursorNone,          .help_id = kHelpId},                                        // whole gauge
    {.kind = kMouseChild,     .x = 93,  .y = 16,  .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kMouseClick,     .handler = on_button},    // ON
    {.kind = kMouseChild,     .x = 190, .y = 16,  .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kMouseClick,     .handler = go_button},    // GO
    {.kind = kMouseChild,     .x = 23,  .y = 269, .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kMouseClick,     .handler = left_button},  // left
    {.kind = kMouseChild,     .x = 104, .y = 269, .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kStepButtonMask, .handler = up_button},    // up
    {.kind = kMouseChild,     .x = 179, .y = 269, .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kStepButtonMask, .handler = down_button},  // down
    {.kind = kMouseChild,     .x = 259, .y = 269, .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kMouseClick,     .handler = right_button}, // right
    {.kind = kMouseEndParent},
};
// clang-format on

} // namespace
} // namespace velmar::gpsnav

namespace velmar {

constinit GaugeHeader gpsnav_gauge = {
    GAUGE_HEADER_COMMON("gpsnav", gpsnav::roots),
    .default_size = 100,
    .mouse_list = gpsnav::mouse_list,
    .gauge_callback = nullptr,
};

} // namespace velmar
