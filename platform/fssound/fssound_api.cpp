// The seven operations the modules import (frame/fssound.h), exported by
// name. Each catches the mix up to the present before it acts, so a change
// takes effect at the sample of the call's host time, and logs itself.
#include <memory>

#include "frame/fssound.h"
#include "platform/fssound/sound_library.h"

#define FSSOUND_EXPORT __attribute__((visibility("default")))

namespace {

using fssound::library;
using fssound::SoundLibrary;
using fssound::Voice;

std::string unknown(uint32_t handle) {
  return "unknown handle " + std::to_string(handle);
}

// Decodes SOUND `resource_id` of the module registered as `host_value`.
std::shared_ptr<const fssound::PcmSound> load_sound(SoundLibrary &lib, int32_t resource_id,
                                                    uint32_t host_value, std::string *error) {
  const auto module = lib.modules().find(host_value);
  if (module == lib.modules().end()) {
    *error = "no module registered for host value " + std::to_string(host_value);
    return nullptr;
  }
  const auto bytes = module->second.find(gaugeres::ResourceType::kSound, resource_id);
  if (!bytes) {
    *error = "module has no SOUND " + std::to_string(resource_id);
    return nullptr;
  }
  auto sound = fssound::decode_wave(*bytes, error);
  if (!sound) {
    *error = "SOUND " + std::to_string(resource_id) + ": " + *error;
    return nullptr;
  }
  return std::make_shared<const fssound::PcmSound>(std::move(*sound));
}

} // namespace

extern "C" {

FSSOUND_EXPORT int32_t sound_load(uint32_t *handle, int32_t resource_id, uint32_t host_value) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  const std::string args = lib.logging() ? "host=" + std::to_string(host_value) : std::string();
  if (handle == nullptr) {
    lib.log("sound_load", resource_id, args, 0, "null handle pointer");
    return 0;
  }
  std::string error;
  auto sound = load_sound(lib, resource_id, host_value, &error);
  if (!sound) {
    *handle = 0;
    lib.log("sound_load", resource_id, args, 0, error);
    return 0;
  }
  *handle = lib.mixer().add(std::move(sound), resource_id, host_value);
  lib.log("sound_load", resource_id, args, 1);
  return 1;
}

FSSOUND_EXPORT int32_t sound_play(uint32_t handle, int32_t loop) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  const std::string args =
      lib.logging() ? "loop=" + std::to_string(loop != 0 ? 1 : 0) : std::string();
  Voice *voice = lib.mixer().find(handle);
  if (voice == nullptr) {
    lib.log("sound_play", 0, args, 0, unknown(handle));
    return 0;
  }
  fssound::Mixer::play(*voice, loop != 0);
  lib.log("sound_play", voice->resource_id, args, 1);
  return 1;
}

FSSOUND_EXPORT void sound_set_volume(uint32_t handle, int32_t attenuation) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  const std::string args = lib.logging() ? "att=" + std::to_string(attenuation) : std::string();
  Voice *voice = lib.mixer().find(handle);
  if (voice == nullptr) {
    lib.log("sound_set_volume", 0, args, 0, unknown(handle));
    return;
  }
  fssound::Mixer::set_attenuation(*voice, attenuation);
  lib.log("sound_set_volume", voice->resource_id, args, 0);
}

FSSOUND_EXPORT void sound_release(uint32_t *handle) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  if (handle == nullptr) {
    lib.log("sound_release", 0, "", 0, "null handle pointer");
    return;
  }
  Voice *voice = lib.mixer().find(*handle);
  if (voice == nullptr) {
    lib.log("sound_release", 0, "", 0, unknown(*handle));
  } else {
    lib.log("sound_release", voice->resource_id, "", 0);
    lib.mixer().remove(*handle);
  }
  *handle = 0;
}

FSSOUND_EXPORT int32_t sound_is_playing(uint32_t handle) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  Voice *voice = lib.mixer().find(handle);
  if (voice == nullptr) {
    lib.log("sound_is_playing", 0, "", 0, unknown(handle));
    return 0;
  }
  const int32_t playing = voice->playing ? 1 : 0;
  lib.log("sound_is_playing", voice->resource_id, "", playing);
  return playing;
}

FSSOUND_EXPORT void sound_stop(uint32_t handle) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  Voice *voice = lib.mixer().find(handle);
  if (voice == nullptr) {
    lib.log("sound_stop", 0, "", 0, unknown(handle));
    return;
  }
  fssound::Mixer::stop(*voice);
  lib.log("sound_stop", voice->resource_id, "", 0);
}

FSSOUND_EXPORT void sound_set_frequency(uint32_t handle, int32_t rate_hz) {
  auto &lib = library();
  std::lock_guard lock(lib.mutex());
  lib.catch_up();
  const std::string args = lib.logging() ? "rate=" + std::to_string(rate_hz) : std::string();
  Voice *voice = lib.mixer().find(handle);
  if (voice == nullptr) {
    lib.log("sound_set_frequency", 0, args, 0, unknown(handle));
    return;
  }
  fssound::Mixer::set_rate(*voice, rate_hz);
  lib.log("sound_set_frequency", voice->resource_id, args, 0);
}

} // extern "C"
