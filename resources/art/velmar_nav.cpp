// velmar's two computers: the navigation unit gpsnav and the variometer and
// final-glide computer lnav. Buttons sit where the gauges' mouse rectangles
// are; the display windows hold the gauges' text boxes and icons.
#include "resources/art/artwork.h"

#include <cmath>
#include <numbers>

namespace art {
namespace {

constexpr Rgb kCaption = rgb(0xD8D8D2);

// A button cap over mouse box (x, y, w, h) with a label or symbol on it.
void button_with_label(cairo_t *cr, double x, double y, double w, double h, bool round,
                       const char *text, double size) {
  push_button(cr, x, y, w, h, round);
  if (text != nullptr) {
    text_centred(cr, text, {x + w / 2, y + h / 2}, {size, Weight::kBold}, kCaption);
  }
}

// ---- gpsnav ---------------------------------------------------------------

constexpr Rgb kFaceplateTop = rgb(0x4C5058);
constexpr Rgb kFaceplateBottom = rgb(0x2E3036);

void faceplate(cairo_t *cr, double w, double h) {
  fill_rounded(cr, 1, 1, w - 2, h - 2, 22, rgb(0x121214));
  cairo_new_path(cr);
  rounded_rect(cr, 4, 4, w - 8, h - 8, 19);
  vertical_gradient(cr, 4, h - 4, kFaceplateTop, kFaceplateBottom);
  cairo_fill(cr);
}

void draw_gpsnav_faceplate(Picture &p) {
  cairo_t *cr = p.cr();
  faceplate(cr, p.width(), p.height());
  screw(cr, {18, 18}, 6, 30);
  screw(cr, {297, 18}, 6, 75);
  screw(cr, {18, 297}, 6, 120);
  screw(cr, {297, 297}, 6, 160);
  // ON and GO (mouse boxes 93,16 and 190,16, 30 x 30).
  button_with_label(cr, 93, 16, 30, 30, true, "ON", 10);
  button_with_label(cr, 190, 16, 30, 30, true, "GO", 10);
  text_centred(cr, "GPS NAV", {156.5, 31}, {12, Weight::kBold}, kCaption);
  // The display: two text lines, the steering arrow, the small fields.
  display_window(cr, 36, 70, 252, 175, 6, kLcdLight);
  // The four buttons under their symbols (mouse boxes at y 269, 30 x 30).
  constexpr double kButtonX[] = {23, 104, 179, 259};
  for (double x : kButtonX) {
    push_button(cr, x, 269, 30, 30, false);
  }
  const double sy = 259;
  chevron(cr, {38, sy}, 9, 3, 180, kCaption);
  cairo_rectangle(cr, 38, sy - 1.5, 10, 3);
  set(cr, kCaption);
  cairo_fill(cr);
  triangle(cr, {119, sy - 5}, {113, sy + 5}, {125, sy + 5}, kCaption);
  triangle(cr, {194, sy + 5}, {188, sy - 5}, {200, sy - 5}, kCaption);
  chevron(cr, {274, sy}, 9, 3, 0, kCaption);
  cairo_rectangle(cr, 264, sy - 1.5, 10, 3);
  set(cr, kCaption);
  cairo_fill(cr);
}

void gps_arrow(Picture &p, int index) {
  steering_arrow(p.cr(), p.width(), p.height(), index, kInk);
}
void draw_gps_arrow_1(Picture &p) {
  gps_arrow(p, 1);
}
void draw_gps_arrow_2(Picture &p) {
  gps_arrow(p, 2);
}
void draw_gps_arrow_3(Picture &p) {
  gps_arrow(p, 3);
}
void draw_gps_arrow_4(Picture &p) {
  gps_arrow(p, 4);
}
void draw_gps_arrow_5(Picture &p) {
  gps_arrow(p, 5);
}
void draw_gps_arrow_6(Picture &p) {
  gps_arrow(p, 6);
}
void draw_gps_arrow_7(Picture &p) {
  gps_arrow(p, 7);
}
void draw_gps_arrow_8(Picture &p) {
  gps_arrow(p, 8);
}
void draw_gps_arrow_9(Picture &p) {
  gps_arrow(p, 9);
}

void lcd_label(Picture &p, const char *text, double size) {
  text_centred(p.cr(), text, {p.width() / 2.0, p.height() / 2.0}, {size, Weight::kBold}, kInk);
}
void draw_gps_brg(Picture &p) {
  lcd_label(p, "Brg", 13);
}
void draw_gps_v(Picture &p) {
  lcd_label(p, "V", 14);
}
void draw_gps_dist(Picture &p) {
  lcd_label(p, "Dist", 13);
}
void draw_gps_trk(Picture &p) {
  lcd_label(p, "Trk", 13);
}

// Eight status symbols, two rows of four 15 x 15 cells: satellite, signal,
// battery, recorder; turnpoint flag, home, task, clock.
void draw_gps_symbols(Picture &p) {
  cairo_t *cr = p.cr();
  auto cell = [](int i) { return Point{7.5 + 15 * (i % 4), 7.5 + 15 * (i / 4)}; };
  set(cr, kInk);
  cairo_set_line_width(cr, 1.4);
  Point c = cell(0); // satellite: body and two panels
  cairo_rectangle(cr, c.x - 2, c.y - 2, 4, 4);
  cairo_rectangle(cr, c.x - 7, c.y - 1.5, 4, 3);
  cairo_rectangle(cr, c.x + 3, c.y - 1.5, 4, 3);
  cairo_fill(cr);
  c = cell(1); // signal bars
  for (int k = 0; k < 4; ++k) {
    cairo_rectangle(cr, c.x - 6 + 3.3 * k, c.y + 5 - 2.5 * (k + 1), 2.2, 2.5 * (k + 1));
  }
  cairo_fill(cr);
  c = cell(2); // battery
  cairo_rectangle(cr, c.x - 6, c.y - 3, 10, 6);
  cairo_stroke(cr);
  cairo_rectangle(cr, c.x + 4.5, c.y - 1.5, 1.5, 3);
  cairo_rectangle(cr, c.x - 4.5, c.y - 1.5, 5, 3);
  cairo_fill(cr);
  c = cell(3); // recorder running
  cairo_arc(cr, c.x, c.y, 4, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
  c = cell(4); // turnpoint flag
  cairo_move_to(cr, c.x - 4, c.y + 6);
  cairo_line_to(cr, c.x - 4, c.y - 6);
  cairo_stroke(cr);
  triangle(cr, {c.x - 4, c.y - 6}, {c.x + 5, c.y - 3}, {c.x - 4, c.y}, kInk);
  c = cell(5); // home
  triangle(cr, {c.x, c.y - 6}, {c.x - 6, c.y}, {c.x + 6, c.y}, kInk);
  cairo_rectangle(cr, c.x - 4, c.y, 8, 5);
  set(cr, kInk);
  cairo_fill(cr);
  c = cell(6); // task: a closed triangle course
  cairo_move_to(cr, c.x, c.y - 5);
  cairo_line_to(cr, c.x + 5.5, c.y + 4.5);
  cairo_line_to(cr, c.x - 5.5, c.y + 4.5);
  cairo_close_path(cr);
  cairo_stroke(cr);
  c = cell(7); // clock
  cairo_arc(cr, c.x, c.y, 5, 0, 2 * std::numbers::pi);
  cairo_stroke(cr);
  cairo_move_to(cr, c.x, c.y - 3.5);
  cairo_line_to(cr, c.x, c.y);
  cairo_line_to(cr, c.x + 3, c.y);
  cairo_stroke(cr);
}

// ---- lnav -------------------------------------------------------------------

constexpr Point kLnavCentre = {157.5, 157.5};
constexpr Point kKnobPivot = {103, 36};
// Knob angle 30 * position - 60 turns the bitmap; its mark is drawn towards
// -x, so position 0 (off) shows at 7 o'clock and 9 at 4 o'clock.
double knob_mark_angle(int position) {
  return 120.0 + 30.0 * position;
}

void draw_lnav_face(Picture &p) {
  cairo_t *cr = p.cr();
  round_case(cr, kLnavCentre, 155, 148);
  // Volume scale around the knob: a widening wedge from off to 9.
  for (int k = 0; k <= 9; ++k) {
    tick(cr, kKnobPivot, knob_mark_angle(k), 16, 16 + 2 + k * 0.5, 1.0 + k * 0.25, kCaption);
  }
  text_centred(cr, "OFF", {kKnobPivot.x - 19, kKnobPivot.y + 21}, {7, Weight::kBold}, kCaption);
  text_centred(cr, "VOL", {kKnobPivot.x + 34, kKnobPivot.y + 2}, {8, Weight::kBold}, kCaption);
  // The display: digit fields, text line, speed-command arrow, glide bar.
  display_window(cr, 66, 82, 188, 154, 6, kLcdLight);
  // Glide-bar scale on the display's right edge: a tick per 100 m.
  for (int k = -5; k <= 5; ++k) {
    const double y = 146.5 + 5 * k;
    cairo_rectangle(cr, k == 0 ? 247 : 249, y - 0.5, k == 0 ? 6 : 3, 1);
  }
  cairo_rectangle(cr, 252, 121, 1, 51);
  set(cr, kInk, 0.8);
  cairo_fill(cr);
  // Buttons (mouse boxes): home, back, forward, increase, decrease.
  push_button(cr, 197, 25, 28, 28, true);
  triangle(cr, {211, 31}, {204, 38}, {218, 38}, kCaption);
  cairo_rectangle(cr, 206, 38, 10, 7);
  set(cr, kCaption);
  cairo_fill(cr);
  push_button(cr, 21, 182, 28, 28, true);
  triangle(cr, {29, 196}, {39, 190}, {39, 202}, kCaption);
  push_button(cr, 268, 183, 28, 28, true);
  triangle(cr, {290, 197}, {280, 191}, {280, 203}, kCaption);
  button_with_label(cr, 89, 263, 28, 28, true, "+", 16);
  button_with_label(cr, 199, 263, 28, 28, true, "\xE2\x88\x92", 16);
  text_centred(cr, "LNAV", {157.5, 260}, {11, Weight::kBold}, kCaption);
}

void draw_lnav_knob(Picture &p) {
  knob(p.cr(), {14, 15}, 13, 180, 16);
}

void draw_lnav_speed_arrow(Picture &p, int index) {
  cairo_t *cr = p.cr();
  const double cx = p.width() / 2.0;
  const double cy = p.height() / 2.0;
  if (index == 5) {
    fill_rounded(cr, cx - 12, cy - 3, 24, 6, 2, kInk);
    return;
  }
  // 1 to 4: pull, chevrons pointing up (4 to 1); 6 to 9: push, pointing down.
  const bool up = index < 5;
  const int count = up ? 5 - index : index - 5;
  for (int k = 0; k < count; ++k) {
    const double y = up ? cy - 9 - 11 * k : cy + 9 + 11 * k;
    chevron(cr, {cx, y}, 11, 3.5, up ? -90 : 90, kInk);
  }
}
void draw_lnav_arrow_1(Picture &p) {
  draw_lnav_speed_arrow(p, 1);
}
void draw_lnav_arrow_2(Picture &p) {
  draw_lnav_speed_arrow(p, 2);
}
void draw_lnav_arrow_3(Picture &p) {
  draw_lnav_speed_arrow(p, 3);
}
void draw_lnav_arrow_4(Picture &p) {
  draw_lnav_speed_arrow(p, 4);
}
void draw_lnav_arrow_5(Picture &p) {
  draw_lnav_speed_arrow(p, 5);
}
void draw_lnav_arrow_6(Picture &p) {
  draw_lnav_speed_arrow(p, 6);
}
void draw_lnav_arrow_7(Picture &p) {
  draw_lnav_speed_arrow(p, 7);
}
void draw_lnav_arrow_8(Picture &p) {
  draw_lnav_speed_arrow(p, 8);
}
void draw_lnav_arrow_9(Picture &p) {
  draw_lnav_speed_arrow(p, 9);
}

void small_label(Picture &p, const char *text) {
  text_centred(p.cr(), text, {p.width() / 2.0, p.height() / 2.0},
               {p.height() * 0.78, Weight::kBold, 0.82}, kInk);
}
void draw_lnav_netto(Picture &p) {
  small_label(p, "NET");
}
void draw_lnav_te(Picture &p) {
  small_label(p, "TE");
}
void draw_lnav_distance(Picture &p) {
  small_label(p, "DIS");
}
void draw_lnav_value(Picture &p) {
  triangle(p.cr(), {3, 2}, {13, 6}, {3, 10}, kInk);
}
void draw_lnav_required(Picture &p) {
  small_label(p, "REQ");
}
void draw_lnav_difference(Picture &p) {
  small_label(p, "DIF");
}

void draw_lnav_glide_bar(Picture &p) {
  fill_rounded(p.cr(), 0, 0, 30, 7, 1.5, kInk);
}
void draw_lnav_glide_frame(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_rectangle(cr, 0.75, 0.75, 30.5, 4.5);
  cairo_set_line_width(cr, 1.5);
  set(cr, kInk);
  cairo_stroke(cr);
}

void scale_marker(Picture &p, const char *text) {
  fill_rounded(p.cr(), 0, 0, 14, 14, 2, kInk);
  text_centred(p.cr(), text, {7, 7}, {8.5, Weight::kBold, 0.85}, kLcdLight);
}
void draw_lnav_x2(Picture &p) {
  scale_marker(p, "\xC3\x97"
                  "2");
}
void draw_lnav_half(Picture &p) {
  scale_marker(p, "\xC2\xBD");
}

// clang-format off
constexpr Artwork kArtwork[] = {
    {"velmar", 0x1000, 315, 315, kPanelGrey, draw_gpsnav_faceplate},
    {"velmar", 0x1100, 155, 20,  kLcdLight,  nullptr},
    {"velmar", 0x1101, 155, 20,  kLcdLight,  draw_gps_arrow_1},
    {"velmar", 0x1102, 155, 20,  kLcdLight,  draw_gps_arrow_2},
    {"velmar", 0x1103, 155, 20,  kLcdLight,  draw_gps_arrow_3},
    {"velmar", 0x1104, 155, 20,  kLcdLight,  draw_gps_arrow_4},
    {"velmar", 0x1105, 155, 20,  kLcdLight,  draw_gps_arrow_5},
    {"velmar", 0x1106, 155, 20,  kLcdLight,  draw_gps_arrow_6},
    {"velmar", 0x1107, 155, 20,  kLcdLight,  draw_gps_arrow_7},
    {"velmar", 0x1108, 155, 20,  kLcdLight,  draw_gps_arrow_8},
    {"velmar", 0x1109, 155, 20,  kLcdLight,  draw_gps_arrow_9},
    {"velmar", 0x1200, 38,  20,  kLcdLight,  nullptr},
    {"velmar", 0x1201, 38,  20,  kLcdLight,  draw_gps_brg},
    {"velmar", 0x1202, 38,  20,  kLcdLight,  draw_gps_v},
    {"velmar", 0x1300, 40,  20,  kLcdLight,  nullptr},
    {"velmar", 0x1301, 40,  20,  kLcdLight,  draw_gps_dist},
    {"velmar", 0x1400, 38,  20,  kLcdLight,  nullptr},
    {"velmar", 0x1401, 38,  20,  kLcdLight,  draw_gps_trk},
    {"velmar", 0x1501, 60,  30,  kLcdLight,  nullptr},
    {"velmar", 0x1502, 60,  30,  kLcdLight,  draw_gps_symbols},
    {"velmar", 0x1600, 315, 315, kPanelGrey, draw_lnav_face},
    {"velmar", 0x1700, 28,  30,  kDialBlack, draw_lnav_knob},
    {"velmar", 0x1800, 32,  102, kLcdLight,  nullptr},
    {"velmar", 0x1801, 32,  102, kLcdLight,  draw_lnav_arrow_1},
    {"velmar", 0x1802, 32,  102, kLcdLight,  draw_lnav_arrow_2},
    {"velmar", 0x1803, 32,  102, kLcdLight,  draw_lnav_arrow_3},
    {"velmar", 0x1804, 32,  102, kLcdLight,  draw_lnav_arrow_4},
    {"velmar", 0x1805, 32,  102, kLcdLight,  draw_lnav_arrow_5},
    {"velmar", 0x1806, 32,  102, kLcdLight,  draw_lnav_arrow_6},
    {"velmar", 0x1807, 32,  102, kLcdLight,  draw_lnav_arrow_7},
    {"velmar", 0x1808, 32,  102, kLcdLight,  draw_lnav_arrow_8},
    {"velmar", 0x1809, 32,  102, kLcdLight,  draw_lnav_arrow_9},
    {"velmar", 0x1900, 30,  7,   kLcdLight,  draw_lnav_glide_bar},
    {"velmar", 0x1A00, 17,  10,  kLcdLight,  nullptr},
    {"velmar", 0x1A01, 17,  10,  kLcdLight,  draw_lnav_netto},
    {"velmar", 0x1B00, 18,  13,  kLcdLight,  nullptr},
    {"velmar", 0x1B01, 18,  13,  kLcdLight,  draw_lnav_te},
    {"velmar", 0x1C00, 18,  11,  kLcdLight,  nullptr},
    {"velmar", 0x1C01, 18,  11,  kLcdLight,  draw_lnav_distance},
    {"velmar", 0x1D00, 15,  12,  kLcdLight,  nullptr},
    {"velmar", 0x1D01, 15,  12,  kLcdLight,  draw_lnav_value},
    {"velmar", 0x1E00, 18,  11,  kLcdLight,  nullptr},
    {"velmar", 0x1E01, 18,  11,  kLcdLight,  draw_lnav_required},
    {"velmar", 0x1E02, 18,  11,  kLcdLight,  draw_lnav_difference},
    {"velmar", 0x1F00, 32,  6,   kLcdLight,  nullptr},
    {"velmar", 0x1F01, 32,  6,   kLcdLight,  draw_lnav_glide_frame},
    {"velmar", 0x2000, 14,  14,  kLcdLight,  nullptr},
    {"velmar", 0x2001, 14,  14,  kLcdLight,  draw_lnav_x2},
    {"velmar", 0x2100, 14,  14,  kLcdLight,  nullptr},
    {"velmar", 0x2101, 14,  14,  kLcdLight,  draw_lnav_half},
};
// clang-format on

} // namespace

std::span<const Artwork> velmar_nav_artwork() {
  return kArtwork;
}

} // namespace art
