// artpreview DIR
//
// Developer's look at the artwork: writes every registered bitmap to
// DIR/MODULE_ID.png and a few instruments put together with their needles at
// sample values (DIR/scene_NAME.png), following the renderer's rules in
// kit.h. Not part of the build's products.
#include "resources/art/artwork.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <numbers>
#include <string>

namespace {

using namespace art;

struct Layer {
  uint32_t id;
  double x, y;        // position
  double pivot_x = 0; // needle pivot; rotation centre
  double pivot_y = 0;
  double angle_deg = 0; // turn about the pivot (0: as drawn)
};

cairo_surface_t *render(const char *module, uint32_t id) {
  const Artwork *a = find_artwork(module, id);
  if (a == nullptr) {
    return nullptr;
  }
  Picture p(a->width_px, a->height_px);
  if (a->draw != nullptr) {
    a->draw(p);
  }
  // Copy out through a PNG-free route: paint onto a new surface.
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, a->width_px, a->height_px);
  cairo_t *cr = cairo_create(s);
  cairo_set_source_surface(cr, cairo_get_target(p.cr()), 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return s;
}

void scene(const std::string &dir, const char *name, const char *module, int w, int h,
           std::initializer_list<Layer> layers) {
  cairo_surface_t *out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t *cr = cairo_create(out);
  cairo_set_source_rgb(cr, 0.23, 0.24, 0.26);
  cairo_paint(cr);
  for (const Layer &l : layers) {
    cairo_surface_t *s = render(module, l.id);
    if (s == nullptr) {
      continue;
    }
    cairo_save(cr);
    cairo_translate(cr, l.x, l.y);
    cairo_rotate(cr, radians(l.angle_deg));
    cairo_set_source_surface(cr, s, -l.pivot_x, -l.pivot_y);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
  }
  cairo_surface_write_to_png(out, (dir + "/scene_" + name + ".png").c_str());
  cairo_destroy(cr);
  cairo_surface_destroy(out);
}

double table_angle(Point pivot, std::initializer_list<TablePoint> pts, double v) {
  return TableDial(pivot, std::span(pts.begin(), pts.size())).angle(v);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: artpreview DIR\n";
    return 2;
  }
  const std::string dir = argv[1];
  for (auto group : {velmar_nav_artwork(), velmar_companion_artwork(), durnik_dial_artwork(),
                     durnik_control_artwork(), ostrel_artwork()}) {
    for (const Artwork &a : group) {
      Picture p(a.width_px, a.height_px);
      if (a.draw != nullptr) {
        a.draw(p);
      }
      char name[64];
      std::snprintf(name, sizeof name, "/%s_%04X.png", a.module, a.id);
      p.write_png(dir + name);
    }
  }
  // clang-format off
  const Point vsi = {157, 157};
  const std::initializer_list<TablePoint> vsi_pts = {
      {-1280, 256, 241}, {0, 26, 157}, {1280, 256, 73}};
  scene(dir, "vsi", "durnik", 314, 314,
        {{0x1800, 0, 0},
         {0x1C01, 100, 90},
         {0x1D01, 148, 90},
         {0x1900, 157, 157, 13, 13, table_angle(vsi, vsi_pts, -1.5 * 256)},
         {0x1A00, 157, 157, 13, 13, table_angle(vsi, vsi_pts, 2.0 * 256)},
         {0x1B00, 250, 100},
         {0x1B01, 250, 170}});
  const std::initializer_list<TablePoint> asi_pts = {
      {0, 156, 291},   {27, 88, 275},   {54, 19, 156},   {81, 87, 37},
      {108, 225, 36},  {135, 294, 157}, {162, 225, 276}, {173, 156, 291}};
  scene(dir, "asi", "durnik", 314, 314,
        {{0x1800, 0, 0}, {0x1600, 0, 0}, {0x1700, 157, 157, 56, 11,
                                          table_angle(vsi, asi_pts, 100 / 1.852)}});
  const double alt_ft = 2350;
  scene(dir, "alt", "durnik", 314, 314,
        {{0x1000, 0, 0},
         {0x1100, 130, 178},
         {0x1200, 155, 159, 157, 157, std::fmod(1013 * 3.022, 360)},
         {0x1300, 155, 159, 35, 12, alt_ft * 0.0036 - 90},
         {0x1500, 155, 159, 50, 11, alt_ft * 0.036 - 90},
         {0x1400, 155, 159, 58, 11, alt_ft * 0.36 - 90}});
  scene(dir, "caf", "velmar", 315, 315,
        {{0x2200, 0, 0},
         {0x2400, 0, 0},
         {0x2300, 157, 159, 13, 13,
          table_angle({157, 159}, {{-1280, 221, 268}, {0, 31, 157}, {1280, 218, 47}}, 640)}});
  scene(dir, "sti", "durnik", 230, 230,
        {{0x2100, 0, 0},
         {0x2200, 102 + 40 * 0.585938, 112 - 40 * 0.085938},
         {0x2300, 115, 188, 13, 13,
          table_angle({115, 188},
                      {{-900, 40, 50}, {-546, 72, 26}, {0, 114, 15}, {546, 159, 26},
                       {900, 192, 50}},
                      546) -
              90}});
  scene(dir, "ai", "durnik", 352, 352,
        {{0x2400, 0, 0}, {0x2600, 176, 176, 150, 150, -20}});
  scene(dir, "yaw", "ostrel", 150, 150,
        {{0x1000, 0, 0},
         {0x1200, 77, 108, 1, 3,
          table_angle({77, 108}, {{-128, 149, 0}, {0, 75, 0}, {128, 0, 0}}, 30)}});
  scene(dir, "ballast", "ostrel", 200, 180,
        {{0x2000, 0, 0},
         {0x2001, 63, 140},
         {0x2100, 106, 106, 6, 12,
          table_angle({106, 106},
                      {{0, 24, 42}, {25, 68, 42}, {50, 103, 42}, {75, 139, 42}, {100, 183, 42}},
                      60)}});
  scene(dir, "mc", "velmar", 421, 151,
        {{0x2500, 0, 0},
         {0x2805, 105, 70},
         {0x2600, 338, 79, 2, 2,
          table_angle({338, 79}, {{-2560, 373, 80}, {0, 298, 79}, {2560, 373, 78}}, 700)},
         {0x2900, 60, 64, 2, 7, 40 - 90}});
  // clang-format on
  return 0;
}
