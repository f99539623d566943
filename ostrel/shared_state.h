// Module-wide state that more than one gauge of ostrel reads. Everything runs
// on the host's panel thread, one call at a time, so nothing here is locked.
// Two placements of one gauge share this state.
#pragma once

#include <cstdint>

#include "frame/sound_slot.h"

namespace ostrel {

// Ballast percentage last set by the ballast gauge's presets, steps and dump
// steps (0 until the first), shown by VETdisplay's line 9. Not a tank reading.
extern constinit double ballast_percent;

// Lamp states, VETlamp's image index.
enum : int16_t {
  kLampOff = 0,
  kLampOn = 1,
  kLampEnding = 2,
  kLampReady = 3,
};

// Switch image values; VETswitch's icon shows switch_image - 1.
inline constexpr int32_t kSwitchStop = 1;
inline constexpr int32_t kSwitchStart = 2;

// The launch sequence. Written by VETswitch's icon callback and buttons, by
// VETlamp's click (lamp_toggled) and by VETsetup's buttons (target height);
// VETlamp shows lamp_state, VETdisplay shows seconds and raises
// max_climb_rate_mps. Clock marks are module-clock readings, ms.
struct VetRun {
  int16_t lamp_state;
  int32_t switch_image;
  bool running;          // under power
  bool ending;           // being ended or wound down
  bool winding;          // the wind-down ramp is active
  bool counting;         // seconds counter runs; set by the first start, never cleared
  bool blink;            // toggled every 500 ms
  bool end_sound_played; // in this run
  bool lamp_toggled;     // VETlamp's click sent kKeyLampToggle an odd number of times
  uint32_t seconds;      // counted since the last start
  uint32_t run_end_second;
  float start_reference_m; // start altitude reference
  double target_height_m;  // 300 .. 600, set on VETsetup
  float ramp_value;        // last wind-down command, 1/256 m/s x 15
  double max_climb_rate_mps;
  int32_t blink_mark_ms;
  int32_t seconds_mark_ms;
  int32_t ending_step_mark_ms; // last ending burst (every 300 ms)
  int32_t ramp_mark_ms;
  int32_t seconds_step_clock_ms; // clock read by the seconds step of the last update
};
extern constinit VetRun vet_run;

// Attenuations of one-shot sounds (hundredths of a decibel).
inline constexpr int32_t kAttenuationFull = 0;
inline constexpr int32_t kAttenuationQuiet = -800;

// Sounds of VETswitch. The click also sounds for the ballast gauge's valve
// buttons, silent unless a VETswitch is placed (its service 3 loads it).
struct VetSwitchSounds {
  SoundSlot click;
  SoundSlot run_end;
  SoundSlot blink_tone;
};
extern constinit VetSwitchSounds vet_switch_sounds;

} // namespace ostrel
