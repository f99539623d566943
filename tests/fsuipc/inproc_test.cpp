// ostrel's in-process client (compiled in here from its source) against the
// offset server in this process: message 0x47F with the area's address.
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "ostrel/fsuipc_inproc.h"
#include "ostrel/fsuipc_link.h"
#include "platform/fsuipc_server/offset_server.h"
#include "platform/os/os.h"
#include "tests/fsuipc/test_support.h"

namespace ostrel {
namespace {

using fsuipc_server::FaultMode;

const fsuipc_test::IsolatedRuntimeDir runtime_dir;

struct InProcTest : ::testing::Test {
  fsuipc_server::OffsetServer server;
  uint32_t result = 99;
  void SetUp() override { os_clock_use_virtual(1780308000000); }
  void TearDown() override { InProcDisconnect(); }
  bool connect(uint32_t required = 0) {
    return InProcConnect(required, &result, fsuipc_area, kRequestAreaBytes) != 0;
  }
};

TEST_F(InProcTest, ConnectExchangeDisconnect) {
  ASSERT_TRUE(connect());
  EXPECT_EQ(result, fsuipc::kResultOk);
  EXPECT_EQ(server.client_library_version(), 1100);
  EXPECT_EQ(os_clock_now_ms(), 1780308000000) << "one try, no pause";

  EXPECT_FALSE(connect());
  EXPECT_EQ(result, fsuipc::kResultOpen);

  uint32_t level = 0x600000, read_back = 0, copy = 0;
  ASSERT_TRUE(InProcQueueWrite(fsuipc::kOffsetTank1Level, 4, &level, &result));
  level = 0x100000;
  ASSERT_TRUE(InProcQueueWrite(fsuipc::kOffsetTank2Level, 4, &level, &result));
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank1Level, 4, &read_back, &result));
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank2Level, 4, nullptr, &result));
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank2Level, 4, &copy, &result));
  ASSERT_TRUE(InProcExchange(&result));
  EXPECT_EQ(read_back, 0x600000u);
  EXPECT_EQ(copy, 0x100000u);
  EXPECT_EQ(server.read(fsuipc::kOffsetTank2Level, 4), 0x100000u);

  EXPECT_FALSE(InProcExchange(&result));
  EXPECT_EQ(result, fsuipc::kResultNoData);
  InProcDisconnect();
  EXPECT_FALSE(InProcQueueRead(0, 4, &copy, &result));
  EXPECT_EQ(result, fsuipc::kResultNotOpen);
  EXPECT_FALSE(InProcQueueWrite(0, 4, &copy, &result));
  EXPECT_EQ(result, fsuipc::kResultNotOpen);
  EXPECT_FALSE(InProcExchange(&result));
  EXPECT_EQ(result, fsuipc::kResultNotOpen);
}

TEST_F(InProcTest, AreaMustBeGivenAndAtLeast32Bytes) {
  uint8_t small[32];
  EXPECT_FALSE(InProcConnect(0, &result, nullptr, 16384));
  EXPECT_EQ(result, fsuipc::kResultView);
  EXPECT_FALSE(InProcConnect(0, &result, small, 31));
  EXPECT_EQ(result, fsuipc::kResultView);
  // 32 bytes take the two version reads (2 x 20) only with no room left:
  // the connect's own queueing refuses with 15.
  EXPECT_FALSE(InProcConnect(0, &result, small, 32));
  EXPECT_EQ(result, fsuipc::kResultSize);
}

TEST_F(InProcTest, BoundRulesOfTheModuleArea) {
  ASSERT_TRUE(connect());
  std::vector<uint8_t> data(16384);
  EXPECT_TRUE(InProcQueueRead(0x2000, 16384 - 20, data.data(), &result));
  ASSERT_TRUE(InProcExchange(&result));
  EXPECT_FALSE(InProcQueueRead(0x2000, 16384 - 20 + 1, data.data(), &result));
  EXPECT_EQ(result, fsuipc::kResultSize);
  EXPECT_TRUE(InProcQueueWrite(0x2000, 16384 - 16, data.data(), &result));
  ASSERT_TRUE(InProcExchange(&result));
  EXPECT_FALSE(InProcQueueWrite(0x2000, 16384 - 16 + 1, data.data(), &result));
  EXPECT_EQ(result, fsuipc::kResultSize);
}

TEST_F(InProcTest, LargerAreaIsUsedOnlyUpTo32512Bytes) {
  std::vector<uint8_t> area(40000);
  ASSERT_TRUE(InProcConnect(0, &result, area.data(), static_cast<uint32_t>(area.size())));
  std::vector<uint8_t> data(32512);
  EXPECT_FALSE(InProcQueueRead(0, 32512 - 20 + 1, data.data(), &result));
  EXPECT_EQ(result, fsuipc::kResultSize);
  EXPECT_TRUE(InProcQueueRead(0, 32512 - 20, data.data(), &result));
  EXPECT_TRUE(InProcExchange(&result));
}

TEST_F(InProcTest, ServerFaults) {
  struct Case {
    FaultMode mode;
    uint32_t required;
    uint32_t expected;
  };
  const Case cases[] = {
      {FaultMode::kAbsent,     0, fsuipc::kResultNoFs   },
      {FaultMode::kRefuse,     0, fsuipc::kResultData   },
 // A hung server cannot block the panel thread here: the send fails.
      {FaultMode::kHang,       0, fsuipc::kResultData   },
      {FaultMode::kVersion,    0, fsuipc::kResultVersion},
      {FaultMode::kVersionOld, 0, fsuipc::kResultVersion},
      {FaultMode::kVersionSim, 2, fsuipc::kResultWrongFs},
      {FaultMode::kVersionSim, 0, fsuipc::kResultOk     },
      {FaultMode::kNormal,     5, fsuipc::kResultWrongFs},
      {FaultMode::kCorrupt,    0, fsuipc::kResultOk     }, // spoils the last record: the write
  };
  for (const Case &c : cases) {
    server.set_mode(c.mode);
    EXPECT_EQ(connect(c.required), c.expected == fsuipc::kResultOk)
        << fsuipc_server::mode_name(c.mode);
    EXPECT_EQ(result, c.expected) << fsuipc_server::mode_name(c.mode);
    InProcDisconnect(); // what every caller does, connected or not
  }
}

TEST_F(InProcTest, RefusedOrCorruptExchangeAfterConnect) {
  ASSERT_TRUE(connect());
  server.write(fsuipc::kOffsetTank1Level, 4, 0x800000);
  server.write(fsuipc::kOffsetTank2Level, 4, 0x400000);
  server.set_mode(FaultMode::kRefuse);
  uint32_t tank1 = 1, tank2 = 2;
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank1Level, 4, &tank1, &result));
  EXPECT_FALSE(InProcExchange(&result));
  EXPECT_EQ(result, fsuipc::kResultData);
  EXPECT_EQ(tank1, 1u) << "destinations keep their values";

  server.set_mode(FaultMode::kCorrupt);
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank1Level, 4, &tank1, &result));
  ASSERT_TRUE(InProcQueueRead(fsuipc::kOffsetTank2Level, 4, &tank2, &result));
  EXPECT_TRUE(InProcExchange(&result));
  EXPECT_EQ(tank1, 0x800000u);
  EXPECT_EQ(tank2, 2u);
  // The client overwrote the spoilt kind with 0: the area ends there.
  uint32_t kind;
  std::memcpy(&kind, fsuipc_area + 20, 4);
  EXPECT_EQ(kind, 0u);
}

// ostrel's read helper takes every 32-bit answer, 0xFFFFFFFF included, and
// calls a read without an answer a failure, in its result and in the code.
TEST_F(InProcTest, ReadHelperGoesByTheAnswerNotByItsValue) {
  server.write(fsuipc::kOffsetTank1Level, 4, 0xFFFFFFFF);
  struct Case {
    FaultMode mode;
    bool read;
    uint32_t level;
    uint32_t code;
  };
  const Case cases[] = {
      {FaultMode::kNormal,  true,  0xFFFFFFFF, fsuipc::kResultOk  },
      {FaultMode::kCorrupt, false, 7,          fsuipc::kResultData}, // exchange ok, no answer
      {FaultMode::kDrop,    false, 7,          fsuipc::kResultData},
  };
  for (const Case &c : cases) {
    server.set_mode(FaultMode::kNormal);
    ASSERT_TRUE(fsuipc_open());
    server.set_mode(c.mode);
    uint32_t level = 7;
    EXPECT_EQ(fsuipc_read_u32(fsuipc::kOffsetTank1Level, &level), c.read)
        << fsuipc_server::mode_name(c.mode);
    EXPECT_EQ(level, c.level) << fsuipc_server::mode_name(c.mode);
    EXPECT_EQ(fsuipc_result, c.code) << fsuipc_server::mode_name(c.mode);
    fsuipc_close();
  }
}

} // namespace
} // namespace ostrel
