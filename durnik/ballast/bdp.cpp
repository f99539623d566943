// bdp: ballast display, the water aboard in US gallons, or litres under units
// settings 1 and 2. No gauge callback; the mouse list has no children.
#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

constinit TokenVar units_token = {.id = kTokenUnits};
constinit TokenVar tank1_capacity_token = {.id = kTokenTank1Capacity_gal};
constinit TokenVar tank2_capacity_token = {.id = kTokenTank2Capacity_gal};
constinit TokenVar tank1_level_token = {.id = kTokenTank1Level_raw};
constinit TokenVar tank2_level_token = {.id = kTokenTank2Level_raw};

double ballast_text(Element *element) {
  const int32_t units = truncate_i32(frame::read_token(units_token));
  const double filled_fraction = (frame::read_token(tank1_level_token) / kTankFull_raw +
                                  frame::read_token(tank2_level_token) / kTankFull_raw) /
                                 2.0;
  double amount = filled_fraction * (frame::read_token(tank1_capacity_token) +
                                     frame::read_token(tank2_capacity_token));
  if (units >= 1 && units <= 2) {
    amount = gallons_to_litres_rounded(amount);
  }
  frame::format_text(element, "%4.0f", amount);
  return amount;
}

constinit StringElement amount_text = {
    .element = {.kind = kElementString,
                .resource_id = -1,
                .x = 5,
                .y = 5,
                .gauge = &bdp_gauge,
                .drawing_flags = kDrawErase},
    .sources = {{.id = kTokenStringSource}                },
    .box_width_px = 100,
    .box_height_px = 39,
    .text_colour = 0x101010,
    .background_colour = 0xA5A5A5,
    .highlight_colour = 0x101010,
    .font_face = "Quartz",
    .font_weight = kFontWeightNormal,
    .char_set = kCharSetDefault,
    .layout_flags = kTextLayoutCentred,
    .max_chars = 5,
    .callback = ballast_text,
};
constinit Element *panel_children[] = {&amount_text.element, nullptr};

constinit StaticImageElement panel = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapBdpPanel,
                .gauge = &bdp_gauge,
                .children = panel_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&panel.element, nullptr};

constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone},
    {.kind = kMouseEndParent                   },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader bdp_gauge = {
    GAUGE_HEADER_COMMON("bdp", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = nullptr,
};

} // namespace durnik
