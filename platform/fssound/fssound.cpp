// Placeholder until the mixer lands: every load fails.
#include "frame/fssound.h"
#include "platform/fssound/fssound_host.h"

#define FSSOUND_EXPORT __attribute__((visibility("default")))

extern "C" {
FSSOUND_EXPORT int32_t sound_load(uint32_t* handle, int32_t, uint32_t) {
  *handle = 0;
  return 0;
}
FSSOUND_EXPORT int32_t sound_play(uint32_t, int32_t) { return 0; }
FSSOUND_EXPORT void sound_set_volume(uint32_t, int32_t) {}
FSSOUND_EXPORT void sound_release(uint32_t* handle) { *handle = 0; }
FSSOUND_EXPORT int32_t sound_is_playing(uint32_t) { return 0; }
FSSOUND_EXPORT void sound_stop(uint32_t) {}
FSSOUND_EXPORT void sound_set_frequency(uint32_t, int32_t) {}
}

namespace fssound {
bool register_module(uint32_t, const std::string&, std::string*) { return true; }
void unregister_module(uint32_t) {}
std::vector<CallRecord> take_calls() { return {}; }
bool start_recording(const std::string&, std::string* error) {
  if (error) *error = "audio not supported yet";
  return false;
}
void stop_recording() {}
void sync() {}
int playing_count() { return 0; }
void reset() {}
} // namespace fssound
