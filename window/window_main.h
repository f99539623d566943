// `gaugehost window [PANEL] [--scenario FILE | --replay FILE.igc] [options]`:
// runs a panel script (console commands that load and place gauges and set
// tokens; examples/cockpit.gh by default) and opens the panel in a window.
#pragma once

namespace window {

// argv[0] is "window". Returns the process exit code.
int window_main(int argc, char **argv);

} // namespace window
