// Measurements on rendered audio for the platform tests: a WAV reader that
// checks every header field of the recorder's format, and pitch, level and
// silence measures on one channel.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace audio_test {

struct Recording {
  std::vector<int16_t> left;
  std::vector<int16_t> right;
};

inline uint32_t u32_at(const std::vector<uint8_t> &b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
inline uint16_t u16_at(const std::vector<uint8_t> &b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads a file written by the recorder. `error` says which header field is
// wrong; the result is empty then.
inline Recording read_recording(const std::string &path, std::string *error) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto bad = [&](const std::string &what) {
    *error = path + ": " + what;
    return Recording{};
  };
  if (b.size() < 44)
    return bad("shorter than a header");
  if (std::string(b.begin(), b.begin() + 4) != "RIFF")
    return bad("no RIFF");
  if (u32_at(b, 4) != b.size() - 8)
    return bad("RIFF size is not the file size - 8");
  if (std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt ")
    return bad("no WAVEfmt ");
  if (u32_at(b, 16) != 16 || u16_at(b, 20) != 1 || u16_at(b, 22) != 2 || u32_at(b, 24) != 44100 ||
      u32_at(b, 28) != 176400 || u16_at(b, 32) != 4 || u16_at(b, 34) != 16)
    return bad("format is not PCM 44100 Hz 16-bit stereo");
  if (std::string(b.begin() + 36, b.begin() + 40) != "data")
    return bad("no data chunk");
  if (u32_at(b, 40) != b.size() - 44)
    return bad("data size is not the file size - 44");
  Recording r;
  for (size_t at = 44; at + 4 <= b.size(); at += 4) {
    r.left.push_back(static_cast<int16_t>(u16_at(b, at)));
    r.right.push_back(static_cast<int16_t>(u16_at(b, at + 2)));
  }
  return r;
}

// Frequency from the upward zero crossings in [first, last), each placed
// between its two samples by linear interpolation.
inline double pitch_hz(std::span<const int16_t> s, size_t first, size_t last, double rate_hz) {
  double first_crossing = -1.0;
  double last_crossing = -1.0;
  int crossings = 0;
  for (size_t i = first + 1; i < last && i < s.size(); ++i) {
    if (s[i - 1] < 0 && s[i] >= 0) {
      const double at =
          static_cast<double>(i - 1) + -s[i - 1] / static_cast<double>(s[i] - s[i - 1]);
      if (first_crossing < 0.0)
        first_crossing = at;
      last_crossing = at;
      ++crossings;
    }
  }
  if (crossings < 2)
    return 0.0;
  return (crossings - 1) * rate_hz / (last_crossing - first_crossing);
}

inline double rms(std::span<const int16_t> s, size_t first, size_t last) {
  double sum = 0.0;
  for (size_t i = first; i < last; ++i)
    sum += static_cast<double>(s[i]) * s[i];
  return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0.0;
}

inline bool all_zero(std::span<const int16_t> s, size_t first, size_t last) {
  for (size_t i = first; i < last && i < s.size(); ++i) {
    if (s[i] != 0)
      return false;
  }
  return true;
}

} // namespace audio_test
