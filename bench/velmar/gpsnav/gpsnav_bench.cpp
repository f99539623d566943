// Cost of gpsnav's work per panel frame, through the host and velmar.so:
//   NavigationUpdatePage24  a cycle whose 2 s gate is open on the
//                           turnpoints-by-distance page: the distance list of
//                           a full table (355 records, all listed) is rebuilt
//   NavigationUpdatePage20  a cycle whose gate is open on the navigation page
//   OrdinaryCycle           a cycle with the gate shut (most frames)
// Virtual time, moved by hand between iterations; runs in a temporary folder
// that holds the generated RUR-UDI.dat.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "host/host.h"

namespace {

constexpr int kRecords = 355; // every slot of the turnpoint table
constexpr uint32_t kTokenLatitude = 0x47;
constexpr uint32_t kTokenLongitude = 0x48;
constexpr uint32_t kTokenUnits = 0x14F;
constexpr double kLatitudeRawPerMinute = 1852.175925953;
constexpr double kLongitudeRawPerMinute = 13031248921.78;
constexpr int64_t kGateOpenMs = 2000;
constexpr int kRight[2] = {274, 284};
constexpr int kLeft[2] = {38, 284};

// 355 turnpoints on a 19 x 19 grid of 3-minute steps around 50 N 6 E.
void write_full_table(const std::filesystem::path &file) {
  std::ofstream out(file, std::ios::binary);
  for (int i = 0; i < kRecords; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%d,%02d:%06.3fN,%03d:%06.3fE,%dM,T,TP%03d,remark\r\n", i + 1,
                  49 + (i / 19) * 3 / 60, (i / 19) * 3 % 60 + 0.125, 5 + (i % 19) * 3 / 60,
                  (i % 19) * 3 % 60 + 0.25, 100 + i, i);
    out << line;
  }
}

class Panel {
public:
  Panel() : folder_(make_folder()), host_(options()) {
    write_full_table(folder_ / "RUR-UDI.dat");
    std::string error;
    if (!host_.load_module("velmar", error) || !host_.place("velmar", "gpsnav", "gpsnav", error)) {
      throw std::runtime_error(error);
    }
    host_.set_token(kTokenUnits, 2);
    host_.set_token(kTokenLatitude, 3000.0 * kLatitudeRawPerMinute);
    host_.set_token(kTokenLongitude, 330.0 * kLongitudeRawPerMinute);
    host_.click("gpsnav", 108, 31, 0x20000000, error); // ON
    host_.update(1, kGateOpenMs);
    gauge_ = host_.gauge("gpsnav");
  }
  ~Panel() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  void press(const int (&button)[2]) {
    std::string error;
    host_.click("gpsnav", button[0], button[1], 0x20000000, error);
  }
  gaugehost::PlacedGauge &gauge() { return *gauge_; }
  gaugehost::Host &host() { return host_; }

private:
  std::filesystem::path make_folder() {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "gpsnav-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
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

void NavigationUpdatePage24(benchmark::State &state) {
  Panel panel;
  for (int i = 0; i < 4; ++i) {
    panel.press(kRight); // 21, 22, 23, 24
  }
  for (auto _ : state) {
    panel.host().advance(kGateOpenMs);
    panel.host().update_gauge(panel.gauge());
  }
  if (panel.gauge().elements[1].text != "TP: Distance") {
    state.SkipWithError("not on page 24");
  }
}
BENCHMARK(NavigationUpdatePage24);

void NavigationUpdatePage20(benchmark::State &state) {
  Panel panel;
  for (auto _ : state) {
    panel.host().advance(kGateOpenMs);
    panel.host().update_gauge(panel.gauge());
  }
}
BENCHMARK(NavigationUpdatePage20);

void OrdinaryCycle(benchmark::State &state) {
  Panel panel;
  panel.press(kLeft);
  panel.press(kRight); // page 20 again, shown record refreshed
  for (auto _ : state) {
    panel.host().update_gauge(panel.gauge()); // the clock stands: the gate stays shut
  }
}
BENCHMARK(OrdinaryCycle);

} // namespace

BENCHMARK_MAIN();
