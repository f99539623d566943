// Flight-recorder stand-in: records SOARRec_on/SOARRec_off and when they came.
#include <mutex>

#include "frame/soarrec.h"
#include "platform/os/os.h"
#include "platform/soarrec/soarrec_host.h"

#define SOARREC_EXPORT __attribute__((visibility("default")))

namespace {
std::mutex calls_mutex;
std::vector<soarrec::CallRecord> calls;
bool is_recording = false;
bool logging = true;

void record(bool on) {
  std::lock_guard lock(calls_mutex);
  is_recording = on;
  if (!logging) {
    return;
  }
  if (calls.size() >= soarrec::kMaxCalls) {
    calls.erase(calls.begin()); // a module switching on and off every cycle: keep the latest
  }
  calls.push_back({on, os_clock_now_ms()});
}
} // namespace

extern "C" {
SOARREC_EXPORT void SOARRec_on() {
  record(true);
}
SOARREC_EXPORT void SOARRec_off() {
  record(false);
}
}

namespace soarrec {

std::vector<CallRecord> take_calls() {
  std::lock_guard lock(calls_mutex);
  std::vector<CallRecord> out;
  out.swap(calls);
  return out;
}

void set_call_log(bool on) {
  std::lock_guard lock(calls_mutex);
  logging = on;
  if (!on) {
    calls.clear();
  }
}

bool recording() {
  std::lock_guard lock(calls_mutex);
  return is_recording;
}

} // namespace soarrec
