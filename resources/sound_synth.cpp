#include "resources/sound_synth.h"

#include "platform/resources/byte_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace rescomp {
namespace {

using gaugeres::put_tag;
using gaugeres::put_u16;
using gaugeres::put_u32;

constexpr uint32_t kRate22050Hz = 22050;
constexpr uint32_t kRate8000Hz = 8000;
constexpr uint32_t kRate44100Hz = 44100;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kFull16 = 32767.0;

// Deterministic noise: xorshift32, values in [-1, 1).
class Noise {
public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

private:
  uint32_t state_;
};

// Samples in [-1, 1] to PCM bytes: 16-bit signed or 8-bit unsigned.
std::vector<uint8_t> to_pcm16(const std::vector<double> &samples) {
  std::vector<uint8_t> out;
  out.reserve(samples.size() * 2);
  for (double s : samples) {
    const auto v = static_cast<int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * kFull16));
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return out;
}

std::vector<uint8_t> to_pcm8(const std::vector<double> &samples) {
  std::vector<uint8_t> out;
  out.reserve(samples.size());
  for (double s : samples) {
    out.push_back(static_cast<uint8_t>(128 + std::lround(std::clamp(s, -1.0, 1.0) * 127.0)));
  }
  return out;
}

std::vector<double> interleave(const std::vector<double> &left, const std::vector<double> &right) {
  std::vector<double> out(left.size() * 2);
  for (size_t i = 0; i < left.size(); ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
  return out;
}

// A decaying noise burst added at `start`: `tau_samples` is the 1/e time,
// `smooth` (0..1) a one-pole low-pass that darkens the noise.
void add_burst(std::vector<double> &out, size_t start, double amplitude, double tau_samples,
               double smooth, Noise &noise) {
  double low = 0.0;
  const size_t length = static_cast<size_t>(tau_samples * 6.0);
  for (size_t i = 0; i < length && start + i < out.size(); ++i) {
    low += (1.0 - smooth) * (noise.next() - low);
    out[start + i] += amplitude * std::exp(-static_cast<double>(i) / tau_samples) * low;
  }
}

// A decaying sine added at `start` (a knock of the lever on its stop).
void add_knock(std::vector<double> &out, size_t start, double amplitude, double frequency_hz,
               double rate_hz, double tau_samples) {
  const size_t length = static_cast<size_t>(tau_samples * 6.0);
  for (size_t i = 0; i < length && start + i < out.size(); ++i) {
    const double t = static_cast<double>(i);
    out[start + i] +=
        amplitude * std::exp(-t / tau_samples) * std::sin(kTwoPi * frequency_hz * t / rate_hz);
  }
}

// velmar climb tone: 4200 samples of 22050 Hz mono 16-bit. A 1650 Hz sine at
// 0.7 of full scale that rises from silence over samples 0..840, holds, fades
// out over 32 samples and is zero from sample 3560 to the end. Looped, the
// zeros are the gap between beeps.
constexpr int kClimbSamples = 4200;
constexpr double kClimbHz = 1650.0;
constexpr int kClimbRiseEnd = 840;
constexpr int kClimbFadeStart = 3528;
constexpr int kClimbToneEnd = 3560;
constexpr double kClimbLevel = 0.7;

std::vector<uint8_t> make_climb_tone() {
  std::vector<double> s(kClimbSamples, 0.0);
  for (int n = 0; n < kClimbToneEnd; ++n) {
    double envelope = 1.0;
    if (n < kClimbRiseEnd) {
      envelope = static_cast<double>(n) / kClimbRiseEnd;
    } else if (n >= kClimbFadeStart) {
      envelope = static_cast<double>(kClimbToneEnd - n) / (kClimbToneEnd - kClimbFadeStart);
    }
    s[n] = kClimbLevel * envelope * std::sin(kTwoPi * kClimbHz * n / kRate22050Hz);
  }
  const auto pcm = to_pcm16(s);
  return make_wave(1, kRate22050Hz, 16, pcm);
}

// velmar sink tone: 4200 samples of 22050 Hz mono 16-bit, silent outside
// samples 506..3575. Inside, a 400 Hz sine driven 1.7 times past full scale
// and clipped: a near-square wave with about 60 % of the tone's samples (44 %
// of the file's) at full scale.
constexpr int kSinkSamples = 4200;
constexpr double kSinkHz = 400.0;
constexpr int kSinkToneStart = 506;
constexpr int kSinkToneEnd = 3575;
constexpr double kSinkOverdrive = 1.7;

std::vector<uint8_t> make_sink_tone() {
  std::vector<double> s(kSinkSamples, 0.0);
  for (int n = kSinkToneStart; n < kSinkToneEnd; ++n) {
    const double phase = kTwoPi * kSinkHz * (n - kSinkToneStart) / kRate22050Hz;
    s[n] = std::clamp(kSinkOverdrive * std::sin(phase), -1.0, 1.0);
  }
  return make_wave(1, kRate22050Hz, 16, to_pcm16(s));
}

// Airbrake lever reaching closed: a ratchet of six clicks, quickening, then
// the knock of the lever on its stop. 0.35 s, 22050 Hz mono 8-bit.
std::vector<uint8_t> make_airbrake_closing() {
  std::vector<double> s(static_cast<size_t>(0.35 * kRate22050Hz), 0.0);
  Noise noise(0x2D00);
  constexpr std::array<size_t, 6> kClickAt = {0, 1500, 2800, 3900, 4800, 5500};
  for (size_t at : kClickAt) {
    add_burst(s, at, 0.5, 40.0, 0.3, noise);
  }
  add_knock(s, 6000, 0.8, 110.0, kRate22050Hz, 500.0);
  add_burst(s, 6000, 0.4, 120.0, 0.6, noise);
  return make_wave(1, kRate22050Hz, 8, to_pcm8(s));
}

// Airbrake lever reaching open: the blades sliding out (swelling dark
// noise) and a sharper knock at the end stop. 0.3 s, 22050 Hz mono 8-bit.
std::vector<uint8_t> make_airbrake_opening() {
  const size_t total = static_cast<size_t>(0.3 * kRate22050Hz);
  const size_t slide_end = 4400;
  std::vector<double> s(total, 0.0);
  Noise noise(0x2E00);
  double low = 0.0;
  for (size_t i = 0; i < slide_end; ++i) {
    low += 0.2 * (noise.next() - low);
    s[i] = 0.6 * (static_cast<double>(i) / slide_end) * low;
  }
  add_knock(s, slide_end, 0.8, 180.0, kRate22050Hz, 300.0);
  add_burst(s, slide_end, 0.6, 60.0, 0.2, noise);
  return make_wave(1, kRate22050Hz, 8, to_pcm8(s));
}

// Switch click: a sharp 2.5 kHz ring over a noise transient, 40 ms of
// 22050 Hz stereo 16-bit; the right channel 7 samples later and a little
// quieter, as if the switch sat left of centre.
std::vector<uint8_t> make_switch_click() {
  const size_t total = static_cast<size_t>(0.04 * kRate22050Hz);
  std::vector<double> left(total, 0.0);
  Noise noise(0x2600);
  add_burst(left, 0, 0.6, 30.0, 0.0, noise);
  add_knock(left, 0, 0.5, 2500.0, kRate22050Hz, 60.0);
  constexpr size_t kRightDelay = 7;
  std::vector<double> right(total, 0.0);
  for (size_t i = kRightDelay; i < total; ++i) {
    right[i] = 0.85 * left[i - kRightDelay];
  }
  return make_wave(2, kRate22050Hz, 16, to_pcm16(interleave(left, right)));
}

// End of the launch run: a two-note chime, 880 Hz for 0.25 s then 587 Hz
// for 0.35 s, each with a 5 ms attack and a decay. 8000 Hz mono 16-bit.
std::vector<uint8_t> make_run_end_chime() {
  struct Note {
    double start_s, length_s, frequency_hz;
  };
  constexpr std::array<Note, 2> kNotes = {
      {{0.0, 0.25, 880.0}, {0.25, 0.35, 587.33}}
  };
  std::vector<double> s(static_cast<size_t>(0.6 * kRate8000Hz), 0.0);
  for (const Note &note : kNotes) {
    const size_t start = static_cast<size_t>(note.start_s * kRate8000Hz);
    const size_t length = static_cast<size_t>(note.length_s * kRate8000Hz);
    const double attack = 0.005 * kRate8000Hz;
    for (size_t i = 0; i < length && start + i < s.size(); ++i) {
      const double t = static_cast<double>(i);
      const double envelope = std::min(1.0, t / attack) * std::exp(-3.0 * t / length) *
                              std::min(1.0, static_cast<double>(length - i) / attack);
      s[start + i] += 0.6 * envelope * std::sin(kTwoPi * note.frequency_hz * t / kRate8000Hz);
    }
  }
  return make_wave(1, kRate8000Hz, 16, to_pcm16(s));
}

// Blink tone: a 2 kHz beep of 0.12 s with 3 ms ramps, 44100 Hz stereo
// 16-bit, the same on both channels.
std::vector<uint8_t> make_blink_tone() {
  const size_t total = static_cast<size_t>(0.12 * kRate44100Hz);
  const double ramp = 0.003 * kRate44100Hz;
  std::vector<double> mono(total);
  for (size_t i = 0; i < total; ++i) {
    const double t = static_cast<double>(i);
    const double envelope = std::min({1.0, t / ramp, static_cast<double>(total - i) / ramp});
    mono[i] = 0.5 * envelope * std::sin(kTwoPi * 2000.0 * t / kRate44100Hz);
  }
  return make_wave(2, kRate44100Hz, 16, to_pcm16(interleave(mono, mono)));
}

// Who reads this: the manifest parser (names) and rescomp (bytes).
constexpr SoundGenerator kGenerators[] = {
    {"climb_tone",       "1650 Hz beep, 22050 Hz mono 16-bit",            make_climb_tone      },
    {"sink_tone",        "400 Hz near-square beep, 22050 Hz mono 16-bit", make_sink_tone       },
    {"airbrake_closing", "ratchet and knock, 22050 Hz mono 8-bit",        make_airbrake_closing},
    {"airbrake_opening", "slide and knock, 22050 Hz mono 8-bit",          make_airbrake_opening},
    {"switch_click",     "click, 22050 Hz stereo 16-bit",                 make_switch_click    },
    {"run_end_chime",    "two-note chime, 8000 Hz mono 16-bit",           make_run_end_chime   },
    {"blink_tone",       "2 kHz beep, 44100 Hz stereo 16-bit",            make_blink_tone      },
};

} // namespace

std::span<const SoundGenerator> sound_generators() {
  return kGenerators;
}

const SoundGenerator *find_sound_generator(const std::string &name) {
  for (const auto &generator : kGenerators) {
    if (name == generator.name) {
      return &generator;
    }
  }
  return nullptr;
}

// Canonical 44-byte header:
//   "RIFF" <file size - 8> "WAVE"
//   "fmt " 16 <format 1> <channels> <rate> <bytes/s> <block align> <bits>
//   "data" <data size> samples... [pad byte if the size is odd]
std::vector<uint8_t> make_wave(uint16_t channels, uint32_t rate_hz, uint16_t bits_per_sample,
                               std::span<const uint8_t> data) {
  const uint16_t block_align = static_cast<uint16_t>(channels * bits_per_sample / 8);
  const uint32_t data_bytes = static_cast<uint32_t>(data.size());
  const uint32_t pad = data_bytes & 1;
  std::vector<uint8_t> out;
  out.reserve(44 + data_bytes + pad);
  put_tag(out, "RIFF");
  put_u32(out, 36 + data_bytes + pad);
  put_tag(out, "WAVE");
  put_tag(out, "fmt ");
  put_u32(out, 16);
  put_u16(out, 1); // PCM
  put_u16(out, channels);
  put_u32(out, rate_hz);
  put_u32(out, rate_hz * block_align);
  put_u16(out, block_align);
  put_u16(out, bits_per_sample);
  put_tag(out, "data");
  put_u32(out, data_bytes);
  out.insert(out.end(), data.begin(), data.end());
  if (pad) {
    out.push_back(0);
  }
  return out;
}

} // namespace rescomp
