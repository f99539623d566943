#include "ostrel/shared_state.h"

namespace ostrel {

constinit double ballast_percent = 0.0;

constinit VetRun vet_run = {
    .lamp_state = kLampOff,
    .switch_image = kSwitchStop,
    .running = false,
    .ending = false,
    .winding = false,
    .counting = false,
    .blink = false,
    .end_sound_played = false,
    .lamp_toggled = false,
    .seconds = 0,
    .run_end_second = 0,
    .start_reference_m = 0.0f,
    .target_height_m = 450.0,
    .ramp_value = 0.0f,
    .max_climb_rate_mps = 0.0,
    .blink_mark_ms = 0,
    .seconds_mark_ms = 0,
    .ending_step_mark_ms = 0,
    .ramp_mark_ms = 0,
    .seconds_step_clock_ms = 0,
};

// SOUND resources: 0x2600 click, 0x2700 end of run, 0x2800 blink tone.
constinit VetSwitchSounds vet_switch_sounds = {
    .click = {.status = 0, .handle = 0, .resource_id = 0x2600, .host_value = 0},
    .run_end = {.status = 0, .handle = 0, .resource_id = 0x2700, .host_value = 0},
    .blink_tone = {.status = 0, .handle = 0, .resource_id = 0x2800, .host_value = 0},
};

} // namespace ostrel
