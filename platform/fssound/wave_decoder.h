// Decodes RIFF/WAVE PCM data: 8-bit unsigned or 16-bit signed samples, one or
// two channels, any rate from 1 Hz to 384 kHz.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fssound {

struct PcmSound {
  uint16_t channels; // 1 or 2
  uint32_t rate_hz;  // frames per second as recorded
  // Interleaved frames, 16-bit signed; 8-bit sources are scaled by 256.
  std::vector<int16_t> samples;

  size_t frames() const { return samples.size() / channels; }
};

// Walks the RIFF chunks (any order, odd sizes padded, unknown chunks skipped)
// for "fmt " and "data". A trailing partial frame is dropped. Returns nullopt
// with `error` set for anything else: not RIFF/WAVE, a chunk or the RIFF size
// reaching past the bytes given, a format other than PCM, a block alignment
// that does not match, or no samples.
std::optional<PcmSound> decode_wave(std::span<const uint8_t> bytes, std::string *error);

} // namespace fssound
