// VETswitch: the start/stop switch of the timed, height-limited launch climb.
// Its icon callback runs the whole sequence on every update, in this order:
// ready, blink, the powered run (lamp, climb-rate hold, height and time
// limits, ending burst, run end), the wind-down, and the seconds counter.
#include <cstdlib>
#include <iterator>
#include <limits>

#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "fsuipc/records.h"
#include "ostrel/convert.h"
#include "ostrel/element_builders.h"
#include "ostrel/fsuipc_link.h"
#include "ostrel/gauges.h"
#include "ostrel/shared_state.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kSwitchBackgroundBitmap = 0x2200; // 25 x 73
constexpr int32_t kSwitchFirstImage = 0x2201;       // 0x2201 stop, 0x2202 start
constexpr int32_t kSwitchImageCount = 2;

constexpr float kBlinkHalfPeriodMs = 500.0f;
constexpr int64_t kSecondTickMs = 1000;
constexpr int64_t kEndingBurstIntervalMs = 300;
constexpr int64_t kRampStepMs = 1000;
constexpr double kRampDecayPerStep = 0.9;
// The ramp ends once its truncated command is at most this in magnitude.
constexpr int64_t kRampEndMagnitude = 200;
constexpr uint32_t kWindDownDelayS = 10; // after the run end second

// The lamp burns steadily while airspeed exceeds wind speed by more than this.
constexpr float kLampSteadyMarginKnots = 1.0f;

// Climb-rate hold: the band the run tries to keep, m/s, and the command
// values around it. Vertical speed tokens are in 1/256 m/s.
constexpr auto kRawPerMps = static_cast<float>(kClimbRawPerMps); // float arithmetic here
constexpr float kClimbBandLowMps = 10.0f;
constexpr float kClimbBandHighMps = 15.0f;
constexpr float kAboveBandGain = 15.0f;
constexpr int32_t kInsideBandCommand = 1;
// Wind-down command: vertical speed (1/256 m/s) times this.
constexpr double kWindDownGain = 15.0;
// Token 0x02 is in 1/256 m.
constexpr double kAltitudeRawPerMetre = 256.0;
// The start's command from the start altitude reference, per metre.
constexpr float kStartCommandPerMetre = -3.0f;

// Time limit of a run by target height: the first row whose bound the target
// lies below. Read by time_limit_s.
struct TimeLimitRow {
  double target_below_m;
  uint32_t limit_s;
};
constexpr TimeLimitRow kTimeLimits[] = {
    {.target_below_m = 375.0,                                   .limit_s = 50},
    {.target_below_m = 525.0,                                   .limit_s = 65},
    {.target_below_m = std::numeric_limits<double>::infinity(), .limit_s = 70},
};

// Simulator version codes (low 16 bits of offset 0x3308) that get
// kKeyOlderSimulator at the start.
constexpr uint32_t kSimVersionMask = 0xFFFF;
constexpr uint32_t kOlderSimulatorCodes[] = {6, 7};

// Start burst, sent in this order after the version check.
constexpr uint32_t kStartBurst[] = {
    kKeyStartSetup1, kKeyStartSetup2, kKeyStartSetup3, kKeyStartSetup4,
    kKeyStartSetup5, kKeyStartSetup6, kKeyRunPairA,    kKeyRunPairB,
};

// Token records of VETswitch, refreshed right before each read.
constinit TokenVar level_set_var = {.id = kTokenLevelSetAllowed};
constinit TokenVar airspeed_var = {.id = kTokenAirspeedKnots};
constinit TokenVar wind_var = {.id = kTokenWindSpeedKnots};
constinit TokenVar climb_var = {.id = kTokenVerticalSpeedRaw};
constinit TokenVar altitude_var = {.id = kTokenAltitudeM};
constinit TokenVar start_altitude_var = {.id = kTokenStartAltitudeRaw};
constinit TokenVar throttle_var = {.id = kTokenThrottle};
constinit TokenVar throttle_aux_var = {.id = kTokenThrottleAux};
constinit TokenVar cancel_a_var = {.id = kTokenWindDownCancelA};
constinit TokenVar cancel_b_var = {.id = kTokenWindDownCancelB};

// Placements of VETswitch holding the sounds: the first service 3 loads
// them, the last service 12 releases them and marks them unloaded, so that a
// second placement neither loads them over the first nor loses them when one
// placement goes, and ballast's valve click stays silent without a VETswitch.
constinit int32_t sound_holders = 0;

void send(uint32_t key_event, int32_t value = 0) {
  frame::send_key_event(key_event, value);
}

uint32_t time_limit_s(double target_height_m) {
  for (const TimeLimitRow &row : kTimeLimits) {
    if (target_height_m < row.target_below_m) {
      return row.limit_s;
    }
  }
  return kTimeLimits[std::size(kTimeLimits) - 1].limit_s;
}

// Command of the climb-rate hold for a climb rate in m/s.
int32_t climb_hold_command(float rate_mps) {
  if (rate_mps > kClimbBandHighMps) {
    return truncate_i32((rate_mps - kClimbBandHighMps) * kRawPerMps * kAboveBandGain);
  }
  if (rate_mps >= kClimbBandLowMps) {
    return kInsideBandCommand;
  }
  return truncate_i32(-((kClimbBandLowMps - rate_mps) * kRawPerMps));
}

void return_to_idle(VetRun &run) {
  run.switch_image = kSwitchStop;
  run.lamp_state = kLampOff;
  run.ending = false;
  run.winding = false;
}

// The run under power: lamp, climb-rate hold, limits, ending burst, run end.
void powered_step(VetRun &run) {
  if (run.lamp_toggled && run.lamp_state == kLampReady) {
    send(kKeyLampToggle);
    run.lamp_toggled = false;
  }

  const auto airspeed_kt = static_cast<float>(frame::read_token(airspeed_var));
  const auto wind_kt = static_cast<float>(frame::read_token(wind_var));
  if (airspeed_kt - wind_kt > kLampSteadyMarginKnots) {
    run.lamp_state = kLampOn;
  } else if (run.blink) {
    frame::sound_slot_play_once(vet_switch_sounds.blink_tone, kAttenuationQuiet);
    run.lamp_state = kLampOn;
  } else {
    run.lamp_state = kLampOff;
  }

  const float rate_mps = static_cast<float>(frame::read_token(climb_var)) / kRawPerMps;
  send(kKeyClimbCommand, climb_hold_command(rate_mps));

  if (run.start_reference_m + run.target_height_m < frame::read_token(altitude_var)) {
    run.ending = true;
  }
  if (run.seconds > time_limit_s(run.target_height_m)) {
    run.ending = true;
  }
  if (!run.ending) {
    return;
  }

  if (!run.end_sound_played) {
    frame::sound_slot_play_once(vet_switch_sounds.run_end, kAttenuationQuiet);
    run.end_sound_played = true;
  }
  run.lamp_state = kLampEnding;
  const int32_t now_ms = frame::module_clock_ms();
  if (frame::elapsed_ms(now_ms, run.ending_step_mark_ms) > kEndingBurstIntervalMs) {
    send(kKeyEndingPulse);
    send(kKeyEndingA);
    send(kKeyEndingB);
    run.ending_step_mark_ms = now_ms;
  }
  const double throttle = frame::read_token(throttle_var);
  const double throttle_aux = frame::read_token(throttle_aux_var);
  if (throttle == 0.0 && throttle_aux == 0.0) {
    send(kKeyPowerOffA);
    send(kKeyPowerOffB);
    run.run_end_second = run.seconds;
    run.running = false;
  }
}

// While ending: the command follows the climb rate until, 10 s after the run
// end, a ramp takes it down by 10 % a second; either cancel token stops it.
void wind_down_step(VetRun &run) {
  const auto command = static_cast<float>(frame::read_token(climb_var) * kWindDownGain);
  if (!run.winding) {
    send(kKeyClimbCommand, truncate_i32(command));
    run.ramp_value = command;
    // Only once the run has ended: before that run_end_second is the previous
    // run's (or 0) and would start the ramp under power.
    if (!run.running && run.seconds == run.run_end_second + kWindDownDelayS) {
      run.lamp_state = kLampOn;
      run.ramp_mark_ms = run.seconds_step_clock_ms;
      run.winding = true;
    }
  }
  if (run.winding) {
    const int32_t now_ms = frame::module_clock_ms();
    if (frame::elapsed_ms(now_ms, run.ramp_mark_ms) > kRampStepMs) {
      run.ramp_value = static_cast<float>(run.ramp_value * kRampDecayPerStep);
      const int32_t ramp_command = truncate_i32(run.ramp_value);
      send(kKeyClimbCommand, ramp_command);
      if (std::llabs(static_cast<long long>(ramp_command)) <= kRampEndMagnitude) {
        send(kKeyClimbCommand, 0);
        return_to_idle(run);
      }
      run.ramp_mark_ms = now_ms;
    }
  }
  const double cancel_a = frame::read_token(cancel_a_var);
  const double cancel_b = frame::read_token(cancel_b_var);
  if (cancel_a != 0.0 || cancel_b != 0.0) {
    return_to_idle(run);
  }
}

double vet_switch_sequence(Element *) {
  VetRun &run = vet_run;

  if (frame::read_token(level_set_var) != 0.0 && !run.running && !run.ending &&
      run.lamp_state == kLampOff) {
    run.lamp_state = kLampReady;
    run.end_sound_played = false;
  }

  const int32_t blink_now_ms = frame::module_clock_ms();
  if (static_cast<float>(frame::elapsed_ms(blink_now_ms, run.blink_mark_ms)) > kBlinkHalfPeriodMs) {
    run.blink = !run.blink;
    run.blink_mark_ms = blink_now_ms;
  }

  if (run.running) {
    powered_step(run);
  }
  if (run.ending) {
    wind_down_step(run);
  }

  // The wind-down takes this reading of the next update as its first mark.
  const int32_t seconds_now_ms = frame::module_clock_ms();
  run.seconds_step_clock_ms = seconds_now_ms;
  if (run.counting && frame::elapsed_ms(seconds_now_ms, run.seconds_mark_ms) > kSecondTickMs) {
    ++run.seconds;
    run.seconds_mark_ms = seconds_now_ms;
  }

  return run.switch_image - 1;
}

// Whether the FSUIPC read of the simulator version says 6 or 7. A failed
// read says nothing: no stale answer is taken for a version.
bool older_simulator() {
  uint32_t sim_version = 0;
  bool answered = false;
  if (fsuipc_open()) {
    answered = fsuipc_read_u32(fsuipc::kOffsetSimVersion, &sim_version);
  }
  fsuipc_close();
  if (!answered) {
    return false;
  }
  for (uint32_t code : kOlderSimulatorCodes) {
    if ((sim_version & kSimVersionMask) == code) {
      return true;
    }
  }
  return false;
}

uint32_t vet_start(MousePoint *, uint32_t flags) {
  VetRun &run = vet_run;
  run.max_climb_rate_mps = 0.0;
  if (frame::read_token(level_set_var) == 0.0 || run.running) {
    return flags;
  }
  send(kKeyClimbCommand, 0);
  if (older_simulator()) {
    send(kKeyOlderSimulator);
  }
  for (uint32_t key_event : kStartBurst) {
    send(key_event);
  }
  run.start_reference_m =
      static_cast<float>(frame::read_token(start_altitude_var) / kAltitudeRawPerMetre);
  if (run.start_reference_m > 0.0f) {
    send(kKeyClimbCommand, truncate_i32(run.start_reference_m * kStartCommandPerMetre));
  }
  run.seconds = 0;
  const int32_t now_ms = frame::module_clock_ms();
  run.seconds_mark_ms = now_ms;
  run.blink_mark_ms = now_ms;
  run.counting = true;
  run.running = true;
  run.ending = false;
  run.winding = false;
  if (run.switch_image != kSwitchStart) {
    frame::sound_slot_play_once(vet_switch_sounds.click, kAttenuationFull);
  }
  run.switch_image = kSwitchStart;
  return flags;
}

uint32_t vet_stop(MousePoint *, uint32_t flags) {
  VetRun &run = vet_run;
  if (run.running || run.ending) {
    run.lamp_state = kLampOff;
    send(kKeyEndingPulse);
    send(kKeyPowerOffA);
    send(kKeyPowerOffB);
    run.running = false;
    run.ending = false;
    run.winding = false;
    send(kKeyRunPairA);
    send(kKeyRunPairB);
    send(kKeyPowerOffA);
    send(kKeyPowerOffB);
  }
  if (run.switch_image != kSwitchStop) {
    frame::sound_slot_play_once(vet_switch_sounds.click, kAttenuationFull);
  }
  run.switch_image = kSwitchStop;
  return flags;
}

int32_t vet_switch_service(GaugeHeader *, int32_t service_id, uint32_t host_value) {
  VetSwitchSounds &sounds = vet_switch_sounds;
  switch (service_id) {
  case 2:
    send(kKeyPowerOffA);
    send(kKeyPowerOffB);
    break;
  case 3:
    if (sound_holders++ == 0) {
      frame::sound_slot_load(sounds.click, host_value);
      frame::sound_slot_load(sounds.run_end, host_value);
      frame::sound_slot_load(sounds.blink_tone, host_value);
    }
    break;
  case 12:
    if (sound_holders > 0 && --sound_holders == 0) {
      frame::sound_slot_release_unloaded(sounds.click);
      frame::sound_slot_release_unloaded(sounds.run_end);
      frame::sound_slot_release_unloaded(sounds.blink_tone);
    }
    break;
  default:
    break;
  }
  return 0;
}

constinit MouseRectangle vet_switch_mouse[] = {
    mouse_whole_gauge(),
    mouse_child(0, 0, 37, 37, kCursorUp, kMouseClick, vet_start),
    mouse_child(0, 37, 37, 37, kCursorDown, kMouseClick, vet_stop),
    mouse_end_parent(),
    mouse_end(),
};

constinit IconElement vet_switch_icon =
    icon(kSwitchFirstImage, kSwitchImageCount, {0, 7}, kTokenElementSource, &vet_switch_gauge,
         vet_switch_sequence);
constinit Element *vet_switch_children[] = {&vet_switch_icon.element, nullptr};
constinit StaticImageElement vet_switch_root =
    static_image(kSwitchBackgroundBitmap, &vet_switch_gauge, vet_switch_children, kDrawTransparent);
constinit Element *vet_switch_roots[] = {&vet_switch_root.element, nullptr};

} // namespace

constinit GaugeHeader vet_switch_gauge = {GAUGE_HEADER_COMMON("VETswitch", vet_switch_roots),
                                          .default_size = 100, .mouse_list = vet_switch_mouse,
                                          .gauge_callback = vet_switch_service};

} // namespace ostrel
