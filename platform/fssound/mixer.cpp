#include "platform/fssound/mixer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace fssound {
namespace {

constexpr int kFractionBits = 32;
constexpr double kFractionScale = 4294967296.0; // 2^32

uint64_t step_for_rate(uint32_t rate_hz) {
  return ((static_cast<uint64_t>(rate_hz) << kFractionBits) + kMixRateHz / 2) / kMixRateHz;
}

uint64_t end_position(const Voice &voice) {
  return static_cast<uint64_t>(voice.sound->frames()) << kFractionBits;
}

// Frame `index` of channel `channel` (a mono sound feeds both), or 0 past
// the end of a one-shot sound; a looping sound continues from its start.
float sample_at(const Voice &voice, size_t index, int channel) {
  const PcmSound &sound = *voice.sound;
  const size_t frames = sound.frames();
  if (index >= frames) {
    if (!voice.loop) {
      return 0.0f;
    }
    index %= frames;
  }
  const int source_channel = sound.channels == 1 ? 0 : channel;
  return sound.samples[index * sound.channels + source_channel];
}

} // namespace

uint32_t Mixer::add(std::shared_ptr<const PcmSound> sound, int32_t resource_id, uint32_t owner) {
  uint32_t handle = next_handle_++;
  if (next_handle_ == 0) {
    next_handle_ = 1;
  }
  Voice voice;
  voice.step = step_for_rate(sound->rate_hz);
  voice.sound = std::move(sound);
  voice.resource_id = resource_id;
  voice.owner = owner;
  voices_[handle] = std::move(voice);
  return handle;
}

void Mixer::remove(uint32_t handle) {
  voices_.erase(handle);
}

void Mixer::remove_owner(uint32_t owner) {
  std::erase_if(voices_, [owner](const auto &item) { return item.second.owner == owner; });
}

void Mixer::clear() {
  voices_.clear();
}

Voice *Mixer::find(uint32_t handle) {
  const auto it = voices_.find(handle);
  return it == voices_.end() ? nullptr : &it->second;
}

void Mixer::play(Voice &voice, bool loop) {
  if (!voice.playing) {
    voice.position = 0;
    voice.playing = true;
  }
  voice.loop = loop;
}

void Mixer::stop(Voice &voice) {
  voice.playing = false;
  voice.position = 0;
}

void Mixer::set_attenuation(Voice &voice, int32_t attenuation_cb) {
  const int32_t clamped = std::clamp(attenuation_cb, kMinAttenuationCb, 0);
  voice.gain = static_cast<float>(std::pow(10.0, clamped / 2000.0));
}

void Mixer::set_rate(Voice &voice, int32_t rate_hz) {
  voice.step = step_for_rate(
      static_cast<uint32_t>(std::clamp(rate_hz, kMinPlaybackRateHz, kMaxPlaybackRateHz)));
}

int Mixer::playing_count() const {
  return static_cast<int>(std::count_if(voices_.begin(), voices_.end(),
                                        [](const auto &item) { return item.second.playing; }));
}

void Mixer::render(std::span<int16_t> out) {
  const size_t frames = out.size() / kMixChannels;
  mix_.assign(frames * kMixChannels, 0.0f);
  std::vector<float> &mix = mix_;
  for (auto &[handle, voice] : voices_) {
    const uint64_t end = end_position(voice);
    for (size_t f = 0; f < frames && voice.playing; ++f) {
      const size_t index = static_cast<size_t>(voice.position >> kFractionBits);
      const float fraction = static_cast<float>((voice.position & 0xFFFFFFFFu) / kFractionScale);
      for (int c = 0; c < kMixChannels; ++c) {
        const float a = sample_at(voice, index, c);
        const float b = sample_at(voice, index + 1, c);
        mix[f * kMixChannels + c] += voice.gain * (a + (b - a) * fraction);
      }
      voice.position += voice.step;
      if (voice.position >= end) {
        if (voice.loop) {
          voice.position %= end;
        } else {
          stop(voice);
        }
      }
    }
  }
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = i < mix.size()
                 ? static_cast<int16_t>(std::lround(std::clamp(mix[i], -32768.0f, 32767.0f)))
                 : 0;
  }
}

void Mixer::skip(uint64_t frames) {
  for (auto &[handle, voice] : voices_) {
    if (!voice.playing) {
      continue;
    }
    const unsigned __int128 end = end_position(voice);
    const unsigned __int128 moved = static_cast<unsigned __int128>(voice.position) +
                                    static_cast<unsigned __int128>(voice.step) * frames;
    if (moved < end) {
      voice.position = static_cast<uint64_t>(moved);
    } else if (voice.loop) {
      voice.position = static_cast<uint64_t>(moved % end);
    } else {
      stop(voice);
    }
  }
}

} // namespace fssound
