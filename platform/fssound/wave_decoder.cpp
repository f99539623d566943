#include "platform/fssound/wave_decoder.h"

#include <cstring>

#include "platform/resources/byte_reader.h"

namespace fssound {
namespace {

using gaugeres::range_inside;
using gaugeres::read_le;

constexpr uint64_t kRiffHeaderBytes = 12; // "RIFF" size "WAVE"
constexpr uint64_t kChunkHeaderBytes = 8; // id, size
constexpr uint32_t kFmtMinBytes = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kFmtExtensibleBytes = 40;
constexpr uint64_t kExtensibleSubformatAt = 24; // inside the fmt chunk
constexpr uint32_t kMaxRateHz = 384000;

struct Format {
  uint16_t channels;
  uint32_t rate_hz;
  uint16_t block_align;
  uint16_t bits;
};

bool fail(std::string *error, const std::string &what) {
  if (error) {
    *error = what;
  }
  return false;
}

bool chunk_is(std::span<const uint8_t> bytes, uint64_t at, const char *id) {
  return std::memcmp(bytes.data() + at, id, 4) == 0;
}

std::optional<Format> read_format(std::span<const uint8_t> chunk, std::string *error) {
  if (chunk.size() < kFmtMinBytes) {
    fail(error, "format chunk of " + std::to_string(chunk.size()) + " bytes is too short");
    return std::nullopt;
  }
  uint16_t tag = *read_le<uint16_t>(chunk, 0);
  // WAVE_FORMAT_EXTENSIBLE carries the real tag in the first word of its
  // sub-format GUID.
  if (tag == kFormatExtensible && chunk.size() >= kFmtExtensibleBytes) {
    tag = *read_le<uint16_t>(chunk, kExtensibleSubformatAt);
  }
  const Format format{.channels = *read_le<uint16_t>(chunk, 2),
                      .rate_hz = *read_le<uint32_t>(chunk, 4),
                      .block_align = *read_le<uint16_t>(chunk, 12),
                      .bits = *read_le<uint16_t>(chunk, 14)};
  if (tag != kFormatPcm) {
    fail(error, "format " + std::to_string(tag) + " is not PCM");
    return std::nullopt;
  }
  if (format.channels != 1 && format.channels != 2) {
    fail(error, std::to_string(format.channels) + " channels (1 or 2 supported)");
    return std::nullopt;
  }
  if (format.bits != 8 && format.bits != 16) {
    fail(error, std::to_string(format.bits) + "-bit samples (8 or 16 supported)");
    return std::nullopt;
  }
  if (format.rate_hz == 0 || format.rate_hz > kMaxRateHz) {
    fail(error, "sample rate " + std::to_string(format.rate_hz) + " Hz is out of range");
    return std::nullopt;
  }
  if (format.block_align != format.channels * format.bits / 8) {
    fail(error, "block alignment " + std::to_string(format.block_align) +
                    " does not match the channels and sample size");
    return std::nullopt;
  }
  return format;
}

} // namespace

std::optional<PcmSound> decode_wave(std::span<const uint8_t> bytes, std::string *error) {
  if (bytes.size() < kRiffHeaderBytes || !chunk_is(bytes, 0, "RIFF") ||
      !chunk_is(bytes, 8, "WAVE")) {
    fail(error, "not a RIFF/WAVE file");
    return std::nullopt;
  }
  const uint64_t riff_bytes = *read_le<uint32_t>(bytes, 4);
  if (riff_bytes < 4 || !range_inside(8, riff_bytes, bytes.size())) {
    fail(error, "RIFF size " + std::to_string(riff_bytes) + " does not fit the " +
                    std::to_string(bytes.size()) + " bytes given");
    return std::nullopt;
  }
  // Chunks after the RIFF's own end are not part of the file.
  const auto riff = bytes.first(8 + riff_bytes);

  std::optional<Format> format;
  std::span<const uint8_t> data;
  bool have_data = false;
  uint64_t at = kRiffHeaderBytes;
  while (at + kChunkHeaderBytes <= riff.size()) {
    const uint64_t size = *read_le<uint32_t>(riff, at + 4);
    const uint64_t body = at + kChunkHeaderBytes;
    if (!range_inside(body, size, riff.size())) {
      fail(error, "chunk \"" + std::string(reinterpret_cast<const char *>(riff.data() + at), 4) +
                      "\" reaches past the end of the file");
      return std::nullopt;
    }
    if (chunk_is(riff, at, "fmt ") && !format) {
      format = read_format(riff.subspan(body, size), error);
      if (!format) {
        return std::nullopt;
      }
    } else if (chunk_is(riff, at, "data") && !have_data) {
      data = riff.subspan(body, size);
      have_data = true;
    }
    at = body + size + (size & 1); // chunks start on even offsets
  }
  if (!format) {
    fail(error, "no format chunk");
    return std::nullopt;
  }
  if (!have_data) {
    fail(error, "no data chunk");
    return std::nullopt;
  }
  const size_t frames = data.size() / format->block_align;
  if (frames == 0) {
    fail(error, "no samples");
    return std::nullopt;
  }
  PcmSound sound{.channels = format->channels, .rate_hz = format->rate_hz, .samples = {}};
  const size_t count = frames * format->channels;
  sound.samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (format->bits == 8) {
      sound.samples[i] = static_cast<int16_t>((data[i] - 128) * 256);
    } else {
      sound.samples[i] = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
  }
  return sound;
}

} // namespace fssound
