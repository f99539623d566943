// vsi: total-energy variometer with a main needle (compensated, smoothed), a
// second needle (the same or the raw climb rate), a range switch and a mode
// switch. No gauge callback; the state starts with the module and is shared by
// every placement.
#include <algorithm>

#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "durnik/vsi/te_filter.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

using vsi::kNeedleLimit_raw;

// Written by the switch handlers; read by the needles and switch icons.
constinit int32_t range = 2; // 1: x2 (+-2.5 m/s), 2: x1 (+-5 m/s), 3: x0.5 (+-10 m/s)
constinit int32_t mode = 2;  // 1, 2: second needle repeats the main one; 3: raw climb
// Written by the main needle's callback.
constinit vsi::TeFilter filter = {};

constinit TokenVar climb_token = {.id = kTokenClimbRate_raw};
constinit TokenVar airspeed_token = {.id = kTokenAirspeed_kt};
constinit TokenVar units_token = {.id = kTokenUnits};

double range_factor() {
  switch (range) {
  case 1:
    return 2.0;
  case 3:
    return 0.5;
  default:
    return 1.0;
  }
}

double clamp_to_scale(double value_raw) {
  return std::clamp(value_raw, -kNeedleLimit_raw, kNeedleLimit_raw);
}

bool metric_units() {
  return truncate_i32(frame::read_token(units_token)) == kUnitsMetric;
}

double scale_label_image(Element *) {
  return metric_units() ? range - 1 : range;
}

double unit_label_image(Element *) {
  return metric_units() ? 1.0 : 0.0;
}

// The second needle is evaluated before the main one, so in modes 1 and 2 it
// shows the value of the previous computation.
double second_needle_value(Element *) {
  double value_raw = frame::read_token(climb_token) * range_factor();
  if (mode == 1 || mode == 2) {
    value_raw = filter.te_value_raw;
  }
  return clamp_to_scale(value_raw);
}

double main_needle_value(Element *) {
  const int32_t now_ms = frame::module_clock_ms();
  const double dt_ms = static_cast<double>(frame::elapsed_ms(now_ms, filter.last_tick_ms));
  if (dt_ms > vsi::kMinIntervalMs) {
    const double climb_raw = frame::read_token(climb_token);
    const double speed_kmh = knots_to_kmh(frame::read_token(airspeed_token));
    vsi::te_filter_step(filter, climb_raw, speed_kmh, dt_ms, now_ms, range_factor());
  }
  return clamp_to_scale(filter.te_value_raw);
}

double range_switch_image(Element *) {
  return range - 1;
}
double mode_switch_image(Element *) {
  return mode - 1;
}

template <int32_t kRange> uint32_t set_range(MousePoint *, uint32_t flags) {
  range = kRange;
  return flags;
}

template <int32_t kMode> uint32_t set_mode(MousePoint *, uint32_t flags) {
  mode = kMode;
  return flags;
}

// Both needles: value in 1/256 m/s to a point of the dial.
constinit NonlinearityPoint needle_points[] = {
    {.x = 256, .y = 241, .value = -1280.0},
    {.x = 26,  .y = 157, .value = 0.0    },
    {.x = 256, .y = 73,  .value = 1280.0 },
};

// The elements form a chain: each is the only child of the one before it.
constinit IconElement mode_switch = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapVsiSwitch,
                .x = 250,
                .y = 170,
                .gauge = &vsi_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 3,
    .callback = mode_switch_image,
};
constinit Element *range_switch_children[] = {&mode_switch.element, nullptr};

constinit IconElement range_switch = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapVsiSwitch,
                .x = 250,
                .y = 100,
                .gauge = &vsi_gauge,
                .children = range_switch_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 3,
    .callback = range_switch_image,
};
constinit Element *main_needle_children[] = {&range_switch.element, nullptr};

constinit NeedleElement main_needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapVsiMainNeedle,
                .x = 157,
                .y = 157,
                .offset_x = 13,
                .offset_y = 13,
                .gauge = &vsi_gauge,
                .children = main_needle_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .points = needle_points,
    .point_count = sizeof needle_points / sizeof needle_points[0],
    .callback = main_needle_value,
};
constinit Element *second_needle_children[] = {&main_needle.element, nullptr};

constinit NeedleElement second_needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapVsiSecondNeedle,
                .x = 157,
                .y = 157,
                .offset_x = 13,
                .offset_y = 13,
                .gauge = &vsi_gauge,
                .children = second_needle_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .points = needle_points,
    .point_count = sizeof needle_points / sizeof needle_points[0],
    .callback = second_needle_value,
};
constinit Element *unit_label_children[] = {&second_needle.element, nullptr};

constinit IconElement unit_label = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapVsiUnitLabel,
                .x = 148,
                .y = 90,
                .gauge = &vsi_gauge,
                .children = unit_label_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 2,
    .callback = unit_label_image,
};
constinit Element *scale_label_children[] = {&unit_label.element, nullptr};

constinit IconElement scale_label = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapVsiScaleLabel,
                .x = 100,
                .y = 90,
                .gauge = &vsi_gauge,
                .children = scale_label_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 4,
    .callback = scale_label_image,
};
constinit Element *face_children[] = {&scale_label.element, nullptr};

constinit StaticImageElement face = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapVsiDial,
                .gauge = &vsi_gauge,
                .children = face_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&face.element, nullptr};

// The switch positions, read by the host's mouse dispatch.
// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone, .help_id = 43894},
    {.kind = kMouseChild, .x = 250, .y = 97, .width = 16, .height = 16, .cursor = kCursorUp, .event_mask = kMouseClick, .handler = set_range<1>},
    {.kind = kMouseChild, .x = 250, .y = 113, .width = 16, .height = 16, .cursor = kCursorHand, .event_mask = kMouseClick, .handler = set_range<2>},
    {.kind = kMouseChild, .x = 250, .y = 129, .width = 16, .height = 16, .cursor = kCursorDown, .event_mask = kMouseClick, .handler = set_range<3>},
    {.kind = kMouseChild, .x = 250, .y = 167, .width = 16, .height = 16, .cursor = kCursorUp, .event_mask = kMouseClick, .handler = set_mode<1>},
    {.kind = kMouseChild, .x = 250, .y = 183, .width = 16, .height = 16, .cursor = kCursorHand, .event_mask = kMouseClick, .handler = set_mode<2>},
    {.kind = kMouseChild, .x = 250, .y = 199, .width = 16, .height = 16, .cursor = kCursorDown, .event_mask = kMouseClick, .handler = set_mode<3>},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace

constinit GaugeHeader vsi_gauge = {
    GAUGE_HEADER_COMMON("vsi", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = nullptr,
};

} // namespace durnik
