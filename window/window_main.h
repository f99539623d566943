// `gaugehost window [PANEL] [options]`: runs a panel script (console
// commands that load and place gauges and set tokens; examples/cockpit.gh by
// default) and opens the panel in a window.
#pragma once

#include <filesystem>
#include <string>

#include "window/panel_window.h"

namespace window {

struct WindowCommand {
  std::string panel = "examples/cockpit.gh";
  std::filesystem::path modules; // the host's default when empty
  WindowOptions window;
};

// Returns the process exit code.
int window_main(WindowCommand command);

} // namespace window
