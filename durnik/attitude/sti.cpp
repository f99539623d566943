// sti: slip ball in a curved tube and a turn needle. No gauge callback; the
// mouse list has no children.
#include <algorithm>

#include "durnik/bitmaps.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

// Pixels of ball travel per unit of slip: sideways, and upward from the centre.
inline constexpr double kBallSideScale_px = 0.585938;
inline constexpr double kBallRiseScale_px = 0.085938;
inline constexpr double kTurnLimit_raw = 900.0;

double slip_of(Element *element) {
  return reinterpret_cast<ShiftElement *>(element)->x_source.value;
}

double ball_x(Element *element) {
  return slip_of(element);
}

// -|slip|: the ball rises on both sides of the centre (zero stays 0, not -0).
double ball_y(Element *element) {
  const double slip = reinterpret_cast<ShiftElement *>(element)->y_source.value;
  return slip > 0.0 ? -slip : slip;
}

double turn_needle_value(Element *element) {
  return std::clamp(reinterpret_cast<NeedleElement *>(element)->source.value, -kTurnLimit_raw,
                    kTurnLimit_raw);
}

// Turn rate to a point of the dial.
constinit NonlinearityPoint turn_points[] = {
    {.x = 40,  .y = 50, .value = -900.0},
    {.x = 72,  .y = 26, .value = -546.0},
    {.x = 114, .y = 15, .value = 0.0   },
    {.x = 159, .y = 26, .value = 546.0 },
    {.x = 192, .y = 50, .value = 900.0 },
};

// Chain: each element is the only child of the one before it.
constinit NeedleElement turn_needle = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapStiTurnNeedle,
                .x = 115,
                .y = 188,
                .offset_x = 13,
                .offset_y = 13,
                .gauge = &sti_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .source = {.id = kTokenTurnRate_raw              },
    .points = turn_points,
    .point_count = sizeof turn_points / sizeof turn_points[0],
    .callback = turn_needle_value,
};
constinit Element *ball_children[] = {&turn_needle.element, nullptr};

constinit ShiftElement ball = {
    .element = {.kind = kElementShift,
                .resource_id = kBitmapStiBall,
                .x = 102,
                .y = 112,
                .gauge = &sti_gauge,
                .children = ball_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .x_source = {.id = kTokenSlip_raw             },
    .x_scale = kBallSideScale_px,
    .y_source = {.id = kTokenSlip_raw  },
    .y_scale = kBallRiseScale_px,
    .x_callback = ball_x,
    .y_callback = ball_y,
};
constinit Element *face_children[] = {&ball.element, nullptr};

constinit StaticImageElement face = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapStiFace,
                .gauge = &sti_gauge,
                .children = face_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&face.element, nullptr};

constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = 43889},
    {.kind = kMouseEndParent      },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader sti_gauge = {
    GAUGE_HEADER_COMMON("sti", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = nullptr,
};

} // namespace durnik
