// The companions' tables as velmar.so exports them: gauge order, element
// counts, every element inside its root image, every image id with a bitmap
// in resources/velmar.res, and the mouse lists. A bad row names itself.
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
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, id;
    Size size{};
    if (words >> kind >> id >> size.width_px >> size.height_px && kind == "bitmap") {
      sizes[std::stol(id, nullptr, 0)] = size;
    }
  }
  return sizes;
}

struct GaugeShape {
  const char *name;
  size_t element_count;
  uint32_t default_size;
  int32_t help_id;
};

class CompanionTables : public ::testing::Test {
protected:
  CompanionTables() : host(options()) {
    std::string error;
    EXPECT_TRUE(host.load_module("velmar", error)) << error;
  }
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  gaugehost::Host host;
};

TEST_F(CompanionTables, GaugeListEndsWithCafMcTest) {
  const auto names = host.gauge_names("velmar");
  ASSERT_GE(names.size(), 3u);
  const std::vector<std::string> tail(names.end() - 3, names.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"caf", "mc", "test"}));
}

TEST_F(CompanionTables, ElementsFitTheirRootAndHaveBitmaps) {
  const auto bitmaps = manifest_bitmaps();
  const GaugeShape shapes[] = {
      {.name = "caf",  .element_count = 3,  .default_size = 100, .help_id = 0xA306},
      {.name = "mc",   .element_count = 8,  .default_size = 100, .help_id = 0xA306},
      {.name = "test", .element_count = 11, .default_size = 226, .help_id = 0     },
  };
  for (const GaugeShape &shape : shapes) {
    std::string error;
    ASSERT_TRUE(host.place("velmar", shape.name, shape.name, error)) << error;
    gaugehost::PlacedGauge *gauge = host.gauge(shape.name);
    ASSERT_EQ(gauge->elements.size(), shape.element_count) << shape.name;
    EXPECT_EQ(gauge->header->default_size, shape.default_size) << shape.name;
    EXPECT_EQ(gauge->header->gauge_callback, nullptr) << shape.name;

    const Element *root = gauge->elements[0].element;
    ASSERT_TRUE(bitmaps.count(root->resource_id)) << shape.name << " root";
    const Size face = bitmaps.at(root->resource_id);
    for (const gaugehost::ElementState &state : gauge->elements) {
      const Element *e = state.element;
      const std::string row = std::string(shape.name) + "." + std::to_string(state.index);
      EXPECT_EQ(e->gauge, gauge->header) << row;
      EXPECT_TRUE(e->x >= 0 && e->x < face.width_px && e->y >= 0 && e->y < face.height_px) << row;
      if (e->kind == kElementString) {
        const auto *s = reinterpret_cast<const StringElement *>(e);
        EXPECT_LE(e->x + s->box_width_px, face.width_px) << row;
        EXPECT_LE(e->y + s->box_height_px, face.height_px) << row;
        EXPECT_EQ(s->sources[0].id, 1u) << row;
        EXPECT_STREQ(s->font_face, "Quartz") << row;
        EXPECT_NE(s->callback, nullptr) << row;
        continue;
      }
      ASSERT_TRUE(bitmaps.count(e->resource_id)) << row << " image";
      if (e->kind == kElementIcon) {
        const auto *icon = reinterpret_cast<const IconElement *>(e);
        for (int i = 0; i < icon->image_count; ++i) {
          ASSERT_TRUE(bitmaps.count(e->resource_id + i)) << row << " image " << i;
          const Size image = bitmaps.at(e->resource_id + i);
          EXPECT_LE(e->x + image.width_px, face.width_px) << row;
          EXPECT_LE(e->y + image.height_px, face.height_px) << row;
        }
      }
      if (e->kind == kElementNeedle) {
        const auto *needle = reinterpret_cast<const NeedleElement *>(e);
        const Size image = bitmaps.at(e->resource_id);
        EXPECT_TRUE(e->offset_x < image.width_px && e->offset_y < image.height_px) << row;
        for (int i = 0; i < needle->point_count; ++i) {
          const NonlinearityPoint &p = needle->points[i];
          EXPECT_TRUE(p.x >= 0 && p.x < face.width_px && p.y >= 0 && p.y < face.height_px)
              << row << " point " << i;
          if (i > 0) {
            EXPECT_GT(p.value, needle->points[i - 1].value) << row << " point " << i;
          }
        }
      }
    }

    // One parent over the whole gauge and nothing else.
    const MouseRectangle *mouse = gauge->header->mouse_list;
    EXPECT_EQ(mouse[0].kind, kMouseParent) << shape.name;
    EXPECT_EQ(mouse[0].help_id, shape.help_id) << shape.name;
    EXPECT_EQ(mouse[0].cursor, -1) << shape.name;
    EXPECT_EQ(mouse[1].kind, kMouseEndParent) << shape.name;
    EXPECT_TRUE(gauge->mouse_targets.empty()) << shape.name;
  }
}

} // namespace
} // namespace companions_test
