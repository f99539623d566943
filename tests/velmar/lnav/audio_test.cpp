// The audio variometer through the sound stand-in, with velmar.so itself:
// which tone plays at which rate and attenuation, and what the rendered mix
// sounds like.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/fssound/fssound_host.h"
#include "tests/platform/audio_measure.h"
#include "tests/velmar/lnav/lnav_panel.h"

namespace lnav_test {
namespace {

constexpr int32_t kClimbTone = 0x2C00;
constexpr int32_t kSinkTone = 0x2D00;
constexpr double kMixRateHz = 44100.0;
constexpr double kClimbToneHz = 1650.0; // as recorded at 22050 Hz
constexpr double kSinkToneHz = 400.0;
constexpr double kSourceRateHz = 22050.0;
constexpr double kPitchTolerance = 0.01; // of the expected pitch

class AudioTest : public ::testing::Test {
protected:
  AudioTest() : panel_("velmar") {}

  void SetUp() override {
    const auto loads = calls("sound_load");
    ASSERT_EQ(loads.size(), 2u);
    for (const auto &load : loads) {
      ASSERT_EQ(load.result, 1) << "tone 0x" << std::hex << load.resource_id << " " << load.error;
    }
    panel_.power_on_past_splash();
  }

  // Feeds a steady vertical speed (m/s) at constant airspeed for n cycles.
  void climb(double mps, int cycles = 100) {
    panel_.set(kTokenVerticalSpeedRaw, mps * kRawPerMps);
    panel_.vario_cycles(cycles);
  }
  void knob_to(int position) {
    panel_.click(Button::kKnobUp, 9);
    panel_.click(Button::kKnobDown, 9 - position);
  }
  void toggle_sink_tone() {
    panel_.go_to_page(29);
    panel_.click(Button::kIncrease);
  }

  std::vector<fssound::CallRecord> calls(const std::string &op = "") {
    std::vector<fssound::CallRecord> out;
    for (const auto &call : fssound::take_calls()) {
      if (op.empty() || call.op == op) {
        out.push_back(call);
      }
    }
    return out;
  }
  // The calls of the next vario cycle alone.
  std::vector<fssound::CallRecord> one_cycle() {
    fssound::take_calls();
    panel_.vario_cycles(1);
    return calls();
  }

  // Calls left by earlier tests are not this test's.
  [[maybe_unused]] const bool log_cleared_ = (fssound::take_calls(), true);
  WorkFolder folder_;
  LnavPanel panel_;
};

bool has(const std::vector<fssound::CallRecord> &calls, const std::string &op, int32_t id,
         const std::string &args = "") {
  return std::any_of(calls.begin(), calls.end(), [&](const fssound::CallRecord &c) {
    return c.op == op && c.resource_id == id && (args.empty() || c.args == args);
  });
}

TEST_F(AudioTest, ClimbToneAboveZeroAtRateAndKnobAttenuation) {
  knob_to(9);
  climb(2.0);
  auto cycle = one_cycle();
  // 22000 + 5 x with x = 504.12: truncated to 24520.
  EXPECT_TRUE(has(cycle, "sound_set_frequency", kClimbTone, "rate=24520"));
  EXPECT_TRUE(has(cycle, "sound_set_volume", kClimbTone, "att=0"));
  EXPECT_TRUE(has(cycle, "sound_set_volume", kSinkTone, "att=0"));
  EXPECT_FALSE(has(cycle, "sound_play", kClimbTone)); // already looping
  EXPECT_EQ(fssound::playing_count(), 1);

  knob_to(1);
  cycle = one_cycle();
  EXPECT_TRUE(has(cycle, "sound_set_volume", kClimbTone, "att=-3200"));
  EXPECT_TRUE(has(cycle, "sound_set_volume", kSinkTone, "att=-3200"));
}

TEST_F(AudioTest, ZeroIsSilentAndMinusHalfTakesTheSinkBranch) {
  climb(1.0);
  EXPECT_EQ(fssound::playing_count(), 1);
  climb(0.0, 64); // the averaged TE vario is exactly 0 once 64 zeros are in
  auto cycle = one_cycle();
  EXPECT_FALSE(has(cycle, "sound_set_frequency", kClimbTone));
  EXPECT_FALSE(has(cycle, "sound_set_frequency", kSinkTone));
  EXPECT_EQ(fssound::playing_count(), 0);

  // Exactly -0.5 m/s settled (x = -128): the sink branch. With the sink tone
  // disabled it stays silent, yet its rate is set.
  climb(-0.5 * 65.0 / 64.0, 100);
  cycle = one_cycle();
  EXPECT_TRUE(has(cycle, "sound_set_frequency", kSinkTone, "rate=21360"));
  EXPECT_FALSE(has(cycle, "sound_play", kSinkTone));
  EXPECT_EQ(fssound::playing_count(), 0);

  toggle_sink_tone();
  cycle = one_cycle();
  EXPECT_TRUE(has(cycle, "sound_set_frequency", kSinkTone, "rate=21360"));
  EXPECT_EQ(fssound::playing_count(), 1);
  climb(1.0);
  EXPECT_EQ(fssound::playing_count(), 1); // the climb tone, the sink tone stopped
  EXPECT_TRUE(has(one_cycle(), "sound_set_frequency", kClimbTone));
}

TEST_F(AudioTest, RateClampsAndPowerOffStopsTheTone) {
  climb(20.0, 200); // 22000 + 5 * 5041 > 40000
  EXPECT_TRUE(has(one_cycle(), "sound_set_frequency", kClimbTone, "rate=40000"));
  toggle_sink_tone();
  climb(-20.0, 200);
  EXPECT_TRUE(has(one_cycle(), "sound_set_frequency", kSinkTone, "rate=100"));
  EXPECT_EQ(fssound::playing_count(), 1);
  panel_.click(Button::kKnobDown);
  auto cycle = one_cycle();
  EXPECT_TRUE(has(cycle, "sound_stop", kSinkTone));
  EXPECT_FALSE(has(cycle, "sound_set_frequency", kSinkTone));
  EXPECT_EQ(fssound::playing_count(), 0);
}

// Two placements of lnav share one pair of tones: the first placement loads
// them, the last removal releases them, and a tone goes on sounding while
// any placement remains.
TEST(LnavTones, LoadedOnceAndReleasedByTheLastRemoval) {
  fssound::take_calls();
  WorkFolder folder;
  LnavPanel panel("velmar");
  std::string error;
  panel.power_on_past_splash();
  panel.set(kTokenVerticalSpeedRaw, 2.0 * kRawPerMps);
  panel.vario_cycles(10);
  struct Step {
    const char *placement;
    bool place; // else remove
    size_t loads, releases;
    int playing;
  };
  for (const Step &step : {
           Step{"lnav2", true,  0, 0, 1},
           Step{"lnav",  false, 0, 0, 1},
           Step{"lnav2", false, 0, 2, 0},
           Step{"lnav",  true,  2, 0, 1}, // still on: the tone sounds again
  }) {
    SCOPED_TRACE(step.placement);
    fssound::take_calls();
    EXPECT_TRUE(step.place ? panel.host().place("velmar", "lnav", step.placement, error)
                           : panel.host().remove(step.placement, error));
    panel.vario_cycles(2);
    size_t loads = 0, good_releases = 0;
    for (const auto &call : fssound::take_calls()) {
      loads += call.op == "sound_load";
      good_releases += call.op == "sound_release" && call.error.empty();
    }
    EXPECT_EQ(loads, step.loads);
    EXPECT_EQ(good_releases, step.releases);
    EXPECT_EQ(fssound::playing_count(), step.playing);
  }
}

// ---- Rendered audio ----------------------------------------------------

struct Measure {
  double pitch_hz = 0.0;
  double level_rms = 0.0; // of the loudest 1024-frame windows
  bool silent = true;
};

// Pitch and level of the steady part of the beeps: windows at least 90 % as
// loud as the loudest; pitch the median of theirs.
Measure measure(const std::string &path) {
  std::string error;
  const auto wav = audio_test::read_recording(path, &error);
  EXPECT_TRUE(error.empty()) << error;
  const std::span<const int16_t> s = wav.left;
  constexpr size_t kWindow = 1024;
  std::vector<double> levels;
  for (size_t at = 0; at + kWindow <= s.size(); at += kWindow) {
    levels.push_back(audio_test::rms(s, at, at + kWindow));
  }
  Measure m;
  m.silent = audio_test::all_zero(s, 0, s.size());
  if (levels.empty() || m.silent) {
    return m;
  }
  const double loudest = *std::max_element(levels.begin(), levels.end());
  std::vector<double> pitches;
  double sum = 0.0;
  for (size_t w = 0; w < levels.size(); ++w) {
    if (levels[w] >= 0.9 * loudest) {
      pitches.push_back(audio_test::pitch_hz(s, w * kWindow, (w + 1) * kWindow, kMixRateHz));
      sum += levels[w];
    }
  }
  std::sort(pitches.begin(), pitches.end());
  m.pitch_hz = pitches[pitches.size() / 2];
  m.level_rms = sum / static_cast<double>(pitches.size());
  return m;
}

class RenderedAudio : public AudioTest {
protected:
  // Settles on `mps`, then records two seconds.
  Measure render(double mps, const std::string &name) {
    climb(mps, 150);
    const std::string path = (folder_.path() / name).string();
    std::string error;
    EXPECT_TRUE(fssound::start_recording(path, &error)) << error;
    panel_.vario_cycles(18); // about 2 s
    fssound::stop_recording();
    const Measure m = measure(path);
    std::printf("[ lnav audio ] %-18s pitch %7.1f Hz  level %7.1f rms%s\n", name.c_str(),
                m.pitch_hz, m.level_rms, m.silent ? "  (silent)" : "");
    return m;
  }
};

TEST_F(RenderedAudio, ClimbOfTwoMetresPerSecondSoundsNear1835Hz) {
  knob_to(9);
  const Measure loud = render(2.0, "climb_knob9.wav");
  const double expected_hz = kClimbToneHz * 24520.0 / kSourceRateHz; // 1834.8
  EXPECT_NEAR(loud.pitch_hz, expected_hz, expected_hz * kPitchTolerance);
  // The tone is a sine at 0.7 of full scale; knob 9 plays it unattenuated.
  EXPECT_NEAR(loud.level_rms, 0.7 * 32767.0 / std::sqrt(2.0), 0.05 * 16219.0);

  knob_to(5); // -1600: 10^(-0.8) of the amplitude
  const Measure soft = render(2.0, "climb_knob5.wav");
  EXPECT_NEAR(soft.pitch_hz, expected_hz, expected_hz * kPitchTolerance);
  EXPECT_NEAR(soft.level_rms / loud.level_rms, std::pow(10.0, -0.8), 0.01);
}

TEST_F(RenderedAudio, SinkOfTwoMetresPerSecondPlaysTheSinkToneLower) {
  knob_to(9);
  EXPECT_TRUE(render(-2.0, "sink_disabled.wav").silent);
  toggle_sink_tone();
  const Measure sink = render(-2.0, "sink.wav");
  // x = -504.12: 22000 - 2520.6 truncated toward zero to 19479.
  const double expected_hz = kSinkToneHz * 19479.0 / kSourceRateHz; // 353.4
  EXPECT_NEAR(sink.pitch_hz, expected_hz, expected_hz * kPitchTolerance);
  EXPECT_FALSE(sink.silent);
}

TEST_F(RenderedAudio, WeakSinkIsSilent) {
  knob_to(9);
  toggle_sink_tone();
  EXPECT_TRUE(render(-0.25, "weak_sink.wav").silent);
  EXPECT_TRUE(render(-0.45, "weak_sink2.wav").silent);
}

} // namespace
} // namespace lnav_test
