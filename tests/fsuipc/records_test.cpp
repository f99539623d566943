// The request records and the answer walk, without a transport: the area is
// a plain buffer and the tests play the server by editing it.
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "fsuipc/records.h"

namespace fsuipc {
namespace {

uint32_t load32(const uint8_t *at) {
  uint32_t value;
  std::memcpy(&value, at, 4);
  return value;
}

void store32(uint8_t *at, uint32_t value) {
  std::memcpy(at, &value, 4);
}

struct Fixture : ::testing::Test {
  std::vector<uint8_t> area = std::vector<uint8_t>(0x8000, 0xEE);
  std::unique_ptr<RequestQueue> queue = std::make_unique<RequestQueue>();
  uint32_t result = 99;
  void SetUp() override { queue_open(*queue, area.data(), static_cast<uint32_t>(area.size())); }
};

using RecordsTest = Fixture;

TEST_F(RecordsTest, RecordsLieBackToBackUnalignedAndEndWithTerminator) {
  uint32_t destination = 0;
  const uint8_t odd[3] = {1, 2, 3};
  ASSERT_TRUE(queue_write(*queue, 0x1000, 3, odd, &result));
  ASSERT_TRUE(queue_read(*queue, 0x0B7C, 4, &destination, &result));
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(queue_seal(*queue), 12u + 3 + 16 + 4);

  EXPECT_EQ(load32(&area[0]), kRecordWrite);
  EXPECT_EQ(load32(&area[4]), 0x1000u);
  EXPECT_EQ(load32(&area[8]), 3u);
  EXPECT_EQ(area[12], 1);
  EXPECT_EQ(area[14], 3);
  // The read record starts at the odd position 15, its answer room zeroed.
  EXPECT_EQ(load32(&area[15]), kRecordRead);
  EXPECT_EQ(load32(&area[19]), 0x0B7Cu);
  EXPECT_EQ(load32(&area[23]), 4u);
  EXPECT_EQ(load32(&area[31]), 0u);
  EXPECT_EQ(load32(&area[35]), 0u); // terminator
  EXPECT_EQ(area[39], 0xEE);        // nothing written past it
}

TEST_F(RecordsTest, BoundRulesInTheFullArea) {
  // A read fits exactly when queued + n + 20 == 32512; one byte more is 15
  // and leaves the queue as it was.
  EXPECT_FALSE(queue_read(*queue, 0, 32512 - 20 + 1, nullptr, &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_EQ(queue->queued_bytes, 0u);
  EXPECT_TRUE(queue_read(*queue, 0, 32512 - 20, nullptr, &result));
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(area[32512 - 4], 0xEE) << "room for the terminator is left untouched";

  queue_reset(*queue);
  const std::vector<uint8_t> source(32512);
  EXPECT_FALSE(queue_write(*queue, 0, 32512 - 16 + 1, source.data(), &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_TRUE(queue_write(*queue, 0, 32512 - 16, source.data(), &result));

  // With something queued the margin counts from there.
  queue_reset(*queue);
  ASSERT_TRUE(queue_read(*queue, 0, 100, nullptr, &result)); // 116 bytes
  EXPECT_FALSE(queue_read(*queue, 0, 32512 - 116 - 20 + 1, nullptr, &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_EQ(queue->queued_bytes, 116u);
  EXPECT_EQ(queue->record_count, 1u);
  EXPECT_TRUE(queue_read(*queue, 0, 32512 - 116 - 20, nullptr, &result));
}

TEST_F(RecordsTest, SizesNearFourGigabytesAreRefusedNotWrapped) {
  // queued + size + 20 would wrap to a small number in 32 bits.
  ASSERT_TRUE(queue_read(*queue, 0, 8, nullptr, &result));
  EXPECT_FALSE(queue_read(*queue, 0, 0xFFFFFFFF - 20, nullptr, &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_FALSE(queue_write(*queue, 0, 0xFFFFFFF8, area.data(), &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_EQ(queue->queued_bytes, 24u);
}

TEST_F(RecordsTest, SmallAreaMarginsAndClosedQueue) {
  std::vector<uint8_t> small(16384);
  queue_open(*queue, small.data(), 16384);
  EXPECT_TRUE(queue_read(*queue, 0, 16384 - 20, nullptr, &result));
  queue_reset(*queue);
  EXPECT_FALSE(queue_read(*queue, 0, 16384 - 20 + 1, nullptr, &result));
  EXPECT_EQ(result, kResultSize);
  const std::vector<uint8_t> data(16384);
  EXPECT_TRUE(queue_write(*queue, 0, 16384 - 16, data.data(), &result));
  queue_reset(*queue);
  EXPECT_FALSE(queue_write(*queue, 0, 16384 - 16 + 1, data.data(), &result));
  EXPECT_EQ(result, kResultSize);

  queue_close(*queue);
  EXPECT_FALSE(queue_read(*queue, 0, 4, nullptr, &result));
  EXPECT_EQ(result, kResultNotOpen);
  EXPECT_FALSE(queue_write(*queue, 0, 4, data.data(), &result));
  EXPECT_EQ(result, kResultNotOpen);
}

TEST_F(RecordsTest, WriteDataIsCopiedWhenQueued) {
  uint32_t level = 0x800000;
  ASSERT_TRUE(queue_write(*queue, 0x0B7C, 4, &level, &result));
  level = 0x400000;
  ASSERT_TRUE(queue_write(*queue, 0x0B94, 4, &level, &result));
  EXPECT_EQ(load32(&area[12]), 0x800000u);
  EXPECT_EQ(load32(&area[16 + 12]), 0x400000u);
}

// Plays a server that answers every read with bytes 0xA0, 0xA1, ...
void answer_reads(RequestQueue &queue) {
  uint32_t at = 0;
  for (;;) {
    const uint32_t kind = load32(queue.area + at);
    const uint32_t size = load32(queue.area + at + 8);
    if (kind == kRecordRead) {
      for (uint32_t i = 0; i < size; ++i) {
        queue.area[at + 16 + i] = static_cast<uint8_t>(0xA0 + i);
      }
      at += 16 + size;
    } else if (kind == kRecordWrite) {
      at += 12 + size;
    } else {
      return;
    }
  }
}

TEST_F(RecordsTest, WalkDeliversReadsSkipsWritesAndHonoursEmptyReads) {
  uint32_t first = 0, second = 0;
  uint8_t untouched = 0x55;
  ASSERT_TRUE(queue_read(*queue, 1, 4, &first, &result));
  ASSERT_TRUE(queue_read(*queue, 2, 0, &untouched, &result)); // size 0: 16 bytes, no room
  EXPECT_EQ(queue->queued_bytes, 20u + 16u);
  ASSERT_TRUE(queue_write(*queue, 3, 2, &first, &result));
  ASSERT_TRUE(queue_read(*queue, 4, 4, nullptr, &result)); // answered, copied nowhere
  ASSERT_TRUE(queue_read(*queue, 5, 2, &second, &result));
  queue_seal(*queue);
  answer_reads(*queue);
  EXPECT_EQ(deliver_answers(*queue), 5u);
  EXPECT_EQ(first, 0xA3A2A1A0u);
  EXPECT_EQ(second, 0xA1A0u);
  EXPECT_EQ(untouched, 0x55);
}

// What a faulty server may leave in the area after the exchange.
TEST_F(RecordsTest, WalkStaysInsideQueuedRecordsWhateverTheServerLeaves) {
  uint32_t a = 1, b = 2, c = 3;
  bool a_answered = true, b_answered = true, c_answered = true;
  ASSERT_TRUE(queue_read(*queue, 1, 4, &a, &a_answered, &result)); // at 0
  ASSERT_TRUE(queue_read(*queue, 2, 4, &b, &b_answered, &result)); // at 20
  ASSERT_TRUE(queue_write(*queue, 3, 4, &c, &result));             // at 40
  ASSERT_TRUE(queue_read(*queue, 4, 4, &c, &c_answered, &result)); // at 56
  EXPECT_FALSE(a_answered || b_answered || c_answered) << "not before a walk";
  queue_seal(*queue);
  answer_reads(*queue);

  struct Case {
    const char *name;
    uint32_t at;
    uint32_t value;
    uint32_t walked;   // records walked before the stop
    bool kind_cleared; // the spoilt kind is overwritten with 0
  };
  const Case cases[] = {
      {"unknown kind on the second read", 20, 7,            1, true },
      {"read turned into a write",        20, kRecordWrite, 1, false},
      {"write turned into a read",        40, kRecordRead,  2, false},
      {"read size grown past the area",   28, 0xFFFFFFF0,   1, false},
      {"read size shrunk",                28, 2,            1, false},
      {"write size grown",                48, 0x10000,      2, false},
      {"terminator replaced by a read",   76, kRecordRead,  4, false},
  };
  const std::vector<uint8_t> answered(area.begin(), area.begin() + 128);
  for (const Case &k : cases) {
    std::copy(answered.begin(), answered.end(), area.begin());
    store32(&area[k.at], k.value);
    a = b = c = 0;
    a_answered = b_answered = c_answered = false;
    EXPECT_EQ(deliver_answers(*queue), k.walked) << k.name;
    EXPECT_TRUE(a_answered) << k.name;
    EXPECT_EQ(b_answered, k.walked >= 2) << k.name;
    EXPECT_EQ(c_answered, k.walked >= 4) << k.name;
    EXPECT_EQ(a, 0xA3A2A1A0u) << k.name << ": earlier answers are still delivered";
    EXPECT_EQ(b, k.walked >= 2 ? 0xA3A2A1A0u : 0u) << k.name;
    EXPECT_EQ(c, k.walked >= 4 ? 0xA3A2A1A0u : 0u) << k.name;
    if (k.kind_cleared) {
      EXPECT_EQ(load32(&area[k.at]), 0u) << k.name;
    }
  }
}

TEST_F(RecordsTest, TerminatorWrittenByServerEndsWalkEarly) {
  uint32_t a = 0, b = 0;
  ASSERT_TRUE(queue_read(*queue, 1, 4, &a, &result));
  ASSERT_TRUE(queue_read(*queue, 2, 4, &b, &result));
  queue_seal(*queue);
  answer_reads(*queue);
  store32(&area[20], 0);
  EXPECT_EQ(deliver_answers(*queue), 1u);
  EXPECT_NE(a, 0u);
  EXPECT_EQ(b, 0u);
}

TEST_F(RecordsTest, AreaFullOfSmallestRecords) {
  // 2709 empty writes fill the area to the last byte the bound allows.
  uint32_t queued = 0;
  while (queue_write(*queue, 0, 0, nullptr, &result)) {
    ++queued;
  }
  EXPECT_EQ(result, kResultSize);
  EXPECT_EQ(queued, kMaxRecords);
  EXPECT_EQ(queue_seal(*queue), 32512u - 4);
  EXPECT_EQ(deliver_answers(*queue), kMaxRecords);
}

} // namespace
} // namespace fsuipc
