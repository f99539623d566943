#include "velmar/lnav/vario_audio.h"

#include <cmath>
#include <initializer_list>

#include "frame/fssound.h"
#include "frame/sound_slot.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"

namespace lnav {
namespace {

// Loaded at the first placement's service 3, released at the last
// placement's service 12, played from the vario cycle. Two placements of lnav
// share this one pair of tones.
constinit SoundSlot climb_tone = {
    .status = 0, .handle = 0, .resource_id = kSoundClimbTone, .host_value = 0};
constinit SoundSlot sink_tone = {
    .status = 0, .handle = 0, .resource_id = kSoundSinkTone, .host_value = 0};
// Placements that have had service 3 and not yet service 12.
constinit int32_t tone_holders = 0;

constexpr double kBaseRateHz = 22000.0;
constexpr double kRateHzPerRaw = 5.0; // +1 m/s = 256 raw raises the rate by 1280 Hz
constexpr double kMinRateHz = 100.0;
constexpr double kMaxRateHz = 40000.0;
constexpr double kSinkThresholdRaw = -128.0; // -0.5 m/s
constexpr int32_t kLoudestKnob = 9;
constexpr int32_t kAttenuationPerKnobStep = 400;

constexpr int32_t kServiceLoadSounds = 3;
constexpr int32_t kServiceRemove = 12;

} // namespace

int32_t tone_rate_hz(double te_raw) {
  double rate = std::trunc(kBaseRateHz + kRateHzPerRaw * te_raw);
  if (!(rate >= kMinRateHz)) {
    rate = kMinRateHz;
  } else if (rate > kMaxRateHz) {
    rate = kMaxRateHz;
  }
  return static_cast<int32_t>(rate);
}

int32_t tone_attenuation(int32_t knob) {
  return (knob - kLoudestKnob) * kAttenuationPerKnobStep;
}

int32_t update_audio(double te_raw) {
  if (power_on == 0) {
    frame::sound_slot_stop(climb_tone);
    frame::sound_slot_stop(sink_tone);
    return 0;
  }
  const int32_t rate_hz = tone_rate_hz(te_raw);
  if (te_raw > 0.0) {
    frame::sound_slot_stop(sink_tone);
    frame::sound_slot_start_loop(climb_tone);
    if (climb_tone.status != 0) {
      sound_set_frequency(climb_tone.handle, rate_hz);
    }
  } else if (te_raw > kSinkThresholdRaw) {
    frame::sound_slot_stop(sink_tone);
    frame::sound_slot_stop(climb_tone);
  } else {
    frame::sound_slot_stop(climb_tone);
    if (sink_tone_enabled != 0) {
      frame::sound_slot_start_loop(sink_tone);
    } else {
      frame::sound_slot_stop(sink_tone);
    }
    // Set even while the sink tone is disabled, so it starts at the right pitch.
    if (sink_tone.status != 0) {
      sound_set_frequency(sink_tone.handle, rate_hz);
    }
  }
  const int32_t attenuation = tone_attenuation(volume_knob);
  for (SoundSlot *slot : {&climb_tone, &sink_tone}) {
    if (slot->status != 0) {
      sound_set_volume(slot->handle, attenuation);
    }
  }
  return 1;
}

int32_t lnav_gauge_callback(GaugeHeader *, int32_t service_id, uint32_t host_value) {
  if (service_id == kServiceLoadSounds && tone_holders++ == 0) {
    frame::sound_slot_load(climb_tone, host_value);
    frame::sound_slot_load(sink_tone, host_value);
  } else if (service_id == kServiceRemove && tone_holders > 0 && --tone_holders == 0) {
    // Marked unloaded, so that no later start reloads a released tone.
    frame::sound_slot_release_unloaded(climb_tone);
    frame::sound_slot_release_unloaded(sink_tone);
  }
  return 0;
}

} // namespace lnav
