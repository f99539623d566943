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

void sound_slot_release_unloaded(SoundSlot &slot) {
  sound_release(&slot.handle);
  slot.status = 0;
}

void sound_slot_reload_and_play(SoundSlot &slot, int32_t loop) {
  slot.status = sound_load(&slot.handle, slot.resource_id, slot.host_value);
  if (slot.status == 1) {
    sound_play(slot.handle, loop);
  }
}

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
  sound_slot_reload_and_play(slot, 0);
}

} // namespace frame
