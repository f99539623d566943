// durnik's controls: the two-position lever (gr), the airbrake lever (spl),
// the COM radio (com), the ballast valve switch (bsw) and the ballast
// display (bdp). Levers travel the offsets their gauges give them; knob marks
// point along +x, since a knob's value is its angle.
#include "resources/art/artwork.h"

#include <cmath>
#include <numbers>

namespace art {
namespace {

constexpr Rgb kCaption = rgb(0xD8D8D2);

void plate(cairo_t *cr, double w, double h, double radius) {
  fill_rounded(cr, 0.5, 0.5, w - 1, h - 1, radius, rgb(0x121214));
  cairo_new_path(cr);
  rounded_rect(cr, 3, 3, w - 6, h - 6, std::max(1.0, radius - 2));
  vertical_gradient(cr, 3, h - 3, rgb(0x464A51), rgb(0x2C2E33));
  cairo_fill(cr);
}

// A slot from a to b, `width` wide, cut into the plate.
void slot(cairo_t *cr, Point a, Point b, double width) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (auto [w, colour] : {
           std::pair{width + 4, rgb(0x5E6269)},
           {width,     rgb(0x08080A)}
  }) {
    cairo_new_path(cr);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, w);
    set(cr, colour);
    cairo_stroke(cr);
  }
}

// A lever seen from above: a shaft from its root in the slot to a grip.
void lever(cairo_t *cr, Point root, Point grip, double grip_r, Rgb colour) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_new_path(cr);
  cairo_move_to(cr, root.x, root.y);
  cairo_line_to(cr, grip.x, grip.y);
  cairo_set_line_width(cr, 12);
  cairo_pattern_t *steel = cairo_pattern_create_linear(root.x - 8, 0, root.x + 8, 0);
  cairo_pattern_add_color_stop_rgb(steel, 0, 0.45, 0.46, 0.50);
  cairo_pattern_add_color_stop_rgb(steel, 0.5, 0.85, 0.86, 0.88);
  cairo_pattern_add_color_stop_rgb(steel, 1, 0.40, 0.41, 0.44);
  cairo_set_source(cr, steel);
  cairo_stroke(cr);
  cairo_pattern_destroy(steel);
  fill_circle(cr, root, 10, rgb(0x202124));
  cairo_pattern_t *g = cairo_pattern_create_radial(grip.x - grip_r / 3, grip.y - grip_r / 3,
                                                   grip_r * 0.1, grip.x, grip.y, grip_r);
  cairo_pattern_add_color_stop_rgb(g, 0, std::min(1.0, colour.r + 0.45),
                                   std::min(1.0, colour.g + 0.45), std::min(1.0, colour.b + 0.45));
  cairo_pattern_add_color_stop_rgb(g, 1, colour.r * 0.55, colour.g * 0.55, colour.b * 0.55);
  cairo_new_path(cr);
  cairo_arc(cr, grip.x, grip.y, grip_r, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// ---- gr -------------------------------------------------------------------

// The lever picture moves by (224, 190) from up to down; its root in the
// slot is at (64, 176) of the picture.
constexpr Point kGrRoot = {64, 176};
constexpr Point kGrTravel = {224, 190};

void wheel_symbol(cairo_t *cr, Point c, double r) {
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, r, 0, 2 * std::numbers::pi);
  cairo_set_line_width(cr, r * 0.35);
  set(cr, kCaption);
  cairo_stroke(cr);
  fill_circle(cr, c, r * 0.3, kCaption);
}

void draw_gr_plate(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 18);
  slot(cr, kGrRoot, {kGrRoot.x + kGrTravel.x, kGrRoot.y + kGrTravel.y}, 22);
  // Detent notches at both ends.
  for (Point c : {
           kGrRoot, Point{kGrRoot.x + kGrTravel.x, kGrRoot.y + kGrTravel.y}
  }) {
    fill_circle(cr, c, 15, rgb(0x5E6269));
    fill_circle(cr, c, 13, rgb(0x08080A));
  }
  text_centred(cr, "UP", {150, 120}, {30, Weight::kBold}, kCaption);
  text_centred(cr, "DOWN", {200, 300}, {30, Weight::kBold}, kCaption);
  wheel_symbol(cr, {284, 84}, 30);
  text_centred(cr, "GEAR", {284, 140}, {22, Weight::kBold}, kCaption);
  for (Point s : {
           Point{20,  20 },
           Point{332, 20 },
           Point{20,  378},
           Point{332, 378}
  }) {
    screw(cr, s, 8, 40);
  }
}

void draw_gr_lever(Picture &p) {
  lever(p.cr(), kGrRoot, {64, 58}, 46, rgb(0x2A2A2E));
}

// ---- spl ------------------------------------------------------------------

// The lever picture starts at (256, 0) and slides by up to (-256, 212) as the
// airbrakes open; its root in the slot is at (150, 55) of the picture.
constexpr Point kSplRoot = {150, 55};
constexpr double kSplX = 256;
constexpr Point kSplTravel = {-256, 212};

void draw_spl_slot(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 18);
  const Point closed = {kSplX + kSplRoot.x, kSplRoot.y};
  const Point open = {closed.x + kSplTravel.x, closed.y + kSplTravel.y};
  slot(cr, closed, open, 24);
  // Quarter marks along the slot.
  for (int q = 0; q <= 4; ++q) {
    const Point m = {closed.x + kSplTravel.x * q / 4, closed.y + kSplTravel.y * q / 4};
    const double a = std::atan2(kSplTravel.y, kSplTravel.x) * 180 / std::numbers::pi + 90;
    tick(cr, m, a, 20, q % 2 == 0 ? 36 : 30, 3, kCaption);
  }
  text_centred(cr, "AIRBRAKES", {130, 40}, {24, Weight::kBold}, rgb(0x6FA0F0));
  text_centred(cr, "CLOSED", {470 - 30, 150}, {20, Weight::kBold}, kCaption);
  text_centred(cr, "OPEN", {330, 290}, {20, Weight::kBold}, kCaption);
  for (Point s : {
           Point{18,  18 },
           Point{492, 18 },
           Point{18,  304},
           Point{492, 304}
  }) {
    screw(cr, s, 8, 60);
  }
}

void draw_spl_lever(Picture &p) {
  cairo_t *cr = p.cr();
  // A blue handle across the slot, as airbrake handles are coloured.
  fill_circle(cr, kSplRoot, 11, rgb(0x202124));
  cairo_new_path(cr);
  rounded_rect(cr, 30, 33, 200, 44, 22);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, 33, 0, 77);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.45, 0.65, 0.98);
  cairo_pattern_add_color_stop_rgb(g, 0.45, kAirbrakeBlue.r, kAirbrakeBlue.g, kAirbrakeBlue.b);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.06, 0.18, 0.42);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int k = 0; k < 6; ++k) { // finger grooves
    cairo_rectangle(cr, 70 + 20 * k, 38, 3, 34);
  }
  set(cr, rgb(0x0A2050), 0.6);
  cairo_fill(cr);
}

// ---- com --------------------------------------------------------------------

constexpr Point kVolumeKnob = {120, 24};
constexpr Point kMemoryKnob = {56, 190};
constexpr Point kCoarseKnob = {157, 190};

void draw_com_face(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 12);
  display_window(cr, 34, 84, 170, 46, 6, kLcdRadio);
  text_centred(cr, "COM", {36, 66}, {14, Weight::kBold}, kCaption);
  text_centred(cr, "MHz", {185, 145}, {9, Weight::kBold}, kCaption);
  // Power switch (the box at 58,18, 14 x 28): a toggle, on.
  fill_rounded(cr, 58, 18, 14, 28, 4, rgb(0x141416));
  fill_rounded(cr, 60, 20, 10, 12, 3, rgb(0xB8BABF));
  text_centred(cr, "ON", {65, 54}, {7, Weight::kBold}, kCaption);
  // Volume: position 0 at 6 o'clock to 9 at 3 o'clock, a mark each.
  for (int k = 0; k <= 9; ++k) {
    tick(cr, kVolumeKnob, 90.0 + 30 * k, 18, 20 + k * 0.4, 1.2 + k * 0.2, kCaption);
  }
  text_centred(cr, "VOL", {88, 30}, {8, Weight::kBold}, kCaption);
  // Store button (158,16, 30 x 30).
  push_button(cr, 158, 16, 30, 30, true);
  text_centred(cr, "STO", {173, 31}, {8, Weight::kBold}, kCaption);
  // Memory selector: slots 1-4 and the free position, 30 degrees apart.
  static const char *const kSlots[] = {"1", "2", "3", "4", "\xE2\x80\x93"};
  for (int k = 0; k < 5; ++k) {
    const double a = 30.0 * k - 165;
    tick(cr, kMemoryKnob, a, 17, 21, 1.6, kCaption);
    text_centred(cr, kSlots[k], polar(kMemoryKnob, 28, a), {8, Weight::kBold}, kCaption);
  }
  text_centred(cr, "MEM", {kMemoryKnob.x, kMemoryKnob.y + 26}, {8, Weight::kBold}, kCaption);
  // Frequency knobs: arrows for down and up, outer MHz, inner kHz.
  fill_circle(cr, kCoarseKnob, 44, rgb(0x1A1B1E));
  for (int k = 0; k < 19; ++k) {
    tick(cr, kCoarseKnob, 19.0 * k, 40, 43, 1, rgb(0x8A8C90));
  }
}

void draw_com_small_knob(Picture &p) {
  knob(p.cr(), {16, 16}, 14, 0, 14);
}
void draw_com_coarse_knob(Picture &p) {
  cairo_t *cr = p.cr();
  knob(cr, {48, 48}, 37, 0, 30);
  fill_circle(cr, {48, 48}, 22, rgb(0x18181A)); // seat of the fine knob
}

// ---- bsw and bdp ------------------------------------------------------------

void draw_bsw_plate(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 6);
  text_centred(cr, "CLOSE", {22, 7}, {7, Weight::kBold}, kCaption);
  text_centred(cr, "DUMP", {22, 92}, {7, Weight::kBold}, rgb(0xF0A040));
  fill_rounded(cr, 13, 34, 18, 30, 5, rgb(0x0E0E10));
}

// Toggle switch, 30 x 74: a nut in the middle, the bat up (closed) or down.
void bsw_valve(Picture &p, bool open) {
  cairo_t *cr = p.cr();
  const Point nut = {15, 37};
  const Point tip = {15, open ? 66.0 : 8.0};
  fill_circle(cr, nut, 12, rgb(0x8C8E93));
  fill_circle(cr, nut, 9, rgb(0x3A3B3F));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_new_path(cr);
  cairo_move_to(cr, nut.x, nut.y);
  cairo_line_to(cr, tip.x, tip.y);
  cairo_set_line_width(cr, 8);
  cairo_pattern_t *steel = cairo_pattern_create_linear(10, 0, 20, 0);
  cairo_pattern_add_color_stop_rgb(steel, 0, 0.50, 0.51, 0.55);
  cairo_pattern_add_color_stop_rgb(steel, 0.5, 0.95, 0.95, 0.97);
  cairo_pattern_add_color_stop_rgb(steel, 1, 0.45, 0.46, 0.50);
  cairo_set_source(cr, steel);
  cairo_stroke(cr);
  cairo_pattern_destroy(steel);
  fill_circle(cr, tip, 6, rgb(0xE8E8EA));
}
void draw_bsw_closed(Picture &p) {
  bsw_valve(p, false);
}
void draw_bsw_open(Picture &p) {
  bsw_valve(p, true);
}

void draw_bdp_panel(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 5);
  display_window(cr, 5, 5, 100, 39, 3, kLcdBallast);
}

// clang-format off
constexpr Artwork kArtwork[] = {
    {"durnik", 0x2700, 352, 398, kPanelGrey, draw_gr_plate},
    {"durnik", 0x2800, 128, 208, kPanelGrey, draw_gr_lever},
    {"durnik", 0x2900, 510, 322, kPanelGrey, draw_spl_slot},
    {"durnik", 0x2A00, 254, 110, kPanelGrey, draw_spl_lever},
    {"durnik", 0x2B00, 240, 230, kPanelGrey, draw_com_face},
    {"durnik", 0x2B03, 32,  32,  kPanelGrey, draw_com_small_knob},
    {"durnik", 0x2B06, 96,  96,  kPanelGrey, draw_com_coarse_knob},
    {"durnik", 0x2C00, 44,  98,  kPanelGrey, draw_bsw_plate},
    {"durnik", 0x2C03, 30,  74,  kPanelGrey, draw_bsw_closed},
    {"durnik", 0x2C04, 30,  74,  kPanelGrey, draw_bsw_open},
    {"durnik", 0x2C07, 110, 49,  kPanelGrey, draw_bdp_panel},
};
// clang-format on

} // namespace

std::span<const Artwork> durnik_control_artwork() {
  return kArtwork;
}

} // namespace art
