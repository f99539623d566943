// Top-level windows and window messages.
//
// Windows of this process live in a registry by class name and are called
// directly on the sender's thread. A published window also listens on a
// Unix-domain socket "window.CLASS.sock" in the runtime folder (CLASS
// sanitised); os_find_window in another process finds that socket, and a send
// to it carries the message, wparam and lparam in one request and gets the
// result in one reply. The publishing process answers while it runs
// os_serve_windows.
//
// A window procedure that calls os_window_withhold_answer hangs: the reply
// says so at once, and the sender then spends its time-out the way a hung
// window costs it -- os_sleep, which under virtual time only moves the clock.
//
// A process that is stopped (SIGSTOP) accepts no connection: once its listen
// queue is full, connecting would block. Every connection is therefore made
// without blocking and bounded in real time (kOsConnectTimeoutMs for a probe,
// the time-out for a send), so a stopped server costs its callers time-outs
// and never hangs them.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/os/os.h"
#include "platform/os/os_host.h"
#include "platform/os/shared_table.h"

namespace {

constexpr OsWindow kFirstLocalWindow = 0x0001'0000;
constexpr OsWindow kFirstRemoteWindow = 0x2000'0000;
constexpr uint32_t kFrameMagic = 0x314D5747; // "GWM1"
constexpr uint32_t kReplyAnswered = 0;
constexpr uint32_t kReplyWithheld = 1;
// How long a server waits for a connected sender's request (real time; the
// request follows the connect at once, so this only guards against a peer
// that connects and stalls).
constexpr int kRequestWaitMs = 1000;
// Pause between connection attempts while a listen queue is full.
constexpr auto kConnectRetryPause = std::chrono::milliseconds(5);

struct Request {
  uint32_t magic;
  uint32_t message;
  uint64_t wparam;
  int64_t lparam;
};

struct Reply {
  uint32_t magic;
  uint32_t status; // kReplyAnswered or kReplyWithheld
  int64_t result;
};

struct LocalWindow {
  std::string class_name;
  OsWindowProc proc = nullptr;
  void *context = nullptr;
  int listen_fd = -1; // published: the listening socket
  std::string socket_path;
};

struct RemoteWindow {
  std::string socket_path;
};

std::mutex mutex;
std::map<OsWindow, LocalWindow> local_windows;
std::map<OsWindow, RemoteWindow> remote_windows;
OsWindow next_local = kFirstLocalWindow;
OsWindow next_remote = kFirstRemoteWindow;

thread_local bool answer_withheld = false;
// Set while a window procedure handles a message from another process.
thread_local bool message_from_other_process = false;

std::string socket_path_for(const std::string &class_name) {
  return (platform_os::runtime_dir() /
          ("window." + platform_os::sanitize_name(class_name) + ".sock"))
      .string();
}

bool fill_address(const std::string &path, sockaddr_un &address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

enum class ConnectOutcome {
  kConnected,
  kNobody,   // no socket there, or nobody listens on it
  kTimedOut, // something listens but took no connection in time (a stopped process)
};

// Connects a non-blocking socket to `path` within `timeout_ms` of real time
// (-1: no bound). On kConnected, *fd_out is the socket.
ConnectOutcome connect_to(const std::string &path, int timeout_ms, int *fd_out) {
  sockaddr_un address;
  if (!fill_address(path, address)) {
    return ConnectOutcome::kNobody;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    return ConnectOutcome::kNobody;
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  const auto remaining_ms = [&] {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<int64_t>(left.count(), 0));
  };
  for (;;) {
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
      *fd_out = fd;
      return ConnectOutcome::kConnected;
    }
    if (errno == EINTR) {
      continue;
    }
    if (errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int error = 0;
      socklen_t length = sizeof error;
      if (poll(&p, 1, timeout_ms < 0 ? -1 : remaining_ms()) == 1 &&
          getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
        *fd_out = fd;
        return ConnectOutcome::kConnected;
      }
      close(fd);
      return error == 0 ? ConnectOutcome::kTimedOut : ConnectOutcome::kNobody;
    }
    if (errno != EAGAIN) {
      close(fd);
      return ConnectOutcome::kNobody;
    }
    // The listen queue is full: the other process is not accepting.
    if (timeout_ms >= 0 && remaining_ms() == 0) {
      close(fd);
      return ConnectOutcome::kTimedOut;
    }
    std::this_thread::sleep_for(kConnectRetryPause);
  }
}

// Reads or writes all `size` bytes, waiting at most `timeout_ms` (-1: for
// ever) for each part. False on error, end of stream or time-out.
bool transfer(int fd, void *data, size_t size, bool reading, int timeout_ms, bool *timed_out) {
  auto *bytes = static_cast<char *>(data);
  size_t done = 0;
  while (done < size) {
    pollfd p{fd, static_cast<short>(reading ? POLLIN : POLLOUT), 0};
    const int ready = poll(&p, 1, timeout_ms);
    if (ready == 0) {
      if (timed_out != nullptr) {
        *timed_out = true;
      }
      return false;
    }
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    const ssize_t n = reading ? recv(fd, bytes + done, size - done, 0)
                              : send(fd, bytes + done, size - done, MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) {
        continue;
      }
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

enum class SendOutcome { kAnswered, kWithheld, kTimedOut, kNoWindow };

// One send to a window of this process; `from_other_process` when it carries
// a message that another process sent over the window's socket.
SendOutcome send_local(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                       intptr_t *result, bool from_other_process = false) {
  OsWindowProc proc = nullptr;
  void *context = nullptr;
  {
    std::lock_guard lock(mutex);
    auto it = local_windows.find(window);
    if (it == local_windows.end()) {
      return SendOutcome::kNoWindow;
    }
    proc = it->second.proc;
    context = it->second.context;
  }
  // The procedure runs without the lock: it may create, find or send.
  const bool outer_withheld = answer_withheld;
  const bool outer_from_other = message_from_other_process;
  answer_withheld = false;
  message_from_other_process = from_other_process;
  *result = proc(window, message, wparam, lparam, context);
  const bool withheld = answer_withheld;
  answer_withheld = outer_withheld;
  message_from_other_process = outer_from_other;
  return withheld ? SendOutcome::kWithheld : SendOutcome::kAnswered;
}

// One send to a window of another process; `timeout_ms` -1 waits for ever.
SendOutcome send_remote(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                        int timeout_ms, intptr_t *result) {
  std::string path;
  {
    std::lock_guard lock(mutex);
    auto it = remote_windows.find(window);
    if (it == remote_windows.end()) {
      return SendOutcome::kNoWindow;
    }
    path = it->second.socket_path;
  }
  int fd = -1;
  switch (connect_to(path, timeout_ms, &fd)) {
  case ConnectOutcome::kConnected:
    break;
  case ConnectOutcome::kNobody:
    return SendOutcome::kNoWindow; // the other process has gone
  case ConnectOutcome::kTimedOut:
    return SendOutcome::kTimedOut;
  }
  Request request{kFrameMagic, message, wparam, lparam};
  Reply reply{};
  bool timed_out = false;
  const bool ok = transfer(fd, &request, sizeof request, false, timeout_ms, &timed_out) &&
                  transfer(fd, &reply, sizeof reply, true, timeout_ms, &timed_out);
  close(fd);
  if (!ok) {
    return timed_out ? SendOutcome::kTimedOut : SendOutcome::kNoWindow;
  }
  if (reply.magic != kFrameMagic) {
    return SendOutcome::kNoWindow;
  }
  if (reply.status == kReplyWithheld) {
    return SendOutcome::kWithheld;
  }
  *result = static_cast<intptr_t>(reply.result);
  return SendOutcome::kAnswered;
}

SendOutcome send_any(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                     int timeout_ms, intptr_t *result) {
  if (window >= kFirstRemoteWindow) {
    return send_remote(window, message, wparam, lparam, timeout_ms, result);
  }
  return send_local(window, message, wparam, lparam, result);
}

// Answers one connection on a published window's socket.
void serve_connection(int fd, OsWindow window) {
  Request request{};
  if (!transfer(fd, &request, sizeof request, true, kRequestWaitMs, nullptr) ||
      request.magic != kFrameMagic) {
    return; // a liveness probe of os_find_window, or garbage
  }
  intptr_t result = 0;
  const SendOutcome outcome =
      send_local(window, request.message, static_cast<uintptr_t>(request.wparam),
                 static_cast<intptr_t>(request.lparam), &result, true);
  Reply reply{kFrameMagic, outcome == SendOutcome::kAnswered ? kReplyAnswered : kReplyWithheld,
              static_cast<int64_t>(result)};
  transfer(fd, &reply, sizeof reply, false, kRequestWaitMs, nullptr);
}

void unpublish(LocalWindow &window) {
  if (window.listen_fd >= 0) {
    close(window.listen_fd);
    unlink(window.socket_path.c_str());
    window.listen_fd = -1;
  }
}

} // namespace

extern "C" {

OsWindow os_create_window(const char *class_name, OsWindowProc proc, void *context) {
  if (class_name == nullptr || *class_name == '\0' || proc == nullptr) {
    os_set_last_error(kOsErrorInvalidParameter);
    return 0;
  }
  std::lock_guard lock(mutex);
  const OsWindow window = next_local++;
  local_windows[window] = LocalWindow{class_name, proc, context, -1, {}};
  return window;
}

void os_destroy_window(OsWindow window) {
  std::lock_guard lock(mutex);
  auto it = local_windows.find(window);
  if (it != local_windows.end()) {
    unpublish(it->second);
    local_windows.erase(it);
  }
}

OsWindow os_find_window_in_process(const char *class_name) {
  if (class_name == nullptr || *class_name == '\0') {
    os_set_last_error(kOsErrorInvalidParameter);
    return 0;
  }
  std::lock_guard lock(mutex);
  for (const auto &[window, local] : local_windows) {
    if (strcasecmp(local.class_name.c_str(), class_name) == 0) { // class names ignore case
      return window;
    }
  }
  os_set_last_error(kOsErrorFileNotFound);
  return 0;
}

OsWindow os_find_window(const char *class_name) {
  if (const OsWindow local = os_find_window_in_process(class_name); local != 0) {
    return local;
  }
  if (class_name == nullptr || *class_name == '\0') {
    return 0;
  }
  // Another process's window: only if something still listens there and
  // takes a connection (a process that died leaves its socket file behind; a
  // stopped one takes none once its queue is full).
  const std::string path = socket_path_for(class_name);
  int probe = -1;
  if (connect_to(path, static_cast<int>(kOsConnectTimeoutMs), &probe) !=
      ConnectOutcome::kConnected) {
    os_set_last_error(kOsErrorFileNotFound);
    return 0;
  }
  close(probe);
  std::lock_guard lock(mutex);
  for (const auto &[window, remote] : remote_windows) {
    if (remote.socket_path == path) {
      return window;
    }
  }
  const OsWindow window = next_remote++;
  remote_windows[window] = RemoteWindow{path};
  return window;
}

int os_publish_window(OsWindow window) {
  std::lock_guard lock(mutex);
  auto it = local_windows.find(window);
  if (it == local_windows.end()) {
    os_set_last_error(kOsErrorInvalidWindow);
    return 0;
  }
  LocalWindow &local = it->second;
  if (local.listen_fd >= 0) {
    return 1;
  }
  std::error_code ignored;
  std::filesystem::create_directories(platform_os::runtime_dir(), ignored);
  const std::string path = socket_path_for(local.class_name);
  sockaddr_un address;
  if (!fill_address(path, address)) {
    os_set_last_error(kOsErrorFilenameTooLong);
    return 0;
  }
  // A live window of that class elsewhere keeps its name, even when its
  // process is stopped; a dead one's leftover socket file is replaced.
  int other = -1;
  if (connect_to(path, static_cast<int>(kOsConnectTimeoutMs), &other) != ConnectOutcome::kNobody) {
    if (other >= 0) {
      close(other);
    }
    os_set_last_error(kOsErrorAlreadyExists);
    return 0;
  }
  unlink(path.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      listen(fd, 16) != 0) {
    if (fd >= 0) {
      close(fd);
    }
    os_set_last_error(kOsErrorAccessDenied);
    return 0;
  }
  local.listen_fd = fd;
  local.socket_path = path;
  return 1;
}

int os_serve_windows(int32_t timeout_ms) {
  std::vector<pollfd> fds;
  std::vector<OsWindow> owners;
  {
    std::lock_guard lock(mutex);
    for (const auto &[window, local] : local_windows) {
      if (local.listen_fd >= 0) {
        fds.push_back({local.listen_fd, POLLIN, 0});
        owners.push_back(window);
      }
    }
  }
  if (fds.empty()) {
    if (timeout_ms > 0) {
      usleep(static_cast<useconds_t>(timeout_ms) * 1000);
    }
    return 0;
  }
  const int ready = poll(fds.data(), fds.size(), timeout_ms < 0 ? -1 : timeout_ms);
  if (ready <= 0) {
    return 0;
  }
  int served = 0;
  for (size_t i = 0; i < fds.size(); ++i) {
    if ((fds[i].revents & POLLIN) == 0) {
      continue;
    }
    const int connection = accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) {
      serve_connection(connection, owners[i]);
      close(connection);
      served = 1;
    }
  }
  return served;
}

int os_message_from_other_process() {
  return message_from_other_process ? 1 : 0;
}

void os_window_withhold_answer() {
  answer_withheld = true;
}

intptr_t os_send_message(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  intptr_t result = 0;
  switch (send_any(window, message, wparam, lparam, -1, &result)) {
  case SendOutcome::kAnswered:
    return result;
  case SendOutcome::kWithheld:
  case SendOutcome::kTimedOut:
    os_set_last_error(kOsErrorTimeout);
    return 0;
  case SendOutcome::kNoWindow:
    break;
  }
  os_set_last_error(kOsErrorInvalidWindow);
  return 0;
}

int os_send_message_timeout(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                            uint32_t timeout_ms, uintptr_t *result) {
  intptr_t answer = 0;
  const int wait_ms = static_cast<int>(std::min<uint32_t>(timeout_ms, INT32_MAX));
  const int64_t started_ms = os_clock_now_ms();
  switch (send_any(window, message, wparam, lparam, wait_ms, &answer)) {
  case SendOutcome::kAnswered:
    if (result != nullptr) {
      *result = static_cast<uintptr_t>(answer);
    }
    return 1;
  case SendOutcome::kWithheld:
    os_sleep(timeout_ms);
    os_set_last_error(0);
    return 0;
  case SendOutcome::kTimedOut:
    // The wall clock has waited; a virtual clock has to be told.
    if (os_clock_is_virtual() && os_clock_now_ms() - started_ms < timeout_ms) {
      os_clock_advance_ms(timeout_ms - (os_clock_now_ms() - started_ms));
    }
    os_set_last_error(0);
    return 0;
  case SendOutcome::kNoWindow:
    break;
  }
  os_set_last_error(kOsErrorInvalidWindow);
  return 0;
}

} // extern "C"
