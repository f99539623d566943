// Exchanges per second of one 4-byte read (wall-clock time: the cross-process
// case spends most of it waiting for the other process), for each way a
// gauge reaches the offset server:
//   InProcExchange      ostrel's transport, message 0x47F, server in-process
//   IpcExchangeLocal    durnik's transport, server window in this process
//   IpcExchangeOffsetd  durnik's transport, server in the offsetd process
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

#include "fsuipc/ipc_client.h"
#include "ostrel/fsuipc_inproc.h"
#include "platform/fsuipc_server/offset_server.h"
#include "platform/os/os.h"

extern char **environ;

namespace {

// A runtime folder of the benchmark's own, so no other server is found.
struct RuntimeDir {
  std::string path = (std::filesystem::temp_directory_path() / "fsuipc-bench-XXXXXX").string();
  RuntimeDir() {
    if (mkdtemp(path.data()) != nullptr) {
      setenv("GAUGE_RUNTIME_DIR", path.c_str(), 1);
    }
  }
  ~RuntimeDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};
const RuntimeDir runtime_dir;

void read_one_level(benchmark::State &state,
                    int32_t (*queue_read)(uint32_t, uint32_t, void *, uint32_t *),
                    int32_t (*exchange)(uint32_t *)) {
  uint32_t level = 0, result = 0;
  for (auto _ : state) {
    queue_read(fsuipc::kOffsetTank1Level, 4, &level, &result);
    if (!exchange(&result)) {
      state.SkipWithError("exchange failed");
      break;
    }
    benchmark::DoNotOptimize(level);
  }
  state.SetItemsProcessed(state.iterations());
}

void InProcExchange(benchmark::State &state) {
  os_clock_use_virtual(1780308000000);
  fsuipc_server::OffsetServer server;
  uint32_t result = 0;
  if (!ostrel::InProcConnect(0, &result, ostrel::fsuipc_area, ostrel::kRequestAreaBytes)) {
    state.SkipWithError("connect failed");
    return;
  }
  read_one_level(state, ostrel::InProcQueueRead, ostrel::InProcExchange);
  ostrel::InProcDisconnect();
}
BENCHMARK(InProcExchange)->UseRealTime();

void IpcExchangeLocal(benchmark::State &state) {
  os_clock_use_virtual(1780308000000); // the connect's 100 ms sleep costs nothing
  fsuipc_server::OffsetServer server;
  uint32_t result = 0;
  if (!fsuipc::IpcConnect(0, &result)) {
    state.SkipWithError("connect failed");
    return;
  }
  read_one_level(state, fsuipc::IpcQueueRead, fsuipc::IpcExchange);
  fsuipc::IpcDisconnect();
}
BENCHMARK(IpcExchangeLocal)->UseRealTime();

void IpcExchangeOffsetd(benchmark::State &state) {
  os_clock_use_virtual(1780308000000);
  std::string program = std::string(GAUGE_BINARY_DIR) + "/bin/offsetd";
  char *argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) {
    state.SkipWithError("cannot start offsetd");
    return;
  }
  for (int i = 0; i < 1000 && os_find_window("UIPCMAIN") == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  uint32_t result = 0;
  if (fsuipc::IpcConnect(0, &result)) {
    read_one_level(state, fsuipc::IpcQueueRead, fsuipc::IpcExchange);
    fsuipc::IpcDisconnect();
  } else {
    state.SkipWithError("connect to offsetd failed");
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}
BENCHMARK(IpcExchangeOffsetd)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
