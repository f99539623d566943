// Clock, sleep, process id, last error and message boxes of the OS stand-in.
#include <chrono>
#include <cstdio>
#include <limits>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "platform/os/os.h"
#include "platform/os/os_host.h"

namespace {

// The panel thread owns the clock; a mutex keeps a background server thread
// (offset server, tests) from tearing the 64-bit value.
std::mutex clock_mutex;
bool clock_virtual = false;
int64_t virtual_now_ms = 0;

thread_local uint32_t last_error = 0;

std::mutex box_mutex;
std::vector<platform_os::MessageBoxRecord> boxes;
bool box_echo = true;

int64_t wall_now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

extern "C" {

void os_clock_use_virtual(int64_t start_epoch_ms) {
  std::lock_guard lock(clock_mutex);
  clock_virtual = true;
  virtual_now_ms = start_epoch_ms;
}

int os_clock_is_virtual() {
  std::lock_guard lock(clock_mutex);
  return clock_virtual ? 1 : 0;
}

void os_clock_advance_ms(int64_t ms) {
  std::lock_guard lock(clock_mutex);
  if (clock_virtual && ms > 0) {
    // Saturates instead of wrapping: the host refuses waits past the end,
    // and a module's sleep there must not turn time back.
    virtual_now_ms = ms > std::numeric_limits<int64_t>::max() - virtual_now_ms
                         ? std::numeric_limits<int64_t>::max()
                         : virtual_now_ms + ms;
  }
}

int64_t os_clock_now_ms() {
  std::lock_guard lock(clock_mutex);
  return clock_virtual ? virtual_now_ms : wall_now_ms();
}

void os_ftime(OsTimeB *out) {
  const int64_t now_ms = os_clock_now_ms();
  out->time_s = now_ms / 1000;
  out->millitm = static_cast<uint16_t>(now_ms % 1000);
}

void os_sleep(uint32_t ms) {
  if (os_clock_is_virtual()) {
    os_clock_advance_ms(ms);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
}

uint32_t os_get_current_process_id() {
  return static_cast<uint32_t>(getpid());
}
uint32_t os_get_last_error() {
  return last_error;
}
void os_set_last_error(uint32_t error) {
  last_error = error;
}

int os_message_box(OsWindow, const char *text, const char *caption, uint32_t) {
  std::lock_guard lock(box_mutex);
  boxes.push_back({caption ? caption : "", text ? text : "", os_clock_now_ms()});
  if (box_echo) {
    std::fprintf(stderr, "message box: %s | %s\n", caption ? caption : "", text ? text : "");
  }
  return 1;
}

} // extern "C"

namespace platform_os {

std::vector<MessageBoxRecord> take_message_boxes() {
  std::lock_guard lock(box_mutex);
  std::vector<MessageBoxRecord> out;
  out.swap(boxes);
  return out;
}

void set_message_box_echo(bool echo) {
  std::lock_guard lock(box_mutex);
  box_echo = echo;
}

} // namespace platform_os
