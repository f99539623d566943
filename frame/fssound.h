// FSSound, the outside sound library. Modules link it by name (the stand-in in
// platform/fssound); kFsSoundOrdinals keeps each operation's ordinal number.
// A module imports only the operations it calls.
#pragma once

#include <cstdint>

extern "C" {
// 9: loads SOUND resource `resource_id` of the module identified by
// `host_value` (the value of gauge service 3); writes *handle; 1 when loaded.
int32_t sound_load(uint32_t *handle, int32_t resource_id, uint32_t host_value);
// 7: starts playing, looped (1) or once (0); non-zero when playing started.
int32_t sound_play(uint32_t handle, int32_t loop);
// 12: attenuation in hundredths of a decibel: 0 full, -800 is -8 dB.
void sound_set_volume(uint32_t handle, int32_t attenuation);
// 14: stops and frees the sound; *handle becomes 0.
void sound_release(uint32_t *handle);
// 5: non-zero while the sound plays.
int32_t sound_is_playing(uint32_t handle);
// 13: stops the sound.
void sound_stop(uint32_t handle);
// 10: playback rate in Hz, 100 to 40000; the sound's own rate plays it as recorded.
void sound_set_frequency(uint32_t handle, int32_t rate_hz);
}

struct FsSoundOrdinal {
  int ordinal;
  const char *name;
};

// Who reads this: the sound stand-in's call log and anyone mapping an
// operation to its ordinal.
inline constexpr FsSoundOrdinal kFsSoundOrdinals[] = {
    {.ordinal = 5,  .name = "sound_is_playing"   },
    {.ordinal = 7,  .name = "sound_play"         },
    {.ordinal = 9,  .name = "sound_load"         },
    {.ordinal = 10, .name = "sound_set_frequency"},
    {.ordinal = 12, .name = "sound_set_volume"   },
    {.ordinal = 13, .name = "sound_stop"         },
    {.ordinal = 14, .name = "sound_release"      },
};
static_assert(sizeof(kFsSoundOrdinals) / sizeof(kFsSoundOrdinals[0]) == 7);
