// Draws placed gauges with Cairo from what the host's last update left in each
// element (host/host.h ElementState) and the module's bitmaps.
//
// How each element kind is drawn (design pixels, y down, angles clockwise):
// - static image: its bitmap at its position;
// - needle: its bitmap with the pivot (offset) on its position, turned so that
//   it points at its point table's position for the value (the angle
//   interpolated between the two neighbouring points' angles, held at the
//   table's ends), or by the value in degrees when it has no table. A needle
//   bitmap points from its pivot along its longer axis toward the farther
//   edge; along +x when the pivot sits in the middle (0 degrees = right);
// - string: its box, filled with the background colour when kDrawErase is
//   set, the shown text in the text colour in an LCD face standing in for
//   "Quartz", centred as its layout flags say, clipped to the box;
// - icon: bitmap resource id + index at its position (nothing for an index
//   outside 0..N-1);
// - shift: its bitmap moved by value x scale on each axis;
// - an axis (needle, shift, scroll, rotate) without a callback takes its
//   source variable's value;
// - scroll and rotate elements show their bitmap in a window: the gauge inset
//   by the element's position on every side (a compass card's window), and
//   for rotate elements the round opening inscribed in it (an attitude card);
// - scroll: the bitmap wraps; the window's top left shows the bitmap's point
//   at (value - min) / (max - min) of its width and height, on each axis that
//   has a range;
// - rotate: the texture centre sits at the window's centre; the bitmap is
//   turned there by rotation value x rotation scale degrees, then moved by
//   x value x x scale and y value x y scale along the turned axes, and drawn
//   at 1 / texture scale (the texture scale counts texture pixels per drawn
//   pixel, so 0.6 magnifies).
// Transparency: see render/bmp_image.h. kDrawLit changes nothing here (the
// panel is always lit). The whole gauge is scaled from its root image's size
// to the rectangle it is placed in.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "host/host.h"
#include "host/panel_file.h"
#include "render/bmp_image.h"

namespace render {

struct Rect {
  double x = 0, y = 0, width = 0, height = 0;
};

// One gauge on the panel: placement name and its rectangle in panel pixels.
struct PanelPlace {
  std::string name;
  Rect place;
};
struct PanelLayout {
  int width_px = 0;
  int height_px = 0;
  std::vector<PanelPlace> gauges;
};

// Design size of a placed gauge: its root image's drawn size (0 x 0 before
// the images are loaded).
Rect design_rect(const gaugehost::PlacedGauge &gauge);

// Every placed gauge at its design size times `scale`, left to right in
// placement order, in rows no wider than `max_width_px`, tops aligned, with
// `gap_px` between gauges.
PanelLayout row_layout(const gaugehost::Host &host, double scale = 1.0, int max_width_px = 1800,
                       int gap_px = 8);

// The gauges where a panel file places them, everything times `scale`; the
// panel is the file's size (the gauges' bounding box when it gives none).
PanelLayout panel_layout(const gaugehost::PanelFile &panel, double scale = 1.0);

// Panel paint between gauges: the dark grey of an instrument panel (r = g = b).
inline constexpr double kPanelGrey = 0.16;

// The LCD face strings are drawn in.
inline constexpr char kLcdFontFamily[] = "DSEG14 Classic";

class Renderer {
public:
  Renderer() = default;
  Renderer(const Renderer &) = delete;
  Renderer &operator=(const Renderer &) = delete;

  // Draws `gauge` into `place`. The caller's Cairo state is kept.
  void draw_gauge(cairo_t *cr, const gaugehost::PlacedGauge &gauge, const Rect &place);
  // Fills the panel background and draws every gauge of `layout` that the
  // host has placed.
  void draw_panel(cairo_t *cr, gaugehost::Host &host, const PanelLayout &layout);

  // Forgets decoded bitmaps (after a module is unloaded).
  void clear_cache() {
    scaled_roots_.clear();
    bitmaps_.clear();
  }

private:
  cairo_surface_t *bitmap(const gaugehost::PlacedGauge &gauge, int32_t id, uint32_t flags);
  // The gauge's root image at a placed size, null if it has none.
  cairo_surface_t *scaled_root(const gaugehost::PlacedGauge &gauge, int width_px, int height_px);
  void draw_element(cairo_t *cr, const gaugehost::PlacedGauge &gauge,
                    const gaugehost::ElementState &state);
  void draw_string(cairo_t *cr, const gaugehost::ElementState &state);

  // (resource file, id, black is transparent) -> decoded image; null when the
  // module has no such bitmap.
  std::map<std::tuple<const void *, int32_t, bool>, Surface> bitmaps_;
  // (decoded root image, width, height) -> the image at that size.
  std::map<std::tuple<const void *, int, int>, Surface> scaled_roots_;
  // Font size per string element, chosen once so its widest text fits.
  std::map<const Element *, double> font_px_;
};

// Renders one gauge at its design size times `scale` into a new image.
Surface render_gauge(Renderer &renderer, const gaugehost::PlacedGauge &gauge, double scale = 1.0);
// Renders a whole layout into a new image.
Surface render_panel(Renderer &renderer, gaugehost::Host &host, const PanelLayout &layout);
// Writes an image as PNG. On failure returns false and sets `error`.
bool write_png(cairo_surface_t *image, const std::filesystem::path &path, std::string &error);

} // namespace render
