// gr and spl through the host: lever positions, the up command's condition,
// the airbrake drag and the sounds at the ends of travel.
#include <algorithm>

#include "platform/fssound/fssound_host.h"
#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

constexpr int kLever = 1; // the shift element of both gauges

TEST_F(DurnikTest, GrLeverMovesOnlyAtItsTwoEnds) {
  place("gr");
  const struct {
    double position;
    double x;
    double y;
  } steps[] = {
      {0.0,     0.0,   0.0  },
      {8000.0,  0.0,   0.0  },
      {16383.0, 224.0, 190.0},
      {8000.0,  224.0, 190.0},
      {16384.0, 224.0, 190.0},
      {0.0,     0.0,   0.0  },
  };
  for (const auto &s : steps) {
    host.set_token(0x14B, s.position);
    host.update(1);
    EXPECT_EQ(value("gr", kLever, 0), s.x) << "position " << s.position;
    EXPECT_EQ(value("gr", kLever, 1), s.y) << "position " << s.position;
  }
}

TEST_F(DurnikTest, GrUpCommandWaitsForTheFlagDownCommandNever) {
  place("gr");
  host.set_token(0x3C, 1.0);
  click("gr", 100, 100);
  EXPECT_TRUE(keys().empty()) << "up refused while token 0x3C is non-zero";
  click("gr", 250, 300);
  EXPECT_EQ(keys(), (KeyList{
                        {0x100A4, 16383}
  }));
  host.set_token(0x3C, 0.0);
  click("gr", 100, 100);
  click("gr", 250, 300);
  EXPECT_EQ(keys(), (KeyList{
                        {0x100A4, 0    },
                        {0x100A4, 16383}
  }));
  click("gr", 250, 100); // between the two children
  EXPECT_TRUE(keys().empty());
}

TEST_F(DurnikTest, SplDragCommandsAlongTheSlotAndMovesThePictureAtOnce) {
  place("spl");
  host.update(1);
  const struct {
    int x;
    int32_t command;
    double picture_x;
    double picture_y;
  } clicks[] = {
      {0,   16320, -268.0, 224.0}, // p = 510 at the left edge
      {255, 8160,  -134.0, 112.0},
      {100, 13120, -215.0, 180.0},
      {509, 32,    0.0,    0.0  },
  };
  for (const auto &c : clicks) {
    click("spl", c.x, 100, 0x20800000);
    EXPECT_EQ(keys(), (KeyList{
                          {0x100FA, c.command}
    }))
        << "x " << c.x;
    host.update(1); // the token has not changed: the picture stays where the drag put it
    EXPECT_EQ(value("spl", kLever, 0), c.picture_x) << "x " << c.x;
    EXPECT_EQ(value("spl", kLever, 1), c.picture_y) << "x " << c.x;
  }
  host.set_token(0x145, 8192.0);
  host.update(1);
  EXPECT_EQ(value("spl", kLever, 0), -128.0) << "the token repositions the picture";
  EXPECT_EQ(value("spl", kLever, 1), 106.0);
}

TEST_F(DurnikTest, SplIgnoresADragBeforeItKnowsTheSlotWidth) {
  gaugehost::PlacedGauge &spl = place("spl");
  // A host whose slot image has no size delivers width 0 at service 5.
  spl.root_image.width_px = 0;
  spl.header->gauge_callback(spl.header, 5, 0);
  click("spl", 255, 100);
  EXPECT_TRUE(keys().empty());
  host.update(1);
  EXPECT_EQ(value("spl", kLever, 0), 0.0);
}

// Plays of one sound resource in the sound library's log since the last take.
int plays_of(const std::vector<fssound::CallRecord> &calls, int32_t resource_id) {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto &c) {
    return c.op == "sound_play" && c.resource_id == resource_id;
  }));
}

constexpr int32_t kClosingSound = 0x2D00;
constexpr int32_t kOpeningSound = 0x2E00;

TEST_F(DurnikTest, SplSoundsOncePerArrivalAtAnEnd) {
  fssound::take_calls();
  place("spl");
  auto calls = fssound::take_calls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const auto &c) { return c.op == "sound_load" && c.result == 1; }),
            2)
      << "both sounds load at service 3";
  host.update(3);
  EXPECT_TRUE(fssound::take_calls().empty()) << "closed at start: no move, no sound";

  const struct {
    double position;
    int closing;
    int opening;
  } steps[] = {
      {8000.0,  0, 0},
      {16383.0, 0, 1},
      {16382.0, 0, 0},
      {16383.0, 0, 1},
      {0.0,     1, 0},
  };
  for (const auto &s : steps) {
    host.set_token(0x145, s.position);
    host.update(3);
    calls = fssound::take_calls();
    EXPECT_EQ(plays_of(calls, kClosingSound), s.closing) << "to " << s.position;
    EXPECT_EQ(plays_of(calls, kOpeningSound), s.opening) << "to " << s.position;
  }
  std::string error;
  ASSERT_TRUE(host.remove("spl", error)) << error;
  calls = fssound::take_calls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const auto &c) { return c.op == "sound_release"; }),
            2);
}

TEST_F(DurnikTest, SplStartedFullyOpenPlaysTheOpeningSoundOnTheFirstUpdate) {
  host.set_token(0x145, 16383.0);
  place("spl");
  fssound::take_calls();
  host.update(1);
  EXPECT_EQ(plays_of(fssound::take_calls(), kOpeningSound), 1);
  host.update(5);
  EXPECT_EQ(plays_of(fssound::take_calls(), kOpeningSound), 0);
}

// Two placements of spl share one pair of sounds: loaded by the first,
// released by the last, never loaded over while held.
TEST_F(DurnikTest, SplPlacedTwiceLoadsOnceAndTheLastRemovalReleases) {
  const auto count = [](const std::vector<fssound::CallRecord> &calls, const char *op) {
    return std::count_if(calls.begin(), calls.end(),
                         [&](const auto &c) { return c.op == op && c.error.empty(); });
  };
  fssound::take_calls();
  const struct {
    const char *placement;
    bool place;
    int loads;
    int releases;
  } steps[] = {
      {"spl",  true,  2, 0},
      {"spl2", true,  0, 0},
      {"spl",  false, 0, 0},
      {"spl2", false, 0, 2},
      {"spl",  true,  2, 0},
  };
  for (const auto &s : steps) {
    std::string error;
    ASSERT_TRUE(s.place ? host.place("durnik", "spl", s.placement, error)
                        : host.remove(s.placement, error))
        << error;
    const auto calls = fssound::take_calls();
    EXPECT_EQ(count(calls, "sound_load"), s.loads) << s.placement << " " << s.place;
    EXPECT_EQ(count(calls, "sound_release"), s.releases) << s.placement << " " << s.place;
    EXPECT_EQ(calls.size(), static_cast<size_t>(s.loads + s.releases)) << "no failed call";
  }
}

} // namespace
} // namespace durnik_test
