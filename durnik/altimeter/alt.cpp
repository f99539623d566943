// alt: three-pointer altimeter with a rotating pressure scale, a setting knob
// whose halves only carry key events (the host sends them itself), and a zero
// button that toggles a height-above-here reading. Its gauge callback acts on
// no service.
#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

// The pressure scale's angle per unit of the setting token, degrees.
inline constexpr double kPressureScaleDegPerUnit = 3.022;
// Pointer angles: -90 degrees is the dial's zero mark.
inline constexpr double kZeroMarkDeg = -90.0;
inline constexpr double kLongPointerDegPerUnit = 0.36;    // one turn per 1000 units
inline constexpr double kMiddlePointerDegPerUnit = 0.036; // one turn per 10000 units
// The short pointer turns once per 10000 m, or per 100000 ft.
inline constexpr double kShortPointerDegPerMetre = 0.036;
inline constexpr double kShortPointerDegPerFoot = 0.0036;

// Written by the zero toggle only; shared by every alt placement. The offset is
// in the altimeter's unit at the moment of the click and is not converted when
// the unit setting changes later.
constinit int32_t zeroed = 0;
constinit double zero_offset = 0.0;

constinit TokenVar units_token = {.id = kTokenUnits};
constinit TokenVar reference_altitude_token = {.id = kTokenReferenceAltitude_raw};

bool metric_units() {
  return frame::read_token(units_token) == 2.0;
}

double unit_label_image(Element *) {
  return metric_units() ? 1.0 : 0.0;
}

double pressure_scale_angle(Element *element) {
  const auto *scale = reinterpret_cast<RotateElement *>(element);
  return scale->rotation_source.value * kPressureScaleDegPerUnit;
}

// Altitude above the zero reference, from the pointer's own source token.
double height_above_zero(Element *element) {
  return reinterpret_cast<NeedleElement *>(element)->source.value - zero_offset;
}

double short_pointer_angle(Element *element) {
  const double per_unit = metric_units() ? kShortPointerDegPerMetre : kShortPointerDegPerFoot;
  return height_above_zero(element) * per_unit + kZeroMarkDeg;
}

double middle_pointer_angle(Element *element) {
  return height_above_zero(element) * kMiddlePointerDegPerUnit + kZeroMarkDeg;
}

double long_pointer_angle(Element *element) {
  return height_above_zero(element) * kLongPointerDegPerUnit + kZeroMarkDeg;
}

uint32_t toggle_zero(MousePoint *, uint32_t flags) {
  if (zeroed != 0) {
    zeroed = 0;
    zero_offset = 0.0;
    return flags;
  }
  zeroed = 1;
  zero_offset = frame::read_token(reference_altitude_token) / 256.0; // metres
  if (!metric_units()) {
    zero_offset = metres_to_feet_rounded(zero_offset);
  }
  return flags;
}

// Chain: each element is the only child of the one before it.
constinit NeedleElement long_pointer = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapAltLongPointer,
                .x = 155,
                .y = 159,
                .offset_x = 58,
                .offset_y = 11,
                .gauge = &alt_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = kTokenIndicatedAltitude              },
    .callback = long_pointer_angle,
};
constinit Element *middle_pointer_children[] = {&long_pointer.element, nullptr};

constinit NeedleElement middle_pointer = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapAltMiddlePointer,
                .x = 155,
                .y = 159,
                .offset_x = 50,
                .offset_y = 11,
                .gauge = &alt_gauge,
                .children = middle_pointer_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = kTokenIndicatedAltitude              },
    .callback = middle_pointer_angle,
};
constinit Element *short_pointer_children[] = {&middle_pointer.element, nullptr};

constinit NeedleElement short_pointer = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapAltShortPointer,
                .x = 155,
                .y = 159,
                .offset_x = 35,
                .offset_y = 12,
                .gauge = &alt_gauge,
                .children = short_pointer_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = kTokenIndicatedAltitude              },
    .callback = short_pointer_angle,
};
constinit Element *pressure_scale_children[] = {&short_pointer.element, nullptr};

constinit RotateElement pressure_scale = {
    .element = {.kind = kElementRotate,
                .resource_id = kBitmapAltPressureScale,
                .x = 30,
                .y = 30,
                .offset_x = 157,
                .offset_y = 157,
                .gauge = &alt_gauge,
                .children = pressure_scale_children,
                .drawing_flags = kDrawTransparent},
    .x_scale = 0.0,
    .y_scale = 0.0,
    .rotation_source = {.id = kTokenPressureSetting               },
    .rotation_scale = 1.0,
    .texture_scale_x = 1.0f,
    .texture_scale_y = 1.0f,
    .rotation_callback = pressure_scale_angle,
};
constinit Element *unit_label_children[] = {&pressure_scale.element, nullptr};

constinit IconElement unit_label = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapAltUnitLabel,
                .x = 130,
                .y = 178,
                .gauge = &alt_gauge,
                .children = unit_label_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 2,
    .callback = unit_label_image,
};
constinit Element *dial_children[] = {&unit_label.element, nullptr};

constinit StaticImageElement dial = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapAltDial,
                .gauge = &alt_gauge,
                .children = dial_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
};
constinit Element *roots[] = {&dial.element, nullptr};

// Two nested parents: the setting knob (its halves carry the host's own key
// events and no handler) and the zero button.
// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone, .help_id = 43783},
    {.kind = kMouseParent, .x = 0, .y = 254, .width = 52, .height = 52, .cursor = kCursorNone, .help_id = 43834},
    {.kind = kMouseChild, .x = 26, .y = 0, .width = 26, .height = 52, .cursor = kCursorUp, .event_mask = kMouseClick | kMouseStepRepeat, .key_event = kKeyPressureSettingUp},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 26, .height = 52, .cursor = kCursorDown, .event_mask = kMouseClick | kMouseStepRepeat, .key_event = kKeyPressureSettingDown},
    {.kind = kMouseEndParent},
    {.kind = kMouseParent, .x = 135, .y = 139, .width = 40, .height = 40, .cursor = kCursorNone, .help_id = 43784},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 40, .height = 40, .cursor = kCursorHand, .event_mask = kMouseClick, .handler = toggle_zero},
    {.kind = kMouseEndParent},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace

constinit GaugeHeader alt_gauge = {
    GAUGE_HEADER_COMMON("alt", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
