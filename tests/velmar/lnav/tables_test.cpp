// lnav's tables as velmar.so exports them: its place in the gauge list, the
// chain of 23 elements, every element inside the face with its bitmaps in
// resources/velmar.res, and the seven buttons. A bad row names itself.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "host/host.h"

namespace lnav_test {
namespace {

struct Size {
  int width_px;
  int height_px;
};

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

bool inside(int x, int y, int w, int h, const Size &face) {
  return x >= 0 && y >= 0 && x + w <= face.width_px && y + h <= face.height_px;
}

class LnavTables : public ::testing::Test {
protected:
  LnavTables() : host_(options()) {
    std::string error;
    EXPECT_TRUE(host_.load_module("velmar", error)) << error;
    EXPECT_TRUE(host_.place("velmar", "lnav", "lnav", error)) << error;
  }
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  gaugehost::Host host_;
};

TEST_F(LnavTables, LnavFollowsGpsnavOrLeadsTheList) {
  const auto names = host_.gauge_names("velmar");
  ASSERT_GE(names.size(), 2u);
  EXPECT_TRUE(names[0] == "lnav" || (names[0] == "gpsnav" && names[1] == "lnav")) << names[0];
}

TEST_F(LnavTables, ElementChainLiesOnTheFace) {
  const auto bitmaps = manifest_bitmaps();
  gaugehost::PlacedGauge *lnav = host_.gauge("lnav");
  ASSERT_EQ(lnav->elements.size(), 23u);
  EXPECT_EQ(lnav->header->header_version, 0x320u);
  EXPECT_EQ(lnav->header->default_size, 100u);
  EXPECT_NE(lnav->header->gauge_callback, nullptr);
  ASSERT_TRUE(bitmaps.count(0x1600));
  const Size face = bitmaps.at(0x1600);
  EXPECT_EQ(lnav->root_image.width_px, 315u);

  const int32_t kinds[] = {0, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4, 3, 4, 4, 4, 4};
  int strings_with_source = 0;
  for (const gaugehost::ElementState &state : lnav->elements) {
    const Element *e = state.element;
    const std::string row = "element " + std::to_string(state.index + 1);
    EXPECT_EQ(e->kind, kinds[state.index]) << row;
    EXPECT_EQ(state.depth, state.index) << row << ": each the only child of the one before";
    EXPECT_EQ(e->gauge, lnav->header) << row;
    if (e->kind == kElementString) {
      const auto *s = reinterpret_cast<const StringElement *>(e);
      EXPECT_EQ(e->resource_id, -1) << row;
      EXPECT_TRUE(inside(e->x, e->y, s->box_width_px, s->box_height_px, face)) << row;
      EXPECT_STREQ(s->font_face, "Quartz") << row;
      EXPECT_EQ(s->box_width_px, 15 * s->max_chars) << row; // 15 px per character
      strings_with_source += s->sources[0].id == 1 ? 1 : 0;
    } else if (e->kind != kElementStaticImage) {
      const int images =
          e->kind == kElementIcon ? reinterpret_cast<const IconElement *>(e)->image_count : 1;
      for (int i = 0; i < images; ++i) {
        ASSERT_TRUE(bitmaps.count(e->resource_id + i)) << row << " image " << i;
        const Size image = bitmaps.at(e->resource_id + i);
        EXPECT_TRUE(inside(e->x, e->y, image.width_px, image.height_px, face)) << row;
      }
    }
  }
  EXPECT_EQ(strings_with_source, 11 - 4);
}

TEST_F(LnavTables, SevenButtonsInsideTheFace) {
  gaugehost::PlacedGauge *lnav = host_.gauge("lnav");
  const MouseRectangle *mouse = lnav->header->mouse_list;
  EXPECT_EQ(mouse[0].kind, kMouseParent);
  EXPECT_EQ(mouse[0].help_id, 0xAB32);
  ASSERT_EQ(lnav->mouse_targets.size(), 7u);
  int stepping = 0;
  for (size_t i = 0; i < lnav->mouse_targets.size(); ++i) {
    const gaugehost::MouseTarget &t = lnav->mouse_targets[i];
    const std::string row = "button " + std::to_string(i + 1);
    EXPECT_TRUE(inside(t.x, t.y, t.width, t.height, {315, 315})) << row;
    EXPECT_NE(t.rectangle->handler, nullptr) << row;
    EXPECT_NE(t.rectangle->event_mask & 0x20000000u, 0u) << row;
    stepping += (t.rectangle->event_mask & 0x00200000u) != 0 ? 1 : 0;
    for (size_t j = 0; j < i; ++j) {
      const gaugehost::MouseTarget &o = lnav->mouse_targets[j];
      const bool overlap = t.x < o.x + o.width && o.x < t.x + t.width && t.y < o.y + o.height &&
                           o.y < t.y + t.height;
      EXPECT_FALSE(overlap) << row << " overlaps button " << j + 1;
    }
  }
  EXPECT_EQ(stepping, 4); // the knob halves, increase and decrease
  EXPECT_EQ(mouse[8].kind, kMouseEndParent);
}

} // namespace
} // namespace lnav_test
