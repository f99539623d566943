// Placements by the thousand: N placements of lnav (Scale/lnav/N) or of the
// 24 gauges of the example panel in turn (Scale/all_kinds/N) are placed and
// updated 10 times; the first half are removed in placement order, and the
// modules are unloaded, which takes down the other half last placed first.
// In a fresh host with the offset server, on virtual time. Counters (the
// median of three runs, in CPU time): load_s, the modules' load; then microseconds per
// placement of placing, of one update cycle, of a removal and of an unload's
// removal. Linear work keeps these flat as N grows.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/host_offset_server.h"
#include "platform/fssound/fssound_host.h"

namespace {

constexpr int kUpdateCycles = 10;
constexpr uint32_t kClick = 0x20000000;

struct Kind {
  std::string module, gauge;
};

// MODULE!GAUGE of every gaugeNN line of the example panel, in order.
std::vector<Kind> panel_kinds() {
  std::ifstream in(GAUGE_SOURCE_DIR "/examples/sailplane/panel.cfg");
  std::vector<Kind> kinds;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("gauge", 0) != 0) {
      continue;
    }
    const auto eq = line.find('='), bang = line.find('!'), comma = line.find(',');
    kinds.push_back({line.substr(eq + 1, bang - eq - 1), line.substr(bang + 1, comma - bang - 1)});
  }
  return kinds;
}

// The modules write their files (lnav's polar) into the working folder.
class TemporaryFolder {
public:
  TemporaryFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "scale-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("no temporary folder");
    }
    folder_ = pattern;
    std::filesystem::copy(GAUGE_SOURCE_DIR "/examples/sailplane", folder_);
    std::filesystem::current_path(folder_);
  }
  ~TemporaryFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }

private:
  std::filesystem::path previous_, folder_;
};

// CPU time of this thread: on a machine shared with other work the wall
// clock also counts the time spent waiting for a core.
double cpu_now_s() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double seconds_since(double &mark) {
  const double now = cpu_now_s();
  const double s = now - mark;
  mark = now;
  return s;
}

void Scale(benchmark::State &state, bool all_kinds) {
  const auto n = static_cast<size_t>(state.range(0));
  const std::vector<Kind> kinds = all_kinds ? panel_kinds()
                                            : std::vector<Kind>{
                                                  {"velmar", "lnav"}
  };
  std::vector<std::string> modules;
  for (const Kind &k : kinds) {
    if (std::find(modules.begin(), modules.end(), k.module) == modules.end()) {
      modules.push_back(k.module);
    }
  }
  std::vector<std::string> names(n);
  for (size_t i = 0; i < n; ++i) {
    names[i] = "p" + std::to_string(i);
  }
  TemporaryFolder folder;
  fssound::set_call_log(false);
  double load_s = 0, place_s = 0, update_s = 0, remove_s = 0, unload_s = 0;
  for (auto _ : state) {
    gaugehost::HostOptions options;
    options.module_dir = GAUGE_MODULE_DIR;
    gaugehost::Host host(options);
    fsuipc_server::HostOffsetServer offsets(host);
    std::string error;
    double mark = cpu_now_s();
    for (const auto &m : modules) {
      if (!host.load_module(m, error)) {
        state.SkipWithError(error.c_str());
        return;
      }
    }
    load_s += seconds_since(mark);
    for (size_t i = 0; i < n; ++i) {
      const Kind &k = kinds[i % kinds.size()];
      if (!host.place(k.module, k.gauge, names[i], error)) {
        state.SkipWithError(error.c_str());
        return;
      }
    }
    place_s += seconds_since(mark);
    // Switched on: the first lnav's power knob (module-wide state, so every
    // lnav shows it), and gpsnav's ON when it is there.
    const size_t lnav = all_kinds ? 1 : 0;
    host.click(names[lnav], 115, 40, kClick, error);
    if (all_kinds) {
      host.click(names[0], 108, 31, kClick, error);
    }
    host.update(40, 55); // past the start-up pages
    seconds_since(mark);
    host.update(kUpdateCycles, 55);
    update_s += seconds_since(mark) / kUpdateCycles;
    for (size_t i = 0; i < n / 2; ++i) {
      host.remove(names[i], error);
    }
    remove_s += seconds_since(mark);
    for (const auto &m : modules) {
      host.unload_module(m, error);
    }
    unload_s += seconds_since(mark);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["load_s"] = load_s / runs;
  state.counters["place_us_each"] = place_s / runs / static_cast<double>(n) * 1e6;
  state.counters["cycle_us_each"] = update_s / runs / static_cast<double>(n) * 1e6;
  state.counters["remove_us_each"] = remove_s / runs / static_cast<double>(n / 2) * 1e6;
  state.counters["unload_us_each"] = unload_s / runs / static_cast<double>(n - n / 2) * 1e6;
}
// Each size once per run, three runs, the median reported.
void Sizes(benchmark::internal::Benchmark *b) {
  for (int n : {1000, 2000, 5000, 10000}) {
    b->Arg(n);
  }
  b->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(Scale, lnav, false)->Apply(Sizes);
BENCHMARK_CAPTURE(Scale, all_kinds, true)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
