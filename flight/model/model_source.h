// The sailplane model as a flight source: a scenario's start state and
// thermals, its pilot flying the timeline, the point-mass model and the
// key events' effects.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "flight/controls.h"
#include "flight/model/sailplane.h"
#include "flight/scenario/scenario.h"
#include "flight/scenario/turnpoints.h"
#include "flight/source.h"

namespace flight {

// Water leaving each tank while the dump signal is on, litres per second.
inline constexpr double kDumpFlowPerTankLps = 0.8;
inline constexpr double kCirclingBankDeg = 45.0;
// Circling speed as a share of the least-sink speed at the circle's load
// factor: the three-point polars put least sink too fast at low speed.
inline constexpr double kCirclingSpeedFactor = 0.9;
inline constexpr double kCentringTimeConstantS = 15.0;
inline constexpr double kArrivalRadiusM = 400.0;
inline constexpr double kLaunchSpeedKmh = 110.0;
inline constexpr double kApproachSpeedKmh = 95.0;
// The keyboard pilot's speed steps and range.
inline constexpr double kPilotSpeedStepKmh = 10.0;
inline constexpr double kPilotMinSpeedKmh = 70.0;
inline constexpr double kPilotMaxSpeedKmh = 250.0;

class ModelSource : public FlightSource {
public:
  // Reads the polar and turnpoint files named by the scenario from
  // `panel_dir`. On failure returns nullptr with `error` set.
  static std::unique_ptr<ModelSource>
  create(const Scenario &scenario, const std::filesystem::path &panel_dir, std::string &error);
  ModelSource(const Scenario &scenario, Polar polar, std::vector<Turnpoint> turnpoints);

  void step(double dt_s, TokenBus &bus) override;
  void key_event(uint32_t id, int32_t value) override;
  const AircraftState &state() const override { return model_.state; }
  bool finished() const override { return finished_; }
  double duration_s() const override { return scenario_.end_s; }
  std::vector<PanelClick> take_clicks() override;
  const std::map<uint32_t, long> &undefined_key_events() const override {
    return effects_.undefined();
  }
  std::vector<std::string> notes() const override { return notes_; }
  // The keyboard pilot takes over from the scenario's: the rest of the
  // timeline is dropped and the flight goes on past the scenario's end.
  // Circling starts where the glider is (centring on a thermal within reach).
  bool pilot(PilotControl control) override;

  // The air's motion at the glider (thermals and wind), for tests.
  AirMotion air_at(const AircraftState &state) const;
  Sailplane &model() { return model_; }

private:
  enum class Mode { Heading, Goto, Circle, Launch, Land };
  void run_timeline();
  bool start_action(const Action &a); // false: failed (noted)
  bool action_complete(const Action &a) const;
  PilotInput pilot_input(const AirMotion &air, double dt_s);

  Scenario scenario_;
  std::vector<Turnpoint> turnpoints_;
  Sailplane model_;
  KeyEventEffects effects_;
  bool first_step_ = true;
  bool finished_ = false;
  std::vector<PanelClick> clicks_;
  std::vector<std::string> notes_;

  // Timeline.
  size_t next_action_ = 0;
  size_t current_action_ = SIZE_MAX;
  double action_started_s_ = 0;
  double action_completed_s_ = 0;
  bool current_complete_ = true;
  double circle_climb_check_alt_ = 0;
  double circle_climb_check_s_ = 0;

  // Pilot.
  bool hand_flown_ = false; // the keyboard pilot has taken over
  Mode mode_ = Mode::Heading;
  double target_heading_deg_ = 0;
  LatLon target_position_{};
  int circle_direction_ = 1;
  bool circling_ = false;
  double target_speed_kmh_ = 100;
  bool speed_command_ = false;
  double mc_mps_ = 1.0;
  double felt_netto_mps_ = 0;
};

} // namespace flight
