// One FSSound sound of a gauge and the procedures every gauge uses with it.
#pragma once

#include <cstdint>

struct SoundSlot {
  int32_t status;      // result of the last sound_load: 1 loaded, 0 before any load
  uint32_t handle;     // written by the sound library
  int32_t resource_id; // SOUND resource of the module
  uint32_t host_value; // value the host passed with gauge service 3
};

namespace frame {

// Service 3: store the host value, then status = sound_load.
void sound_slot_load(SoundSlot &slot, uint32_t host_value);
// Service 12.
void sound_slot_release(SoundSlot &slot);
// Service 12 of the last holder of a slot that several placements share:
// releases it and marks it unloaded (status 0), so that no later one-shot
// play reloads it with nobody left to release it.
void sound_slot_release_unloaded(SoundSlot &slot);
// One-shot play with `attenuation` (0 or -800), reloading once on failure.
void sound_slot_play_once(SoundSlot &slot, int32_t attenuation);
// After a failed play: status = sound_load, and if that loaded, one more
// play, looped (1) or once (0).
void sound_slot_reload_and_play(SoundSlot &slot, int32_t loop);

// Looping sounds (frame/sound_loop.cpp, linked only into a module that calls
// them: they import sound_is_playing and sound_stop).
// Starts a looping sound unless it already plays; one reload-and-retry.
void sound_slot_start_loop(SoundSlot &slot);
// Stops a loaded sound if it is playing.
void sound_slot_stop(SoundSlot &slot);

} // namespace frame
