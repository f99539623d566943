// WAVE data of every shape the modules carry, and damaged data, through the
// decoder and through the mixer's rendered output.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/fssound.h"
#include "platform/fssound/fssound_host.h"
#include "platform/fssound/wave_decoder.h"
#include "platform/os/os.h"
#include "platform/resources/resource_file.h"
#include "resources/section_writer.h"
#include "resources/sound_synth.h"
#include "tests/platform/audio_measure.h"

namespace {

constexpr uint32_t kTestModule = 21; // host value of the in-memory resources

std::vector<uint8_t> wave(uint16_t channels, uint32_t rate_hz, uint16_t bits,
                          std::vector<uint8_t> data) {
  return rescomp::make_wave(channels, rate_hz, bits, data);
}

std::vector<uint8_t> pcm16(const std::vector<int16_t> &samples) {
  std::vector<uint8_t> out;
  for (int16_t s : samples) {
    out.push_back(static_cast<uint8_t>(s & 0xFF));
    out.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
  }
  return out;
}

void put_u32(std::vector<uint8_t> &b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// ---- through the mixer ---------------------------------------------------

class WaveMixTest : public ::testing::Test {
protected:
  void SetUp() override {
    os_clock_use_virtual(1'700'000'000'000);
    fssound::reset();
  }
  void TearDown() override { fssound::reset(); }

  // Makes `wav` SOUND 1 of the test module.
  static void register_sound(const std::vector<uint8_t> &wav) {
    std::string error;
    const rescomp::SectionEntry entry{.type = 2, .id = 1, .bytes = wav};
    const auto section = rescomp::build_section({entry}, &error);
    const auto resources = gaugeres::ResourceFile::from_section(*section, &error);
    ASSERT_TRUE(resources) << error;
    fssound::register_resources(kTestModule, *resources);
  }

  // Plays `wav` looped for 10 ms and returns the recording.
  static audio_test::Recording play_recorded(const std::vector<uint8_t> &wav) {
    register_sound(wav);
    std::string error;
    const auto path = (std::filesystem::temp_directory_path() / "platform_wave.wav").string();
    EXPECT_TRUE(fssound::start_recording(path, &error)) << error;
    uint32_t handle = 0;
    EXPECT_EQ(sound_load(&handle, 1, kTestModule), 1);
    EXPECT_NE(sound_play(handle, 1), 0);
    os_clock_advance_ms(10);
    fssound::stop_recording();
    sound_release(&handle);
    auto r = audio_test::read_recording(path, &error);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(r.left.size(), 441u);
    return r;
  }
};

TEST_F(WaveMixTest, EightBitIsUnsignedAroundHalfScale) {
  // Mono at the mix rate, so every output frame is one source sample.
  const auto r = play_recorded(wave(1, 44100, 8, {192, 128, 0, 255}));
  const int16_t expected[] = {16384, 0, -32768, 32512};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(r.left[i], expected[i % 4]) << "frame " << i;
    EXPECT_EQ(r.right[i], expected[i % 4]) << "frame " << i;
  }
}

TEST_F(WaveMixTest, StereoKeepsItsChannelsApart) {
  const auto r16 = play_recorded(wave(2, 44100, 16, pcm16({1000, -2000, 3000, -4000})));
  EXPECT_EQ(r16.left[0], 1000);
  EXPECT_EQ(r16.right[0], -2000);
  EXPECT_EQ(r16.left[1], 3000);
  EXPECT_EQ(r16.right[1], -4000);
  EXPECT_EQ(r16.left[2], 1000);

  const auto r8 = play_recorded(wave(2, 44100, 8, {0, 255}));
  EXPECT_EQ(r8.left[5], -32768);
  EXPECT_EQ(r8.right[5], 32512);
}

TEST_F(WaveMixTest, SlowerSourcesAreInterpolatedLinearly) {
  // 22050 Hz ramp 0, 100, 200, ...: every other output frame falls halfway.
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; ++i)
    ramp[i] = static_cast<int16_t>(100 * i);
  const auto r = play_recorded(wave(1, 22050, 16, pcm16(ramp)));
  for (size_t i = 0; i < 190; ++i) {
    EXPECT_EQ(r.left[i], static_cast<int16_t>(50 * i)) << "frame " << i;
  }
  // The loop closes from the last sample back to the first.
  EXPECT_EQ(r.left[199], (9900 + 0) / 2);
  EXPECT_EQ(r.left[200], 0);
}

TEST_F(WaveMixTest, DamagedDataIsNotLoaded) {
  auto bad = wave(1, 22050, 16, pcm16({1, 2, 3}));
  bad[20] = 3; // format tag: IEEE float
  register_sound(bad);
  uint32_t handle = 5;
  EXPECT_EQ(sound_load(&handle, 1, kTestModule), 0);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(fssound::take_calls().back().error, "SOUND 1: format 3 is not PCM");
}

// ---- the decoder ---------------------------------------------------------

TEST(WaveDecoder, WalksChunksItDoesNotKnow) {
  // An odd-sized LIST chunk with its pad byte before the samples, and bytes
  // after the RIFF's end, which are not part of it.
  auto wav = wave(1, 8000, 16, pcm16({7, -7}));
  const std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  wav.insert(wav.begin() + 36, list.begin(), list.end());
  put_u32(wav, 4, static_cast<uint32_t>(wav.size() - 8));
  wav.insert(wav.end(), {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF});
  std::string error;
  const auto sound = fssound::decode_wave(wav, &error);
  ASSERT_TRUE(sound) << error;
  EXPECT_EQ(sound->rate_hz, 8000u);
  EXPECT_EQ(sound->samples, (std::vector<int16_t>{7, -7}));
}

TEST(WaveDecoder, RefusesMalformedData) {
  struct Patch {
    const char *what;
    size_t at;
    int width;
    uint32_t value;
  };
  // Canonical layout: RIFF size at 4, fmt size at 16, tag 20, channels 22,
  // rate 24, block align 32, bits 34, "data" at 36, its size at 40, 8 bytes
  // of samples from 44.
  const Patch patches[] = {
      {"not RIFF",               0,  1, 'X'       },
      {"not WAVE",               8,  1, 'X'       },
      {"RIFF size past the end", 4,  4, 45        },
      {"RIFF size 0xFFFFFFFF",   4,  4, 0xFFFFFFFF},
      {"data size past the end", 40, 4, 9         },
      {"data size 0xFFFFFFFF",   40, 4, 0xFFFFFFFF},
      {"fmt chunk too short",    16, 4, 8         },
      {"not PCM",                20, 2, 3         },
      {"three channels",         22, 2, 3         },
      {"24-bit",                 34, 2, 24        },
      {"block alignment wrong",  32, 2, 4         },
      {"rate 0",                 24, 4, 0         },
      {"no fmt chunk",           12, 1, 'x'       },
      {"no data chunk",          36, 1, 'x'       },
      {"no whole frame",         40, 4, 1         },
  };
  const auto good = wave(1, 22050, 16, pcm16({100, 200, 300, 400}));
  std::string error;
  ASSERT_TRUE(fssound::decode_wave(good, &error)) << error;
  for (const auto &patch : patches) {
    auto w = good;
    for (int i = 0; i < patch.width; ++i) {
      w[patch.at + i] = static_cast<uint8_t>(patch.value >> (8 * i));
    }
    error.clear();
    EXPECT_FALSE(fssound::decode_wave(w, &error)) << patch.what;
    EXPECT_FALSE(error.empty()) << patch.what;
  }
  EXPECT_FALSE(fssound::decode_wave(std::span(good).first(50), &error)) << "cut in the samples";
  EXPECT_FALSE(fssound::decode_wave({}, &error)) << "empty";
}

} // namespace
