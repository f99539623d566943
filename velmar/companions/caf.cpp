// caf: the needle variometer beside lnav. The needle shows the caf needle
// filter in raw vario units whatever the units setting; only the dial
// overlay changes with it.
#include "frame/module_frame.h"
#include "velmar/companions/caf_filter.h"
#include "velmar/companions/caf_tokens.h"
#include "velmar/companions/gauges.h"
#include "velmar/companions/units.h"
#include "velmar/shared_state.h"

namespace velmar {
namespace {

// Bitmaps (see resources/velmar.res).
constexpr int32_t kBitmapDial = 0x2200;    // 315x315 dial face
constexpr int32_t kBitmapNeedle = 0x2300;  // 150x25, pivot at 13,13
constexpr int32_t kBitmapOverlay = 0x2400; // 2 images of 315x315: metric, imperial

// Overlay images: 0 for metric (unit_system 2), 1 for the two others.
constexpr double kOverlayMetric = 0.0;
constexpr double kOverlayImperial = 1.0;

// Help id of the whole-gauge mouse rectangle (shared with mc).
constexpr int32_t kHelpId = 0xA306;

constinit TokenVar units_setting = {.id = caf::kTokenUnitsSetting};

double overlay_callback(Element *) {
  unit_system = companions::unit_system_from_token(frame::read_token(units_setting));
  return unit_system == 2 ? kOverlayMetric : kOverlayImperial;
}

double needle_callback(Element *) {
  return caf::needle_value_raw();
}

// Needle points, raw vario units: zero points left (nine o'clock), full climb
// upper right, full sink lower right.
constinit NonlinearityPoint needle_points[] = {
    {.x = 221, .y = 268, .value = -1280.0, .host_working = 0.0},
    {.x = 31,  .y = 157, .value = 0.0,     .host_working = 0.0},
    {.x = 218, .y = 47,  .value = 1280.0,  .host_working = 0.0},
};

constinit IconElement overlay = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapOverlay,
                .gauge = &caf_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 2,
    .callback = overlay_callback,
};

constinit NeedleElement needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapNeedle,
                .x = 157,
                .y = 159,
                .offset_x = 13,
                .offset_y = 13,
                .gauge = &caf_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .points = needle_points,
    .point_count = 3,
    .rate_limit = 6,
    .callback = needle_callback,
};

// Drawn over the dial: the overlay first, then the needle.
constinit Element *dial_children[] = {&overlay.element, &needle.element, nullptr};

constinit StaticImageElement dial = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapDial,
                .gauge = &caf_gauge,
                .children = dial_children,
                .drawing_flags = kDrawTransparent},
};

constinit Element *roots[] = {&dial.element, nullptr};

// One parent over the whole gauge, no children.
constinit MouseRectangle mouse[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = kHelpId},
    {.kind = kMouseEndParent    },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader caf_gauge = {
    GAUGE_HEADER_COMMON("caf", roots),
    .default_size = 100,
    .mouse_list = mouse,
    .gauge_callback = nullptr,
};

} // namespace velmar
