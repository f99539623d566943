// panel.cfg: a good panel and each kind of wrong line, named with file and line.
#include <gtest/gtest.h>

#include "host/panel_file.h"

namespace gaugehost {
namespace {

TEST(PanelFile, ReadsGaugeLinesAndNamesRepeats) {
  std::string error;
  const auto panel = parse_panel_file("; comment\n[Window]\ngauge00=velmar!gpsnav, 0, 0, 315, 315\n"
                                      "Gauge01 = ostrel!white, 400, 10, 150, 150 // trailing\n"
                                      "gauge02=ostrel!white, 600, 10, 150, 150\n[Other]\nx=y\n",
                                      "p.cfg", error);
  ASSERT_TRUE(panel) << error;
  ASSERT_EQ(panel->gauges.size(), 3u);
  EXPECT_EQ(panel->gauges[1].module, "ostrel");
  EXPECT_EQ(panel->gauges[1].placement, "white");
  EXPECT_EQ(panel->gauges[2].placement, "white_2");
  EXPECT_EQ(panel->width, 750);
  EXPECT_EQ(panel->height, 315);
}

TEST(PanelFile, WrongLinesNameFileLineAndFault) {
  struct Row {
    const char *text;
    const char *message;
  };
  const Row rows[] = {
      {"gauge00=velmar!gpsnav, 0, 0, 1, 1\n",                                         "p.cfg:0: no [Window] section"                         },
      {"[Window]\n",                                                                  "p.cfg:0: no gauge lines in the [Window] section"      },
      {"[Window\n",                                                                   "p.cfg:1: section header without ']'"                  },
      {"[Window]\ngauge00 velmar!gpsnav\n",
       "p.cfg:2: expected KEY=VALUE, got \"gauge00 velmar!gpsnav\""                                                                          },
      {"[Window]\ngauge00=velmar!gpsnav, 0, 0, 315\n",
       "p.cfg:2: gauge00: expected MODULE!GAUGE, X, Y, W, H (4 fields given)"                                                                },
      {"[Window]\ngauge00=gpsnav, 0, 0, 315, 315\n",
       "p.cfg:2: gauge00: \"gpsnav\" is not MODULE!GAUGE"                                                                                    },
      {"[Window]\ngauge00=velmar!gpsnav, 0, x, 315, 315\n",
       "p.cfg:2: gauge00: Y is not a whole number: \"x\""                                                                                    },
      {"[Window]\ngauge00=velmar!gpsnav, 0, 0, 0, 315\n",
       "p.cfg:2: gauge00: width and height must be positive"                                                                                 },
      {"[Window]\ngauge00=velmar!lnav, 0, 0, 1, 1\ngauge00=velmar!caf, 0, 0, 1, 1\n",
       "p.cfg:3: gauge00 is given twice (first on line 2)"                                                                                   },
      {"[Window]\nwindow_pos=0,0\n",                                                  "p.cfg:2: unknown key \"window_pos\" (gaugeNN or size)"},
  };
  for (const Row &row : rows) {
    std::string error;
    EXPECT_FALSE(parse_panel_file(row.text, "p.cfg", error)) << row.text;
    EXPECT_EQ(error, row.message) << row.text;
  }
}

} // namespace
} // namespace gaugehost
