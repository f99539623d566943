// What drives the panel in the window: a flight source writes the tokens the
// gauges read before each update cycle, hears the key events the panel sends
// and takes the pilot's controls from the keyboard. The window knows nothing
// else of it, so a model, a replay or a live link plug in alike.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace window {

enum class PilotControl {
  kAirbrakesToggle,
  kSpeedUp,
  kSpeedDown,
  kCircleLeft, // a second press of the same side flies straight again
  kCircleRight,
};

class FlightSource {
public:
  virtual ~FlightSource() = default;
  // Moves the flight on by `step_ms` of flight time and writes its tokens.
  virtual void step(gaugehost::Host &host, int64_t step_ms) = 0;
  virtual void key_event(const gaugehost::KeyEvent &event) = 0;
  virtual void pilot(gaugehost::Host &host, PilotControl control) = 0;
  // One line for the window title: what the source flies and how.
  virtual std::string status() const = 0;
};

} // namespace window
