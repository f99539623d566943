// Every gauge of ostrel as the host reads it: the gauge list, headers, every
// element against the bitmaps listed in resources/ostrel.res, and every
// mouse rectangle. A failing row names its gauge and element.
#include <fstream>
#include <map>
#include <sstream>

#include "ostrel_panel.h"

namespace ostrel_test {
namespace {

struct Size {
  int width = 0, height = 0;
};

// Bitmap lines of the resource list: "bitmap ID WIDTH HEIGHT [comment]".
std::map<int32_t, Size> listed_bitmaps() {
  std::map<int32_t, Size> out;
  std::ifstream in(std::string(GAUGE_SOURCE_DIR) + "/resources/ostrel.res");
  EXPECT_TRUE(in.good());
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, id;
    Size size;
    if (words >> kind >> id >> size.width >> size.height && kind == "bitmap") {
      out[static_cast<int32_t>(std::stol(id, nullptr, 0))] = size;
    }
  }
  return out;
}

struct GaugeRow {
  const char *name;
  uint32_t size; // default size
  bool callback; // has a GaugeCallback
  int elements;  // root included
  int rects;     // mouse children
};
// The module's gauge list, in order.
constexpr GaugeRow kGauges[] = {
    {.name = "white",      .size = 100, .callback = true,  .elements = 2,  .rects = 0},
    {.name = "red",        .size = 100, .callback = true,  .elements = 2,  .rects = 0},
    {.name = "blue",       .size = 100, .callback = true,  .elements = 2,  .rects = 0},
    {.name = "ballast",    .size = 80,  .callback = false, .elements = 3,  .rects = 9},
    {.name = "VETdisplay", .size = 226, .callback = false, .elements = 13, .rects = 0},
    {.name = "VETlamp",    .size = 100, .callback = true,  .elements = 2,  .rects = 1},
    {.name = "VETsetup",   .size = 100, .callback = false, .elements = 2,  .rects = 2},
    {.name = "VETswitch",  .size = 100, .callback = true,  .elements = 2,  .rects = 2},
};

TEST(OstrelTables, GaugeListInOrder) {
  OstrelPanel panel;
  std::vector<std::string> want;
  for (const GaugeRow &row : kGauges) {
    want.emplace_back(row.name);
  }
  EXPECT_EQ(panel.host().gauge_names("ostrel"), want);
}

TEST(OstrelTables, EveryElementAndRectangleFitsItsGauge) {
  const auto bitmaps = listed_bitmaps();
  OstrelPanel panel;
  panel.console("server absent"); // the whole module must run without FSUIPC
  for (const GaugeRow &row : kGauges) {
    SCOPED_TRACE(row.name);
    panel.place(row.name);
    gaugehost::PlacedGauge *g = panel.host().gauge(row.name);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->header->header_version, kHeaderVersion);
    EXPECT_EQ(g->header->default_size, row.size);
    EXPECT_EQ(g->header->gauge_callback != nullptr, row.callback);
    ASSERT_EQ(static_cast<int>(g->elements.size()), row.elements);

    const Element *root = g->elements[0].element;
    ASSERT_TRUE(bitmaps.count(root->resource_id)) << "root bitmap " << root->resource_id;
    const Size root_size = bitmaps.at(root->resource_id);
    for (const gaugehost::ElementState &state : g->elements) {
      SCOPED_TRACE("element " + std::to_string(state.index));
      const Element *e = state.element;
      EXPECT_EQ(e->gauge, g->header);
      EXPECT_EQ(e->failure, nullptr);
      EXPECT_GE(e->x, 0);
      EXPECT_GE(e->y, 0);
      EXPECT_LT(e->x, root_size.width);
      EXPECT_LT(e->y, root_size.height);
      int images = 1;
      if (e->kind == kElementIcon) {
        images = reinterpret_cast<const IconElement *>(e)->image_count;
      }
      if (e->kind == kElementString) {
        const auto *s = reinterpret_cast<const StringElement *>(e);
        EXPECT_EQ(e->resource_id, -1);
        EXPECT_STREQ(s->font_face, "Quartz");
        EXPECT_EQ(s->highlight_colour, s->text_colour);
        EXPECT_GT(s->max_chars, 0);
        EXPECT_LT(static_cast<size_t>(s->max_chars), kStringBufferBytes);
        continue;
      }
      for (int i = 0; i < images; ++i) {
        EXPECT_TRUE(bitmaps.count(e->resource_id + i)) << "bitmap " << e->resource_id + i;
      }
      if (e->kind == kElementNeedle) {
        const auto *n = reinterpret_cast<const NeedleElement *>(e);
        EXPECT_EQ(n->rate_limit, 6);
        ASSERT_NE(n->points, nullptr);
        for (int i = 0; i < n->point_count; ++i) {
          EXPECT_LT(n->points[i].x, root_size.width) << "point " << i;
          EXPECT_LT(n->points[i].y, root_size.height) << "point " << i;
        }
      }
    }

    EXPECT_EQ(static_cast<int>(g->mouse_targets.size()), row.rects);
    for (const gaugehost::MouseTarget &t : g->mouse_targets) {
      SCOPED_TRACE("rectangle at " + std::to_string(t.x) + "," + std::to_string(t.y));
      EXPECT_LT(t.x, root_size.width);
      EXPECT_LT(t.y, root_size.height);
      EXPECT_NE(t.rectangle->handler, nullptr);
      EXPECT_NE(t.rectangle->event_mask & kMouseClick, 0u);
      EXPECT_EQ(t.depth, 1);
    }
    // One parent covering the gauge, closed, then an end record.
    const MouseRectangle *list = g->header->mouse_list;
    EXPECT_EQ(list[0].kind, kMouseParent);
    EXPECT_EQ(list[0].width, 0);
    const int close = row.rects + 1;
    EXPECT_EQ(list[close].kind, kMouseEndParent);
    EXPECT_EQ(list[close + 1].kind, kMouseEnd);
  }
  // Every gauge at once: the three strings said "not linked", nothing else.
  EXPECT_EQ(panel.message_captions().size(), 3u);
  panel.token(0x3C, 1);
  panel.update(100);
  for (const auto &g : panel.host().gauges()) {
    EXPECT_EQ(g->cycles, 100u) << g->name;
  }
  EXPECT_TRUE(panel.message_captions().empty());
}

} // namespace
} // namespace ostrel_test
