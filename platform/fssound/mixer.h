// The software mixer: voices of decoded sounds, resampled by linear
// interpolation into 44.1 kHz stereo. Knows nothing of time or files; the
// sound library tells it how many frames have passed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "platform/fssound/wave_decoder.h"

namespace fssound {

inline constexpr uint32_t kMixRateHz = 44100;
inline constexpr int kMixChannels = 2;
// Playback rates that sound_set_frequency accepts; others are clamped.
inline constexpr int32_t kMinPlaybackRateHz = 100;
inline constexpr int32_t kMaxPlaybackRateHz = 40000;
// Attenuation in hundredths of a decibel; below the floor is as good as silent.
inline constexpr int32_t kMinAttenuationCb = -10000;

struct Voice {
  std::shared_ptr<const PcmSound> sound;
  int32_t resource_id = 0;
  uint32_t owner = 0; // host value of the module the sound came from
  bool playing = false;
  bool loop = false;
  float gain = 1.0f;
  // Source position and its advance per mixed frame, in source frames as
  // 32.32 fixed point, so skipping time and rendering it agree exactly.
  uint64_t position = 0;
  uint64_t step = 0;
};

class Mixer {
public:
  // Adds a stopped voice playing at the sound's own rate; returns its handle
  // (never 0, never reused while the mixer lives).
  uint32_t add(std::shared_ptr<const PcmSound> sound, int32_t resource_id, uint32_t owner);
  void remove(uint32_t handle);
  // Removes every voice of one owner (its module is going away).
  void remove_owner(uint32_t owner);
  void clear();

  // Null for an unknown handle.
  Voice *find(uint32_t handle);

  // A stopped voice starts from its first frame; a playing one keeps its
  // place and only takes the new loop flag.
  static void play(Voice &voice, bool loop);
  static void stop(Voice &voice);
  // gain = 10^(attenuation / 2000), attenuation clamped to
  // kMinAttenuationCb..0: -800 is -8 dB.
  static void set_attenuation(Voice &voice, int32_t attenuation_cb);
  // Clamped to kMinPlaybackRateHz..kMaxPlaybackRateHz.
  static void set_rate(Voice &voice, int32_t rate_hz);

  int playing_count() const;

  // Mixes out.size() / 2 frames of interleaved stereo into `out` and moves
  // every playing voice on by as much.
  void render(std::span<int16_t> out);
  // Moves every playing voice on by `frames` without producing samples.
  void skip(uint64_t frames);

private:
  std::map<uint32_t, Voice> voices_;
  uint32_t next_handle_ = 1;
  std::vector<float> mix_; // render's sum, kept between calls
};

} // namespace fssound
