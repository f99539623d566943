// cmp: compass whose card scrolls behind a window. Its gauge callback acts on
// no service; its mouse list has no children.
#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

inline constexpr double kFullCircle_deg = 360.0;

// Card position: 360 - heading, and 0 for anything outside 0..360.
double card_x(Element *element) {
  const double heading_deg = reinterpret_cast<ScrollElement *>(element)->x_source.value;
  const double card_deg = kFullCircle_deg - heading_deg;
  return card_deg < 0.0 || card_deg > kFullCircle_deg ? 0.0 : card_deg;
}

double card_y(Element *) {
  return 1.0;
}

constinit ScrollElement card = {
    .element = {.kind = kElementScroll,
                .resource_id = kBitmapCompassCard,
                .x = 75,
                .y = 67,
                .gauge = &cmp_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .x_source = {.id = kTokenHeading_deg               },
    .x_min = 0.0,
    .x_max = kFullCircle_deg,
    .y_min = 0.0,
    .y_max = 0.0,
    .x_callback = card_x,
    .y_callback = card_y,
};
constinit Element *housing_children[] = {&card.element, nullptr};

constinit StaticImageElement housing = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapCompassHousing,
                .gauge = &cmp_gauge,
                .children = housing_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&housing.element, nullptr};

constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = 43895},
    {.kind = kMouseEndParent      },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader cmp_gauge = {
    GAUGE_HEADER_COMMON("cmp", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
