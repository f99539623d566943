// gaugehost: the substitute host's command line.
//
//   gaugehost script FILE|- [--modules DIR] [--real-time]
//   gaugehost list MODULE [--modules DIR]
//   gaugehost window [PANEL] [options]      (window/window_main.h)
#include <cstring>
#include <fstream>
#include <iostream>

#include "host/console.h"
#include "host/host.h"
#include "platform/fsuipc_server/host_offset_server.h"
#include "render/snap_command.h"
#include "window/window_main.h"

namespace {

int usage(std::ostream &out, int code) {
  out << "usage: gaugehost script FILE|- [--modules DIR] [--real-time]\n"
         "       gaugehost list MODULE [--modules DIR]\n"
         "       gaugehost window [PANEL] [--help for its options]\n"
         "\n"
         "script runs console commands, one per line (see README). Time is virtual\n"
         "unless --real-time is given. Modules are read from --modules DIR, by\n"
         "default the modules folder beside this program's bin folder.\n";
  return code;
}

} // namespace

int main(int argc, char **argv) {
  if (argc > 1 && std::strcmp(argv[1], "window") == 0) {
    return window::window_main(argc - 1, argv + 1);
  }
  std::string mode, target;
  gaugehost::HostOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--modules" && i + 1 < argc) {
      options.module_dir = argv[++i];
    } else if (arg == "--real-time") {
      options.virtual_time = false;
    } else if (arg == "-h" || arg == "--help") {
      return usage(std::cout, 0);
    } else if (mode.empty()) {
      mode = arg;
    } else if (target.empty()) {
      target = arg;
    } else {
      return usage(std::cerr, 2);
    }
  }
  if (target.empty() || (mode != "script" && mode != "list")) {
    return usage(std::cerr, 2);
  }

  gaugehost::Host host(options);
  // FSUIPC is up in the host's own process, so durnik and ostrel find it.
  fsuipc_server::HostOffsetServer offset_server(host);
  if (mode == "list") {
    std::string error;
    if (!host.load_module(target, error)) {
      std::cerr << error << "\n";
      return 2;
    }
    for (const auto &name : host.gauge_names(target)) {
      std::cout << target << "!" << name << "\n";
    }
    return 0;
  }

  gaugehost::Console console(host, std::cout);
  offset_server.add_console_commands(console);
  render::add_snap_commands(console, std::make_shared<render::Renderer>());
  if (target == "-") {
    return console.run(std::cin, std::cerr);
  }
  std::ifstream file(target);
  if (!file) {
    std::cerr << "cannot open script " << target << "\n";
    return 2;
  }
  return console.run(file, std::cerr);
}
