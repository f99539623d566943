// The two tones of the audio variometer, measured on the samples that
// velmar.so carries.
#include <gtest/gtest.h>

#include "platform/fssound/wave_decoder.h"
#include "platform/resources/resource_file.h"
#include "tests/platform/audio_measure.h"

namespace {

constexpr double kSourceRateHz = 22050.0;
constexpr double kPitchTolerance = 0.01; // of the nominal frequency
constexpr int16_t kFullScale = 32767;

fssound::PcmSound velmar_tone(int32_t id) {
  std::string error;
  const auto resources = gaugeres::ResourceFile::open(GAUGE_MODULE_DIR "/velmar.so", &error);
  EXPECT_TRUE(resources) << error;
  const auto bytes = resources->find(gaugeres::ResourceType::kSound, id);
  EXPECT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 8444u);
  auto sound = fssound::decode_wave(*bytes, &error);
  EXPECT_TRUE(sound) << error;
  EXPECT_EQ(sound->channels, 1);
  EXPECT_EQ(sound->rate_hz, 22050u);
  EXPECT_EQ(sound->frames(), 4200u);
  return *sound;
}

TEST(VarioTones, ClimbToneRisesHoldsAndEndsInSilence) {
  const auto tone = velmar_tone(0x2C00);
  const std::span<const int16_t> s = tone.samples;
  EXPECT_NEAR(audio_test::pitch_hz(s, 900, 3500, kSourceRateHz), 1650.0, 1650.0 * kPitchTolerance);

  // Rise over the first 840 samples: five blocks, each louder than the last,
  // from near silence.
  const double steady = audio_test::rms(s, 900, 3500);
  double previous = 0.0;
  for (size_t block = 0; block < 5; ++block) {
    const double level = audio_test::rms(s, block * 168, block * 168 + 168);
    EXPECT_GT(level, previous) << "block " << block;
    previous = level;
  }
  EXPECT_LT(audio_test::rms(s, 0, 84), 0.1 * steady);
  // Steady from there: 200-sample blocks within 3 % of the mean.
  for (size_t at = 900; at + 200 <= 3500; at += 200) {
    EXPECT_NEAR(audio_test::rms(s, at, at + 200), steady, 0.03 * steady) << "at " << at;
  }
  EXPECT_GT(audio_test::rms(s, 3400, 3500), 0.9 * steady);
  EXPECT_TRUE(audio_test::all_zero(s, 3560, 4200));
}

TEST(VarioTones, SinkToneIsANearSquareBetweenSilences) {
  const auto tone = velmar_tone(0x2D00);
  const std::span<const int16_t> s = tone.samples;
  EXPECT_TRUE(audio_test::all_zero(s, 0, 506));
  EXPECT_TRUE(audio_test::all_zero(s, 3575, 4200));
  EXPECT_GT(audio_test::rms(s, 506, 600), 10000.0);
  EXPECT_GT(audio_test::rms(s, 3480, 3575), 10000.0);
  EXPECT_NEAR(audio_test::pitch_hz(s, 506, 3575, kSourceRateHz), 400.0, 400.0 * kPitchTolerance);
  const auto at_full_scale = std::count_if(s.begin() + 506, s.begin() + 3575,
                                           [](int16_t v) { return std::abs(v) >= kFullScale; });
  const double share = static_cast<double>(at_full_scale) / (3575 - 506);
  EXPECT_GT(share, 0.4);
  EXPECT_LT(share, 0.7);
}

} // namespace
