// The element tree and mouse list as the host reads them: every element and
// rectangle inside the faceplate, every image a bitmap of the module.
#include "host/module_loader.h"
#include "tests/velmar/gpsnav/gpsnav_fixture.h"

namespace gpsnav_test {
namespace {

using GaugeTable = GpsnavTest;

TEST_F(GaugeTable, ElementsLieOnTheFaceplateAndHaveTheirBitmaps) {
  const gaugehost::PlacedGauge &g = *gauge();
  ASSERT_EQ(g.elements.size(), 13u); // the faceplate and its twelve children
  EXPECT_EQ(g.root_image.width_px, 315u);
  EXPECT_EQ(g.root_image.height_px, 315u);
  for (const gaugehost::ElementState &state : g.elements) {
    const Element &e = *state.element;
    SCOPED_TRACE("element " + std::to_string(state.index));
    EXPECT_EQ(state.depth, state.index == 0 ? 0 : 1);
    EXPECT_GE(e.x, 0);
    EXPECT_GE(e.y, 0);
    int width = 0, height = 0;
    if (e.kind == kElementString) {
      const auto &s = reinterpret_cast<const StringElement &>(e);
      width = s.box_width_px;
      height = s.box_height_px;
      EXPECT_STREQ(s.font_face, "Quartz");
      EXPECT_GT(s.max_chars, 0);
      EXPECT_EQ(s.sources[0].id, 1u);
    } else {
      const int images =
          e.kind == kElementIcon ? reinterpret_cast<const IconElement &>(e).image_count : 1;
      for (int i = 0; i < images; ++i) {
        const auto size = gaugehost::module_bitmap_size(*g.module, e.resource_id + i);
        ASSERT_TRUE(size.has_value()) << std::hex << e.resource_id + i;
        width = std::max(width, static_cast<int>(size->width_px));
        height = std::max(height, static_cast<int>(size->height_px));
      }
    }
    EXPECT_LE(e.x + width, 315);
    EXPECT_LE(e.y + height, 315);
  }
}

TEST_F(GaugeTable, SixButtonsInsideTheFaceplate) {
  const auto &targets = gauge()->mouse_targets;
  ASSERT_EQ(targets.size(), 6u);
  for (size_t i = 0; i < targets.size(); ++i) {
    const gaugehost::MouseTarget &t = targets[i];
    SCOPED_TRACE("button " + std::to_string(i + 1));
    EXPECT_NE(t.rectangle->handler, nullptr);
    EXPECT_EQ(t.rectangle->cursor, 5);
    EXPECT_GE(t.x, 0);
    EXPECT_GE(t.y, 0);
    EXPECT_LE(t.x + t.width, 315);
    EXPECT_LE(t.y + t.height, 315);
    // Up and down (children 4 and 5) repeat while held.
    const bool stepping = i == 3 || i == 4;
    EXPECT_EQ((t.rectangle->event_mask & kMouseStepRepeat) != 0, stepping);
  }
}

} // namespace
} // namespace gpsnav_test
