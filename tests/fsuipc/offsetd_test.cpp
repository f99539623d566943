// Whole-process test: offsetd runs as a process of its own and the
// inter-process client in this one connects, exchanges and disconnects.
// Real time is used only to wait (bounded) for offsetd to come up, and by the
// connection time-outs to a stopped offsetd.
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "fsuipc/ipc_client.h"
#include "ostrel/fsuipc_inproc.h"
#include "platform/os/os.h"
#include "tests/fsuipc/test_support.h"

extern char **environ;

namespace fsuipc {
namespace {

const fsuipc_test::IsolatedRuntimeDir runtime_dir; // inherited by offsetd

constexpr int64_t kStartMs = 1780308000000;
constexpr auto kStartupLimit = std::chrono::seconds(10);

// offsetd as a child process; killed and reaped whatever happens.
class Offsetd {
public:
  explicit Offsetd(std::vector<std::string> args) {
    args.insert(args.begin(), std::string(GAUGE_BINARY_DIR) + "/bin/offsetd");
    std::vector<char *> argv;
    for (auto &arg : args) {
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
  }
  ~Offsetd() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Offsetd(const Offsetd &) = delete;
  Offsetd &operator=(const Offsetd &) = delete;

  bool running() const { return pid_ > 0; }
  // Still alive (not reaped), whether running or stopped.
  bool alive() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
  void signal(int number) const { kill(pid_, number); }

  // Waits until its window can be found.
  bool wait_until_up() const {
    const auto deadline = std::chrono::steady_clock::now() + kStartupLimit;
    while (std::chrono::steady_clock::now() < deadline) {
      if (os_find_window("UIPCMAIN") != 0) {
        return true;
      }
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        return false; // it died
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // Asks it to stop and returns its exit status (-1 if it did not exit).
  int stop() {
    kill(pid_, SIGTERM);
    int status = 0;
    const pid_t reaped = waitpid(pid_, &status, 0);
    pid_ = -1;
    return reaped > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
};

struct OffsetdTest : ::testing::Test {
  uint32_t result = 99;
  void SetUp() override { os_clock_use_virtual(kStartMs); }
  void TearDown() override { IpcDisconnect(); }
};

TEST_F(OffsetdTest, ClientTalksToServerInAnotherProcess) {
  Offsetd server({"--mode", "normal"});
  ASSERT_TRUE(server.running());
  ASSERT_TRUE(server.wait_until_up());

  ASSERT_TRUE(IpcConnect(2, &result));
  EXPECT_EQ(result, kResultOk);
  uint32_t level = 0x800000;
  ASSERT_TRUE(IpcQueueWrite(kOffsetTank1Level, 4, &level, &result));
  level = 0x300000;
  ASSERT_TRUE(IpcQueueWrite(kOffsetTank2Level, 4, &level, &result));
  ASSERT_TRUE(IpcExchange(&result));

  uint32_t tank1 = 0, tank2 = 0, version = 0;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &tank1, &result));
  ASSERT_TRUE(IpcQueueRead(kOffsetTank2Level, 4, &tank2, &result));
  ASSERT_TRUE(IpcQueueRead(kOffsetServerVersion, 4, &version, &result));
  ASSERT_TRUE(IpcExchange(&result));
  EXPECT_EQ(tank1, 0x800000u);
  EXPECT_EQ(tank2, 0x300000u);
  EXPECT_GE(version, kMinServerVersion);
  IpcDisconnect();

  // A second connection sees what the first one wrote.
  ASSERT_TRUE(IpcConnect(0, &result));
  tank1 = 0;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &tank1, &result));
  ASSERT_TRUE(IpcExchange(&result));
  EXPECT_EQ(tank1, 0x800000u);
  IpcDisconnect();

  EXPECT_EQ(server.stop(), 0);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultNoFs) << "the window went with the process";
}

TEST_F(OffsetdTest, HungServerInAnotherProcessStallsOnlyTheVirtualClock) {
  Offsetd server({"--mode", "hang"});
  ASSERT_TRUE(server.wait_until_up());
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultTimeout);
  EXPECT_EQ(os_clock_now_ms() - kStartMs, 9 * 2000 + 9 * 100);
}

TEST_F(OffsetdTest, CommandLineSelectsSimulatorCode) {
  Offsetd server({"--sim", "5"});
  ASSERT_TRUE(server.wait_until_up());
  EXPECT_FALSE(IpcConnect(2, &result));
  EXPECT_EQ(result, kResultWrongFs);
  EXPECT_TRUE(IpcConnect(5, &result));
}

TEST_F(OffsetdTest, DropModeTakesTheConnectAndFailsEveryExchange) {
  Offsetd server({"--mode", "drop"});
  ASSERT_TRUE(server.wait_until_up());
  ASSERT_TRUE(IpcConnect(0, &result));
  uint32_t level = 7;
  ASSERT_TRUE(IpcQueueRead(kOffsetTank1Level, 4, &level, &result));
  EXPECT_FALSE(IpcExchange(&result));
  EXPECT_EQ(result, kResultData);
  EXPECT_EQ(level, 7u);
}

// The in-process message carries an address in the sender's process: offsetd
// refuses it from outside, whatever the address, and goes on serving; ostrel's
// in-process client never takes offsetd for its server.
TEST_F(OffsetdTest, InProcessMessageFromAnotherProcessIsRefused) {
  Offsetd server({});
  ASSERT_TRUE(server.wait_until_up());
  const OsWindow window = os_find_window("UIPCMAIN");
  uint8_t records[64] = {1}; // a read record in this process's memory
  for (const intptr_t address :
       {reinterpret_cast<intptr_t>(records), intptr_t{0x10}, intptr_t{-4096}}) {
    EXPECT_EQ(os_send_message(window, 0x47F, 16, address), 0) << address;
  }
  EXPECT_TRUE(server.alive());
  EXPECT_TRUE(IpcConnect(0, &result)) << "offsetd still serves";

  uint8_t area[64];
  EXPECT_FALSE(ostrel::InProcConnect(0, &result, area, sizeof area));
  EXPECT_EQ(result, kResultNoFs);
}

// A stopped offsetd takes no connection; once its queue is full, every probe
// and send gives up after its time-out (real time) instead of hanging.
TEST_F(OffsetdTest, StoppedServerCostsTimeOutsNotAHang) {
  Offsetd server({});
  ASSERT_TRUE(server.wait_until_up());
  server.signal(SIGSTOP);
  bool given_up = false;
  for (int probe = 0; probe < 40 && !given_up; ++probe) {
    given_up = os_find_window("UIPCMAIN") == 0;
  }
  EXPECT_TRUE(given_up);
  EXPECT_FALSE(IpcConnect(0, &result));
  EXPECT_EQ(result, kResultNoFs);
  server.signal(SIGCONT);
  EXPECT_TRUE(server.wait_until_up());
  EXPECT_TRUE(IpcConnect(0, &result)) << "served again once it runs";
}

} // namespace
} // namespace fsuipc
