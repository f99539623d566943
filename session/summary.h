// What a flight showed: sampled once a simulated second by the session and
// written as the summary at the end (flight time, distance, task, climbs and
// glides, ballast, airbrakes, the launch run, what each gauge showed).
// Climbs and glides are found as the samples arrive, so a flight of any
// length keeps only the segment in progress, not one record a second; lnav's
// TE average is kept only as far as a reference vario reaches.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "flight/state.h"

namespace gaugehost {
class Host;
}

namespace session {

struct Climb {
  double start_s = 0, end_s = 0;
  double gain_m = 0;
  double best_30s_mps = 0; // best 30-second average climb
};
struct Glide {
  double start_s = 0, end_s = 0;
  double distance_km = 0, height_lost_m = 0;
};

// Correlation of two series after the best lag.
struct Correlation {
  double r = 0;
  double lag_s = 0;
  int samples = 0;
};
// Pearson r of b(t + lag) against a(t) for lags 0..max_lag_s in whole
// seconds; both series sampled once a second from the same start.
Correlation best_lag_correlation(const std::vector<double> &a, const std::vector<double> &b,
                                 int max_lag_s);

class Summary {
public:
  void set_title(std::string title) { title_ = std::move(title); }
  // Once a simulated second.
  void sample(const flight::AircraftState &state, const gaugehost::Host &host);
  void note_key_event(uint32_t id, int32_t value);
  void note_igc_file(const std::string &name, int fixes);
  // A reference vario once a second (NaN where the log has no sample);
  // gaps between samples are filled linearly. Set it before the first sample.
  void set_reference_vario(std::vector<double> per_second_mps);
  void add_note(std::string note) { notes_.push_back(std::move(note)); }
  void set_undefined_keys(const std::map<uint32_t, long> &undefined) { undefined_ = undefined; }
  // Analyses the samples and takes the gauges' final values.
  void finish(const gaugehost::Host &host);
  std::string text() const;
  // "t_s,reference_mps,lnav_te_mps" once a second, when a reference vario is set.
  std::string vario_csv() const;

  const std::vector<Climb> &climbs() const { return climbs_; }
  const std::vector<Glide> &glides() const { return glides_; }
  const Correlation &vario_correlation() const { return correlation_; }
  bool task_started() const { return task_started_; }
  bool task_ended() const { return task_ended_; }
  double dumped_litres() const { return max_water_l_ - last_water_l_; }
  double max_airbrake() const { return max_airbrake_; }
  bool launch_completed() const { return launch_completed_; }
  double flight_time_s() const;
  double distance_km() const { return distance_km_; }
  const std::vector<double> &lnav_te_average() const { return lnav_te_; }

private:
  struct Sample {
    double t = 0, altitude = 0, turn = 0;
    double lat = 0, lon = 0;
    bool ground = false;
  };
  // The climb or glide in progress.
  struct Segment {
    Sample first, last;
    bool circling = false;
    double distance_m = 0;
    double best_30s_mps = -1e9;
    // The segment's last 31 samples' time and altitude, for the 30-second
    // average (a ring indexed by the segment's sample count).
    static constexpr int kWindow = 31;
    double t[kWindow] = {}, altitude[kWindow] = {};
    long count = 0;
  };
  void close_segment();

  std::string title_;
  bool sampled_ = false;
  Sample last_;
  Segment segment_;
  std::vector<double> lnav_te_;
  std::vector<double> reference_vario_;
  double distance_km_ = 0;
  double takeoff_s_ = -1, landing_s_ = -1;
  bool task_started_ = false, task_ended_ = false;
  double max_water_l_ = 0, last_water_l_ = 0;
  double max_airbrake_ = 0;
  double airbrake_open_s_ = 0;
  bool engine_ran_ = false, launch_completed_ = false;
  double engine_start_alt_ = 0, engine_max_alt_ = 0;
  long dump_cycles_ = 0;
  std::map<uint32_t, long> key_counts_;
  std::map<uint32_t, long> undefined_;
  std::vector<std::pair<std::string, int>> igc_files_;
  std::vector<std::string> notes_;
  std::vector<std::string> gauge_lines_;
  std::vector<Climb> climbs_;
  std::vector<Glide> glides_;
  Correlation correlation_;
  std::string last_task_text_;
};

// Text of one gauge's elements, as the console's `show` prints them.
std::vector<std::string> gauge_lines(const gaugehost::Host &host, const std::string &placement);

} // namespace session
