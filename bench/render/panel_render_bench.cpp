// Time to draw the whole panel (examples/sailplane, all 24 gauges where its
// panel.cfg places them, gpsnav and lnav switched on) once, at the panel's
// size and at the window's default scale: the renderer's share of one window
// frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/console.h"
#include "host/host_offset_server.h"
#include "host/panel_command.h"
#include "render/renderer.h"

namespace {

class Cockpit {
public:
  Cockpit() : host_(options()), offset_server_(host_), console_(host_, quiet_) {
    std::filesystem::current_path(GAUGE_SOURCE_DIR);
    gaugehost::add_panel_command(console_,
                                 [this](const gaugehost::PanelFile &panel) { panel_ = panel; });
    std::istringstream script("panel examples/sailplane\n"
                              "token 0x14F 2\n"  // metric
                              "token 0x3D 50\n"  // kt
                              "token 0x49 900\n" // m
                              "update 1\n"
                              "click gpsnav 100 25\n"
                              "click lnav 110 30\n"
                              "update 40 50\n");
    std::ostringstream err;
    if (console_.run(script, err) != 0) {
      throw std::runtime_error("examples/sailplane: " + err.str());
    }
  }
  gaugehost::Host &host() { return host_; }
  const gaugehost::PanelFile &panel() const { return panel_; }

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
  gaugehost::PanelFile panel_;
};

void BM_RenderPanel(benchmark::State &state) {
  Cockpit cockpit;
  const double scale = static_cast<double>(state.range(0)) / 100.0;
  const render::PanelLayout layout = render::panel_layout(cockpit.panel(), scale);
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
BENCHMARK(BM_RenderPanel)->Arg(100)->Arg(75)->Unit(benchmark::kMillisecond);

} // namespace
