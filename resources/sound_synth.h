// Generators of the modules' SOUND resources: each returns a complete
// RIFF/WAVE PCM file. Output is deterministic (fixed noise seeds, no clock).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rescomp {

struct SoundGenerator {
  const char *name;
  const char *description;
  std::vector<uint8_t> (*make)();
};

// Every generator a manifest may name.
std::span<const SoundGenerator> sound_generators();
// The generator called `name`, or null.
const SoundGenerator *find_sound_generator(const std::string &name);

// A RIFF/WAVE PCM file around `data` (interleaved little-endian samples).
// 8-bit samples are unsigned, 16-bit signed.
std::vector<uint8_t> make_wave(uint16_t channels, uint32_t rate_hz, uint16_t bits_per_sample,
                               std::span<const uint8_t> data);

} // namespace rescomp
