#include "resources/art/kit.h"

#include "platform/resources/byte_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {
namespace {

using gaugeres::put_u16;
using gaugeres::put_u32;

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER
constexpr uint32_t kPixelsPerMetre = 2835; // 72 dpi
// An opaque pixel darker than this in every channel is lifted to it, so that
// nothing drawn is ever taken for the key.
constexpr uint8_t kDarkestInk = 6;

uint8_t channel(double premultiplied, double alpha, double matte) {
  const double v = premultiplied + (1.0 - alpha) * matte;
  return static_cast<uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

void select_font(cairo_t *cr, Font font) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         font.weight == Weight::kBold ? CAIRO_FONT_WEIGHT_BOLD
                                                      : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, font.size_px * font.stretch, font.size_px);
  cairo_set_font_matrix(cr, &m);
  cairo_font_options_t *options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

} // namespace

// ---- Picture --------------------------------------------------------------

Picture::Picture(int width_px, int height_px)
    : width_px_(width_px), height_px_(height_px),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_px, height_px)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_BEST);
}

Picture::~Picture() {
  if (cr_ != nullptr) {
    cairo_destroy(cr_);
  }
  if (surface_ != nullptr) {
    cairo_surface_destroy(surface_);
  }
}

Picture::Picture(Picture &&other) noexcept
    : width_px_(other.width_px_), height_px_(other.height_px_), surface_(other.surface_),
      cr_(other.cr_) {
  other.surface_ = nullptr;
  other.cr_ = nullptr;
}

std::vector<uint8_t> Picture::to_bmp(Rgb matte) const {
  cairo_surface_flush(surface_);
  const unsigned char *data = cairo_image_surface_get_data(surface_);
  const int src_stride = cairo_image_surface_get_stride(surface_);
  const uint32_t w = static_cast<uint32_t>(width_px_);
  const uint32_t h = static_cast<uint32_t>(height_px_);
  const uint32_t stride = (w * 3 + 3) / 4 * 4;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * h, 0);
  for (uint32_t y = 0; y < h; ++y) {
    const auto *row =
        reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * src_stride);
    uint8_t *out = pixels.data() + static_cast<size_t>(h - 1 - y) * stride; // bottom-up
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t p = row[x]; // premultiplied ARGB in native order
      const double a = ((p >> 24) & 0xFF) / 255.0;
      if (a < 0.5) {
        continue; // key
      }
      uint8_t r = channel(((p >> 16) & 0xFF) / 255.0, a, matte.r);
      uint8_t g = channel(((p >> 8) & 0xFF) / 255.0, a, matte.g);
      uint8_t b = channel((p & 0xFF) / 255.0, a, matte.b);
      if (r < kDarkestInk && g < kDarkestInk && b < kDarkestInk) {
        r = g = b = kDarkestInk;
      }
      out[x * 3] = b;
      out[x * 3 + 1] = g;
      out[x * 3 + 2] = r;
    }
  }
  std::vector<uint8_t> bmp;
  bmp.reserve(kFileHeaderBytes + kInfoHeaderBytes + pixels.size());
  bmp.push_back('B');
  bmp.push_back('M');
  put_u32(bmp, static_cast<uint32_t>(kFileHeaderBytes + kInfoHeaderBytes + pixels.size()));
  put_u32(bmp, 0);
  put_u32(bmp, kFileHeaderBytes + kInfoHeaderBytes);
  put_u32(bmp, kInfoHeaderBytes);
  put_u32(bmp, w);
  put_u32(bmp, h); // positive: bottom-up rows
  put_u16(bmp, 1); // planes
  put_u16(bmp, 24);
  put_u32(bmp, 0); // BI_RGB
  put_u32(bmp, static_cast<uint32_t>(pixels.size()));
  put_u32(bmp, kPixelsPerMetre);
  put_u32(bmp, kPixelsPerMetre);
  put_u32(bmp, 0);
  put_u32(bmp, 0);
  bmp.insert(bmp.end(), pixels.begin(), pixels.end());
  return bmp;
}

bool Picture::write_png(const std::string &path) const {
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

// ---- geometry ---------------------------------------------------------------

double radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

Point polar(Point centre, double radius, double angle_deg) {
  const double a = radians(angle_deg);
  return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

TableDial::TableDial(Point pivot, std::span<const TablePoint> points) {
  for (const TablePoint &p : points) {
    double a = std::atan2(p.y - pivot.y, p.x - pivot.x) * 180.0 / std::numbers::pi;
    if (!angles_.empty()) {
      while (a - angles_.back() > 180.0) {
        a -= 360.0;
      }
      while (a - angles_.back() < -180.0) {
        a += 360.0;
      }
    }
    values_.push_back(p.value);
    angles_.push_back(a);
  }
}

double TableDial::angle(double value) const {
  const bool ascending = values_.front() <= values_.back();
  const auto before = [&](double a, double b) { return ascending ? a <= b : a >= b; };
  if (before(value, values_.front())) {
    return angles_.front();
  }
  for (size_t i = 1; i < values_.size(); ++i) {
    if (before(value, values_[i])) {
      const double t = (value - values_[i - 1]) / (values_[i] - values_[i - 1]);
      return angles_[i - 1] + t * (angles_[i] - angles_[i - 1]);
    }
  }
  return angles_.back();
}

// ---- paint --------------------------------------------------------------

void set(cairo_t *cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void fill_circle(cairo_t *cr, Point c, double r, Rgb colour) {
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, r, 0, 2 * std::numbers::pi);
  set(cr, colour);
  cairo_fill(cr);
}

void rounded_rect(cairo_t *cr, double x, double y, double w, double h, double r) {
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void fill_rounded(cairo_t *cr, double x, double y, double w, double h, double r, Rgb colour) {
  cairo_new_path(cr);
  rounded_rect(cr, x, y, w, h, r);
  set(cr, colour);
  cairo_fill(cr);
}

void vertical_gradient(cairo_t *cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t *p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

// ---- lettering --------------------------------------------------------------

double text_width(cairo_t *cr, const std::string &text, Font font) {
  cairo_save(cr);
  select_font(cr, font);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_restore(cr);
  return e.x_advance;
}

void text_rotated(cairo_t *cr, const std::string &text, Point at, double angle_deg, Font font,
                  Rgb colour) {
  cairo_save(cr);
  select_font(cr, font);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  // Centre vertically on the height of a capital so that "1" and "10" sit
  // on the same line; horizontally on the ink.
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  cairo_translate(cr, at.x, at.y);
  cairo_rotate(cr, radians(angle_deg));
  cairo_move_to(cr, -(e.x_bearing + e.width / 2), -(cap.y_bearing + cap.height / 2));
  set(cr, colour);
  cairo_show_text(cr, text.c_str());
  cairo_restore(cr);
}

void text_centred(cairo_t *cr, const std::string &text, Point at, Font font, Rgb colour) {
  text_rotated(cr, text, at, 0.0, font, colour);
}

// ---- instrument parts ---------------------------------------------------

void screw(cairo_t *cr, Point c, double r, double slot_angle_deg) {
  cairo_pattern_t *p = cairo_pattern_create_radial(c.x - r / 3, c.y - r / 3, 0, c.x, c.y, r);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.78, 0.78, 0.80);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.30, 0.30, 0.33);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, r, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const Point a = polar(c, r * 0.8, slot_angle_deg);
  const Point b = polar(c, r * 0.8, slot_angle_deg + 180);
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  cairo_set_line_width(cr, std::max(1.0, r * 0.28));
  set(cr, rgb(0x1C1C1E));
  cairo_stroke(cr);
}

void round_case(cairo_t *cr, Point centre, double case_r, double face_r) {
  const double pi = std::numbers::pi;
  // Case: a dark ring with a turned, slightly lit rim.
  cairo_pattern_t *rim = cairo_pattern_create_linear(centre.x - case_r, centre.y - case_r,
                                                     centre.x + case_r, centre.y + case_r);
  cairo_pattern_add_color_stop_rgb(rim, 0, 0.42, 0.42, 0.45);
  cairo_pattern_add_color_stop_rgb(rim, 0.5, 0.16, 0.16, 0.18);
  cairo_pattern_add_color_stop_rgb(rim, 1, 0.08, 0.08, 0.09);
  cairo_new_path(cr);
  cairo_arc(cr, centre.x, centre.y, case_r, 0, 2 * pi);
  cairo_set_source(cr, rim);
  cairo_fill(cr);
  cairo_pattern_destroy(rim);
  fill_circle(cr, centre, case_r - 3, kCaseBlack);
  // Inner bevel, lit from below right, so the face looks set in.
  cairo_pattern_t *bevel = cairo_pattern_create_linear(centre.x - face_r, centre.y - face_r,
                                                       centre.x + face_r, centre.y + face_r);
  cairo_pattern_add_color_stop_rgb(bevel, 0, 0.06, 0.06, 0.07);
  cairo_pattern_add_color_stop_rgb(bevel, 1, 0.36, 0.36, 0.39);
  cairo_new_path(cr);
  cairo_arc(cr, centre.x, centre.y, face_r + 3, 0, 2 * pi);
  cairo_set_source(cr, bevel);
  cairo_fill(cr);
  cairo_pattern_destroy(bevel);
  fill_circle(cr, centre, face_r, kDialBlack);
}

void tick(cairo_t *cr, Point centre, double angle_deg, double r_in, double r_out, double width,
          Rgb colour) {
  const Point a = polar(centre, r_in, angle_deg);
  const Point b = polar(centre, r_out, angle_deg);
  cairo_new_path(cr);
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  set(cr, colour);
  cairo_stroke(cr);
}

void arc_band(cairo_t *cr, Point centre, double r_in, double r_out, double from_deg, double to_deg,
              Rgb colour) {
  const double a0 = radians(std::min(from_deg, to_deg));
  const double a1 = radians(std::max(from_deg, to_deg));
  cairo_new_path(cr);
  cairo_arc(cr, centre.x, centre.y, r_out, a0, a1);
  cairo_arc_negative(cr, centre.x, centre.y, r_in, a1, a0);
  cairo_close_path(cr);
  set(cr, colour);
  cairo_fill(cr);
}

void hub(cairo_t *cr, Point c, double r) {
  cairo_pattern_t *p = cairo_pattern_create_radial(c.x - r / 3, c.y - r / 3, 0, c.x, c.y, r);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.45, 0.45, 0.48);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.10, 0.11);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, r, 0, 2 * std::numbers::pi);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void needle(cairo_t *cr, Point pivot, double tip_x, double tail_x, const NeedleStyle &s) {
  const double y = pivot.y;
  // Counterweight tail.
  if (tail_x < pivot.x) {
    cairo_new_path(cr);
    rounded_rect(cr, tail_x, y - s.tail_w / 2, pivot.x - tail_x, s.tail_w,
                 std::min(s.tail_w / 2, 3.0));
    set(cr, s.dark_tail ? kCaseBlack : s.colour);
    cairo_fill(cr);
  }
  // Blade: tapered, with a pointed tip.
  const double point_len = std::min(10.0, (tip_x - pivot.x) * 0.15);
  cairo_new_path(cr);
  cairo_move_to(cr, pivot.x, y - s.blade_w / 2);
  cairo_line_to(cr, tip_x - point_len, y - s.tip_w / 2);
  cairo_line_to(cr, tip_x, y);
  cairo_line_to(cr, tip_x - point_len, y + s.tip_w / 2);
  cairo_line_to(cr, pivot.x, y + s.blade_w / 2);
  cairo_close_path(cr);
  set(cr, s.colour);
  cairo_fill(cr);
  if (s.hub_r > 0) {
    hub(cr, pivot, s.hub_r);
  }
}

void knob(cairo_t *cr, Point c, double r, double mark_deg, int ridges) {
  const double pi = std::numbers::pi;
  // Knurled rim: a star of small teeth.
  cairo_new_path(cr);
  for (int i = 0; i <= ridges * 2; ++i) {
    const double a = 2 * pi * i / (ridges * 2);
    const double rr = (i % 2 == 0) ? r : r * 0.93;
    cairo_line_to(cr, c.x + rr * std::cos(a), c.y + rr * std::sin(a));
  }
  cairo_close_path(cr);
  set(cr, rgb(0x1E1E20));
  cairo_fill(cr);
  cairo_pattern_t *p =
      cairo_pattern_create_radial(c.x - r * 0.35, c.y - r * 0.35, r * 0.05, c.x, c.y, r * 0.86);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.40, 0.40, 0.43);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.11, 0.11, 0.12);
  cairo_new_path(cr);
  cairo_arc(cr, c.x, c.y, r * 0.84, 0, 2 * pi);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  tick(cr, c, mark_deg, r * 0.25, r * 0.92, std::max(1.5, r * 0.14), kMarking);
}

void push_button(cairo_t *cr, double x, double y, double w, double h, bool round) {
  const double pi = std::numbers::pi;
  auto shape = [&](double inset) {
    cairo_new_path(cr);
    if (round) {
      cairo_arc(cr, x + w / 2, y + h / 2, std::min(w, h) / 2 - inset, 0, 2 * pi);
    } else {
      rounded_rect(cr, x + inset, y + inset, w - 2 * inset, h - 2 * inset, std::min(w, h) * 0.18);
    }
  };
  // Collar, then the cap lit from the top left.
  shape(0);
  set(cr, rgb(0x141416));
  cairo_fill(cr);
  shape(1.5);
  cairo_pattern_t *p = cairo_pattern_create_linear(x, y, x + w, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.50, 0.51, 0.54);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.20, 0.20, 0.22);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  shape(std::max(3.0, std::min(w, h) * 0.14));
  vertical_gradient(cr, y, y + h, rgb(0x3E3F44), rgb(0x2C2D31));
  cairo_fill(cr);
}

void display_window(cairo_t *cr, double x, double y, double w, double h, double frame, Rgb glass) {
  cairo_new_path(cr);
  rounded_rect(cr, x - frame, y - frame, w + 2 * frame, h + 2 * frame, frame + 2);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, y - frame, 0, y + h + frame);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.07, 0.07, 0.08);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.30, 0.30, 0.33);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_new_path(cr);
  rounded_rect(cr, x, y, w, h, 2);
  set(cr, glass);
  cairo_fill(cr);
  // A faint shadow along the top and left inside edge.
  cairo_new_path(cr);
  cairo_move_to(cr, x + 1, y + h - 1);
  cairo_line_to(cr, x + 1, y + 1);
  cairo_line_to(cr, x + w - 1, y + 1);
  cairo_set_line_width(cr, 2);
  set(cr, kInk, 0.18);
  cairo_stroke(cr);
}

void triangle(cairo_t *cr, Point a, Point b, Point c, Rgb colour) {
  cairo_new_path(cr);
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  cairo_line_to(cr, c.x, c.y);
  cairo_close_path(cr);
  set(cr, colour);
  cairo_fill(cr);
}

void chevron(cairo_t *cr, Point c, double size, double thickness, double dir_deg, Rgb colour) {
  // Arrow head with its point at c + size/2 along dir, arms back at +-45 degrees.
  const Point tip = polar(c, size / 2, dir_deg);
  const Point back = polar(c, -size / 2, dir_deg);
  const Point a = polar(back, size * 0.7, dir_deg + 90);
  const Point b = polar(back, size * 0.7, dir_deg - 90);
  const Point tip_in = polar(tip, -thickness * 1.41, dir_deg);
  const Point a_in = polar(a, thickness, dir_deg);
  const Point b_in = polar(b, thickness, dir_deg);
  cairo_new_path(cr);
  cairo_move_to(cr, tip.x, tip.y);
  cairo_line_to(cr, a.x, a.y);
  cairo_line_to(cr, a_in.x, a_in.y);
  cairo_line_to(cr, tip_in.x, tip_in.y);
  cairo_line_to(cr, b_in.x, b_in.y);
  cairo_line_to(cr, b.x, b.y);
  cairo_close_path(cr);
  set(cr, colour);
  cairo_fill(cr);
}

void steering_arrow(cairo_t *cr, double w, double h, int index, Rgb colour) {
  const double cx = w / 2;
  const double cy = h / 2;
  cairo_rectangle(cr, cx - 2.5, cy - h * 0.42, 5, h * 0.84);
  set(cr, colour);
  cairo_fill(cr);
  const int count = index < 5 ? 5 - index : index - 5; // chevrons
  const double dir = index < 5 ? 180.0 : 0.0;
  const double step = std::min(16.0, (w / 2 - 8) / 4);
  for (int k = 1; k <= count; ++k) {
    const double x = index < 5 ? cx - 4 - step * k : cx + 4 + step * k;
    chevron(cr, {x, cy}, h * 0.52, std::max(2.5, h * 0.16), dir, colour);
  }
}

} // namespace art
