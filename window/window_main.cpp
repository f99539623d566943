#include "window/window_main.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "host/console.h"
#include "platform/fsuipc_server/host_offset_server.h"
#include "render/snap_command.h"
#include "window/panel_window.h"
#include "window/scripted_source.h"

namespace window {
namespace {

constexpr char kDefaultPanel[] = "examples/cockpit.gh";

int usage(std::ostream &out, int code) {
  out << "usage: gaugehost window [PANEL] [--scenario FILE | --replay FILE.igc]\n"
         "                        [--modules DIR] [--scale S] [--seconds S] [--print-layout]\n"
         "\n"
         "PANEL is a console script that loads and places the gauges and sets the\n"
         "tokens they start from (default "
      << kDefaultPanel
      << "). The panel runs in real\n"
         "time in a window; click the gauges' buttons with the mouse.\n"
         "Keys: B airbrakes, Up/Down speed, Left/Right circle (again: straight),\n"
         "P or Space pause, 1/2/3 time x1/x4/x16, F12 snapshot, Esc or Q quit.\n";
  return code;
}

} // namespace

int window_main(int argc, char **argv) {
  std::string panel = kDefaultPanel;
  bool panel_given = false;
  gaugehost::HostOptions host_options;
  WindowOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      return usage(std::cout, 0);
    } else if ((arg == "--scenario" || arg == "--replay") && has_value) {
      std::cerr << "window: " << arg << " needs the flight sources, which this build has not\n";
      return 2;
    } else if (arg == "--modules" && has_value) {
      host_options.module_dir = argv[++i];
    } else if (arg == "--scale" && has_value) {
      options.scale = std::atof(argv[++i]);
    } else if (arg == "--seconds" && has_value) {
      options.seconds = std::atof(argv[++i]);
    } else if (arg == "--print-layout") {
      options.print_layout = true;
    } else if (!panel_given && !arg.starts_with("-")) {
      panel = arg;
      panel_given = true;
    } else {
      return usage(std::cerr, 2);
    }
  }
  if (!(options.scale > 0)) {
    std::cerr << "window: --scale must be positive\n";
    return 2;
  }
  std::ifstream script(panel);
  if (!script) {
    std::cerr << "window: cannot open panel script " << panel << "\n";
    return 2;
  }

  gaugehost::Host host(host_options);
  fsuipc_server::HostOffsetServer offset_server(host);
  gaugehost::Console console(host, std::cout);
  offset_server.add_console_commands(console);
  render::add_snap_commands(console, std::make_shared<render::Renderer>());
  if (const int code = console.run(script, std::cerr); code != 0) {
    return code;
  }
  options.title = "gaugehost - " + panel;
  ScriptedSource source;
  return run_window(host, source, options);
}

} // namespace window
