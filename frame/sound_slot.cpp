#include "frame/sound_slot.h"

#include "frame/fssound.h"

namespace frame {

void sound_slot_load(SoundSlot &slot, uint32_t host_value) {
  slot.host_value = host_value;
  slot.status = sound_load(&slot.handle, slot.resource_id, slot.host_value);
}

void sound_slot_release(SoundSlot &slot) {
  sound_release(&slot.handle);
}

namespace {
// One reload after a failed play, then one more play.
void reload_and_play(SoundSlot &slot, int32_t loop) {
  slot.status = sound_load(&slot.handle, slot.resource_id, slot.host_value);
  if (slot.status == 1) {
    sound_play(slot.handle, loop);
  }
}
} // namespace

void sound_slot_play_once(SoundSlot &slot, int32_t attenuation) {
  if (slot.status != 0) {
    sound_set_volume(slot.handle, attenuation);
  }
  if (slot.status == 0) {
    return;
  }
  if (sound_play(slot.handle, 0) != 0) {
    return;
  }
  reload_and_play(slot, 0);
}

void sound_slot_start_loop(SoundSlot &slot) {
  if (slot.status != 0 && sound_is_playing(slot.handle) != 0) {
    return;
  }
  if (slot.status == 0) {
    return;
  }
  if (sound_play(slot.handle, 1) != 0) {
    return;
  }
  reload_and_play(slot, 1);
}

void sound_slot_stop(SoundSlot &slot) {
  if (slot.status != 0 && sound_is_playing(slot.handle) != 0) {
    sound_stop(slot.handle);
  }
}

} // namespace frame
