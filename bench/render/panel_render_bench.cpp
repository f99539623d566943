// Time to draw the whole cockpit (examples/cockpit.gh, all 24 gauges, gpsnav
// and lnav switched on) once, at the design size and at the window's default
// scale: the renderer's share of one window frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/console.h"
#include "host/host_offset_server.h"
#include "render/renderer.h"

namespace {

class Cockpit {
public:
  Cockpit() : host_(options()), offset_server_(host_), console_(host_, quiet_) {
    std::filesystem::current_path(GAUGE_SOURCE_DIR);
    std::ifstream script("examples/cockpit.gh");
    std::ostringstream err;
    if (!script || console_.run(script, err) != 0) {
      throw std::runtime_error("examples/cockpit.gh: " + err.str());
    }
    for (const char *line : {"click gpsnav 100 25", "click lnav 110 30", "update 40 50"}) {
      console_.execute(line);
    }
  }
  gaugehost::Host &host() { return host_; }

private:
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  std::ostringstream quiet_;
  gaugehost::Host host_;
  fsuipc_server::HostOffsetServer offset_server_; // ostrel finds FSUIPC
  gaugehost::Console console_;
};

void BM_RenderPanel(benchmark::State &state) {
  Cockpit cockpit;
  const double scale = static_cast<double>(state.range(0)) / 100.0;
  const render::PanelLayout layout = render::row_layout(cockpit.host(), scale, 1800 * scale);
  render::Renderer renderer;
  render::Surface image(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout.width_px, layout.height_px));
  cairo_t *cr = cairo_create(image.get());
  for (auto _ : state) {
    renderer.draw_panel(cr, cockpit.host(), layout);
    cairo_surface_flush(image.get());
  }
  cairo_destroy(cr);
  state.counters["width_px"] = layout.width_px;
  state.counters["height_px"] = layout.height_px;
}
BENCHMARK(BM_RenderPanel)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);

} // namespace
