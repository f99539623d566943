#include "render/renderer.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/module_loader.h"

namespace render {
namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
// Share of a string's box height that its glyphs take, and of its width that
// its widest text may fill.
constexpr double kTextHeightShare = 0.62;
constexpr double kTextWidthShare = 0.94;

void set_colour(cairo_t *cr, uint32_t colour_bbggrr) {
  cairo_set_source_rgb(cr, (colour_bbggrr & 0xFF) / 255.0, ((colour_bbggrr >> 8) & 0xFF) / 255.0,
                       ((colour_bbggrr >> 16) & 0xFF) / 255.0);
}

// Direction, in degrees, in which a needle bitmap of this size points from
// its pivot: along its longer axis toward the farther edge, else right.
double needle_base_deg(int width_px, int height_px, int pivot_x, int pivot_y) {
  if (width_px > height_px) {
    return 2 * pivot_x > width_px ? 180.0 : 0.0;
  }
  if (height_px > width_px) {
    if (2 * pivot_y < height_px) {
      return 90.0;
    }
    if (2 * pivot_y > height_px) {
      return 270.0;
    }
  }
  return 0.0;
}

// Shortest signed turn from a to b, degrees.
double turn_deg(double from_deg, double to_deg) {
  return std::remainder(to_deg - from_deg, 360.0);
}

// Angle of a table needle for `value`: interpolated between the angles, seen
// from the needle's position, of the two table points around the value.
double table_angle_deg(const NeedleElement &needle, double value) {
  const NonlinearityPoint *points = needle.points;
  const int n = needle.point_count;
  const auto angle_of = [&needle](const NonlinearityPoint &p) {
    return std::atan2(p.y - needle.element.y, p.x - needle.element.x) / kDegToRad;
  };
  if (n == 1) {
    return angle_of(points[0]);
  }
  const bool ascending = points[n - 1].value >= points[0].value;
  const auto before = [ascending](double a, double b) { return ascending ? a <= b : a >= b; };
  if (before(value, points[0].value)) {
    return angle_of(points[0]);
  }
  for (int i = 0; i + 1 < n; ++i) {
    if (before(value, points[i + 1].value)) {
      const double span = points[i + 1].value - points[i].value;
      const double t = span == 0 ? 0.0 : (value - points[i].value) / span;
      const double from = angle_of(points[i]);
      return from + t * turn_deg(from, angle_of(points[i + 1]));
    }
  }
  return angle_of(points[n - 1]);
}

// Window of a scroll or rotate element: the gauge inset by the element's
// position on every side, or the bitmap's own size where that leaves nothing.
Rect element_window(const gaugehost::PlacedGauge &gauge, const Element &e, int bitmap_w,
                    int bitmap_h) {
  const double w = static_cast<double>(gauge.root_image.width_px) - 2.0 * e.x;
  const double h = static_cast<double>(gauge.root_image.height_px) - 2.0 * e.y;
  return {static_cast<double>(e.x), static_cast<double>(e.y), w > 0 ? w : bitmap_w,
          h > 0 ? h : bitmap_h};
}

// An axis without a callback shows its source variable's value as the host
// refreshed it in the last update (ai's card and bezel turn with token 0x50
// so); with neither, 0.
double axis(double callback_value, ElementCallback callback, const TokenVar &source) {
  if (callback != nullptr) {
    return callback_value;
  }
  return source.id != 0 ? source.value : 0.0;
}

// Images that are only moved and scaled are drawn bilinear: the default
// filter's downscaling convolution costs six times as much at the window's
// scales, for a difference nobody sees. Turned images keep the default: at
// exactly half size, bilinear sampling loses thin turned needles.
void paint_at(cairo_t *cr, cairo_surface_t *image, double x, double y, bool turned = false) {
  cairo_set_source_surface(cr, image, x, y);
  cairo_pattern_set_filter(cairo_get_source(cr),
                           turned ? CAIRO_FILTER_GOOD : CAIRO_FILTER_BILINEAR);
  cairo_paint(cr);
}

} // namespace

Rect design_rect(const gaugehost::PlacedGauge &gauge) {
  return {0, 0, static_cast<double>(gauge.root_image.width_px),
          static_cast<double>(gauge.root_image.height_px)};
}

PanelLayout row_layout(const gaugehost::Host &host, double scale, int max_width_px, int gap_px) {
  PanelLayout layout;
  double x = gap_px, y = gap_px, row_height = 0;
  for (const auto &gauge : host.gauges()) {
    const Rect design = design_rect(*gauge);
    // Whole pixels, so that a gauge's root image is copied without resampling.
    const double w = std::round(design.width * scale), h = std::round(design.height * scale);
    if (x > gap_px && x + w + gap_px > max_width_px) {
      x = gap_px;
      y += row_height + gap_px;
      row_height = 0;
    }
    layout.gauges.push_back({
        gauge->name, {x, y, w, h}
    });
    x += w + gap_px;
    row_height = std::max(row_height, h);
    layout.width_px = std::max(layout.width_px, static_cast<int>(std::ceil(x)));
  }
  layout.height_px = static_cast<int>(std::ceil(y + row_height + gap_px));
  return layout;
}

PanelLayout panel_layout(const gaugehost::PanelFile &panel, double scale) {
  PanelLayout layout;
  layout.width_px = static_cast<int>(std::ceil(panel.width * scale));
  layout.height_px = static_cast<int>(std::ceil(panel.height * scale));
  for (const auto &g : panel.gauges) {
    layout.gauges.push_back({
        g.placement, {g.x * scale, g.y * scale, g.width * scale, g.height * scale}
    });
  }
  return layout;
}

cairo_surface_t *Renderer::bitmap(const gaugehost::PlacedGauge &gauge, int32_t id, uint32_t flags) {
  if (gauge.module == nullptr || !gauge.module->resources) {
    return nullptr;
  }
  const auto &resources = *gauge.module->resources;
  const bool keyed = (flags & kDrawTransparent) != 0;
  const auto key = std::make_tuple(static_cast<const void *>(&resources), id, keyed);
  auto found = bitmaps_.find(key);
  if (found == bitmaps_.end()) {
    Surface image;
    if (auto bytes = resources.find(gaugeres::ResourceType::kBitmap, id)) {
      std::string error;
      image = decode_bmp(*bytes, keyed, error);
    }
    found = bitmaps_.emplace(key, std::move(image)).first;
  }
  return found->second.get();
}

void Renderer::draw_string(cairo_t *cr, const gaugehost::ElementState &state) {
  const auto &s = *reinterpret_cast<const StringElement *>(state.element);
  const double box_w = s.box_width_px, box_h = s.box_height_px;
  cairo_save(cr);
  cairo_rectangle(cr, s.element.x, s.element.y, box_w, box_h);
  cairo_clip(cr);
  if ((s.element.drawing_flags & kDrawErase) != 0) {
    set_colour(cr, s.background_colour);
    cairo_paint(cr);
  }
  PangoLayout *layout = pango_cairo_create_layout(cr);
  PangoFontDescription *font = pango_font_description_new();
  pango_font_description_set_family(font, kLcdFontFamily);
  pango_font_description_set_weight(font, static_cast<PangoWeight>(s.font_weight));

  auto found = font_px_.find(state.element);
  if (found == font_px_.end()) {
    // The face is monospaced: the widest text is max_chars eights.
    double px = box_h * kTextHeightShare;
    pango_font_description_set_absolute_size(font, px * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    const std::string widest(static_cast<size_t>(std::max(1, s.max_chars)), '8');
    pango_layout_set_text(layout, widest.c_str(), -1);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    if (logical.width > box_w * kTextWidthShare && logical.width > 0) {
      px *= box_w * kTextWidthShare / logical.width;
    }
    found = font_px_.emplace(state.element, px).first;
  }
  pango_font_description_set_absolute_size(font, found->second * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_single_paragraph_mode(layout, (s.layout_flags & kTextSingleLine) != 0);
  pango_layout_set_text(layout, state.text.c_str(), -1);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  double x = s.element.x, y = s.element.y;
  if ((s.layout_flags & kTextCentreHorizontal) != 0) {
    x += (box_w - logical.width) / 2.0 - logical.x;
  }
  if ((s.layout_flags & kTextCentreVertical) != 0) {
    // Centre the glyphs' ink: the face's ascent leaves room above the digits.
    y += (box_h - ink.height) / 2.0 - ink.y;
  }
  set_colour(cr, s.text_colour);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_restore(cr);
}

void Renderer::draw_element(cairo_t *cr, const gaugehost::PlacedGauge &gauge,
                            const gaugehost::ElementState &state) {
  const Element &e = *state.element;
  if (e.kind == kElementString) {
    draw_string(cr, state);
    return;
  }
  int32_t id = e.resource_id;
  if (e.kind == kElementIcon) {
    const auto &icon = reinterpret_cast<const IconElement &>(e);
    const double index = std::floor(axis(state.values[0], icon.callback, icon.source));
    if (!(index >= 0 && index < icon.image_count)) {
      return;
    }
    id += static_cast<int32_t>(index);
  }
  cairo_surface_t *image = bitmap(gauge, id, e.drawing_flags);
  if (image == nullptr) {
    return;
  }
  const int w = cairo_image_surface_get_width(image);
  const int h = cairo_image_surface_get_height(image);
  cairo_save(cr);
  switch (e.kind) {
  case kElementStaticImage:
  case kElementIcon:
    paint_at(cr, image, e.x, e.y);
    break;
  case kElementNeedle: {
    const auto &needle = reinterpret_cast<const NeedleElement &>(e);
    const double value = axis(state.values[0], needle.callback, needle.source);
    const double angle_deg =
        needle.points != nullptr && needle.point_count > 0 ? table_angle_deg(needle, value) : value;
    if (!std::isfinite(angle_deg)) {
      break;
    }
    cairo_translate(cr, e.x, e.y);
    cairo_rotate(cr, (angle_deg - needle_base_deg(w, h, e.offset_x, e.offset_y)) * kDegToRad);
    paint_at(cr, image, -e.offset_x, -e.offset_y, true);
    break;
  }
  case kElementShift: {
    const auto &shift = reinterpret_cast<const ShiftElement &>(e);
    const double dx = axis(state.values[0], shift.x_callback, shift.x_source) * shift.x_scale;
    const double dy = axis(state.values[1], shift.y_callback, shift.y_source) * shift.y_scale;
    if (std::isfinite(dx) && std::isfinite(dy)) {
      paint_at(cr, image, e.x + dx, e.y + dy);
    }
    break;
  }
  case kElementScroll: {
    const auto &scroll = reinterpret_cast<const ScrollElement &>(e);
    const auto fraction = [](double v, double lo, double hi) {
      if (!(hi > lo) || !std::isfinite(v)) {
        return 0.0;
      }
      const double f = std::fmod((v - lo) / (hi - lo), 1.0);
      return f < 0 ? f + 1.0 : f;
    };
    const Rect window = element_window(gauge, e, w, h);
    const double dx = fraction(axis(state.values[0], scroll.x_callback, scroll.x_source),
                               scroll.x_min, scroll.x_max) *
                      w;
    const double dy = fraction(axis(state.values[1], scroll.y_callback, scroll.y_source),
                               scroll.y_min, scroll.y_max) *
                      h;
    cairo_rectangle(cr, window.x, window.y, window.width, window.height);
    cairo_clip(cr);
    // The window's top left shows the bitmap's point (dx, dy); copies cover
    // the wrap on both axes.
    for (double ox = -dx; ox < window.width; ox += w) {
      for (double oy = -dy; oy < window.height; oy += h) {
        paint_at(cr, image, window.x + ox, window.y + oy);
      }
    }
    break;
  }
  case kElementRotate: {
    const auto &rotate = reinterpret_cast<const RotateElement &>(e);
    const double dx = axis(state.values[0], rotate.x_callback, rotate.x_source) * rotate.x_scale;
    const double dy = axis(state.values[1], rotate.y_callback, rotate.y_source) * rotate.y_scale;
    const double turn_deg =
        axis(state.values[2], rotate.rotation_callback, rotate.rotation_source) *
        rotate.rotation_scale;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(turn_deg)) {
      break;
    }
    // Texture pixels per drawn pixel: below 1 magnifies.
    const double sx = rotate.texture_scale_x > 0 ? rotate.texture_scale_x : 1.0;
    const double sy = rotate.texture_scale_y > 0 ? rotate.texture_scale_y : 1.0;
    // A turning texture shows through the round opening inscribed in its window.
    const Rect window = element_window(gauge, e, w, h);
    cairo_save(cr);
    cairo_translate(cr, window.x + window.width / 2, window.y + window.height / 2);
    cairo_scale(cr, window.width / 2, window.height / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    cairo_clip(cr);
    cairo_translate(cr, window.x + window.width / 2, window.y + window.height / 2);
    cairo_rotate(cr, turn_deg * kDegToRad);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, 1.0 / sx, 1.0 / sy);
    paint_at(cr, image, -e.offset_x, -e.offset_y, true);
    break;
  }
  default:
    break;
  }
  cairo_restore(cr);
}

cairo_surface_t *Renderer::scaled_root(const gaugehost::PlacedGauge &gauge, int width_px,
                                       int height_px) {
  const Element &root = *gauge.elements.front().element;
  cairo_surface_t *image = bitmap(gauge, root.resource_id, root.drawing_flags);
  if (image == nullptr) {
    return nullptr;
  }
  const auto key = std::make_tuple(static_cast<const void *>(image), width_px, height_px);
  auto found = scaled_roots_.find(key);
  if (found == scaled_roots_.end()) {
    const Rect design = design_rect(gauge);
    Surface scaled(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_px, height_px));
    cairo_t *cr = cairo_create(scaled.get());
    cairo_scale(cr, width_px / design.width, height_px / design.height);
    cairo_set_source_surface(cr, image, root.x, root.y);
    cairo_paint(cr); // the best filter: this runs once per size
    cairo_destroy(cr);
    found = scaled_roots_.emplace(key, std::move(scaled)).first;
  }
  return found->second.get();
}

void Renderer::draw_gauge(cairo_t *cr, const gaugehost::PlacedGauge &gauge, const Rect &place) {
  const Rect design = design_rect(gauge);
  if (design.width <= 0 || design.height <= 0 || gauge.elements.empty()) {
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, place.x, place.y);
  // The root image, the bulk of the pixels, comes from a copy at the placed
  // size when the place is whole pixels.
  size_t first = 0;
  const int width_px = static_cast<int>(place.width), height_px = static_cast<int>(place.height);
  if (width_px == place.width && height_px == place.height &&
      gauge.elements.front().kind == kElementStaticImage) {
    if (cairo_surface_t *root = scaled_root(gauge, width_px, height_px)) {
      cairo_set_source_surface(cr, root, 0, 0);
      cairo_paint(cr);
    }
    first = 1;
  }
  cairo_scale(cr, place.width / design.width, place.height / design.height);
  cairo_rectangle(cr, 0, 0, design.width, design.height);
  cairo_clip(cr);
  for (size_t i = first; i < gauge.elements.size(); ++i) {
    draw_element(cr, gauge, gauge.elements[i]);
  }
  cairo_restore(cr);
}

void Renderer::draw_panel(cairo_t *cr, gaugehost::Host &host, const PanelLayout &layout) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, kPanelGrey, kPanelGrey, kPanelGrey);
  cairo_paint(cr);
  cairo_restore(cr);
  for (const auto &place : layout.gauges) {
    if (const auto *gauge = host.gauge(place.name)) {
      draw_gauge(cr, *gauge, place.place);
    }
  }
}

Surface render_gauge(Renderer &renderer, const gaugehost::PlacedGauge &gauge, double scale) {
  const Rect design = design_rect(gauge);
  const int w = std::max(1, static_cast<int>(std::lround(design.width * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(design.height * scale)));
  Surface image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  cairo_t *cr = cairo_create(image.get());
  renderer.draw_gauge(cr, gauge, {0, 0, static_cast<double>(w), static_cast<double>(h)});
  cairo_destroy(cr);
  cairo_surface_flush(image.get());
  return image;
}

Surface render_panel(Renderer &renderer, gaugehost::Host &host, const PanelLayout &layout) {
  Surface image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, layout.width_px),
                                           std::max(1, layout.height_px)));
  cairo_t *cr = cairo_create(image.get());
  renderer.draw_panel(cr, host, layout);
  cairo_destroy(cr);
  cairo_surface_flush(image.get());
  return image;
}

bool write_png(cairo_surface_t *image, const std::filesystem::path &path, std::string &error) {
  const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + path.string() + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

} // namespace render
