// The companions' tables as velmar.so exports them: every element inside its
// root image, every image id with a bitmap in resources/velmar.res, one mouse
// parent and nothing else. A bad row names itself.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/host.h"

namespace companions_test {
namespace {

struct Size {
  int width_px;
  int height_px;
};

// Bitmap sizes from the module's resource manifest ("bitmap ID W H ...").
std::map<long, Size> manifest_bitmaps() {
  std::map<long, Size> sizes;
  std::ifstream in(std::string(GAUGE_SOURCE_DIR) + "/resources/velmar.res");
  std::string line, kind, id;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    Size size{};
    if (words >> kind >> id >> size.width_px >> size.height_px && kind == "bitmap") {
      sizes[std::stol(id, nullptr, 0)] = size;
    }
  }
  return sizes;
}

bool inside(int x, int y, int w, int h, Size face) {
  return x >= 0 && y >= 0 && x + w <= face.width_px && y + h <= face.height_px;
}

TEST(CompanionTables, GaugesFitTheirFacesAndHaveTheirBitmaps) {
  gaugehost::HostOptions options;
  options.module_dir = GAUGE_MODULE_DIR;
  gaugehost::Host host(options);
  std::string error;
  ASSERT_TRUE(host.load_module("velmar", error)) << error;
  EXPECT_EQ(host.gauge_names("velmar"),
            (std::vector<std::string>{"gpsnav", "lnav", "caf", "mc", "test"}));

  const auto bitmaps = manifest_bitmaps();
  for (const char *name : {"caf", "mc", "test"}) {
    ASSERT_TRUE(host.place("velmar", name, name, error)) << error;
    const gaugehost::PlacedGauge *gauge = host.gauge(name);
    const int32_t face_id = gauge->elements[0].element->resource_id;
    ASSERT_TRUE(bitmaps.count(face_id)) << name << " face";
    const Size face = bitmaps.at(face_id);
    for (const gaugehost::ElementState &state : gauge->elements) {
      const Element *e = state.element;
      const std::string row = std::string(name) + "." + std::to_string(state.index);
      EXPECT_EQ(e->gauge, gauge->header) << row;
      if (e->kind == kElementString) {
        const auto *s = reinterpret_cast<const StringElement *>(e);
        EXPECT_TRUE(inside(e->x, e->y, s->box_width_px, s->box_height_px, face)) << row;
      } else if (e->kind == kElementIcon) {
        const auto *icon = reinterpret_cast<const IconElement *>(e);
        for (int i = 0; i < icon->image_count; ++i) {
          ASSERT_TRUE(bitmaps.count(e->resource_id + i)) << row << " image " << i;
          const Size image = bitmaps.at(e->resource_id + i);
          EXPECT_TRUE(inside(e->x, e->y, image.width_px, image.height_px, face)) << row;
        }
      } else if (e->kind == kElementNeedle) {
        // A needle turns about its pivot: the pivot lies on the face and in the bitmap.
        const auto *needle = reinterpret_cast<const NeedleElement *>(e);
        ASSERT_TRUE(bitmaps.count(e->resource_id)) << row;
        const Size image = bitmaps.at(e->resource_id);
        EXPECT_TRUE(inside(e->x, e->y, 0, 0, face)) << row;
        EXPECT_TRUE(e->offset_x < image.width_px && e->offset_y < image.height_px) << row;
        for (int i = 0; i < needle->point_count; ++i) {
          EXPECT_TRUE(inside(needle->points[i].x, needle->points[i].y, 0, 0, face)) << row;
        }
      }
    }
    const MouseRectangle *mouse = gauge->header->mouse_list;
    EXPECT_EQ(mouse[0].kind, kMouseParent) << name;
    EXPECT_EQ(mouse[1].kind, kMouseEndParent) << name;
    EXPECT_TRUE(gauge->mouse_targets.empty()) << name;
  }
}

} // namespace
} // namespace companions_test
