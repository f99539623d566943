// asi: airspeed indicator whose dial face follows the units setting. Its
// gauge callback acts on no service; its mouse list has no children.
#include <algorithm>

#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

// The dial ends at 173 kt, where the needle is back at the 0 mark.
inline constexpr double kDialLimit_kt = 173.0;

constinit TokenVar units_token = {.id = kTokenUnits};

// Image 1 (knots face) under units setting 0, else image 0.
double dial_face_image(Element *) {
  return frame::read_token(units_token) == 0.0 ? 1.0 : 0.0;
}

// Values below 0 pass unchanged, as the host reports them.
double needle_value(Element *element) {
  return std::min(reinterpret_cast<NeedleElement *>(element)->source.value, kDialLimit_kt);
}

// Knots to a point of the dial.
constinit NonlinearityPoint needle_points[] = {
    {.x = 156, .y = 291, .value = 0.0  },
    {.x = 88,  .y = 275, .value = 27.0 },
    {.x = 19,  .y = 156, .value = 54.0 },
    {.x = 87,  .y = 37,  .value = 81.0 },
    {.x = 225, .y = 36,  .value = 108.0},
    {.x = 294, .y = 157, .value = 135.0},
    {.x = 225, .y = 276, .value = 162.0},
    {.x = 156, .y = 291, .value = 173.0},
};

constinit NeedleElement needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapAsiNeedle,
                .x = 157,
                .y = 157,
                .offset_x = 56,
                .offset_y = 11,
                .gauge = &asi_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = kTokenAirspeed_kt              },
    .points = needle_points,
    .point_count = sizeof needle_points / sizeof needle_points[0],
    .rate_limit = 6,
    .callback = needle_value,
};
constinit Element *dial_face_children[] = {&needle.element, nullptr};

constinit IconElement dial_face = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapAsiFace,
                .gauge = &asi_gauge,
                .children = dial_face_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 2,
    .callback = dial_face_image,
};
constinit Element *case_children[] = {&dial_face.element, nullptr};

// Bitmap 0x1800 is the same round case as vsi's dial.
constinit StaticImageElement case_image = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapVsiDial,
                .gauge = &asi_gauge,
                .children = case_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&case_image.element, nullptr};

constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = 43778},
    {.kind = kMouseEndParent      },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader asi_gauge = {
    GAUGE_HEADER_COMMON("asi", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
