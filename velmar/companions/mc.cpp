// mc: the mini control unit. Heading, turnpoint name, altitude and airspeed
// texts, the track-deviation arrow, mc's own vario needle and a compass
// needle. It reads the host and gpsnav's published turnpoint; no controls.
#include "frame/module_frame.h"
#include "velmar/companions/gauges.h"
#include "velmar/companions/mc_deviation.h"
#include "velmar/companions/mc_tokens.h"
#include "velmar/companions/mc_vario.h"
#include "velmar/companions/text_element.h"
#include "velmar/companions/units.h"
#include "velmar/shared_state.h"

namespace velmar {
namespace {

// Bitmaps (see resources/velmar.res).
constexpr int32_t kBitmapFace = 0x2500;          // 421x151
constexpr int32_t kBitmapVarioNeedle = 0x2600;   // 36x5, pivot 2,2
constexpr int32_t kBitmapArrows = 0x2800;        // 11 images of 157x17
constexpr int32_t kBitmapCompassNeedle = 0x2900; // 27x11, pivot 2,7
constexpr int32_t kArrowImageCount = 11;

constexpr int32_t kHelpId = 0xA306;
// Needle angle, degrees, that the compass shows for a heading outside 0..360.
constexpr double kCompassOutOfRangeDeg = -90.0;
constexpr double kCompassNorthOffsetDeg = 90.0;
// The turnpoint name is padded with this, so a short name still fills the
// 12-character element: the text is up to 28 characters, the element shows
// 12 (the host's text buffer holds all of it).
constexpr const char *kNamePadding = "                ";

constinit TokenVar heading = {.id = mc::kTokenHeadingDeg};
constinit TokenVar altitude = {.id = mc::kTokenAltitudeM};
constinit TokenVar airspeed = {.id = mc::kTokenAirspeedKnots};
constinit TokenVar units_setting = {.id = mc::kTokenUnitsSetting};

double heading_callback(Element *e) {
  frame::format_text(e, "%03d", companions::truncate_i32(frame::read_token(heading)));
  return 0.0;
}

double name_callback(Element *e) {
  if (gps_power_on != 0) {
    // At most the name's 12 characters, even if gpsnav left it unterminated.
    frame::format_text(e, "%.12s%s", active_tp_name, kNamePadding);
  } else {
    frame::format_text(e, "%s", kNamePadding);
  }
  return 0.0;
}

double altitude_callback(Element *e) {
  double shown = frame::read_token(altitude); // metres
  unit_system = companions::unit_system_from_token(frame::read_token(units_setting));
  if (unit_system == 0 || unit_system == 1) {
    shown = companions::feet_from_metres(shown);
  }
  frame::format_text(e, "%5.0f", shown);
  return 0.0;
}

// Uses the units setting last stored by any velmar gauge (within mc, the
// altitude's a moment ago). Unit 1 shows km/h with feet.
double airspeed_callback(Element *e) {
  double shown = frame::read_token(airspeed); // knots
  if (unit_system == 1 || unit_system == 2) {
    shown = companions::kmh_from_knots(shown);
  }
  frame::format_text(e, "%3.0f", shown);
  return 0.0;
}

double arrow_callback(Element *) {
  return mc::deviation_arrow_index();
}

double vario_callback(Element *) {
  return mc::vario_needle_raw();
}

// Needle angle in degrees; the bitmap points east at angle 0.
double compass_callback(Element *e) {
  const int32_t heading_deg =
      companions::truncate_i32(frame::read_token(reinterpret_cast<NeedleElement *>(e)->source));
  if (heading_deg >= 0 && heading_deg <= 360) {
    return heading_deg - kCompassNorthOffsetDeg;
  }
  return kCompassOutOfRangeDeg;
}

constexpr companions::TextColours kDarkOnGrey = {
    .text = 0x101010, .background = 0xA2A2A2, .highlight = 0x101010};

constinit StringElement heading_text = companions::text_element(
    &mc_gauge, {.x = 38, .y = 100, .width_px = 54, .height_px = 28, .max_chars = 3}, kDarkOnGrey,
    heading_callback);
constinit StringElement name_text = companions::text_element(
    &mc_gauge, {.x = 108, .y = 100, .width_px = 180, .height_px = 28, .max_chars = 12}, kDarkOnGrey,
    name_callback);
constinit StringElement altitude_text = companions::text_element(
    &mc_gauge, {.x = 168, .y = 34, .width_px = 90, .height_px = 28, .max_chars = 5}, kDarkOnGrey,
    altitude_callback);
constinit StringElement airspeed_text = companions::text_element(
    &mc_gauge, {.x = 103, .y = 34, .width_px = 54, .height_px = 28, .max_chars = 3}, kDarkOnGrey,
    airspeed_callback);

constinit IconElement arrow = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapArrows,
                .x = 105,
                .y = 70,
                .gauge = &mc_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = kArrowImageCount,
    .callback = arrow_callback,
};

// Raw vario units: zero points left, the stops right just below and above
// the pivot line.
constinit NonlinearityPoint vario_points[] = {
    {.x = 373, .y = 80, .value = -2560.0, .host_working = 0.0},
    {.x = 298, .y = 79, .value = 0.0,     .host_working = 0.0},
    {.x = 373, .y = 78, .value = 2560.0,  .host_working = 0.0},
};

constinit NeedleElement vario_needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapVarioNeedle,
                .x = 338,
                .y = 79,
                .offset_x = 2,
                .offset_y = 2,
                .gauge = &mc_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .points = vario_points,
    .point_count = 3,
    .rate_limit = 3,
    .callback = vario_callback,
};

constinit NeedleElement compass_needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapCompassNeedle,
                .x = 60,
                .y = 64,
                .offset_x = 2,
                .offset_y = 7,
                .gauge = &mc_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = mc::kTokenHeadingDeg               },
    .points = nullptr,
    .point_count = 0,
    .rate_limit = 0,
    .callback = compass_callback,
};

// Drawing order; the altitude text stores unit_system before the airspeed
// text reads it.
constinit Element *face_children[] = {
    &heading_text.element, &name_text.element,    &altitude_text.element,  &airspeed_text.element,
    &arrow.element,        &vario_needle.element, &compass_needle.element, nullptr,
};

constinit StaticImageElement face = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapFace,
                .gauge = &mc_gauge,
                .children = face_children,
                .drawing_flags = kDrawTransparent | kDrawLit},
};

constinit Element *roots[] = {&face.element, nullptr};

// One parent over the whole gauge, no children.
constinit MouseRectangle mouse[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = kHelpId},
    {.kind = kMouseEndParent    },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader mc_gauge = {
    GAUGE_HEADER_COMMON("mc", roots),
    .default_size = 100,
    .mouse_list = mouse,
    .gauge_callback = nullptr,
};

} // namespace velmar
