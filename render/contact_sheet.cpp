#include "render/contact_sheet.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "render/renderer.h"

namespace render {
namespace {

constexpr int kGapPx = 8;
constexpr int kLabelPx = 18;
constexpr char kLabelFont[] = "DejaVu Sans 10";

} // namespace

ContactSheet::ContactSheet(int columns, double thumb_scale)
    : columns_(std::max(1, columns)), thumb_scale_(thumb_scale > 0 ? thumb_scale : 0.25) {}

void ContactSheet::add(cairo_surface_t *image, std::string label) {
  const int w = std::max(1, static_cast<int>(cairo_image_surface_get_width(image) * thumb_scale_));
  const int h = std::max(1, static_cast<int>(cairo_image_surface_get_height(image) * thumb_scale_));
  Surface thumb(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  cairo_t *cr = cairo_create(thumb.get());
  cairo_scale(cr, static_cast<double>(w) / cairo_image_surface_get_width(image),
              static_cast<double>(h) / cairo_image_surface_get_height(image));
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  thumbs_.push_back({std::move(thumb), std::move(label)});
}

bool ContactSheet::write(const std::filesystem::path &path, std::string &error) const {
  int tile_w = 1, tile_h = 1;
  for (const Thumb &t : thumbs_) {
    tile_w = std::max(tile_w, cairo_image_surface_get_width(t.image.get()));
    tile_h = std::max(tile_h, cairo_image_surface_get_height(t.image.get()));
  }
  const int count = static_cast<int>(thumbs_.size());
  const int cols = std::max(1, std::min(columns_, count));
  const int rows = std::max(1, (count + cols - 1) / cols);
  const int cell_w = tile_w + kGapPx, cell_h = tile_h + kLabelPx + kGapPx;
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cols * cell_w + kGapPx,
                                           rows * cell_h + kGapPx));
  cairo_t *cr = cairo_create(sheet.get());
  cairo_set_source_rgb(cr, kPanelGrey, kPanelGrey, kPanelGrey);
  cairo_paint(cr);
  PangoLayout *layout = pango_cairo_create_layout(cr);
  PangoFontDescription *font = pango_font_description_from_string(kLabelFont);
  pango_layout_set_font_description(layout, font);
  for (int i = 0; i < count; ++i) {
    const double x = kGapPx + (i % cols) * cell_w, y = kGapPx + (i / cols) * cell_h;
    cairo_set_source_surface(cr, thumbs_[i].image.get(), x, y);
    cairo_paint(cr);
    pango_layout_set_text(layout, thumbs_[i].label.c_str(), -1);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.82);
    cairo_move_to(cr, x, y + tile_h + 2);
    pango_cairo_show_layout(cr, layout);
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  return write_png(sheet.get(), path, error);
}

} // namespace render
