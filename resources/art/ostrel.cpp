// ostrel's gauges: the yaw strings in three colours over their canopy view,
// the water ballast gauge, and the VET switch, lamp, setup panel and display.
#include "resources/art/artwork.h"

#include <cmath>
#include <cstdio>
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

// ---- yaw strings ------------------------------------------------------------

constexpr Point kStringRoot = {77, 108};

// A piece of canopy: sky through the perspex, the canopy's centre seam and
// the tape holding the string.
void draw_yaw_background(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_new_path(cr);
  rounded_rect(cr, 1, 1, 148, 148, 22);
  vertical_gradient(cr, 0, 150, rgb(0x5E86B4), rgb(0xB8CCE0));
  cairo_fill(cr);
  // Reflection across the perspex.
  cairo_new_path(cr);
  cairo_move_to(cr, 10, 40);
  cairo_curve_to(cr, 50, 10, 100, 8, 140, 20);
  cairo_set_line_width(cr, 10);
  set(cr, rgb(0xFFFFFF), 0.12);
  cairo_stroke(cr);
  // Centre seam of the canopy, straight ahead.
  cairo_new_path(cr);
  cairo_move_to(cr, kStringRoot.x, 2);
  cairo_line_to(cr, kStringRoot.x, 148);
  cairo_set_line_width(cr, 1.2);
  set(cr, rgb(0x2A3440), 0.45);
  cairo_stroke(cr);
  // Marks every 15 degrees of swing, short, along the top.
  for (int k = -3; k <= 3; ++k) {
    tick(cr, kStringRoot, -90 + 15.0 * k, 92, k == 0 ? 104 : 99, 1.5, rgb(0x1E2834));
  }
  fill_rounded(cr, kStringRoot.x - 6, kStringRoot.y - 3, 12, 10, 2, rgb(0xD8D4C4));
  cairo_new_path(cr);
  rounded_rect(cr, 1.5, 1.5, 147, 147, 22);
  cairo_set_line_width(cr, 3);
  set(cr, rgb(0x202428));
  cairo_stroke(cr);
}

// A short wool thread from its root (1, 3) along +x, gently wavy and frayed
// at the free end.
void yaw_string(Picture &p, Rgb colour) {
  cairo_t *cr = p.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, 1, 3.5);
  for (int x = 2; x <= 96; x += 2) {
    cairo_line_to(cr, x, 3.5 + 1.3 * std::sin(x / 9.0) * (x / 96.0));
  }
  cairo_set_line_width(cr, 3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  set(cr, colour);
  cairo_stroke(cr);
  for (double dy : {-1.8, 0.0, 1.8}) {
    cairo_new_path(cr);
    cairo_move_to(cr, 94, 3.5);
    cairo_line_to(cr, 100, 3.5 + dy);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}
void draw_white_string(Picture &p) {
  yaw_string(p, rgb(0xFAFAF6));
}
void draw_red_string(Picture &p) {
  yaw_string(p, rgb(0xE02420));
}
void draw_blue_string(Picture &p) {
  yaw_string(p, rgb(0x1432B4));
}

// ---- ballast ----------------------------------------------------------------

constexpr Point kBallastPivot = {106, 106};
constexpr TablePoint kBallastPoints[] = {
    {0,   24,  42},
    {25,  68,  42},
    {50,  103, 42},
    {75,  139, 42},
    {100, 183, 42},
};

void draw_ballast_dial(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 14);
  // Preset buttons (mouse boxes along the top) carry the scale's numbers.
  struct Preset {
    double x, w;
    const char *text;
  };
  constexpr Preset kPresets[] = {
      {9,   33, "0"  },
      {41,  43, "25" },
      {84,  38, "50" },
      {122, 43, "75" },
      {165, 27, "100"}
  };
  for (const Preset &b : kPresets) {
    push_button(cr, b.x + 1, 16, b.w - 2, 26, false);
    text_centred(cr, b.text, {b.x + b.w / 2, 29}, {11, Weight::kBold}, kCaption);
  }
  // Scale: an arc under the buttons, the needle pointing at the presets.
  const TableDial dial(kBallastPivot, kBallastPoints);
  cairo_new_path(cr);
  cairo_arc(cr, kBallastPivot.x, kBallastPivot.y, 58, radians(dial.angle(0)),
            radians(dial.angle(100)));
  cairo_set_line_width(cr, 1.5);
  set(cr, kMarking);
  cairo_stroke(cr);
  for (int pct = 0; pct <= 100; pct += 5) {
    const bool major = pct % 25 == 0;
    tick(cr, kBallastPivot, dial.angle(pct), 58,
         major           ? 70
         : pct % 10 == 0 ? 66
                         : 63,
         major ? 2.6 : 1.3, kMarking);
  }
  text_centred(cr, "WATER %", {kBallastPivot.x, kBallastPivot.y - 26}, {9, Weight::kBold},
               kCaption);
  // -10 % and +10 % (mouse boxes 9,74 and 147,74, 44 x 40).
  push_button(cr, 11, 76, 40, 36, false);
  text_centred(cr,
               "\xE2\x88\x92"
               "10",
               {31, 94}, {11, Weight::kBold}, kCaption);
  push_button(cr, 149, 76, 40, 36, false);
  text_centred(cr, "+10", {169, 94}, {11, Weight::kBold}, kCaption);
  // Valve buttons, open on the left and close on the right.
  push_button(cr, 42, 133, 35, 35, true);
  push_button(cr, 128, 133, 35, 35, true);
  text_centred(cr, "DUMP", {59.5, 174}, {7, Weight::kBold}, rgb(0xF0A040));
  text_centred(cr, "CLOSE", {145.5, 174}, {7, Weight::kBold}, kCaption);
  hub(cr, kBallastPivot, 7);
}

void draw_ballast_needle(Picture &p) {
  needle(p.cr(), {6, 12}, 6 + 90, 1,
         {.blade_w = 4.5, .tip_w = 2, .tail_w = 0, .hub_r = 4, .colour = kNeedleWhite});
}

// Valve state flag between the two valve buttons, 73 x 25: green "SHUT" or
// an orange "DUMP".
void ballast_valve(Picture &p, bool open) {
  cairo_t *cr = p.cr();
  fill_rounded(cr, 17, 3, 39, 19, 4, rgb(0x0C0C0E));
  fill_rounded(cr, 19, 5, 35, 15, 3, open ? rgb(0xF08A1C) : rgb(0x1F8A3A));
  text_centred(cr, open ? "DUMP" : "SHUT", {36.5, 12.5}, {8.5, Weight::kBold},
               open ? rgb(0x201000) : rgb(0xE8FFE8));
  // Ring round the button last pressed.
  const Point ring = open ? Point{-3.5, 10.5} : Point{82.5, 10.5};
  cairo_new_path(cr);
  cairo_arc(cr, ring.x, ring.y, 19, 0, 2 * std::numbers::pi);
  cairo_set_line_width(cr, 2);
  set(cr, open ? rgb(0xF08A1C) : rgb(0x2BB34A));
  cairo_stroke(cr);
}
void draw_valve_closed(Picture &p) {
  ballast_valve(p, false);
}
void draw_valve_open(Picture &p) {
  ballast_valve(p, true);
}

// ---- VET gauges -------------------------------------------------------------

void draw_vet_switch_plate(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 4);
  text_centred(cr, "RUN", {12.5, 8}, {7, Weight::kBold}, rgb(0x6FD080));
  text_centred(cr, "STOP", {12.5, 67}, {7, Weight::kBold}, kCaption);
}

// Toggle at (0, 7), 25 x 66: up is start, down is stop.
void vet_switch(Picture &p, bool start) {
  cairo_t *cr = p.cr();
  const Point nut = {12.5, 30};
  const Point tip = {12.5, start ? 10.0 : 50.0};
  fill_circle(cr, nut, 10, rgb(0x8C8E93));
  fill_circle(cr, nut, 7.5, rgb(0x3A3B3F));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_new_path(cr);
  cairo_move_to(cr, nut.x, nut.y);
  cairo_line_to(cr, tip.x, tip.y);
  cairo_set_line_width(cr, 6);
  set(cr, rgb(0xD0D1D4));
  cairo_stroke(cr);
  fill_circle(cr, tip, 5, rgb(0xEDEDEF));
}
void draw_vet_switch_stop(Picture &p) {
  vet_switch(p, false);
}
void draw_vet_switch_start(Picture &p) {
  vet_switch(p, true);
}

void draw_vet_display(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_rectangle(cr, 0, 0, p.width(), p.height());
  set(cr, rgb(0xFFFFFF));
  cairo_fill(cr);
  for (int row = 1; row < 12; ++row) {
    cairo_rectangle(cr, 4, 20 * row - 0.5, p.width() - 8, 1);
  }
  set(cr, rgb(0xD8D8D8));
  cairo_fill(cr);
  cairo_rectangle(cr, 0.5, 0.5, p.width() - 1, p.height() - 1);
  cairo_set_line_width(cr, 1);
  set(cr, rgb(0x808080));
  cairo_stroke(cr);
}

// Lamp, 200 x 204: a chrome bezel round a lens of the state's colour. The
// state images lie 7 pixels lower than the background, over it.
void vet_lamp(Picture &p, Rgb lens, bool lit) {
  cairo_t *cr = p.cr();
  const Point c = {100, 100};
  cairo_pattern_t *chrome = cairo_pattern_create_linear(10, 10, 190, 190);
  cairo_pattern_add_color_stop_rgb(chrome, 0, 0.92, 0.92, 0.94);
  cairo_pattern_add_color_stop_rgb(chrome, 0.5, 0.45, 0.46, 0.50);
  cairo_pattern_add_color_stop_rgb(chrome, 1, 0.80, 0.80, 0.83);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, 92, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, chrome);
  cairo_fill(cr);
  cairo_pattern_destroy(chrome);
  fill_circle(cr, c, 80, rgb(0x18181A));
  cairo_pattern_t *g = cairo_pattern_create_radial(c.x - 22, c.y - 26, 4, c.x, c.y, 76);
  const double bright = lit ? 1.0 : 0.35;
  cairo_pattern_add_color_stop_rgb(g, 0, std::min(1.0, lens.r * bright + 0.45),
                                   std::min(1.0, lens.g * bright + 0.45),
                                   std::min(1.0, lens.b * bright + 0.45));
  cairo_pattern_add_color_stop_rgb(g, 0.55, lens.r * bright, lens.g * bright, lens.b * bright);
  cairo_pattern_add_color_stop_rgb(g, 1, lens.r * bright * 0.45, lens.g * bright * 0.45,
                                   lens.b * bright * 0.45);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, 75, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Facets of the lens.
  for (int k = -3; k <= 3; ++k) {
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, 75, 0, 2 * std::numbers::pi);
    cairo_clip(cr);
    cairo_rectangle(cr, c.x + 20 * k - 1, c.y - 76, 2, 152);
    set(cr, rgb(0xFFFFFF), lit ? 0.10 : 0.05);
    cairo_fill(cr);
    cairo_reset_clip(cr);
  }
}
void draw_lamp_off(Picture &p) {
  vet_lamp(p, rgb(0x8A8F96), false);
}
void draw_lamp_on(Picture &p) {
  vet_lamp(p, rgb(0x2EDC4A), true);
}
void draw_lamp_ending(Picture &p) {
  vet_lamp(p, rgb(0xF02A1E), true);
}
void draw_lamp_ready(Picture &p) {
  vet_lamp(p, rgb(0xF5C21A), true);
}

void draw_vet_setup(Picture &p) {
  cairo_t *cr = p.cr();
  plate(cr, p.width(), p.height(), 14);
  display_window(cr, 18, 21, 370, 150, 7, kLcdRadio);
  text_centred(cr, "TARGET HEIGHT", {203, 179}, {9, Weight::kBold}, kCaption);
  push_button(cr, 403, 11, 76, 76, false);
  triangle(cr, {441, 31}, {421, 63}, {461, 63}, kCaption);
  push_button(cr, 403, 98, 76, 76, false);
  triangle(cr, {441, 154}, {421, 122}, {461, 122}, kCaption);
}

// clang-format off
constexpr Artwork kArtwork[] = {
    {"ostrel", 0x1000, 150, 150, kPanelGrey,     draw_yaw_background},
    {"ostrel", 0x1100, 101, 7,   rgb(0x8AA8C8),  draw_white_string},
    {"ostrel", 0x1200, 101, 7,   rgb(0x8AA8C8),  draw_red_string},
    {"ostrel", 0x1300, 101, 7,   rgb(0x8AA8C8),  draw_blue_string},
    {"ostrel", 0x2000, 200, 180, kPanelGrey,     draw_ballast_dial},
    {"ostrel", 0x2001, 73,  25,  kPanelGrey,     draw_valve_closed},
    {"ostrel", 0x2002, 73,  25,  kPanelGrey,     draw_valve_open},
    {"ostrel", 0x2100, 100, 16,  kPanelGrey,     draw_ballast_needle},
    {"ostrel", 0x2200, 25,  73,  kPanelGrey,     draw_vet_switch_plate},
    {"ostrel", 0x2201, 25,  66,  kPanelGrey,     draw_vet_switch_stop},
    {"ostrel", 0x2202, 25,  66,  kPanelGrey,     draw_vet_switch_start},
    {"ostrel", 0x2300, 226, 240, kPanelGrey,     draw_vet_display},
    {"ostrel", 0x2400, 200, 204, kPanelGrey,     draw_lamp_off},
    {"ostrel", 0x2401, 200, 204, kPanelGrey,     draw_lamp_on},
    {"ostrel", 0x2402, 200, 204, kPanelGrey,     draw_lamp_ending},
    {"ostrel", 0x2403, 200, 204, kPanelGrey,     draw_lamp_ready},
    {"ostrel", 0x2500, 491, 186, kPanelGrey,     draw_vet_setup},
};
// clang-format on

} // namespace

std::span<const Artwork> ostrel_artwork() {
  return kArtwork;
}

} // namespace art
