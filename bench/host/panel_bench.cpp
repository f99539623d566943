// The whole panel's update cycle and its parts, through the host and the
// three module files, on virtual time: the example panel (all 24 gauges)
// flown by the sailplane model through the default scenario to 12:00 (on
// task after the launch, every gauge switched on), then held there while
// the clock moves on:
//   PanelCycle        the clock moves one cycle (the mixer follows) and every
//                     gauge is updated, in placement order
//   GaugeCycle/N      one gauge's update (N: its place in panel.cfg)
//   HostOnlyCycle     the panel cycle with every module callback replaced by
//                     one that does nothing: the host's own work per cycle
//   PanelCycleFlying  the panel cycle with the model stepping before it, as
//                     in `gaugehost fly`
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/os/os.h"
#include "session/panel_flight.h"

namespace {

constexpr double kHeldAtS = 12 * 60;

std::string default_scenario() {
  std::ifstream in(GAUGE_SOURCE_DIR "/examples/sailplane/flight.scn");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

session::PanelFlight &panel() {
  static const std::unique_ptr<session::PanelFlight> flight = [] {
    std::string error;
    auto f = session::PanelFlight::open(GAUGE_SOURCE_DIR "/examples/sailplane", GAUGE_MODULE_DIR,
                                        default_scenario(), "flight.scn", error);
    if (!f || !f->fly_until(kHeldAtS, error)) {
      throw std::runtime_error(error);
    }
    return f;
  }();
  return *flight;
}

void PanelCycle(benchmark::State &state) {
  gaugehost::Host &host = panel().host();
  for (auto _ : state) {
    host.advance(panel().cycle_ms());
    host.walk();
  }
}
BENCHMARK(PanelCycle)->Repetitions(5)->ReportAggregatesOnly(true);

void GaugeCycle(benchmark::State &state) {
  gaugehost::Host &host = panel().host();
  gaugehost::PlacedGauge &gauge = *host.gauges().at(static_cast<size_t>(state.range(0)));
  state.SetLabel(gauge.gauge_name);
  for (auto _ : state) {
    os_clock_advance_ms(panel().cycle_ms());
    host.update_gauge(gauge);
  }
}
BENCHMARK(GaugeCycle)->DenseRange(0, 23);

double no_value(Element *) {
  return 0;
}
int32_t no_service(GaugeHeader *, int32_t, uint32_t) {
  return 0;
}

// Every callback of every placed gauge swapped for no_value / no_service
// while it lives; the records are put back as they were afterwards.
class NoModuleWork {
public:
  explicit NoModuleWork(gaugehost::Host &host) {
    for (const auto &g : host.gauges()) {
      swap(g->header->gauge_callback, no_service);
      for (const auto &e : g->elements) {
        switch (e.kind) {
        case kElementNeedle:
          swap(reinterpret_cast<NeedleElement *>(e.element)->callback);
          break;
        case kElementString:
          swap(reinterpret_cast<StringElement *>(e.element)->callback);
          break;
        case kElementShift: {
          auto *s = reinterpret_cast<ShiftElement *>(e.element);
          swap(s->x_callback);
          swap(s->y_callback);
          break;
        }
        case kElementIcon:
          swap(reinterpret_cast<IconElement *>(e.element)->callback);
          break;
        case kElementScroll: {
          auto *s = reinterpret_cast<ScrollElement *>(e.element);
          swap(s->x_callback);
          swap(s->y_callback);
          break;
        }
        case kElementRotate: {
          auto *r = reinterpret_cast<RotateElement *>(e.element);
          swap(r->x_callback);
          swap(r->y_callback);
          swap(r->rotation_callback);
          break;
        }
        default:
          break;
        }
      }
    }
  }
  ~NoModuleWork() {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
      *it->first = it->second;
    }
    for (auto it = services_.rbegin(); it != services_.rend(); ++it) {
      *it->first = it->second;
    }
  }

private:
  void swap(ElementCallback &callback) {
    if (callback != nullptr) { // a missing callback stays missing: the host skips it
      elements_.emplace_back(&callback, callback);
      callback = no_value;
    }
  }
  void swap(GaugeCallback &callback, GaugeCallback replacement) {
    if (callback != nullptr) {
      services_.emplace_back(&callback, callback);
      callback = replacement;
    }
  }
  std::vector<std::pair<ElementCallback *, ElementCallback>> elements_;
  std::vector<std::pair<GaugeCallback *, GaugeCallback>> services_;
};

void HostOnlyCycle(benchmark::State &state) {
  gaugehost::Host &host = panel().host();
  NoModuleWork swapped(host);
  for (auto _ : state) {
    host.advance(panel().cycle_ms());
    host.walk();
  }
}
BENCHMARK(HostOnlyCycle)->Repetitions(5)->ReportAggregatesOnly(true);

void PanelCycleFlying(benchmark::State &state) {
  session::PanelFlight &flight = panel();
  std::string error;
  for (auto _ : state) {
    if (!flight.cycle(error)) {
      state.SkipWithError(error.empty() ? "the scenario ended" : error.c_str());
      break;
    }
  }
}
// A bounded run: the default scenario lasts 32 minutes from 12:00, and this runs last.
BENCHMARK(PanelCycleFlying)->Iterations(3000)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
