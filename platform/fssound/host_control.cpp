// The host's side of the sound stand-in (fssound_host.h).
#include "platform/fssound/fssound_host.h"
#include "platform/fssound/sound_library.h"

namespace fssound {

bool register_module(uint32_t host_value, const std::string &path, std::string *error) {
  // Read the file before taking the lock: other calls need not wait for it.
  auto resources = gaugeres::ResourceFile::open(path, error);
  if (!resources) {
    return false;
  }
  register_resources(host_value, *resources);
  return true;
}

void register_resources(uint32_t host_value, const gaugeres::ResourceFile &resources) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.modules().insert_or_assign(host_value, resources);
}

void unregister_module(uint32_t host_value) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  lib.mixer().remove_owner(host_value);
  lib.modules().erase(host_value);
}

std::vector<CallRecord> take_calls(uint64_t *dropped) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  return lib.take_calls(dropped);
}

void set_call_log(bool on) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.set_logging(on);
}

bool start_recording(const std::string &path, std::string *error) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up(); // time before the start is not recorded
  return lib.recorder().open(path, error);
}

void stop_recording() {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  lib.recorder().close();
}

void set_mix_listener(std::function<void(std::span<const int16_t> frames)> listener) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up(); // what was mixed before is not the listener's
  lib.listener() = std::move(listener);
}

std::string take_recording_error() {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  return lib.recorder().take_error();
}

void sync() {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
}

int playing_count() {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  return lib.mixer().playing_count();
}

void reset() {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.reset();
}

} // namespace fssound
