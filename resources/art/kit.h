// Drawing kit for the gauge artwork: a Cairo picture that becomes a module
// bitmap, and the pieces every instrument is made of (cases, ticks, labels,
// needles, buttons, display windows, knobs).
//
// Conventions shared with the renderer:
//   - Bitmaps are bottom-up 24-bit BMP files. Where an element is drawn with
//     the transparency flag (0x1), pure black (0,0,0) is the colour key: those
//     pixels are not drawn. Opaque artwork never contains pure black; the
//     darkest ink is kDialBlack or kInk.
//   - Angles are screen directions in degrees: 0 points right (+x), positive
//     turns clockwise on screen (y grows downwards).
//   - A needle bitmap points from its pivot towards +x, except a bitmap that
//     reaches farther below its pivot than to the right of it (sti's turn
//     needle), which points towards +y.
//   - A needle with a point table is turned towards the table point of its
//     value; between two table points the angle is interpolated linearly,
//     the short way round (TableDial below).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace art {

struct Rgb {
  double r, g, b;
};

// 0xRRGGBB
constexpr Rgb rgb(uint32_t hex) {
  return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}

// The palette of all three modules.
inline constexpr Rgb kKey = {0, 0, 0};            // transparent where the flag asks
inline constexpr Rgb kDialBlack = rgb(0x17171A);  // instrument faces
inline constexpr Rgb kCaseBlack = rgb(0x232326);  // instrument cases and bezels
inline constexpr Rgb kPanelGrey = rgb(0x3A3D42);  // panel plates
inline constexpr Rgb kPlateGrey = rgb(0x4A4E55);  // lighter plates and faceplates
inline constexpr Rgb kMarking = rgb(0xF4F4F0);    // graduations and lettering
inline constexpr Rgb kInk = rgb(0x101010);        // LCD segments, text on light grounds
inline constexpr Rgb kLcdLight = rgb(0xEBEBEB);   // gpsnav and lnav display ground
inline constexpr Rgb kLcdGrey = rgb(0xA2A2A2);    // mc display ground
inline constexpr Rgb kLcdRadio = rgb(0xBDBDBD);   // com and VETsetup display ground
inline constexpr Rgb kLcdBallast = rgb(0xA5A5A5); // bdp display ground
inline constexpr Rgb kNeedleWhite = rgb(0xF6F6F2);
inline constexpr Rgb kNeedleOrange = rgb(0xF08A1C);
inline constexpr Rgb kArcGreen = rgb(0x2BB34A);
inline constexpr Rgb kArcYellow = rgb(0xF2C81B);
inline constexpr Rgb kArcRed = rgb(0xE0281E);
inline constexpr Rgb kAirbrakeBlue = rgb(0x1F5FC8);

// A drawing surface of the bitmap's size (ARGB, transparent at start).
class Picture {
public:
  Picture(int width_px, int height_px);
  ~Picture();
  Picture(const Picture &) = delete;
  Picture &operator=(const Picture &) = delete;
  Picture(Picture &&other) noexcept;
  Picture &operator=(Picture &&) = delete;

  cairo_t *cr() const { return cr_; }
  int width() const { return width_px_; }
  int height() const { return height_px_; }

  // Edge pixels less than half covered become the key; the others are laid
  // on `matte`, the colour the image is expected to lie on, so anti-aliased
  // edges blend with their ground. Opaque pixels never come out pure black.
  std::vector<uint8_t> to_bmp(Rgb matte) const;
  // A PNG with the real coverage, for looking at the artwork.
  bool write_png(const std::string &path) const;

private:
  int width_px_;
  int height_px_;
  cairo_surface_t *surface_;
  cairo_t *cr_;
};

// ---- geometry ---------------------------------------------------------------

struct Point {
  double x, y;
};

double radians(double degrees);
Point polar(Point centre, double radius, double angle_deg);

// Needle point table turned into angles about a pivot, as the renderer turns
// the needle: linear in angle between neighbouring points, the short way.
struct TablePoint {
  double value;
  double x, y;
};
class TableDial {
public:
  TableDial(Point pivot, std::span<const TablePoint> points);
  // Angle (degrees, see above) of `value`, clamped to the table's ends.
  double angle(double value) const;

private:
  std::vector<double> values_;
  std::vector<double> angles_; // unwrapped so neighbours differ by at most 180
};

// ---- paint --------------------------------------------------------------

void set(cairo_t *cr, Rgb c, double alpha = 1.0);
void fill_circle(cairo_t *cr, Point c, double r, Rgb colour);
void rounded_rect(cairo_t *cr, double x, double y, double w, double h, double r);
void fill_rounded(cairo_t *cr, double x, double y, double w, double h, double r, Rgb colour);
// A vertical linear gradient from `top` to `bottom` as the source.
void vertical_gradient(cairo_t *cr, double y0, double y1, Rgb top, Rgb bottom);

// ---- lettering (DejaVu Sans) ------------------------------------------------

enum class Weight { kNormal, kBold };
struct Font {
  double size_px;
  Weight weight = Weight::kNormal;
  double stretch = 1.0; // horizontal scale, below 1 condenses
};
// Text centred on `at` (both axes, by the ink's extent of digits and capitals).
void text_centred(cairo_t *cr, const std::string &text, Point at, Font font, Rgb colour);
// Text turned by `angle_deg` about its centre at `at`.
void text_rotated(cairo_t *cr, const std::string &text, Point at, double angle_deg, Font font,
                  Rgb colour);
double text_width(cairo_t *cr, const std::string &text, Font font);

// ---- instrument parts ---------------------------------------------------

// A round panel instrument: a black case with a turned rim and an inner
// bevel around the face of radius `face_r`, filled in kDialBlack.
void round_case(cairo_t *cr, Point centre, double case_r, double face_r);
void screw(cairo_t *cr, Point c, double r, double slot_angle_deg);
// Radial tick from radius r_in to r_out at `angle_deg`.
void tick(cairo_t *cr, Point centre, double angle_deg, double r_in, double r_out, double width,
          Rgb colour);
// An arc band (coloured range) between two angles.
void arc_band(cairo_t *cr, Point centre, double r_in, double r_out, double from_deg, double to_deg,
              Rgb colour);
// A domed centre cap over needle pivots.
void hub(cairo_t *cr, Point c, double r);

// Needle bitmaps. Drawn along +x from `pivot`: a tapered blade to `tip_x`,
// a counterweight tail back to `tail_x`, a hub of radius `hub_r`.
struct NeedleStyle {
  double blade_w; // width at the hub
  double tip_w;   // width at the tip
  double tail_w;  // width of the counterweight
  double hub_r;
  Rgb colour;
  bool dark_tail = true; // tail and hub in case black, the blade in colour
};
void needle(cairo_t *cr, Point pivot, double tip_x, double tail_x, const NeedleStyle &style);

// A knurled round knob with a white index line pointing to `mark_deg`.
void knob(cairo_t *cr, Point c, double r, double mark_deg, int ridges);
// A square or round push button with a symbol or short label on it.
void push_button(cairo_t *cr, double x, double y, double w, double h, bool round);
// A display window: a dark bevelled frame around a glass of colour `glass`.
void display_window(cairo_t *cr, double x, double y, double w, double h, double frame, Rgb glass);

// Filled triangle.
void triangle(cairo_t *cr, Point a, Point b, Point c, Rgb colour);
// A chevron (open arrow head) pointing in `dir_deg`, centred on `c`.
void chevron(cairo_t *cr, Point c, double size, double thickness, double dir_deg, Rgb colour);

// Steering arrow of a navigation display, image `index` of 10: 1 to 4 steer
// left with 4 to 1 chevrons, 5 the centre bar alone, 6 to 9 steer right with
// 1 to 4 chevrons (0 is left empty by its caller).
void steering_arrow(cairo_t *cr, double w, double h, int index, Rgb colour);

} // namespace art
