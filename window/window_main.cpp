#include "window/window_main.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "host/console.h"
#include "host/host_offset_server.h"
#include "render/snap_command.h"
#include "window/panel_window.h"
#include "window/scripted_source.h"

namespace window {

int window_main(WindowCommand command) {
  std::ifstream script(command.panel);
  if (!script) {
    std::cerr << "window: cannot open panel script " << command.panel << "\n";
    return 2;
  }
  gaugehost::HostOptions host_options;
  host_options.module_dir = command.modules;
  gaugehost::Host host(host_options);
  fsuipc_server::HostOffsetServer offset_server(host);
  gaugehost::Console console(host, std::cout);
  offset_server.add_console_commands(console);
  render::add_snap_commands(console, std::make_shared<render::Renderer>());
  if (const int code = console.run(script, std::cerr); code != 0) {
    return code;
  }
  command.window.title = "gaugehost - " + command.panel;
  ScriptedSource source;
  return run_window(host, source, command.window);
}

} // namespace window
