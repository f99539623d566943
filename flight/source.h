// A flight source drives the panel: before each update cycle it advances and
// writes every token the gauges read; every key event the panel sends comes
// to it. The session, the recorder and the outputs see only this interface.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "flight/state.h"

namespace flight {

// A pilot's click on a gauge button by name, asked for by a scenario.
struct PanelClick {
  std::string gauge;
  std::string button;
  int count = 1;
  int line = 0;          // scenario line, for messages
  bool optional = false; // skipped when the gauge is not on the panel
};

// The pilot's controls on the window's keys.
enum class PilotControl {
  AirbrakesToggle,
  SpeedUp,
  SpeedDown,
  CircleLeft, // the same side again flies straight
  CircleRight,
};

class FlightSource {
public:
  virtual ~FlightSource() = default;
  // Advances by dt_s seconds and writes every token through `bus`.
  virtual void step(double dt_s, TokenBus &bus) = 0;
  // A key event sent by the panel (after the handler that sent it returned).
  virtual void key_event(uint32_t id, int32_t value) = 0;
  virtual const AircraftState &state() const = 0;
  // True once the flight is over (the scenario's end, the log's last fix).
  virtual bool finished() const = 0;
  // Expected length, for progress reports.
  virtual double duration_s() const = 0;
  // Clicks the pilot makes now (scenarios); empty for other sources.
  virtual std::vector<PanelClick> take_clicks() { return {}; }
  // Key events without a defined effect, with their counts.
  virtual const std::map<uint32_t, long> &undefined_key_events() const = 0;
  // The pilot at the keyboard takes the controls. Returns false when the
  // source flies no one to steer (a replay, a live link).
  virtual bool pilot(PilotControl) { return false; }
  // Pilot actions or notes worth a line in the summary.
  virtual std::vector<std::string> notes() const { return {}; }
};

} // namespace flight
