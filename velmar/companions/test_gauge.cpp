// test: the wind check display. Ten rows of "%8.1f %s" (value, label): the
// airspeed lnav uses, gpsnav's ground speed and their difference as headwind
// or tailwind. Rows 4 to 10 are reserved and always show 0.0.
#include <cmath>

#include "frame/module_frame.h"
#include "velmar/companions/gauges.h"
#include "velmar/companions/text_element.h"
#include "velmar/shared_state.h"

namespace velmar {
namespace {

constexpr int32_t kBitmapFace = 0x2B00; // 226x200 white face
constexpr int kRowCount = 10;

struct Row {
  double value_kmh;
  const char *label; // static text
};

// Written by row 1's callback (rows 1 to 3 only) on every cycle, printed by
// each row's callback. Rows 4 to 10 keep their load values.
constinit Row rows[kRowCount] = {
    {.value_kmh = 0.0, .label = ""}, // 1 airspeed
    {.value_kmh = 0.0, .label = ""}, // 2 ground speed
    {.value_kmh = 0.0, .label = ""}, // 3 headwind or tailwind
    {.value_kmh = 0.0, .label = ""}, // 4 reserved
    {.value_kmh = 0.0, .label = ""}, // 5 reserved
    {.value_kmh = 0.0, .label = ""}, // 6 reserved
    {.value_kmh = 0.0, .label = ""}, // 7 reserved
    {.value_kmh = 0.0, .label = ""}, // 8 reserved
    {.value_kmh = 0.0, .label = ""}, // 9 reserved
    {.value_kmh = 0.0, .label = ""}, // 10 reserved
};

void refresh_wind_rows() {
  rows[0] = {.value_kmh = lnav_airspeed_kmh, .label = "kmh/asi"};
  if (gps_power_on == 0) {
    rows[1] = {.value_kmh = 0.0, .label = "gps off"};
    rows[2] = {.value_kmh = 0.0, .label = ""};
    return;
  }
  rows[1] = {.value_kmh = ground_speed_kmh, .label = "kmh/gps"};
  const double headwind_kmh = lnav_airspeed_kmh - ground_speed_kmh;
  if (headwind_kmh < 0) {
    // A tailwind is shown in whole km/h, cut toward zero; a headwind is not.
    rows[2] = {.value_kmh = std::fabs(std::trunc(headwind_kmh)), .label = "TW"};
  } else {
    rows[2] = {.value_kmh = headwind_kmh, .label = "HW"};
  }
}

extern StringElement row_elements[kRowCount];

// The rows' last texts: seven never change, and the others seldom.
constinit frame::NumberLine row_texts[kRowCount] = {};

// Prints the row whose element this is: "%8.1f %s".
double print_row(Element *element) {
  const auto row = reinterpret_cast<StringElement *>(element) - row_elements;
  frame::format_number_line(element, row_texts[row], 8, 1, rows[row].value_kmh, rows[row].label);
  return 0.0;
}

// Row 1 comes first in the element tree, so the rows below it print values of
// the same cycle.
double first_row_callback(Element *e) {
  refresh_wind_rows();
  return print_row(e);
}

constexpr companions::TextColours kBlackOnWhite = {
    .text = 0x000000, .background = 0xFFFFFF, .highlight = 0x000000};

constexpr companions::TextBox row_box(int32_t row) {
  return {.x = 0, .y = 20 * row, .width_px = 226, .height_px = 20, .max_chars = 17};
}

// The ten rows, top to bottom, 20 pixels apart.
constinit StringElement row_elements[kRowCount] = {
    companions::text_element(&test_gauge, row_box(0), kBlackOnWhite, first_row_callback),
    companions::text_element(&test_gauge, row_box(1), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(2), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(3), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(4), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(5), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(6), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(7), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(8), kBlackOnWhite, print_row),
    companions::text_element(&test_gauge, row_box(9), kBlackOnWhite, print_row),
};

constinit Element *face_children[] = {
    &row_elements[0].element,
    &row_elements[1].element,
    &row_elements[2].element,
    &row_elements[3].element,
    &row_elements[4].element,
    &row_elements[5].element,
    &row_elements[6].element,
    &row_elements[7].element,
    &row_elements[8].element,
    &row_elements[9].element,
    nullptr,
};

constinit StaticImageElement face = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapFace,
                .gauge = &test_gauge,
                .children = face_children,
                .drawing_flags = kDrawTransparent},
};

constinit Element *roots[] = {&face.element, nullptr};

// One parent over the whole gauge, no help id, no children.
constinit MouseRectangle mouse[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = 0},
    {.kind = kMouseEndParent          },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader test_gauge = {
    GAUGE_HEADER_COMMON("test", roots),
    .default_size = 226,
    .mouse_list = mouse,
    .gauge_callback = nullptr,
};

} // namespace velmar
