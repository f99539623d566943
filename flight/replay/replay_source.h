// Replay of a recorded flight: an IGC log's fixes drive the panel. Positions
// and altitudes are splines through the valid fixes; ground speed, track,
// vertical speed, turn rate and bank are their derivatives; the airspeed is
// the log's own (TAS or IAS extension) where it has one, otherwise ground
// speed less a wind estimated from the drift while circling.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flight/controls.h"
#include "flight/igc/igc.h"
#include "flight/replay/spline.h"
#include "flight/source.h"

namespace flight {

struct WindEstimate {
  double time_s = 0;                  // log time
  double north_mps = 0, east_mps = 0; // the air's motion (towards)
};

class ReplaySource : public FlightSource {
public:
  // Fails (nullptr, `error`) when the log has fewer than two valid fixes.
  static std::unique_ptr<ReplaySource> create(IgcLog log, int units, std::string &error);
  explicit ReplaySource(IgcLog log, int units);

  void step(double dt_s, TokenBus &bus) override;
  void key_event(uint32_t id, int32_t value) override;
  const AircraftState &state() const override { return state_; }
  bool finished() const override { return finished_; }
  double duration_s() const override { return end_s_ - start_s_; }
  const std::map<uint32_t, long> &undefined_key_events() const override {
    return effects_.undefined();
  }
  std::vector<std::string> notes() const override;
  // The pilot switches the navigation and vario computers on at the start.
  std::vector<PanelClick> take_clicks() override;

  const IgcLog &log() const { return log_; }
  double start_time_s() const { return start_s_; } // log time of the first valid fix
  const std::vector<WindEstimate> &winds() const { return winds_; }
  // Where the airspeed comes from: "TAS", "IAS" or "wind".
  const std::string &airspeed_source() const { return airspeed_source_; }
  // Evaluates the state at log time t (no side effects on the replay's clock).
  void evaluate(double log_time_s, AircraftState &out) const;

private:
  void estimate_wind();
  void wind_at(double t, double &north, double &east) const;

  IgcLog log_;
  std::vector<double> fix_times_;
  Spline north_, east_, baro_, gnss_;
  Spline airspeed_kmh_; // from the extension, if any
  double origin_lat_ = 0, origin_lon_ = 0;
  double start_s_ = 0, end_s_ = 0;
  double time_s_ = 0; // since start
  std::vector<WindEstimate> winds_;
  std::string airspeed_source_ = "wind";
  AircraftState state_;
  KeyEventEffects effects_;
  bool first_step_ = true;
  bool finished_ = false;
  int startup_step_ = 0;
};

} // namespace flight
