// A panel flown cycle by cycle by the sailplane model, for programs that
// measure or watch single cycles (the benchmarks, the allocation test)
// instead of running a whole flight through Session::run. It works on a
// copy of the panel folder in a fresh temporary folder (the modules write
// their files beside the panel), writes no outputs and removes the copy when
// it goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "flight/model/model_source.h"
#include "session/session.h"

namespace session {

class PanelFlight {
public:
  // Opens the panel of `panel_dir` (modules from `module_dir`, the host's
  // default if empty) and the scenario `scenario_text` (read as if it were
  // the panel's file `scenario_name`). nullptr with `error` on failure.
  static std::unique_ptr<PanelFlight> open(const std::filesystem::path &panel_dir,
                                           const std::filesystem::path &module_dir,
                                           const std::string &scenario_text,
                                           const std::string &scenario_name, std::string &error);
  ~PanelFlight();
  PanelFlight(const PanelFlight &) = delete;
  PanelFlight &operator=(const PanelFlight &) = delete;

  // The first half of a cycle: the clock moves on by one cycle and the model
  // steps and writes the tokens. Returns false once the scenario has ended.
  bool step_source();
  // The scenario's clicks due now. False with `error` for an unknown button.
  bool apply_clicks(std::string &error);
  // One whole cycle: step_source, apply_clicks, the host's update walk.
  bool cycle(std::string &error);
  // Runs cycles until the model's clock reaches `time_s` or the scenario
  // ends.
  bool fly_until(double time_s, std::string &error);

  Session &session() { return *session_; }
  gaugehost::Host &host() { return session_->host(); }
  flight::ModelSource &source() { return *source_; }
  int cycle_ms() const { return kCycleMs; }

private:
  class Bus;
  PanelFlight() = default;
  static constexpr int kCycleMs = 55;

  std::filesystem::path folder_; // the panel's copy
  std::unique_ptr<Session> session_;
  std::unique_ptr<flight::ModelSource> source_;
  std::unique_ptr<Bus> bus_;
};

} // namespace session
