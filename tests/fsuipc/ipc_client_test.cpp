// The inter-process client against the offset server in this process (the
// transport is the same: named shared memory, atom, registered message).
// Every result code 0 to 15 of the client is reached here.
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "fsuipc/ipc_client.h"
#include "platform/fsuipc_server/offset_server.h"
#include "platform/os/os.h"
#include "platform/os/os_host.h"
#include "platform/os/shared_table.h"
#include "tests/fsuipc/test_support.h"

namespace fsuipc {
namespace {

const fsuipc_test::IsolatedRuntimeDir runtime_dir;

constexpr int64_t kStartMs = 1780308000000;
constexpr int64_t kUnansweredExchangeMs = 9 * 2000 + 9 * 100;
constexpr int64_t kConnectSleepMs = 100;

std::string area_name(uint32_t counter) {
  char name[64];
  std::snprintf(name, sizeof name, "FsasmLib:IPC:%X:%X", static_cast<unsigned>(getpid()), counter);
  return name;
}

// Name counter of the last area the server opened.
uint32_t last_counter(const fsuipc_server::OffsetServer &server) {
  const std::string name = server.last_area_name();
  return static_cast<uint32_t>(std::stoul(name.substr(name.rfind(':') + 1), nullptr, 16));
}

struct IpcClientTest : ::testing::Test {
  fsuipc_server::OffsetServer server;
  uint32_t result = 99;
  void SetUp() override { os_clock_use_virtual(kStartMs); }
  void TearDown() override { IpcDisconnect(); }
  int64_t elapsed_ms() const { return os_clock_now_ms() - kStartMs; }
};

TEST_F(IpcClientTest, ConnectChecksVersionsAndWritesLibraryVersion) {
  ASSERT_TRUE(IpcConnect(2, &result));
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(server.client_library_version(), 1004);
  EXPECT_EQ(server.requests_served(), 1u);
  EXPECT_EQ(elapsed_ms(), kConnectSleepMs) << "one exchange and one 100 ms sleep";

  // A second connect is refused and leaves the first one working.
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultOpen);
  uint32_t level = 0;
  server.write(kOffsetTank1Level, 4, 0x123456);
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  ASSERT_TRUE(IpcExchange(&result));
  EXPECT_EQ(level, 0x123456u);
}

TEST_F(IpcClientTest, ReadsAndWritesReachTheServer) {
  ASSERT_TRUE(IpcConnect(0, &result));
  uint32_t source = 0x800000;
  ASSERT_TRUE(IpcQueueWrite(kOffsetTank1Level, 4, &source, &result));
  source = 0x200000; // the first record keeps the value it was queued with
  ASSERT_TRUE(IpcQueueWrite(kOffsetTank2Level, 4, &source, &result));
  ASSERT_TRUE(IpcExchange(&result));
  EXPECT_EQ(server.read(kOffsetTank1Level, 4), 0x800000u);
  EXPECT_EQ(server.read(kOffsetTank2Level, 4), 0x200000u);

  uint32_t tank1 = 0, tank2 = 0, unknown = 0xFFFFFFFF, untouched = 7;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &tank1, &result));
  ASSERT_TRUE(IpcQueueRead(kOffsetTank2Level, 4, nullptr, &result)); // answered, not copied
  ASSERT_TRUE(IpcQueueRead(0x6000, 0, &untouched, &result));         // nothing to copy
  ASSERT_TRUE(IpcQueueRead(0x4321, 4, &unknown, &result));
  ASSERT_TRUE(IpcQueueRead(kOffsetTank2Level, 4, &tank2, &result));
  ASSERT_TRUE(IpcExchange(&result));
  EXPECT_EQ(tank1, 0x800000u);
  EXPECT_EQ(tank2, 0x200000u);
  EXPECT_EQ(unknown, 0u) << "unknown offsets read as zeros";
  EXPECT_EQ(untouched, 7u);
}

TEST_F(IpcClientTest, QueueAndExchangeNeedAnOpenConnectionAndSomethingQueued) {
  uint32_t value = 0;
  EXPECT_FALSE(IpcQueueRead(0, 4, &value, &result));
  EXPECT_EQ(result, kResultNotOpen);
  EXPECT_FALSE(IpcQueueWrite(0, 4, &value, &result));
  EXPECT_EQ(result, kResultNotOpen);
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultNotOpen);

  ASSERT_TRUE(IpcConnect(0, &result));
  const uint64_t served = server.requests_served();
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultNoData);
  EXPECT_EQ(server.requests_served(), served) << "nothing is sent";
}

TEST_F(IpcClientTest, BoundRulesOfTheSharedArea) {
  ASSERT_TRUE(IpcConnect(0, &result));
  std::vector<uint8_t> big(32512);
  EXPECT_FALSE(IpcQueueRead(0x2000, 32512 - 20 + 1, big.data(), &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_TRUE(IpcQueueRead(0x2000, 32512 - 20, big.data(), &result));
  ASSERT_TRUE(IpcExchange(&result));

  EXPECT_FALSE(IpcQueueWrite(0x2000, 32512 - 16 + 1, big.data(), &result));
  EXPECT_EQ(result, kResultSize);
  EXPECT_TRUE(IpcQueueWrite(0x2000, 32512 - 16, big.data(), &result));
  EXPECT_TRUE(IpcExchange(&result));
}

TEST_F(IpcClientTest, AreaNamesCountUpOverEveryConnectThatGetsThatFar) {
  ASSERT_TRUE(IpcConnect(0, &result));
  const uint32_t first = last_counter(server);
  EXPECT_EQ(server.last_area_name(), area_name(first));
  IpcDisconnect();

  server.set_mode(fsuipc_server::FaultMode::kVersion); // fails after naming
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(last_counter(server), first + 1);

  server.set_mode(fsuipc_server::FaultMode::kAbsent); // fails before naming
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultNoFs);

  server.set_mode(fsuipc_server::FaultMode::kNormal);
  ASSERT_TRUE(IpcConnect(0, &result));
  EXPECT_EQ(server.last_area_name(), area_name(first + 2));
  // The atom and the area exist while connected and are gone afterwards.
  EXPECT_NE(os_global_find_atom(area_name(first + 2).c_str()), 0);
  IpcDisconnect();
  EXPECT_EQ(os_global_find_atom(area_name(first + 2).c_str()), 0);
  EXPECT_EQ(os_open_file_mapping(area_name(first + 2).c_str()), 0u);
}

TEST_F(IpcClientTest, NoServerWindowOfEitherClass) {
  server.set_mode(fsuipc_server::FaultMode::kAbsent);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultNoFs);
  EXPECT_EQ(elapsed_ms(), 0);
  IpcDisconnect(); // harmless after a failure
}

TEST_F(IpcClientTest, MessageCannotBeRegistered) {
  // A runtime folder below a plain file cannot hold the message table.
  const std::string blocker = (runtime_dir.path() / "not-a-folder").string();
  std::fclose(std::fopen(blocker.c_str(), "w"));
  fsuipc_test::RuntimeDirOverride broken(blocker + "/runtime");
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultRegisterMsg);
}

TEST_F(IpcClientTest, AtomTableFull) {
  std::vector<uint16_t> atoms;
  for (int i = 0;; ++i) {
    const uint16_t atom = os_global_add_atom(("filler " + std::to_string(i)).c_str());
    if (atom == 0) {
      break;
    }
    atoms.push_back(atom);
  }
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultAtom);
  for (uint16_t atom : atoms) {
    os_global_delete_atom(atom);
  }
  EXPECT_TRUE(IpcConnect(0, &result));
}

TEST_F(IpcClientTest, AreaOfThatNameAlreadyExists) {
  ASSERT_TRUE(IpcConnect(0, &result));
  const uint32_t counter = last_counter(server);
  IpcDisconnect();
  const OsHandle squatter = os_create_file_mapping(area_name(counter + 1).c_str(), 64);
  ASSERT_NE(squatter, 0u);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultMapping);
  EXPECT_EQ(os_global_find_atom(area_name(counter + 1).c_str()), 0) << "atom released";
  os_close_handle(squatter);
  EXPECT_TRUE(IpcConnect(0, &result));
}

TEST_F(IpcClientTest, AreaCannotBeMapped) {
  platform_os::fail_next_map_views(1);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultView);
  EXPECT_TRUE(IpcConnect(0, &result));
}

TEST_F(IpcClientTest, VersionChecks) {
  struct Case {
    fsuipc_server::FaultMode mode;
    uint32_t required;
    uint32_t expected;
  };
  const Case cases[] = {
      {fsuipc_server::FaultMode::kVersion,    0, kResultVersion},
      {fsuipc_server::FaultMode::kVersionOld, 0, kResultVersion},
      {fsuipc_server::FaultMode::kVersionSim, 2, kResultWrongFs},
      {fsuipc_server::FaultMode::kVersionSim, 0, kResultOk     },
      {fsuipc_server::FaultMode::kNormal,     3, kResultWrongFs},
      {fsuipc_server::FaultMode::kNormal,     2, kResultOk     },
  };
  for (const Case &c : cases) {
    server.set_mode(c.mode);
    EXPECT_EQ(IpcConnect(c.required, &result) != 0, c.expected == kResultOk)
        << fsuipc_server::mode_name(c.mode) << " requiring " << c.required;
    EXPECT_EQ(result, c.expected) << fsuipc_server::mode_name(c.mode) << " requiring "
                                  << c.required;
    IpcDisconnect();
  }
}

TEST_F(IpcClientTest, VersionsThatStayZeroTakeFiveTries) {
  // A server that answers 1 without touching the area: five exchanges and
  // five sleeps, then the version check fails.
  server.set_mode(fsuipc_server::FaultMode::kAbsent);
  int calls = 0;
  const OsWindow mute = os_create_window(
      "UIPCMAIN",
      [](OsWindow, uint32_t, uintptr_t, intptr_t, void *context) -> intptr_t {
        ++*static_cast<int *>(context);
        return 1;
      },
      &calls);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultVersion);
  EXPECT_EQ(calls, 5);
  EXPECT_EQ(elapsed_ms(), 5 * 100);
  os_destroy_window(mute);
}

TEST_F(IpcClientTest, OldServerClassReportsItsOwnVersionCode) {
  server.set_mode(fsuipc_server::FaultMode::kAbsent);
  fsuipc_server::OffsetServer old_server({.class_name = "FS98MAIN"});
  ASSERT_TRUE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultOk);
  IpcDisconnect();
  old_server.set_mode(fsuipc_server::FaultMode::kVersionOld);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultRunningOld);
}

TEST_F(IpcClientTest, RefusedExchange) {
  ASSERT_TRUE(IpcConnect(0, &result));
  server.set_mode(fsuipc_server::FaultMode::kRefuse);
  uint32_t level = 42;
  server.write(kOffsetTank1Level, 4, 7);
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultData);
  EXPECT_EQ(level, 42u);
  // The queue was consumed all the same.
  server.set_mode(fsuipc_server::FaultMode::kNormal);
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultNoData);
  IpcDisconnect();

  server.set_mode(fsuipc_server::FaultMode::kRefuse);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultData);
}

TEST_F(IpcClientTest, HungServerCostsNineTimeOutsInVirtualTime) {
  ASSERT_TRUE(IpcConnect(0, &result));
  server.set_mode(fsuipc_server::FaultMode::kHang);
  uint32_t level = 42;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  const int64_t before_ms = os_clock_now_ms();
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultTimeout);
  EXPECT_EQ(os_clock_now_ms() - before_ms, kUnansweredExchangeMs);
  EXPECT_EQ(level, 42u);
  IpcDisconnect();

  // Hanging during the connect: the version exchange fails the same way.
  const int64_t connect_ms = os_clock_now_ms();
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultTimeout);
  EXPECT_EQ(os_clock_now_ms() - connect_ms, kUnansweredExchangeMs);
}

TEST_F(IpcClientTest, ServerGoneAfterConnectIsASystemError) {
  ASSERT_TRUE(IpcConnect(0, &result));
  server.set_mode(fsuipc_server::FaultMode::kAbsent);
  uint32_t level = 0;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  const int64_t before_ms = os_clock_now_ms();
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultSendMsg);
  EXPECT_EQ(os_clock_now_ms() - before_ms, 9 * 100) << "nine failed sends, nine sleeps";
}

TEST_F(IpcClientTest, CorruptAnswerStopsTheWalkAfterEarlierAnswers) {
  ASSERT_TRUE(IpcConnect(0, &result));
  server.set_mode(fsuipc_server::FaultMode::kCorrupt);
  server.write(kOffsetTank1Level, 4, 0x800000);
  server.write(kOffsetTank2Level, 4, 0x400000);
  uint32_t tank1 = 0, tank2 = 0;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &tank1, &result));
  ASSERT_TRUE(IpcQueueRead(kOffsetTank2Level, 4, &tank2, &result));
  EXPECT_TRUE(IpcExchange(&result));
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(tank1, 0x800000u);
  EXPECT_EQ(tank2, 0u) << "the spoilt record delivers nothing";
}

// A client that shrinks its shared area while the server works on it loses
// its exchange; the server never faults and goes on serving.
TEST_F(IpcClientTest, AreaShrunkUnderTheServerCostsOnlyThatExchange) {
  ASSERT_TRUE(IpcConnect(0, &result));
  server.set_area_opened_hook([this] {
    const std::string posix = "/gauge." + platform_os::sanitize_name(server.last_area_name());
    const int fd = shm_open(posix.c_str(), O_RDWR, 0600);
    ASSERT_GE(fd, 0) << posix;
    EXPECT_EQ(ftruncate(fd, 0), 0);
    close(fd);
  });
  uint32_t level = 5;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultData);
  EXPECT_EQ(level, 5u);
  IpcDisconnect();
  server.set_area_opened_hook(nullptr);
  EXPECT_TRUE(IpcConnect(0, &result));
}

} // namespace
} // namespace fsuipc
