// Table-wide checks over every durnik gauge: the gauge list, header words,
// every element (bitmaps present, inside the root image, owned by its gauge)
// and every mouse child (inside the root image, answered by a handler or a key
// event). A bad row names its gauge and element.
#include <cstring>
#include <set>

#include "host/module_loader.h"
#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

const char *const kGauges[] = {"vsi", "alt", "asi", "cmp", "sti", "ai",
                               "gr",  "spl", "com", "bsw", "bdp"};
const std::set<std::string> kWithCallback = {"alt", "asi", "cmp", "ai", "gr", "spl", "com", "bsw"};

class TablesTest : public DurnikTest {};

TEST_F(TablesTest, GaugeListAndHeaders) {
  const std::vector<std::string> expected(std::begin(kGauges), std::end(kGauges));
  EXPECT_EQ(host.gauge_names("durnik"), expected);
  for (const char *name : kGauges) {
    gaugehost::PlacedGauge &g = place(name);
    EXPECT_EQ(g.module->linkage->link_version, 0x800u);
    EXPECT_EQ(g.header->header_version, 0x320u) << name;
    const uint32_t size = std::strcmp(name, "gr") == 0    ? 352
                          : std::strcmp(name, "spl") == 0 ? 510
                                                          : 100;
    EXPECT_EQ(g.header->default_size, size) << name;
    EXPECT_EQ(g.header->gauge_callback != nullptr, kWithCallback.count(name) == 1) << name;
    ASSERT_NE(g.header->elements, nullptr) << name;
    EXPECT_EQ(g.header->elements[1], nullptr) << name << " has exactly one root";
  }
}

TEST_F(TablesTest, EveryElementHasItsBitmapsAndLiesOnTheRootImage) {
  for (const char *name : kGauges) {
    gaugehost::PlacedGauge &g = place(name);
    const int width = static_cast<int>(g.root_image.width_px);
    const int height = static_cast<int>(g.root_image.height_px);
    ASSERT_GT(width, 0) << name << ": root bitmap missing";
    for (const gaugehost::ElementState &state : g.elements) {
      const Element *e = state.element;
      const std::string row = std::string(name) + "." + std::to_string(state.index);
      EXPECT_EQ(e->gauge, g.header) << row;
      EXPECT_TRUE(e->x >= 0 && e->x < width && e->y >= 0 && e->y < height)
          << row << " at " << e->x << "," << e->y << " outside " << width << "x" << height;
      EXPECT_EQ(e->failure, nullptr) << row;
      if (e->kind == kElementString) {
        const auto *s = reinterpret_cast<const StringElement *>(e);
        EXPECT_EQ(e->resource_id, -1) << row;
        EXPECT_STREQ(s->font_face, "Quartz") << row;
        EXPECT_EQ(s->font_weight, 400) << row;
        EXPECT_EQ(s->char_set, 1) << row;
        EXPECT_EQ(s->layout_flags, 0x25u) << row;
        EXPECT_EQ(s->sources[0].id, 1u) << row;
        EXPECT_EQ(s->highlight_colour, s->text_colour) << row;
        EXPECT_LE(e->x + s->box_width_px, width) << row;
        EXPECT_LE(e->y + s->box_height_px, height) << row;
        continue;
      }
      int images = 1;
      if (e->kind == kElementIcon) {
        images = reinterpret_cast<const IconElement *>(e)->image_count;
      }
      for (int i = 0; i < images; ++i) {
        EXPECT_TRUE(gaugehost::module_bitmap_size(*g.module, e->resource_id + i).has_value())
            << row << ": no bitmap 0x" << std::hex << e->resource_id + i;
      }
      if (e->kind == kElementNeedle) {
        const auto *n = reinterpret_cast<const NeedleElement *>(e);
        EXPECT_EQ(n->points == nullptr, n->point_count == 0) << row;
        for (int i = 1; i < n->point_count; ++i) {
          EXPECT_LT(n->points[i - 1].value, n->points[i].value) << row << " point " << i;
        }
      }
    }
  }
}

TEST_F(TablesTest, EveryMouseChildLiesOnTheRootImageAndDoesSomething) {
  for (const char *name : kGauges) {
    gaugehost::PlacedGauge &g = place(name);
    const int width = static_cast<int>(g.root_image.width_px);
    const int height = static_cast<int>(g.root_image.height_px);
    EXPECT_EQ(g.header->mouse_list[0].kind, kMouseParent) << name;
    int row = 0;
    for (const gaugehost::MouseTarget &t : g.mouse_targets) {
      const std::string where = std::string(name) + " mouse child " + std::to_string(row++);
      EXPECT_TRUE(t.x >= 0 && t.y >= 0 && t.x + t.width <= width && t.y + t.height <= height)
          << where << " box " << t.x << "," << t.y << " " << t.width << "x" << t.height;
      EXPECT_NE(t.rectangle->event_mask & kMouseClick, 0u) << where;
      EXPECT_TRUE(t.rectangle->handler != nullptr || t.rectangle->key_event != 0) << where;
      EXPECT_TRUE(t.rectangle->cursor == 1 || t.rectangle->cursor == 2 || t.rectangle->cursor == 5)
          << where;
    }
  }
}

} // namespace
} // namespace durnik_test
