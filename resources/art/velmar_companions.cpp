// velmar's companion gauges: the needle variometer caf, the mini control unit
// mc and the wind check display test.
#include "resources/art/artwork.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace art {
namespace {

constexpr Rgb kCaption = rgb(0xBEBEB8);

// ---- caf --------------------------------------------------------------------

constexpr Point kCafPivot = {157, 159};
// Needle point table: raw vario units, 256 = 1 m/s (at scale x 1).
constexpr TablePoint kCafPoints[] = {
    {-1280, 221, 268},
    {0,     31,  157},
    {1280,  218, 47 },
};
constexpr double kRawPerMs = 256.0;
constexpr double kKnotsPerMs = 1.9438;

void draw_caf_face(Picture &p) {
  cairo_t *cr = p.cr();
  round_case(cr, kCafPivot, 153, 140);
  for (int i = 0; i < 4; ++i) {
    screw(cr, {i & 1 ? 298.0 : 17.0, i & 2 ? 298.0 : 17.0}, 7, 35.0 + 40 * i);
  }
  text_centred(cr, "TE", {kCafPivot.x + 58, kCafPivot.y + 2}, {12, Weight::kBold}, kCaption);
}

// Graduations for one unit: `per_ms` units per m/s, labels every `label`
// units, ticks every `minor`.
void caf_overlay(Picture &p, double per_ms, double minor, int label, const char *unit) {
  cairo_t *cr = p.cr();
  const TableDial dial(kCafPivot, kCafPoints);
  auto angle = [&](double v) { return dial.angle(v / per_ms * kRawPerMs); };
  const double end = 5.0 * per_ms;
  const int steps = static_cast<int>(std::floor(end / minor + 1e-9));
  for (int i = -steps; i <= steps; ++i) {
    const double v = i * minor;
    const bool labelled = std::fmod(std::abs(v), label) < 1e-9;
    const bool half = std::fmod(std::abs(v), label / 2.0) < 1e-9;
    tick(cr, kCafPivot, angle(v),
         labelled ? 112
         : half   ? 121
                  : 126,
         134,
         labelled ? 4.0
         : half   ? 2.6
                  : 1.6,
         kMarking);
    if (labelled) {
      char text[12]; // any int
      std::snprintf(text, sizeof text, "%d", static_cast<int>(std::lround(std::abs(v))));
      text_centred(cr, text, polar(kCafPivot, 94, angle(v)), {25, Weight::kBold}, kMarking);
    }
  }
  // Red stops just outside both ends of the scale.
  for (double v : {end, -end}) {
    tick(cr, kCafPivot, angle(v), 135, 140, 4.0, kArcRed);
  }
  text_centred(cr, unit, {kCafPivot.x + 58, kCafPivot.y - 34}, {14, Weight::kBold}, kMarking);
  text_centred(cr, "+", polar(kCafPivot, 58, angle(2.0 * per_ms)), {22, Weight::kBold}, kMarking);
  text_centred(cr, "\xE2\x88\x92", polar(kCafPivot, 58, angle(-2.0 * per_ms)), {22, Weight::kBold},
               kMarking);
}
void draw_caf_metric(Picture &p) {
  caf_overlay(p, 1.0, 0.2, 1, "m/s");
}
void draw_caf_imperial(Picture &p) {
  caf_overlay(p, kKnotsPerMs, 0.5, 2, "kt");
}

void draw_caf_needle(Picture &p) {
  needle(p.cr(), {13, 13}, 13 + 128, 2,
         {.blade_w = 7, .tip_w = 2.5, .tail_w = 10, .hub_r = 10, .colour = kNeedleWhite});
}

// ---- mc -----------------------------------------------------------------------

constexpr Point kMcCompass = {60, 64};
constexpr Point kMcVario = {338, 79};
constexpr TablePoint kMcVarioPoints[] = {
    {-2560, 373, 80},
    {0,     298, 79},
    {2560,  373, 78},
};

void draw_mc_face(Picture &p) {
  cairo_t *cr = p.cr();
  fill_rounded(cr, 1, 1, 419, 149, 16, rgb(0x121214));
  cairo_new_path(cr);
  rounded_rect(cr, 4, 4, 413, 143, 13);
  vertical_gradient(cr, 4, 147, rgb(0x4C5058), rgb(0x2E3036));
  cairo_fill(cr);
  // Readouts: airspeed, altitude, deviation arrow and turnpoint name share
  // one window; the heading has its own.
  display_window(cr, 99, 29, 195, 104, 5, kLcdGrey);
  display_window(cr, 36, 98, 58, 32, 4, kLcdGrey);
  text_centred(cr, "HDG", {65, 139.5}, {7, Weight::kBold}, kCaption);
  // Compass rose: the needle shows the heading against it.
  fill_circle(cr, kMcCompass, 30, rgb(0x141416));
  for (int d = 0; d < 360; d += 30) {
    tick(cr, kMcCompass, d - 90.0, d % 90 == 0 ? 22 : 25, 29, d % 90 == 0 ? 2.0 : 1.2, kMarking);
  }
  static const char *const kCardinal[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    text_centred(cr, kCardinal[i], polar(kMcCompass, 15, i * 90.0 - 90), {8, Weight::kBold},
                 i == 0 ? kNeedleOrange : kMarking);
  }
  // Vario dial: zero on the left, +-10 m/s meeting on the right.
  const TableDial dial(kMcVario, kMcVarioPoints);
  fill_circle(cr, kMcVario, 44, rgb(0x0C0C0E));
  fill_circle(cr, kMcVario, 42, kDialBlack);
  for (int ms = -10; ms <= 10; ++ms) {
    const bool major = ms % 5 == 0;
    tick(cr, kMcVario, dial.angle(ms * 256.0), major ? 32 : 36, 41, major ? 2.2 : 1.2, kMarking);
  }
  text_centred(cr, "0", polar(kMcVario, 24, dial.angle(0)), {10, Weight::kBold}, kMarking);
  text_centred(cr, "5", polar(kMcVario, 24, dial.angle(1280)), {10, Weight::kBold}, kMarking);
  text_centred(cr, "5", polar(kMcVario, 24, dial.angle(-1280)), {10, Weight::kBold}, kMarking);
  text_centred(cr, "10", polar(kMcVario, 25, 0), {9, Weight::kBold}, kMarking);
  text_centred(cr, "m/s", {kMcVario.x - 8, kMcVario.y + 18}, {7, Weight::kBold}, kCaption);
  hub(cr, kMcVario, 4);
  hub(cr, kMcCompass, 4);
}

void draw_mc_vario_needle(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_move_to(cr, 2, 2.5);
  cairo_line_to(cr, 35, 2.5);
  cairo_set_line_width(cr, 2.2);
  set(cr, kNeedleWhite);
  cairo_stroke(cr);
}

void draw_mc_compass_needle(Picture &p) {
  cairo_t *cr = p.cr();
  const double y = 7;
  cairo_move_to(cr, 1, y);
  cairo_line_to(cr, 19, y);
  cairo_set_line_width(cr, 2.2);
  set(cr, kNeedleWhite);
  cairo_stroke(cr);
  triangle(cr, {26, y}, {17, y - 3.5}, {17, y + 3.5}, kNeedleOrange);
}

void mc_arrow(Picture &p, int index) {
  steering_arrow(p.cr(), p.width(), p.height(), index, kInk);
}
void draw_mc_arrow_1(Picture &p) {
  mc_arrow(p, 1);
}
void draw_mc_arrow_2(Picture &p) {
  mc_arrow(p, 2);
}
void draw_mc_arrow_3(Picture &p) {
  mc_arrow(p, 3);
}
void draw_mc_arrow_4(Picture &p) {
  mc_arrow(p, 4);
}
void draw_mc_arrow_5(Picture &p) {
  mc_arrow(p, 5);
}
void draw_mc_arrow_6(Picture &p) {
  mc_arrow(p, 6);
}
void draw_mc_arrow_7(Picture &p) {
  mc_arrow(p, 7);
}
void draw_mc_arrow_8(Picture &p) {
  mc_arrow(p, 8);
}
void draw_mc_arrow_9(Picture &p) {
  mc_arrow(p, 9);
}
// Image 10 is never selected: a dashed line, "no deviation known".
void draw_mc_arrow_unknown(Picture &p) {
  cairo_t *cr = p.cr();
  for (int k = 0; k < 7; ++k) {
    cairo_rectangle(cr, 22 + 17 * k, 7, 10, 3);
  }
  set(cr, kInk);
  cairo_fill(cr);
}

// ---- test -------------------------------------------------------------------

void draw_test_face(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_rectangle(cr, 0, 0, p.width(), p.height());
  set(cr, rgb(0xFFFFFF));
  cairo_fill(cr);
  for (int row = 1; row < 10; ++row) {
    cairo_rectangle(cr, 4, 20 * row - 0.5, p.width() - 8, 1);
  }
  set(cr, rgb(0xD8D8D8));
  cairo_fill(cr);
  cairo_rectangle(cr, 0.5, 0.5, p.width() - 1, p.height() - 1);
  cairo_set_line_width(cr, 1);
  set(cr, rgb(0x808080));
  cairo_stroke(cr);
}

// clang-format off
constexpr Artwork kArtwork[] = {
    {"velmar", 0x2200, 315, 315, kPanelGrey, draw_caf_face},
    {"velmar", 0x2300, 150, 25,  kDialBlack, draw_caf_needle},
    {"velmar", 0x2400, 315, 315, kDialBlack, draw_caf_metric},
    {"velmar", 0x2401, 315, 315, kDialBlack, draw_caf_imperial},
    {"velmar", 0x2500, 421, 151, kPanelGrey, draw_mc_face},
    {"velmar", 0x2600, 36,  5,   kDialBlack, draw_mc_vario_needle},
    {"velmar", 0x2800, 157, 17,  kLcdGrey,   nullptr},
    {"velmar", 0x2801, 157, 17,  kLcdGrey,   draw_mc_arrow_1},
    {"velmar", 0x2802, 157, 17,  kLcdGrey,   draw_mc_arrow_2},
    {"velmar", 0x2803, 157, 17,  kLcdGrey,   draw_mc_arrow_3},
    {"velmar", 0x2804, 157, 17,  kLcdGrey,   draw_mc_arrow_4},
    {"velmar", 0x2805, 157, 17,  kLcdGrey,   draw_mc_arrow_5},
    {"velmar", 0x2806, 157, 17,  kLcdGrey,   draw_mc_arrow_6},
    {"velmar", 0x2807, 157, 17,  kLcdGrey,   draw_mc_arrow_7},
    {"velmar", 0x2808, 157, 17,  kLcdGrey,   draw_mc_arrow_8},
    {"velmar", 0x2809, 157, 17,  kLcdGrey,   draw_mc_arrow_9},
    {"velmar", 0x280A, 157, 17,  kLcdGrey,   draw_mc_arrow_unknown},
    {"velmar", 0x2900, 27,  11,  kDialBlack, draw_mc_compass_needle},
    {"velmar", 0x2B00, 226, 200, kPanelGrey, draw_test_face},
};
// clang-format on

} // namespace

std::span<const Artwork> velmar_companion_artwork() {
  return kArtwork;
}

} // namespace art
