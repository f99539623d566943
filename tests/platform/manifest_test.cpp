// The manifest format of rescomp: what a line may hold and how faults are named.
#include <gtest/gtest.h>

#include "resources/manifest.h"

namespace {

using rescomp::ManifestKind;
using rescomp::parse_manifest;

TEST(Manifest, ReadsBitmapsSoundsCommentsAndBothNumberForms) {
  const std::string text = "# heading\n"
                           "\n"
                           "bitmap 0x2710 226 170  gpsnav background, # not a field\n"
                           "  sound 11264 climb_tone   lnav\r\n"
                           "bitmap 0x2C00 8 8   # a bitmap may share a sound's id\n";
  std::string error;
  const auto entries = parse_manifest(text, "m.res", &error);
  ASSERT_TRUE(entries) << error;
  ASSERT_EQ(entries->size(), 3u);
  EXPECT_EQ((*entries)[0].kind, ManifestKind::kBitmap);
  EXPECT_EQ((*entries)[0].id, 0x2710u);
  EXPECT_EQ((*entries)[0].width_px, 226u);
  EXPECT_EQ((*entries)[0].height_px, 170u);
  EXPECT_EQ((*entries)[0].line, 3);
  EXPECT_EQ((*entries)[1].kind, ManifestKind::kSound);
  EXPECT_EQ((*entries)[1].id, 0x2C00u);
  EXPECT_EQ((*entries)[1].generator, "climb_tone");
  EXPECT_EQ((*entries)[2].id, 0x2C00u);
}

TEST(Manifest, NamesTheFileAndLineOfEachFault) {
  struct Case {
    const char *text;
    const char *message;
  };
  const Case cases[] = {
      {"sound 0x2C00 climb_tone\n\nsound 0x2C00 sink_tone\n",
       "m.res:3: duplicate sound id 0x2C00 (first defined on line 1)"                                                                },
      {"picture 1 2 3\n",                                     "m.res:1: unknown resource kind \"picture\" (expected bitmap or sound)"},
      {"bitmap\n",                                            "m.res:1: bitmap line without an id"                                   },
      {"bitmap 0x 1 1\n",                                     "m.res:1: bad id \"0x\" (decimal or 0x hex, 0 to 0x7FFFFFFF)"          },
      {"bitmap 0x80000000 1 1\n",
       "m.res:1: bad id \"0x80000000\" (decimal or 0x hex, 0 to 0x7FFFFFFF)"                                                         },
      {"bitmap 5 10\n",                                       "m.res:1: bitmap 5 needs a width and a height"                         },
      {"bitmap 5 10 9000\n",                                  "m.res:1: bad bitmap size \"10 9000\" (1 to 8192 pixels each)"         },
      {"sound 5\n",                                           "m.res:1: sound 5 needs a generator name"                              },
  };

  for (const auto &c : cases) {
    std::string error;
    EXPECT_FALSE(parse_manifest(c.text, "m.res", &error)) << c.text;
    EXPECT_EQ(error, c.message);
  }
  std::string error;
  EXPECT_FALSE(parse_manifest("sound 1 whistle\n", "m.res", &error));
  EXPECT_EQ(error.rfind("m.res:1: unknown sound generator \"whistle\" (known: climb_tone, ", 0), 0u)
      << error;
}

} // namespace
