// com through the host: the frequency display, every button, the carry and
// borrow of the fine knob, and the memories. The console host applies no key
// event, so each test sets the frequency token as the host would.
#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

// Elements, depth-first.
constexpr int kVolumeKnob = 1;
constexpr int kSelectorKnob = 2;
constexpr int kCoarseKnob = 3;
constexpr int kFineKnob = 4;
constexpr int kDisplay = 5;

struct Button {
  int x;
  int y;
};
constexpr Button kNoAction = {60, 20};
constexpr Button kVolumeUp = {125, 20};
constexpr Button kVolumeDown = {100, 20};
constexpr Button kSelectorUp = {60, 180};
constexpr Button kSelectorDown = {40, 180};
constexpr Button kStore = {170, 30};
constexpr Button kCoarseUp = {190, 200};
constexpr Button kCoarseDown = {130, 200};
constexpr Button kFineUp = {170, 200};
constexpr Button kFineDown = {150, 200};

constexpr uint32_t kMhzDown = 0x10064, kMhzUp = 0x10065;
constexpr uint32_t kFractionDown = 0x10066, kFractionUp = 0x10067;
constexpr uint32_t kSet = 0x100AB;

class ComTest : public DurnikTest {
protected:
  ComTest() { place("com"); }
  void press(Button b, int times = 1) {
    for (int i = 0; i < times; ++i) {
      click("com", b.x, b.y);
    }
  }
  void tune(uint32_t frequency_bcd) { host.set_token(0x17, frequency_bcd); }
};

TEST_F(ComTest, DisplayShowsTheBcdFrequency) {
  const struct {
    uint32_t bcd;
    const char *text;
  } cases[] = {
      {0x2310,     "123.10"},
      {0x0000,     "100.00"},
      {0x1835,     "118.35"},
      {0x00AF,     "101.15"}, // nibbles above 9 add their value
      {0x9999,     "199.99"},
      {0xFFFFFFFF, "---.--"},
  };
  for (const auto &c : cases) {
    tune(c.bcd);
    host.update(1);
    EXPECT_EQ(text("com", kDisplay), c.text) << std::hex << c.bcd;
  }
}

TEST_F(ComTest, FineKnobCarriesAtPoint95AndBorrowsAtPoint00) {
  const struct {
    Button button;
    uint32_t bcd;
    KeyList expected;
  } cases[] = {
      {kFineUp,     0x2295, {{kFractionUp, 0}, {kMhzUp, 0}}    },
      {kFineUp,     0x2290, {{kFractionUp, 0}}                 },
      {kFineUp,     0x2297, {{kFractionUp, 0}}                 },
      {kFineUp,     0x2300, {{kFractionUp, 0}}                 },
      {kFineDown,   0x2300, {{kFractionDown, 0}, {kMhzDown, 0}}},
      {kFineDown,   0x2305, {{kFractionDown, 0}}               },
      {kFineDown,   0x2295, {{kFractionDown, 0}}               },
      {kCoarseUp,   0x2295, {{kMhzUp, 0}}                      },
      {kCoarseDown, 0x2300, {{kMhzDown, 0}}                    },
  };
  for (const auto &c : cases) {
    tune(c.bcd);
    press(c.button);
    EXPECT_EQ(keys(), c.expected) << "at " << std::hex << c.bcd;
  }
}

TEST_F(ComTest, MemorySelectorStartsBeyondTheSlotsAndSendsEachSlot) {
  press(kSelectorUp);
  EXPECT_TRUE(keys().empty()) << "up from beyond the last slot";
  press(kSelectorDown, 5);
  EXPECT_EQ(keys(),
            (KeyList{
                {kSet, 0x2070},
                {kSet, 0x1835},
                {kSet, 0x2210},
                {kSet, 0x1930},
                {kSet, 0x1930}
  }))
      << "slots 3, 2, 1, 0, and slot 0 again";
  host.update(1);
  EXPECT_EQ(value("com", kSelectorKnob), -165.0);
  press(kSelectorUp, 5);
  EXPECT_EQ(keys(), (KeyList{
                        {kSet, 0x2210},
                        {kSet, 0x1835},
                        {kSet, 0x2070}
  }))
      << "slots 1, 2, 3, then beyond without a send";
  host.update(1);
  EXPECT_EQ(value("com", kSelectorKnob), -45.0);
}

TEST_F(ComTest, StoreKeepsTheHostFrequencyInTheSelectedSlot) {
  tune(0x2455);
  press(kStore);
  EXPECT_TRUE(keys().empty()) << "beyond the slots nothing is stored";
  press(kSelectorDown, 3); // slot 1
  keys();
  press(kStore);
  EXPECT_EQ(keys(), (KeyList{
                        {kSet, 0x2455}
  }));
  tune(0x1800);
  press(kSelectorUp);
  press(kSelectorDown);
  EXPECT_EQ(keys(), (KeyList{
                        {kSet, 0x1835},
                        {kSet, 0x2455}
  }));
}

TEST_F(ComTest, KnobPicturesWrapAndTwentyFineStepsMoveTheCoarseKnob) {
  tune(0x2310);
  press(kFineUp, 20);
  host.update(1);
  EXPECT_EQ(value("com", kFineKnob), -135.0) << "fine knob back at its start";
  EXPECT_EQ(value("com", kCoarseKnob), 19.0) << "coarse knob one position on";
  press(kFineDown);
  host.update(1);
  EXPECT_EQ(value("com", kFineKnob), 19 * 18.0 - 135.0);
  EXPECT_EQ(value("com", kCoarseKnob), 0.0);
  press(kCoarseDown);
  host.update(1);
  EXPECT_EQ(value("com", kCoarseKnob), 18 * 19.0) << "0 steps back to 18";
  press(kCoarseUp);
  host.update(1);
  EXPECT_EQ(value("com", kCoarseKnob), 0.0) << "18 steps on to 0";
}

TEST_F(ComTest, VolumeStopsAtNineAndZeroAndTheBlankButtonDoesNothing) {
  press(kVolumeUp, 12);
  host.update(1);
  EXPECT_EQ(value("com", kVolumeKnob), 9 * 30.0 + 90.0);
  press(kVolumeDown, 12);
  press(kNoAction);
  host.update(1);
  EXPECT_EQ(value("com", kVolumeKnob), 90.0);
  EXPECT_TRUE(keys().empty());
}

} // namespace
} // namespace durnik_test
