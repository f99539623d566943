// Cost of the sound stand-in's mixing: rendering (while recording) and
// skipping (not recording) one second of 44.1 kHz stereo with N looped voices
// at a resampled rate, the shape of lnav's tone plus the one-shot sounds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/fssound/mixer.h"

namespace {

std::shared_ptr<const fssound::PcmSound> tone() {
  auto sound = std::make_shared<fssound::PcmSound>();
  sound->channels = 1;
  sound->rate_hz = 22050;
  sound->samples.resize(4200);
  for (size_t i = 0; i < sound->samples.size(); ++i) {
    sound->samples[i] = static_cast<int16_t>(20000 * std::sin(0.47 * static_cast<double>(i)));
  }
  return sound;
}

fssound::Mixer mixer_with(int voices) {
  fssound::Mixer mixer;
  const auto sound = tone();
  for (int v = 0; v < voices; ++v) {
    fssound::Voice *voice = mixer.find(mixer.add(sound, 0x2C00, 1));
    fssound::Mixer::set_rate(*voice, 24560 + 100 * v);
    fssound::Mixer::play(*voice, true);
  }
  return mixer;
}

void BM_RenderOneSecond(benchmark::State &state) {
  auto mixer = mixer_with(static_cast<int>(state.range(0)));
  std::vector<int16_t> out(4096 * fssound::kMixChannels);
  for (auto _ : state) {
    for (uint32_t frames = 0; frames < fssound::kMixRateHz; frames += 4096) {
      mixer.render(out);
    }
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RenderOneSecond)->Arg(1)->Arg(4)->Arg(8);

void BM_SkipOneSecond(benchmark::State &state) {
  auto mixer = mixer_with(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    mixer.skip(fssound::kMixRateHz);
  }
}
BENCHMARK(BM_SkipOneSecond)->Arg(8);

} // namespace
