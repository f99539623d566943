// durnik's round instruments: variometer (vsi), altimeter (alt), airspeed
// indicator (asi), compass (cmp), slip-and-turn indicator (sti) and attitude
// indicator (ai). Graduations are placed with the same point tables and angle
// rules that turn the needles, so a needle shows on the mark of its value.
#include "resources/art/artwork.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace art {
namespace {

// ---- vsi and the shared round case 0x1800 ----------------------------------

constexpr Point kVsiCentre = {157, 157};
constexpr double kCaseR = 152;
constexpr double kFaceR = 138;
constexpr double kScrewOffset = 137;

// Needle point table of both vsi needles: raw climb rate, 256 = 1 m/s.
constexpr TablePoint kVsiPoints[] = {
    {-1280, 256, 241},
    {0,     26,  157},
    {1280,  256, 73 },
};

void vsi_graduations(cairo_t *cr) {
  const TableDial dial(kVsiCentre, kVsiPoints);
  // The scale reads 0 to 5 each way; the scale label says what one unit is.
  for (int tenth = -50; tenth <= 50; tenth += 2) {
    const double a = dial.angle(tenth * 25.6);
    const bool major = tenth % 10 == 0;
    const bool half = tenth % 5 == 0;
    tick(cr, kVsiCentre, a,
         major  ? 110
         : half ? 120
                : 126,
         134,
         major  ? 4.0
         : half ? 2.6
                : 1.6,
         kMarking);
  }
  for (int unit = -5; unit <= 5; ++unit) {
    char text[12]; // any int
    std::snprintf(text, sizeof text, "%d", std::abs(unit));
    text_centred(cr, text, polar(kVsiCentre, 92, dial.angle(unit * 256.0)), {26, Weight::kBold},
                 kMarking);
  }
  text_centred(cr, "+", polar(kVsiCentre, 58, dial.angle(256)), {24, Weight::kBold}, kMarking);
  text_centred(cr, "\xE2\x88\x92", polar(kVsiCentre, 58, dial.angle(-256)), {24, Weight::kBold},
               kMarking);
  text_centred(cr, "VARIO", {157, 212}, {13, Weight::kBold}, rgb(0xBEBEB8));
  // Captions and position dots of the range and mode switches.
  text_centred(cr, "RANGE", {258, 91}, {8, Weight::kBold}, kMarking);
  text_centred(cr, "MODE", {258, 161}, {8, Weight::kBold}, kMarking);
  for (int i = 0; i < 3; ++i) {
    fill_circle(cr, {243, 108 + 16.0 * i}, 1.8, kMarking);
    fill_circle(cr, {243, 178 + 16.0 * i}, 1.8, kMarking);
  }
}

void draw_vsi_dial(Picture &p) {
  round_case(p.cr(), kVsiCentre, kCaseR, kFaceR);
  for (int i = 0; i < 4; ++i) {
    screw(p.cr(),
          {kVsiCentre.x + ((i & 1) ? kScrewOffset : -kScrewOffset),
           kVsiCentre.y + ((i & 2) ? kScrewOffset : -kScrewOffset)},
          8, 25.0 + 40 * i);
  }
  vsi_graduations(p.cr());
}

void vsi_needle(Picture &p, Rgb colour, double tip_r, double blade_w) {
  needle(p.cr(), {13, 13}, 13 + tip_r, 2,
         {.blade_w = blade_w, .tip_w = 2.5, .tail_w = 9, .hub_r = 9, .colour = colour});
}
void draw_vsi_main_needle(Picture &p) {
  vsi_needle(p, kNeedleWhite, 122, 7);
}
void draw_vsi_second_needle(Picture &p) {
  vsi_needle(p, kNeedleOrange, 126, 5);
}

// Three-position switch: a slot and a chrome bat at position `index`.
void vsi_switch(Picture &p, int index) {
  cairo_t *cr = p.cr();
  fill_rounded(cr, 4, 2, 8, 44, 4, rgb(0x050506));
  const double y = 8 + 16.0 * index;
  cairo_new_path(cr);
  rounded_rect(cr, 1, y - 6, 14, 12, 3);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, y - 6, 0, y + 6);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.92, 0.92, 0.94);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.62, 0.62, 0.66);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.35, 0.35, 0.38);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}
void draw_vsi_switch_1(Picture &p) {
  vsi_switch(p, 0);
}
void draw_vsi_switch_2(Picture &p) {
  vsi_switch(p, 1);
}
void draw_vsi_switch_3(Picture &p) {
  vsi_switch(p, 2);
}

void label(Picture &p, const char *text, double size) {
  text_centred(p.cr(), text, {p.width() / 2.0, p.height() / 2.0}, {size, Weight::kBold}, kMarking);
}
// Scale multipliers: metric ranges 1-3 show images 0-2, the others 1-3.
void draw_vsi_scale_half(Picture &p) {
  label(p,
        "\xC3\x97"
        "0.5",
        14);
}
void draw_vsi_scale_1(Picture &p) {
  label(p,
        "\xC3\x97"
        "1",
        14);
}
void draw_vsi_scale_2(Picture &p) {
  label(p,
        "\xC3\x97"
        "2",
        14);
}
void draw_vsi_scale_4(Picture &p) {
  label(p,
        "\xC3\x97"
        "4",
        14);
}
void draw_vsi_unit_knots(Picture &p) {
  label(p, "kt", 14);
}
void draw_vsi_unit_ms(Picture &p) {
  label(p, "m/s", 14);
}

// ---- asi ----------------------------------------------------------------

constexpr TablePoint kAsiPoints[] = {
    {0,   156, 291},
    {27,  88,  275},
    {54,  19,  156},
    {81,  87,  37 },
    {108, 225, 36 },
    {135, 294, 157},
    {162, 225, 276},
    {173, 156, 291},
};
constexpr double kKmhPerKnot = 1.852;

// Speeds of the coloured ranges, km/h.
constexpr double kGreenFromKmh = 75;
constexpr double kYellowFromKmh = 180;
constexpr double kNeverExceedKmh = 270;
constexpr double kApproachKmh = 95;

void asi_face(Picture &p, double units_per_knot, int minor, int major, int first, int last,
              const char *unit) {
  cairo_t *cr = p.cr();
  const TableDial dial(kVsiCentre, kAsiPoints);
  auto angle = [&](double v) { return dial.angle(v / units_per_knot); };
  fill_circle(cr, kVsiCentre, kFaceR, kDialBlack);
  // Coloured ranges on the rim, under the graduations.
  arc_band(cr, kVsiCentre, 126, 134, angle(kGreenFromKmh / kKmhPerKnot * units_per_knot),
           angle(kYellowFromKmh / kKmhPerKnot * units_per_knot), kArcGreen);
  arc_band(cr, kVsiCentre, 126, 134, angle(kYellowFromKmh / kKmhPerKnot * units_per_knot),
           angle(kNeverExceedKmh / kKmhPerKnot * units_per_knot), kArcYellow);
  tick(cr, kVsiCentre, angle(kNeverExceedKmh / kKmhPerKnot * units_per_knot), 108, 134, 5, kArcRed);
  const double approach = angle(kApproachKmh / kKmhPerKnot * units_per_knot);
  triangle(cr, polar(kVsiCentre, 124, approach), polar(kVsiCentre, 137, approach - 3.2),
           polar(kVsiCentre, 137, approach + 3.2), kArcYellow);
  for (int v = first; v <= last; v += minor) {
    const bool big = v % major == 0;
    const bool half = (2 * v) % major == 0;
    tick(cr, kVsiCentre, angle(v), big ? 110 : half ? 118 : 124, 134, big ? 3.5 : 2.0, kMarking);
    if (big) {
      char text[12]; // any int
      std::snprintf(text, sizeof text, "%d", v);
      text_centred(cr, text, polar(kVsiCentre, 90, angle(v)), {22, Weight::kBold}, kMarking);
    }
  }
  text_centred(cr, unit, {157, 200}, {15, Weight::kBold}, kMarking);
  text_centred(cr, "AIRSPEED", {157, 108}, {10, Weight::kBold}, rgb(0xBEBEB8));
}
void draw_asi_kmh(Picture &p) {
  asi_face(p, kKmhPerKnot, 10, 50, 40, 320, "km/h");
}
void draw_asi_knots(Picture &p) {
  asi_face(p, 1.0, 5, 20, 20, 170, "knots");
}

void draw_asi_needle(Picture &p) {
  needle(p.cr(), {56, 11}, 56 + 124, 26,
         {.blade_w = 7, .tip_w = 2.5, .tail_w = 10, .hub_r = 10, .colour = kNeedleWhite});
}

// ---- alt ----------------------------------------------------------------

constexpr Point kAltCentre = {155, 159};
// Pointer angles have no table: the value is the angle, -90 at the zero mark.
double alt_angle(double hundreds) {
  return hundreds * 36.0 - 90.0;
}
// The pressure scale turns 3.022 degrees per hectopascal of the setting.
constexpr double kDegreesPerHpa = 3.022;
constexpr double kPressureRingIn = 56;
constexpr double kPressureRingOut = 82;

void draw_alt_dial(Picture &p) {
  cairo_t *cr = p.cr();
  round_case(cr, kAltCentre, kCaseR, kFaceR);
  for (int i = 0; i < 3; ++i) { // the knob takes the lower left corner
    screw(cr,
          {kAltCentre.x + ((i & 1) ? kScrewOffset : -kScrewOffset),
           kAltCentre.y + ((i & 2) ? kScrewOffset - 4 : -kScrewOffset)},
          8, 25.0 + 40 * i);
  }
  for (int fiftieth = 0; fiftieth < 50; ++fiftieth) {
    const double a = alt_angle(fiftieth / 5.0);
    const bool major = fiftieth % 5 == 0;
    tick(cr, kAltCentre, a, major ? 112 : 124, 134, major ? 4.0 : 1.8, kMarking);
  }
  for (int n = 0; n < 10; ++n) {
    tick(cr, kAltCentre, alt_angle(n + 0.5), 120, 134, 2.6, kMarking);
    char text[12]; // any int
    std::snprintf(text, sizeof text, "%d", n);
    text_centred(cr, text, polar(kAltCentre, 96, alt_angle(n)), {28, Weight::kBold}, kMarking);
  }
  // Index of the pressure scale, at the top of its ring.
  triangle(cr, polar(kAltCentre, kPressureRingOut + 1, -90),
           polar(kAltCentre, kPressureRingOut + 9, -94),
           polar(kAltCentre, kPressureRingOut + 9, -86), kArcYellow);
  text_centred(cr, "hPa", {kAltCentre.x, kAltCentre.y - 44}, {9, Weight::kBold}, rgb(0xBEBEB8));
  // Zero button in the middle, under the pointers' hub.
  fill_circle(cr, kAltCentre, 19, rgb(0x0C0C0D));
  hub(cr, kAltCentre, 16);
  // Setting knob in the lower left corner: left half down, right half up.
  const Point k = {26, 280};
  knob(cr, k, 24, -90, 22);
  text_centred(cr, "\xE2\x88\x92", {k.x - 9, k.y + 1}, {12, Weight::kBold}, kMarking);
  text_centred(cr, "+", {k.x + 9, k.y + 1}, {12, Weight::kBold}, kMarking);
}

void draw_alt_unit_feet(Picture &p) {
  label(p, "FEET", 13);
}
void draw_alt_unit_metres(Picture &p) {
  label(p, "METRES", 12);
}

void draw_alt_pressure_scale(Picture &p) {
  cairo_t *cr = p.cr();
  const Point c = {p.width() / 2.0, p.height() / 2.0};
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, kPressureRingOut, 0, 2 * std::numbers::pi);
  cairo_arc_negative(cr, c.x, c.y, kPressureRingIn, 2 * std::numbers::pi, 0);
  set(cr, rgb(0x2A2B2F));
  cairo_fill(cr);
  // The label of a setting sits where the turn by that setting brings it
  // under the index at the top: -90 - 3.022 * hPa.
  for (int hpa = 946; hpa <= 1064; hpa += 2) {
    const double a = -90.0 - kDegreesPerHpa * hpa;
    const bool ten = hpa % 10 == 0;
    tick(cr, c, a, ten ? kPressureRingOut - 9 : kPressureRingOut - 5, kPressureRingOut - 1,
         ten ? 1.8 : 1.0, kMarking);
    if (ten) {
      char text[12]; // any int
      std::snprintf(text, sizeof text, "%d", hpa);
      text_rotated(cr, text, polar(c, kPressureRingOut - 17, a), a + 90, {8.5, Weight::kBold, 0.9},
                   kMarking);
    }
  }
}

// Pointers: drawn along +x, turned by their value in degrees.
void draw_alt_short_pointer(Picture &p) { // 10000 m or 100000 ft a turn
  cairo_t *cr = p.cr();
  const Point pv = {35, 12};
  triangle(cr, {pv.x, pv.y - 9}, {pv.x + 64, pv.y}, {pv.x, pv.y + 9}, kNeedleWhite);
  needle(cr, pv, pv.x + 1, 14,
         {.blade_w = 0, .tip_w = 0, .tail_w = 8, .hub_r = 0, .colour = kNeedleWhite});
}
void draw_alt_middle_pointer(Picture &p) { // 10000 units a turn
  const Point pv = {50, 11};
  needle(p.cr(), pv, pv.x + 88, 24,
         {.blade_w = 9, .tip_w = 5, .tail_w = 10, .hub_r = 0, .colour = kNeedleWhite});
}
void draw_alt_long_pointer(Picture &p) { // 1000 units a turn
  const Point pv = {58, 11};
  needle(p.cr(), pv, pv.x + 126, 28,
         {.blade_w = 6, .tip_w = 2.5, .tail_w = 10, .hub_r = 11, .colour = kNeedleWhite});
}

// ---- cmp ----------------------------------------------------------------

// The card scrolls in a window of the housing, 110 x 46 at (75, 67); the
// lubber line is the window's middle.
constexpr double kCardPxPerDegree = 400.0 / 360.0;
constexpr double kLubberInCard = 55; // housing x 130 minus the card's x 75

void draw_compass_housing(Picture &p) {
  cairo_t *cr = p.cr();
  fill_rounded(cr, 2, 2, 256, 176, 30, rgb(0x101012));
  cairo_new_path(cr);
  rounded_rect(cr, 6, 6, 248, 168, 27);
  cairo_pattern_t *g = cairo_pattern_create_linear(0, 6, 0, 174);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.30, 0.31, 0.34);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.14, 0.14, 0.16);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Glass dome around the window.
  cairo_save(cr);
  cairo_translate(cr, 130, 90);
  cairo_scale(cr, 1.0, 0.62);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 96, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
  set(cr, rgb(0x0A0A0C));
  cairo_fill(cr);
  display_window(cr, 75, 67, 110, 46, 5, rgb(0x1A1D22));
  // Lubber line, above and below the card and faintly behind it.
  cairo_new_path(cr);
  cairo_move_to(cr, 130, 55);
  cairo_line_to(cr, 130, 125);
  cairo_set_line_width(cr, 3);
  set(cr, kNeedleOrange);
  cairo_stroke(cr);
  screw(cr, {22, 22}, 7, 30);
  screw(cr, {238, 22}, 7, 70);
  screw(cr, {22, 158}, 7, 110);
  screw(cr, {238, 158}, 7, 150);
  text_centred(cr, "COMPASS", {130, 150}, {11, Weight::kBold}, rgb(0xBEBEB8));
}

void draw_compass_card(Picture &p) {
  cairo_t *cr = p.cr();
  const double w = p.width();
  // Heading h is read at the lubber line when the card is scrolled by
  // 360 - h: the mark of h sits at lubber + (360 - h) px, numbers falling
  // to the right, as on a real card seen from behind.
  auto x_of = [&](double heading) {
    return std::fmod(kLubberInCard + w - heading * kCardPxPerDegree + 2 * w, w);
  };
  for (int h = 0; h < 360; h += 5) {
    for (double shift : {-w, 0.0, w}) {
      const double x = x_of(h) + shift;
      if (x < -20 || x > w + 20) {
        continue;
      }
      const bool ten = h % 10 == 0;
      cairo_new_path(cr);
      cairo_move_to(cr, x, ten ? 30 : 36);
      cairo_line_to(cr, x, 45);
      cairo_set_line_width(cr, ten ? 2.0 : 1.2);
      set(cr, kMarking);
      cairo_stroke(cr);
      if (h % 30 == 0) {
        static const char *const kNames[] = {"N", "3",  "6",  "E", "12", "15",
                                             "S", "21", "24", "W", "30", "33"};
        const bool cardinal = h % 90 == 0;
        text_centred(cr, kNames[h / 30], {x, 16}, {cardinal ? 17.0 : 13.0, Weight::kBold},
                     cardinal && h == 0 ? kNeedleOrange : kMarking);
      }
    }
  }
}

// ---- sti ----------------------------------------------------------------

constexpr Point kStiCentre = {115, 115};
constexpr Point kTurnPivot = {115, 188};
constexpr TablePoint kTurnPoints[] = {
    {-900, 40,  50},
    {-546, 72,  26},
    {0,    114, 15},
    {546,  159, 26},
    {900,  192, 50},
};
// The ball's centre at rest and its lift per pixel of sideways travel
// (y scale over x scale of the shift element): it runs in a shallow V.
constexpr Point kBallRest = {115, 125};
constexpr double kBallLiftPerPx = 0.085938 / 0.585938;
constexpr double kTubeHalfLength = 86;

void draw_sti_face(Picture &p) {
  cairo_t *cr = p.cr();
  round_case(cr, kStiCentre, 112, 100);
  for (int i = 0; i < 4; ++i) {
    screw(cr, {i & 1 ? 214.0 : 16.0, i & 2 ? 214.0 : 16.0}, 7, 20.0 + 45 * i);
  }
  const TableDial dial(kTurnPivot, kTurnPoints);
  // Turn marks: the centre, the rate-one "doghouses", the ends.
  tick(cr, kTurnPivot, dial.angle(0), 100, 118, 4, kMarking);
  for (int side : {-1, 1}) {
    const double a = dial.angle(546 * side);
    const Point base_l = polar(kTurnPivot, 100, a - 3.2);
    const Point base_r = polar(kTurnPivot, 100, a + 3.2);
    const Point roof_l = polar(kTurnPivot, 112, a - 3.2);
    const Point roof_r = polar(kTurnPivot, 112, a + 3.2);
    const Point top = polar(kTurnPivot, 119, a);
    cairo_new_path(cr);
    cairo_move_to(cr, base_l.x, base_l.y);
    cairo_line_to(cr, roof_l.x, roof_l.y);
    cairo_line_to(cr, top.x, top.y);
    cairo_line_to(cr, roof_r.x, roof_r.y);
    cairo_line_to(cr, base_r.x, base_r.y);
    cairo_close_path(cr);
    set(cr, kMarking);
    cairo_fill(cr);
    tick(cr, kTurnPivot, dial.angle(900 * side), 104, 116, 2, kMarking);
    text_centred(cr, side < 0 ? "L" : "R", polar(kTurnPivot, 128, dial.angle(760 * side)),
                 {15, Weight::kBold}, kMarking);
  }
  text_centred(cr, "2 MIN", {115, 166}, {9, Weight::kBold}, rgb(0xBEBEB8));
  // The tube, bent like the ball's path, with its two reference wires.
  const Point left = {kBallRest.x - kTubeHalfLength,
                      kBallRest.y - kTubeHalfLength * kBallLiftPerPx};
  const Point right = {kBallRest.x + kTubeHalfLength, left.y};
  auto tube = [&](double width, Rgb colour) {
    cairo_new_path(cr);
    cairo_move_to(cr, left.x, left.y);
    cairo_line_to(cr, kBallRest.x, kBallRest.y);
    cairo_line_to(cr, right.x, right.y);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set(cr, colour);
    cairo_stroke(cr);
  };
  tube(36, rgb(0x0A0A0B));
  tube(31, rgb(0x9A9C94));
  tube(28, rgb(0xE6E6DA));
  for (int side : {-1, 1}) {
    const double x = kBallRest.x + side * 15.5;
    const double y = kBallRest.y - 15.5 * kBallLiftPerPx;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - 15);
    cairo_line_to(cr, x, y + 15);
    cairo_set_line_width(cr, 2);
    set(cr, rgb(0x141414));
    cairo_stroke(cr);
  }
  hub(cr, kTurnPivot, 10);
}

void draw_sti_ball(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_pattern_t *g = cairo_pattern_create_radial(9, 8, 1, 13, 13, 12.5);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.55, 0.58);
  cairo_pattern_add_color_stop_rgb(g, 0.35, 0.12, 0.12, 0.13);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.03, 0.03, 0.035);
  cairo_new_path(cr);
  cairo_arc(cr, 13, 13, 12, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// The turn needle's bitmap is tall: it points down from its pivot (13, 13).
void draw_sti_needle(Picture &p) {
  cairo_t *cr = p.cr();
  cairo_save(cr);
  cairo_translate(cr, 13, 13);
  cairo_rotate(cr, std::numbers::pi / 2);
  cairo_translate(cr, -13, -13);
  needle(cr, {13, 13}, 13 + 95, 13,
         {.blade_w = 6, .tip_w = 2.5, .tail_w = 0, .hub_r = 9, .colour = kNeedleWhite});
  cairo_restore(cr);
}

// ---- ai -----------------------------------------------------------------

constexpr Point kAiCentre = {176, 176};
// The card is shown magnified by 1 / 0.6 and shifted 2 screen pixels per
// degree of pitch: 1.2 card pixels per degree.
constexpr double kCardPxPerPitchDegree = 2.0 * 0.6;

void draw_ai_case(Picture &p) {
  cairo_t *cr = p.cr();
  round_case(cr, kAiCentre, 174, 150);
  for (int i = 0; i < 4; ++i) {
    screw(cr, {i & 1 ? 331.0 : 21.0, i & 2 ? 331.0 : 21.0}, 9, 30.0 + 40 * i);
  }
  // Fixed bank index at the top and the wing marks at the sides, on the
  // case ring around the turning bezel.
  triangle(cr, polar(kAiCentre, 151, -90), polar(kAiCentre, 168, -95), polar(kAiCentre, 168, -85),
           kNeedleOrange);
  for (int side : {-1, 1}) {
    cairo_new_path(cr);
    rounded_rect(cr, side < 0 ? kAiCentre.x - 172 : kAiCentre.x + 150, kAiCentre.y - 3.5, 22, 7, 3);
    set(cr, kNeedleOrange);
    cairo_fill(cr);
  }
}

void draw_ai_card(Picture &p) {
  cairo_t *cr = p.cr();
  const double w = p.width();
  const double c = w / 2;
  cairo_rectangle(cr, 0, 0, w, c);
  vertical_gradient(cr, 0, c, rgb(0x0E4C8E), rgb(0x3C8AD2));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, c, w, c);
  vertical_gradient(cr, c, w, rgb(0x8A5A2E), rgb(0x4A2E14));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, c - 0.9, w, 1.8);
  set(cr, kMarking);
  cairo_fill(cr);
  for (int deg = -60; deg <= 60; deg += 5) {
    if (deg == 0) {
      continue;
    }
    const double y = c - deg * kCardPxPerPitchDegree;
    const double half = deg % 10 == 0 ? 20 : 9;
    cairo_rectangle(cr, c - half, y - 0.6, 2 * half, 1.2);
    set(cr, kMarking);
    cairo_fill(cr);
    if (deg % 10 == 0 && std::abs(deg) <= 40) {
      char text[12]; // any int
      std::snprintf(text, sizeof text, "%d", std::abs(deg));
      text_centred(cr, text, {c - half - 7, y}, {6.5, Weight::kBold}, kMarking);
      text_centred(cr, text, {c + half + 7, y}, {6.5, Weight::kBold}, kMarking);
    }
  }
}

void draw_ai_bezel(Picture &p) {
  cairo_t *cr = p.cr();
  const Point c = {p.width() / 2.0, p.height() / 2.0};
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, 150, 0, 2 * std::numbers::pi);
  cairo_arc_negative(cr, c.x, c.y, 126, 2 * std::numbers::pi, 0);
  set(cr, rgb(0x1B1B1E));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, 127, 0, 2 * std::numbers::pi);
  cairo_set_line_width(cr, 2);
  set(cr, rgb(0x55565C));
  cairo_stroke(cr);
  // Bank scale: 10, 20, 30, 45, 60, 90 each way, and a triangle at zero.
  for (int side : {-1, 1}) {
    for (int bank : {10, 20, 30, 45, 60, 90}) {
      const double a = -90.0 + side * bank;
      const bool long_mark = bank == 30 || bank == 60 || bank == 90;
      tick(cr, c, a, 130, long_mark ? 148 : 140, long_mark ? 3.5 : 2.2, kMarking);
    }
  }
  triangle(cr, polar(c, 130, -90), polar(c, 147, -95), polar(c, 147, -85), kMarking);
}

// clang-format off
constexpr Artwork kArtwork[] = {
    {"durnik", 0x1800, 314, 314, kPanelGrey,   draw_vsi_dial},
    {"durnik", 0x1900, 140, 26,  kDialBlack,   draw_vsi_second_needle},
    {"durnik", 0x1A00, 140, 26,  kDialBlack,   draw_vsi_main_needle},
    {"durnik", 0x1B00, 16,  48,  kDialBlack,   draw_vsi_switch_1},
    {"durnik", 0x1B01, 16,  48,  kDialBlack,   draw_vsi_switch_2},
    {"durnik", 0x1B02, 16,  48,  kDialBlack,   draw_vsi_switch_3},
    {"durnik", 0x1C00, 48,  24,  kDialBlack,   draw_vsi_scale_half},
    {"durnik", 0x1C01, 48,  24,  kDialBlack,   draw_vsi_scale_1},
    {"durnik", 0x1C02, 48,  24,  kDialBlack,   draw_vsi_scale_2},
    {"durnik", 0x1C03, 48,  24,  kDialBlack,   draw_vsi_scale_4},
    {"durnik", 0x1D00, 40,  24,  kDialBlack,   draw_vsi_unit_knots},
    {"durnik", 0x1D01, 40,  24,  kDialBlack,   draw_vsi_unit_ms},
    {"durnik", 0x1000, 314, 314, kPanelGrey,   draw_alt_dial},
    {"durnik", 0x1100, 56,  20,  kDialBlack,   draw_alt_unit_feet},
    {"durnik", 0x1101, 56,  20,  kDialBlack,   draw_alt_unit_metres},
    {"durnik", 0x1200, 314, 314, kDialBlack,   draw_alt_pressure_scale},
    {"durnik", 0x1300, 105, 24,  kDialBlack,   draw_alt_short_pointer},
    {"durnik", 0x1400, 190, 22,  kDialBlack,   draw_alt_long_pointer},
    {"durnik", 0x1500, 145, 22,  kDialBlack,   draw_alt_middle_pointer},
    {"durnik", 0x1600, 314, 314, kCaseBlack,   draw_asi_kmh},
    {"durnik", 0x1601, 314, 314, kCaseBlack,   draw_asi_knots},
    {"durnik", 0x1700, 186, 22,  kDialBlack,   draw_asi_needle},
    {"durnik", 0x1F00, 260, 180, kPanelGrey,   draw_compass_housing},
    {"durnik", 0x2000, 400, 46,  rgb(0x1A1D22), draw_compass_card},
    {"durnik", 0x2100, 230, 230, kPanelGrey,   draw_sti_face},
    {"durnik", 0x2200, 26,  26,  rgb(0xE6E6DA), draw_sti_ball},
    {"durnik", 0x2300, 26,  110, kDialBlack,   draw_sti_needle},
    {"durnik", 0x2400, 352, 352, kPanelGrey,   draw_ai_case},
    {"durnik", 0x2500, 300, 300, kPanelGrey,   draw_ai_card},
    {"durnik", 0x2600, 300, 300, kCaseBlack,   draw_ai_bezel},
};
// clang-format on

} // namespace

std::span<const Artwork> durnik_dial_artwork() {
  return kArtwork;
}

} // namespace art
