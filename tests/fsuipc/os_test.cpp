// The OS stand-in's services that the FSUIPC transports stand on, including
// what must hold across processes (the other process is a fork of this one).
#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/os/os.h"
#include "tests/fsuipc/test_support.h"

namespace {

const fsuipc_test::IsolatedRuntimeDir runtime_dir;

constexpr int64_t kStartMs = 1780308000000;

// Runs `body` in a child process and returns what it wrote to the pipe.
template <class F> std::string in_child(F body) {
  int fds[2];
  if (pipe(fds) != 0) {
    return "pipe failed";
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string out = body();
    [[maybe_unused]] const ssize_t n = write(fds[1], out.data(), out.size());
    _exit(0);
  }
  close(fds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
    out.append(buffer, static_cast<size_t>(n));
  }
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return out;
}

TEST(OsMessages, SameIdForSameNameInEveryProcess) {
  const uint32_t id = os_register_window_message("FsasmLib:IPC");
  EXPECT_GE(id, 0xC000u);
  EXPECT_LE(id, 0xFFFFu);
  EXPECT_EQ(os_register_window_message("fsasmlib:ipc"), id) << "names ignore case";
  EXPECT_NE(os_register_window_message("Another message"), id);
  EXPECT_EQ(os_register_window_message(""), 0u);
  const std::string child = in_child([] {
    return std::to_string(os_register_window_message("FsasmLib:IPC")) + " " +
           std::to_string(os_register_window_message("Only the child's"));
  });
  EXPECT_EQ(child.substr(0, child.find(' ')), std::to_string(id));
  const uint32_t childs = static_cast<uint32_t>(std::stoul(child.substr(child.find(' ') + 1)));
  EXPECT_EQ(os_register_window_message("Only the child's"), childs);
}

TEST(OsAtoms, GlobalAcrossProcessesAndReferenceCounted) {
  const uint16_t atom = os_global_add_atom("FsasmLib:IPC:1234:1");
  ASSERT_NE(atom, 0);
  EXPECT_EQ(os_global_add_atom("fsasmlib:ipc:1234:1"), atom);
  EXPECT_EQ(os_global_find_atom("FsasmLib:IPC:1234:1"), atom);

  const std::string seen = in_child([atom] {
    char name[64];
    os_global_get_atom_name(atom, name, sizeof name);
    const uint16_t other = os_global_add_atom("made by the child");
    return std::string(name) + "|" + std::to_string(other);
  });
  EXPECT_EQ(seen.substr(0, seen.find('|')), "FsasmLib:IPC:1234:1");
  const auto childs = static_cast<uint16_t>(std::stoul(seen.substr(seen.find('|') + 1)));
  EXPECT_EQ(os_global_find_atom("made by the child"), childs);
  EXPECT_EQ(os_global_delete_atom(childs), 0);

  char small[8];
  EXPECT_EQ(os_global_get_atom_name(atom, small, sizeof small), 7u);
  EXPECT_STREQ(small, "FsasmLi");

  EXPECT_EQ(os_global_delete_atom(atom), 0); // two adds, two deletes
  EXPECT_EQ(os_global_find_atom("FsasmLib:IPC:1234:1"), atom);
  EXPECT_EQ(os_global_delete_atom(atom), 0);
  EXPECT_EQ(os_global_find_atom("FsasmLib:IPC:1234:1"), 0);
  EXPECT_EQ(os_global_delete_atom(atom), atom) << "deleting a free atom fails";
  EXPECT_EQ(os_global_get_atom_name(atom, small, sizeof small), 0u);
  EXPECT_EQ(os_global_add_atom(std::string(256, 'x').c_str()), 0) << "255 characters at most";
}

TEST(OsAtoms, FullTableTakesBackAtomsOfDeadProcesses) {
  // A client that crashed while connected never deletes its atom; without
  // this every later connect of every process would end with code 4.
  in_child([] { return std::to_string(os_global_add_atom("left by a crashed client")); });
  std::vector<uint16_t> fillers;
  for (uint16_t atom;
       (atom = os_global_add_atom(("filler " + std::to_string(fillers.size())).c_str())) != 0;) {
    fillers.push_back(atom);
  }
  EXPECT_EQ(os_global_find_atom("left by a crashed client"), 0);
  for (uint16_t atom : fillers) {
    os_global_delete_atom(atom);
  }
}

TEST(OsSharedMemory, NamedObjectsAreSharedAndAlreadyExistsIsReported) {
  const char *name = "FsasmLib:IPC:ABC:1";
  os_set_last_error(99);
  const OsHandle first = os_create_file_mapping(name, 0x8000);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(os_get_last_error(), 0u);
  auto *view = static_cast<uint8_t *>(os_map_view(first));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(os_view_size(view), 0x8000u);
  view[0x7FFF] = 0x5A;

  const OsHandle second = os_create_file_mapping(name, 0x8000);
  ASSERT_NE(second, 0u) << "a handle all the same";
  EXPECT_EQ(os_get_last_error(), kOsErrorAlreadyExists);
  const std::string child = in_child([name] {
    const OsHandle opened = os_open_file_mapping(name);
    auto *bytes = static_cast<uint8_t *>(os_map_view(opened));
    const int seen = bytes != nullptr ? bytes[0x7FFF] : -1;
    if (bytes != nullptr) {
      bytes[0] = 0xA5;
    }
    return std::to_string(seen);
  });
  EXPECT_EQ(child, std::to_string(0x5A));
  EXPECT_EQ(view[0], 0xA5);
  EXPECT_TRUE(os_close_handle(second));

  // Names with characters POSIX would reject still work.
  const OsHandle odd = os_create_file_mapping("a/b\\c d:e", 16);
  EXPECT_NE(odd, 0u);
  EXPECT_TRUE(os_close_handle(odd));

  EXPECT_TRUE(os_unmap_view(view));
  EXPECT_FALSE(os_unmap_view(view));
  EXPECT_TRUE(os_close_handle(first));
  EXPECT_FALSE(os_close_handle(first));
  EXPECT_EQ(os_open_file_mapping(name), 0u) << "gone with its creator's handle";
  EXPECT_EQ(os_get_last_error(), kOsErrorFileNotFound);
  EXPECT_EQ(os_create_file_mapping(name, 0), 0u);
  EXPECT_EQ(os_create_file_mapping(std::string(300, 'n').c_str(), 16), 0u);
}

intptr_t echo_proc(OsWindow, uint32_t message, uintptr_t wparam, intptr_t lparam, void *context) {
  if (context != nullptr && *static_cast<bool *>(context)) {
    os_window_withhold_answer();
    return 0;
  }
  return static_cast<intptr_t>(message) + static_cast<intptr_t>(wparam) * 2 + lparam;
}

TEST(OsWindows, LocalSendsAndHungWindowInVirtualTime) {
  os_clock_use_virtual(kStartMs);
  bool hung = false;
  EXPECT_EQ(os_find_window("EchoWindow"), 0u);
  const OsWindow window = os_create_window("EchoWindow", echo_proc, &hung);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(os_find_window("echowindow"), window);
  EXPECT_EQ(os_send_message(window, 0x400, 10, -5), 0x400 + 20 - 5);
  uintptr_t result = 0;
  EXPECT_TRUE(os_send_message_timeout(window, 0x401, 1, 1, 2000, &result));
  EXPECT_EQ(result, 0x401u + 3);
  EXPECT_EQ(os_clock_now_ms(), kStartMs);

  hung = true;
  os_set_last_error(77);
  EXPECT_FALSE(os_send_message_timeout(window, 0x401, 1, 1, 2000, &result));
  EXPECT_EQ(os_get_last_error(), 0u) << "a time-out reports no error";
  EXPECT_EQ(os_clock_now_ms(), kStartMs + 2000);
  EXPECT_EQ(os_send_message(window, 0x401, 1, 1), 0);
  EXPECT_EQ(os_get_last_error(), kOsErrorTimeout);

  os_destroy_window(window);
  EXPECT_EQ(os_find_window("EchoWindow"), 0u);
  EXPECT_FALSE(os_send_message_timeout(window, 0x401, 1, 1, 2000, &result));
  EXPECT_EQ(os_get_last_error(), kOsErrorInvalidWindow);
  EXPECT_EQ(os_clock_now_ms(), kStartMs + 2000);
}

// A child process that publishes an echo window and serves it until killed.
// The message 0x4FF makes the next answers withheld.
intptr_t remote_proc(OsWindow, uint32_t message, uintptr_t wparam, intptr_t lparam, void *) {
  static bool hang = false;
  if (message == 0x4FF) {
    hang = true;
    return 1;
  }
  if (hang) {
    os_window_withhold_answer();
    return 0;
  }
  return static_cast<intptr_t>(message) + static_cast<intptr_t>(wparam) * 2 + lparam;
}

TEST(OsWindows, PublishedWindowIsReachableFromAnotherProcess) {
  os_clock_use_virtual(kStartMs);
  const pid_t child = fork();
  if (child == 0) {
    const OsWindow window = os_create_window("RemoteEcho", remote_proc, nullptr);
    if (window == 0 || !os_publish_window(window)) {
      _exit(1);
    }
    for (;;) {
      os_serve_windows(-1);
    }
  }
  // Real time only to wait for the child to come up, and bounded.
  OsWindow window = 0;
  for (int i = 0; i < 500 && window == 0; ++i) {
    window = os_find_window("RemoteEcho");
    if (window == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ASSERT_NE(window, 0u);
  EXPECT_EQ(os_send_message(window, 0x400, 0xFFFF'FFFF'0000ull, -7),
            static_cast<intptr_t>(0x400 + 0x1'FFFF'FFFE'0000ll - 7))
      << "64-bit parameters and result travel whole";
  uintptr_t result = 0;
  EXPECT_TRUE(os_send_message_timeout(window, 0x410, 3, 4, 2000, &result));
  EXPECT_EQ(result, 0x410u + 10);

  EXPECT_EQ(os_send_message(window, 0x4FF, 0, 0), 1);
  EXPECT_FALSE(os_send_message_timeout(window, 0x410, 3, 4, 2000, &result));
  EXPECT_EQ(os_get_last_error(), 0u);
  EXPECT_EQ(os_clock_now_ms(), kStartMs + 2000) << "the virtual clock shows the stall";

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(os_send_message_timeout(window, 0x410, 3, 4, 2000, &result));
  EXPECT_EQ(os_get_last_error(), kOsErrorInvalidWindow);
  EXPECT_EQ(os_find_window("RemoteEcho"), 0u) << "a dead process's socket is not a window";
}

} // namespace
