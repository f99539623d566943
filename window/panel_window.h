// The panel in a real window (SDL2): a session's flight source run in real
// time (or 4 or 16 times faster), its gauges drawn by the renderer where the
// panel file places them, mouse clicks delivered to the gauges' rectangles,
// the sound mix played on the sound device when there is one, message boxes
// shown as dialogs and the pilot's controls on keys:
//
//   B airbrakes   Up/Down speed   Left/Right circle (again: straight)
//   P or Space pause   1 2 3 time x1 x4 x16   F12 snapshot   Esc or Q quit
#pragma once

#include <filesystem>
#include <string>

#include <memory>

#include "flight/source.h"
#include "render/renderer.h"
#include "session/session.h"

namespace window {

struct WindowOptions {
  std::string title = "gaugehost";
  double scale = 0.75;       // window pixels per panel pixel
  double seconds = 0;        // close after this many wall-clock seconds; 0 runs until closed
  bool print_layout = false; // print "gauge NAME X Y W H" per gauge at start
  bool live = false;         // a live link keeps the outside clock: no pause, no x4 or x16
  std::filesystem::path snapshot_path = "gaugehost-window.png"; // F12
};

// Runs `source` through the opened `session` (start, steps, finish) until the
// window is closed; when the flight is over the panel stays on its last
// picture. Returns 0, or 2 with a message on standard error if the window
// cannot be opened or the session fails.
int run_window(session::Session &session, std::unique_ptr<flight::FlightSource> source,
               const WindowOptions &options);

// Time factors the keys 1, 2 and 3 select.
inline constexpr int kTimeFactors[] = {1, 4, 16};
// Buttons that step while held repeat at this steady rate after a first delay.
inline constexpr int64_t kRepeatDelayMs = 400;
inline constexpr int64_t kRepeatPeriodMs = 125;
// Frames per second the window aims at.
inline constexpr int kTargetFps = 30;

} // namespace window
