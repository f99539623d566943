// The sound stand-in playing velmar's tones under virtual time, judged on the
// audio it records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "frame/fssound.h"
#include "platform/fssound/fssound_host.h"
#include "platform/os/os.h"
#include "tests/platform/audio_measure.h"

namespace {

constexpr uint32_t kVelmar = 7; // host value the tests give velmar.so
constexpr int64_t kStartMs = 1'700'000'000'000;
constexpr double kMixRateHz = 44100.0;
constexpr double kClimbHz = 1650.0;
constexpr double kClimbSourceRateHz = 22050.0;
constexpr double kClimbFrames = 4200.0;
constexpr double kPitchTolerance = 0.02; // of the expected frequency
constexpr double kLevelToleranceDb = 0.3;

class MixerTest : public ::testing::Test {
protected:
  void SetUp() override {
    os_clock_use_virtual(kStartMs);
    fssound::reset();
    std::string error;
    ASSERT_TRUE(fssound::register_module(kVelmar, GAUGE_MODULE_DIR "/velmar.so", &error)) << error;
  }
  void TearDown() override { fssound::reset(); }

  uint32_t load(int32_t id) {
    uint32_t handle = 0;
    EXPECT_EQ(sound_load(&handle, id, kVelmar), 1);
    EXPECT_NE(handle, 0u);
    return handle;
  }

  static std::string wav_path(const std::string &name) {
    return (std::filesystem::temp_directory_path() / ("platform_mix_" + name + ".wav")).string();
  }

  static void record(const std::string &path) {
    std::string error;
    ASSERT_TRUE(fssound::start_recording(path, &error)) << error;
  }

  static audio_test::Recording finish(const std::string &path) {
    fssound::stop_recording();
    std::string error;
    auto recording = audio_test::read_recording(path, &error);
    EXPECT_TRUE(error.empty()) << error;
    return recording;
  }
};

// Output frames of one pass through the climb tone at `rate_hz`.
double climb_period_frames(double rate_hz) {
  return kClimbFrames * kMixRateHz / rate_hz;
}

TEST_F(MixerTest, PlaybackRateScalesThePitch) {
  struct Row {
    int32_t rate_hz;
    double expected_hz;
  };
  const Row rows[] = {
      {24560, kClimbHz * 24560 / kClimbSourceRateHz}, // lnav at about +2 m/s
      {11025, kClimbHz / 2                         },
      {50000, kClimbHz * 40000 / kClimbSourceRateHz}, // clamped to 40000
  };
  for (const Row &row : rows) {
    SCOPED_TRACE("rate " + std::to_string(row.rate_hz));
    const auto path = wav_path("rate");
    record(path);
    uint32_t handle = load(0x2C00);
    sound_set_frequency(handle, row.rate_hz);
    ASSERT_NE(sound_play(handle, 1), 0);
    os_clock_advance_ms(1000);
    const auto r = finish(path);
    ASSERT_EQ(r.left.size(), 44100u);
    const double rate = std::min(row.rate_hz, 40000);
    const double period = climb_period_frames(rate);
    // The steady part of the second pass: looping went on past the end.
    const auto first = static_cast<size_t>(period + 900 / kClimbFrames * period);
    const auto last = static_cast<size_t>(period + 3500 / kClimbFrames * period);
    const double measured = audio_test::pitch_hz(r.left, first, last, kMixRateHz);
    EXPECT_NEAR(measured, row.expected_hz, row.expected_hz * kPitchTolerance);
    std::printf("rate %d Hz: pitch %.2f Hz, expected %.2f Hz, error %+.3f %%\n", row.rate_hz,
                measured, row.expected_hz, 100.0 * (measured / row.expected_hz - 1.0));
    sound_release(&handle);
  }
}

TEST_F(MixerTest, AttenuationIsInHundredthsOfADecibel) {
  const auto path = wav_path("volume");
  record(path);
  uint32_t handle = load(0x2C00);
  ASSERT_NE(sound_play(handle, 1), 0);
  // One attenuation per second; +500 is clamped to full level.
  const int32_t attenuations[] = {0, -800, -3200, 500};
  for (int32_t attenuation : attenuations) {
    sound_set_volume(handle, attenuation);
    os_clock_advance_ms(1000);
  }
  const auto r = finish(path);
  // The steady part of the first whole pass in each second.
  const double period = climb_period_frames(kClimbSourceRateHz);
  const auto level_in_second = [&](int second) {
    const double pass = std::ceil(second * kMixRateHz / period);
    const auto start = static_cast<size_t>(pass * period);
    return audio_test::rms(r.left, start + 1800, start + 7000);
  };
  const double full = level_in_second(0);
  ASSERT_GT(full, 10000.0);
  for (int second = 1; second < 4; ++second) {
    const double expected_db = std::min(attenuations[second], 0) / 100.0;
    const double measured_db = 20.0 * std::log10(level_in_second(second) / full);
    EXPECT_NEAR(measured_db, expected_db, kLevelToleranceDb) << "att " << attenuations[second];
    std::printf("att %d: %.3f dB, expected %.1f dB\n", attenuations[second], measured_db,
                expected_db);
  }
  EXPECT_NEAR(audio_test::rms(r.right, 1800, 7000), full, 1.0) << "mono feeds both channels";
}

TEST_F(MixerTest, OneShotEndsInHostTimeAndALoopGoesOn) {
  // 4200 frames at 22050 Hz: 190.48 ms.
  const uint32_t once = load(0x2C00);
  ASSERT_NE(sound_play(once, 0), 0);
  EXPECT_EQ(fssound::playing_count(), 1);
  os_clock_advance_ms(190);
  EXPECT_NE(sound_is_playing(once), 0);
  os_clock_advance_ms(1);
  EXPECT_EQ(sound_is_playing(once), 0);
  EXPECT_EQ(fssound::playing_count(), 0);

  // At 40000 Hz: 105.0 ms of samples end during the 106th millisecond.
  sound_set_frequency(once, 40000);
  ASSERT_NE(sound_play(once, 0), 0);
  os_clock_advance_ms(105);
  EXPECT_NE(sound_is_playing(once), 0);
  os_clock_advance_ms(1);
  EXPECT_EQ(sound_is_playing(once), 0);

  // Playing a sound that plays goes on from where it is.
  ASSERT_NE(sound_play(once, 0), 0);
  os_clock_advance_ms(50);
  ASSERT_NE(sound_play(once, 0), 0);
  os_clock_advance_ms(56);
  EXPECT_EQ(sound_is_playing(once), 0);

  const uint32_t looped = load(0x2D00);
  ASSERT_NE(sound_play(looped, 1), 0);
  os_clock_advance_ms(10'000);
  EXPECT_NE(sound_is_playing(looped), 0);
  sound_stop(looped);
  EXPECT_EQ(sound_is_playing(looped), 0);
}

TEST_F(MixerTest, ChangesTakeEffectAtTheirSample) {
  const auto path = wav_path("stop");
  record(path);
  const uint32_t handle = load(0x2C00);
  ASSERT_NE(sound_play(handle, 1), 0);
  os_clock_advance_ms(100); // 4410 frames, inside the steady part
  sound_stop(handle);
  os_clock_advance_ms(100);
  const auto r = finish(path);
  ASSERT_EQ(r.left.size(), 8820u);
  EXPECT_GT(audio_test::rms(r.left, 4300, 4410), 10000.0);
  EXPECT_TRUE(audio_test::all_zero(r.left, 4410, 8820));
}

TEST_F(MixerTest, TimeWithoutRecordingStillMovesSoundsOn) {
  const uint32_t handle = load(0x2C00);
  ASSERT_NE(sound_play(handle, 0), 0);
  os_clock_advance_ms(150);
  fssound::sync();
  const auto path = wav_path("unrecorded");
  record(path);
  os_clock_advance_ms(100);
  const auto r = finish(path);
  // 150 ms in, the tone has 11 ms to go (source sample 3560 = 161.5 ms);
  // played from the start it would fill the recording.
  EXPECT_GT(audio_test::rms(r.left, 0, 400), 10000.0);
  EXPECT_TRUE(audio_test::all_zero(r.left, 600, r.left.size()));
  EXPECT_EQ(sound_is_playing(handle), 0);
}

TEST_F(MixerTest, RecordingLeftRunningIsFinishedAtExit) {
  const auto path = wav_path("exit");
  std::filesystem::remove(path);
  EXPECT_EXIT(
      {
        record(path);
        const uint32_t handle = load(0x2D00);
        sound_play(handle, 1);
        os_clock_advance_ms(500);
        fssound::sync();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  std::string error;
  const auto r = audio_test::read_recording(path, &error);
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_EQ(r.left.size(), 22050u);
}

TEST_F(MixerTest, HandlesAreCheckedAndReleaseClearsThem) {
  uint32_t handle = 99;
  EXPECT_EQ(sound_load(&handle, 0x2E00, kVelmar), 0) << "velmar has no SOUND 0x2E00";
  EXPECT_EQ(handle, 0u);
  handle = 99;
  EXPECT_EQ(sound_load(&handle, 0x2C00, kVelmar + 1), 0) << "no module for that host value";
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(sound_load(nullptr, 0x2C00, kVelmar), 0);
  EXPECT_EQ(sound_play(12345, 0), 0);
  EXPECT_EQ(sound_is_playing(12345), 0);

  handle = load(0x2C00);
  const uint32_t other = load(0x2C00);
  EXPECT_NE(handle, other);
  ASSERT_NE(sound_play(handle, 1), 0);
  const uint32_t kept = handle;
  sound_release(&handle);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(sound_play(kept, 0), 0) << "a released handle is unknown";
  EXPECT_EQ(fssound::playing_count(), 0);

  // Unloading the module silences its sounds for good.
  ASSERT_NE(sound_play(other, 1), 0);
  fssound::unregister_module(kVelmar);
  EXPECT_EQ(fssound::playing_count(), 0);
  EXPECT_EQ(sound_play(other, 1), 0);
}

TEST_F(MixerTest, LogsEveryCall) {
  fssound::take_calls();
  uint32_t handle = load(0x2C00);
  sound_set_volume(handle, -800);
  sound_set_frequency(handle, 24560);
  sound_release(&handle);
  sound_play(handle, 1);
  const auto calls = fssound::take_calls();
  struct Expected {
    const char *op;
    int32_t id;
    const char *args;
    int64_t result;
  };
  const Expected expected[] = {
      {"sound_load",          0x2C00, "host=7",     1},
      {"sound_set_volume",    0x2C00, "att=-800",   0},
      {"sound_set_frequency", 0x2C00, "rate=24560", 0},
      {"sound_release",       0x2C00, "",           0},
      {"sound_play",          0,      "loop=1",     0},
  };
  ASSERT_EQ(calls.size(), std::size(expected));
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE("call " + std::to_string(i));
    EXPECT_EQ(calls[i].op, expected[i].op);
    EXPECT_EQ(calls[i].resource_id, expected[i].id);
    EXPECT_EQ(calls[i].args, expected[i].args);
    EXPECT_EQ(calls[i].result, expected[i].result);
  }
  EXPECT_EQ(calls.back().error, "unknown handle 0");
}

} // namespace
