// The flight source that holds whatever tokens the panel script set and lets
// the pilot's keys act on them directly: airbrakes open and shut, airspeed in
// 5 kt steps, and a steady rate-one turn that swings the heading, banks the
// attitude card and the turn needle. It flies no physics: a stand-in until a
// flight model or a replay drives the panel.
#pragma once

#include "window/flight_source.h"

namespace window {

class ScriptedSource : public FlightSource {
public:
  void step(gaugehost::Host &host, int64_t step_ms) override;
  void key_event(const gaugehost::KeyEvent &) override {}
  void pilot(gaugehost::Host &host, PilotControl control) override;
  std::string status() const override;

private:
  int turn_ = 0; // -1 left, 0 straight, +1 right
  bool airbrakes_open_ = false;
};

} // namespace window
