// A session runs one flight through the panel: the module host, the panel
// geometry, the flight source (stepped before each cycle; it receives the
// panel's key events), the in-process offset server, the clock policy and
// the output sinks (IGC logs through the flight-recorder stand-in, the sound
// mix as WAV, a CSV trace of every gauge element, the key log, a summary).
//
// Clock: the host's clock is always virtual; with `real_time` the session
// paces the cycles to the wall clock against a fixed start, so the wait
// absorbs the work's time instead of adding to it (no drift).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "flight/source.h"
#include "host/host.h"
#include "host/panel_file.h"
#include "session/summary.h"

namespace fsuipc_server {
class HostOffsetServer;
}

namespace session {

struct SessionOptions {
  std::filesystem::path panel_dir;  // panel.cfg and the modules' working folder
  std::filesystem::path module_dir; // MODULE.so files; the host's default if empty
  std::filesystem::path output_dir; // created; empty: no files written
  bool real_time = false;
  int cycle_ms = 55;
  bool wav = true;
  double trace_interval_s = 1.0; // CSV trace row interval; 0: no trace
  bool progress = false;         // progress bar on standard error
  std::string title;             // for the summary
  // The sound library's call log and the host's key log: a session reads
  // neither (key events reach it through the host's sink), so by default
  // they are off and cost nothing per cycle.
  bool call_logs = false;
};

// Placed rectangle of a gauge on the panel and its scale.
struct GaugeRect {
  std::string placement;
  int x = 0, y = 0, width = 0, height = 0; // panel pixels
  double scale_x = 1, scale_y = 1;         // panel pixels per design pixel
};

class Session {
public:
  explicit Session(SessionOptions options);
  ~Session();
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  // Reads the panel file, loads the modules and places the gauges.
  bool open(std::string &error);
  // Runs the source to its end. Returns false with `error` on a fault (an
  // unknown button, an output that cannot be written).
  bool run(std::unique_ptr<flight::FlightSource> source, std::string &error);

  // The same run paced from outside (the window): start, then one update
  // cycle per call to step while the source is not finished, then finish,
  // which closes the outputs and completes the summary. Real time and the
  // progress bar are run's; here the caller paces.
  bool start(std::unique_ptr<flight::FlightSource> source, std::string &error);
  bool step(std::string &error);
  void finish();
  flight::FlightSource &source() { return *source_; }
  // Called after each cycle with the source's state (snapshots).
  void set_cycle_observer(std::function<void(const flight::AircraftState &)> observer) {
    observer_ = std::move(observer);
  }
  const gaugehost::PanelFile &panel() const { return *panel_; }
  int cycle_ms() const { return options_.cycle_ms; }

  gaugehost::Host &host() { return *host_; }
  const Summary &summary() const { return summary_; }
  // A replay's reference vario, for the summary's check of lnav; before run().
  void set_reference_vario(std::vector<double> per_second_mps) {
    summary_.set_reference_vario(std::move(per_second_mps));
  }
  const std::vector<GaugeRect> &rects() const { return rects_; }
  // Screen-to-design mapping: the gauge under panel pixel (x, y) and the
  // design point within it; nullopt if no gauge is there.
  struct DesignPoint {
    std::string placement;
    int x = 0, y = 0;
  };
  std::optional<DesignPoint> panel_to_design(int x, int y) const;
  // Clicks a named button of a placed gauge.
  bool click_button(const std::string &gauge, const std::string &button, std::string &error);

private:
  class Bus;
  class Outputs;

  SessionOptions options_;
  std::unique_ptr<gaugehost::Host> host_;
  std::unique_ptr<fsuipc_server::HostOffsetServer> offsets_;
  std::unique_ptr<Bus> bus_;
  std::unique_ptr<Outputs> outputs_;
  std::unique_ptr<flight::FlightSource> source_;
  std::optional<gaugehost::PanelFile> panel_;
  std::vector<GaugeRect> rects_;
  Summary summary_;
  std::filesystem::path previous_cwd_;
  std::function<void(const flight::AircraftState &)> observer_;
  double next_sample_s_ = 0, next_trace_s_ = 0;
};

} // namespace session
