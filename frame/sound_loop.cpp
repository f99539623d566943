// Looping sounds (lnav's tones). Kept apart from the one-shot procedures of
// sound_slot.cpp: the frame is an archive, so only a module that calls these
// links this file and imports sound_is_playing and sound_stop.
#include "frame/fssound.h"
#include "frame/sound_slot.h"

namespace frame {

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
  sound_slot_reload_and_play(slot, 1);
}

void sound_slot_stop(SoundSlot &slot) {
  if (slot.status != 0 && sound_is_playing(slot.handle) != 0) {
    sound_stop(slot.handle);
  }
}

} // namespace frame
