// The panel in a real window (SDL2): the host's gauges drawn by the renderer,
// run in real time (or 4 or 16 times faster), mouse clicks delivered to the
// gauges' rectangles, the sound mix played on the sound device when there is
// one, message boxes shown as dialogs and the pilot's controls on keys:
//
//   B airbrakes   Up/Down speed   Left/Right circle (again: straight)
//   P or Space pause   1 2 3 time x1 x4 x16   F12 snapshot   Esc or Q quit
#pragma once

#include <filesystem>
#include <string>

#include "host/host.h"
#include "render/renderer.h"
#include "window/flight_source.h"

namespace window {

struct WindowOptions {
  std::string title = "gaugehost";
  double scale = 0.75;       // gauges' design pixels to window pixels
  int max_width_px = 1800;   // rows of gauges wrap before this width (window pixels)
  double seconds = 0;        // close after this many wall-clock seconds; 0 runs until closed
  bool print_layout = false; // print "gauge NAME X Y W H" per gauge at start
  std::filesystem::path snapshot_path = "gaugehost-window.png"; // F12
};

// Runs the window until it is closed. Returns 0, or 2 with a message on
// standard error if the window cannot be opened.
int run_window(gaugehost::Host &host, FlightSource &source, const WindowOptions &options);

// Time factors the keys 1, 2 and 3 select.
inline constexpr int kTimeFactors[] = {1, 4, 16};
// Buttons that step while held repeat at this steady rate after a first delay.
inline constexpr int64_t kRepeatDelayMs = 400;
inline constexpr int64_t kRepeatPeriodMs = 125;
// Longest update cycle in flight time: a faster clock runs more cycles.
inline constexpr int64_t kCycleMs = 55;
// Frames per second the window aims at.
inline constexpr int kTargetFps = 30;

} // namespace window
