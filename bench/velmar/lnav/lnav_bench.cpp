// Cost of lnav's work per panel frame, through the host and velmar.so: one
// vario cycle (the netto digits' callback with its gate open), a full update
// of the gauge with every gate open, and one with the gates shut. Virtual
// time, moved by hand between iterations; runs in a temporary folder because
// power-on creates LNAV_polar.dat.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "host/host.h"
#include "platform/os/os.h"

namespace {

constexpr int kNettoDigits = 4; // host index of the element that runs the vario cycle
constexpr uint32_t kTokenAirspeedKnots = 0x3D;
constexpr uint32_t kTokenVerticalSpeedRaw = 0x41;
constexpr uint32_t kTokenUnits = 0x14F;
constexpr int64_t kGateOpenMs = 110;

class Panel {
public:
  Panel() : folder_(make_folder()), host_(options()) {
    std::string error;
    if (!host_.load_module("velmar", error) || !host_.place("velmar", "lnav", "lnav", error)) {
      throw std::runtime_error(error);
    }
    host_.set_token(kTokenUnits, 2);
    host_.set_token(kTokenAirspeedKnots, 50.0);
    host_.set_token(kTokenVerticalSpeedRaw, 300.0);  // a climb: the tone plays
    host_.click("lnav", 115, 40, 0x20000000, error); // power on
    for (int i = 0; i < 8; ++i) {
      host_.click("lnav", 115, 40, 0x20000000, error); // volume 9
    }
    host_.update(60, kGateOpenMs);                   // past the splash page
    host_.click("lnav", 211, 39, 0x20000000, error); // page 20: every field shown
    host_.update(700, kGateOpenMs);                  // all averages full
    gauge_ = host_.gauge("lnav");
  }
  ~Panel() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  gaugehost::PlacedGauge &gauge() { return *gauge_; }
  gaugehost::Host &host() { return host_; }

private:
  std::filesystem::path make_folder() {
    previous_ = std::filesystem::current_path();
    char pattern[] = "/tmp/lnav_bench_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      throw std::runtime_error("no temporary folder");
    }
    std::filesystem::current_path(pattern);
    return pattern;
  }
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  std::filesystem::path previous_;
  std::filesystem::path folder_;
  gaugehost::Host host_;
  gaugehost::PlacedGauge *gauge_ = nullptr;
};

void BM_VarioCycle(benchmark::State &state) {
  Panel panel;
  gaugehost::ElementState &digits = panel.gauge().elements[kNettoDigits];
  auto *element = reinterpret_cast<StringElement *>(digits.element);
  element->text = digits.buffer.data();
  for (auto _ : state) {
    os_clock_advance_ms(kGateOpenMs);
    benchmark::DoNotOptimize(element->callback(&element->element));
  }
}
BENCHMARK(BM_VarioCycle);

void BM_FullUpdateGatesOpen(benchmark::State &state) {
  Panel panel;
  for (auto _ : state) {
    os_clock_advance_ms(kGateOpenMs);
    panel.host().update_gauge(panel.gauge());
  }
}
BENCHMARK(BM_FullUpdateGatesOpen);

void BM_FullUpdateGatesShut(benchmark::State &state) {
  Panel panel;
  for (auto _ : state) {
    panel.host().update_gauge(panel.gauge());
  }
}
BENCHMARK(BM_FullUpdateGatesShut);

} // namespace

BENCHMARK_MAIN();
