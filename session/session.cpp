#include "session/session.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "flight/igc/igc.h"
#include "flight/tokens.h"
#include "host/host_offset_server.h"
#include "host/panel_command.h"
#include "platform/fssound/fssound_host.h"
#include "platform/soarrec/soarrec_host.h"
#include "session/buttons.h"

namespace session {

constexpr uint32_t kClickFlags = 0x20000000; // left button down

// The host's tokens as the flight source's bus.
class Session::Bus : public flight::TokenBus {
public:
  explicit Bus(gaugehost::Host &host) : host_(host) {}
  double get(uint32_t id) const override { return host_.token(id); }
  void set(uint32_t id, double value) override { host_.set_token(id, value); }

private:
  gaugehost::Host &host_;
};

// The files a session writes.
class Session::Outputs {
public:
  explicit Outputs(std::filesystem::path dir) : dir_(std::move(dir)) {}

  bool open(bool wav, std::string &error) {
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (ec) {
      error = dir_.string() + ": cannot create the output folder: " + ec.message();
      return false;
    }
    keys_.open(dir_ / "keys.log");
    trace_.open(dir_ / "trace.csv");
    if (!keys_ || !trace_) {
      error = dir_.string() + ": cannot write the outputs";
      return false;
    }
    keys_ << "# time_s id value name\n";
    if (wav && !fssound::start_recording((dir_ / "sound.wav").string(), &error)) {
      return false;
    }
    return true;
  }

  void key(double t, uint32_t id, int32_t value) {
    const auto name = flight::key_name(id);
    char line[128];
    std::snprintf(line, sizeof line, "%.3f 0x%X %d %.*s\n", t, id, value,
                  static_cast<int>(name.size()), name.data());
    keys_ << line;
  }

  void trace_row(double t, const gaugehost::Host &host) {
    if (!trace_header_) {
      trace_ << "time_s";
      for (const auto &g : host.gauges()) {
        for (const auto &e : g->elements) {
          if (e.kind != kElementStaticImage) {
            trace_ << ',' << g->name << '.' << e.index;
          }
        }
      }
      trace_ << '\n';
      trace_header_ = true;
    }
    char cell[64];
    std::snprintf(cell, sizeof cell, "%.1f", t);
    trace_ << cell;
    for (const auto &g : host.gauges()) {
      for (const auto &e : g->elements) {
        if (e.kind == kElementStaticImage) {
          continue;
        }
        trace_ << ',';
        if (e.kind == kElementString) {
          trace_ << '"';
          for (char c : e.text) {
            trace_ << (c == '"' ? "\"\"" : std::string(1, c));
          }
          trace_ << '"';
        } else if (e.kind == kElementNeedle || e.kind == kElementIcon) {
          std::snprintf(cell, sizeof cell, "%.6g", e.values[0]);
          trace_ << cell;
        } else {
          std::snprintf(cell, sizeof cell, "%.6g %.6g %.6g", e.values[0], e.values[1], e.values[2]);
          trace_ << cell;
        }
      }
    }
    trace_ << '\n';
  }

  // The recorder stand-in's calls: on opens a new log, off closes it.
  void recorder(const flight::AircraftState &s, Summary &summary) {
    for (const auto &call : soarrec::take_calls()) {
      if (call.on) {
        close_igc(summary);
        flight::IgcWriter::Header h{.utc_epoch_ms = s.utc_epoch_ms,
                                    .flight_of_day = ++flights_,
                                    .pilot = "gaugehost pilot",
                                    .glider_type = "sailplane",
                                    .glider_id = "D-GHST"};
        igc_name_ = flight::igc_file_name(s.utc_epoch_ms, flight::kIgcManufacturer,
                                          flight::kIgcLoggerId, flights_);
        std::string error;
        if (!igc_.open(dir_ / igc_name_, h, error)) {
          summary.add_note(error);
        }
        last_fix_second_ = -1;
      } else {
        close_igc(summary);
      }
    }
    const int64_t second = s.utc_epoch_ms / 1000;
    if (igc_.is_open() && second != last_fix_second_) {
      last_fix_second_ = second;
      igc_.add_fix(second * 1000, s.latitude_deg, s.longitude_deg, s.pressure_altitude_m,
                   s.gnss_altitude_m, s.airspeed_mps * 3.6);
    }
  }

  void close_igc(Summary &summary) {
    if (igc_.is_open()) {
      summary.note_igc_file(igc_name_, igc_.fix_count());
      igc_.close();
    }
  }

  const std::filesystem::path &dir() const { return dir_; }

private:
  std::filesystem::path dir_;
  std::ofstream keys_, trace_;
  bool trace_header_ = false;
  flight::IgcWriter igc_;
  std::string igc_name_;
  int flights_ = 0;
  int64_t last_fix_second_ = -1;
};

Session::Session(SessionOptions options) : options_(std::move(options)) {}

Session::~Session() {
  offsets_.reset();
  host_.reset();
  if (!previous_cwd_.empty()) {
    std::error_code ec;
    std::filesystem::current_path(previous_cwd_, ec);
  }
}

bool Session::open(std::string &error) {
  panel_ = gaugehost::read_panel_file(options_.panel_dir, error);
  if (!panel_) {
    return false;
  }
  summary_.set_title(options_.title);
  gaugehost::HostOptions host_options;
  host_options.module_dir = options_.module_dir;
  host_options.virtual_time = true; // paced by the session when real time is asked for
  if (!options_.call_logs) {
    host_options.key_log_limit = 0;
  }
  fssound::set_call_log(options_.call_logs);
  host_ = std::make_unique<gaugehost::Host>(host_options);
  offsets_ = std::make_unique<fsuipc_server::HostOffsetServer>(*host_);
  bus_ = std::make_unique<Bus>(*host_);
  // The modules open their data files relative to the working folder.
  previous_cwd_ = std::filesystem::current_path();
  std::error_code ec;
  std::filesystem::current_path(options_.panel_dir, ec);
  if (ec) {
    error = options_.panel_dir.string() + ": " + ec.message();
    return false;
  }
  if (!gaugehost::place_panel(*host_, *panel_, error)) {
    return false;
  }
  for (const auto &g : panel_->gauges) {
    const auto *placed = host_->gauge(g.placement);
    const double w = placed->root_image.width_px > 0 ? placed->root_image.width_px : g.width;
    const double h = placed->root_image.height_px > 0 ? placed->root_image.height_px : g.height;
    rects_.push_back({g.placement, g.x, g.y, g.width, g.height, g.width / w, g.height / h});
  }
  return true;
}

std::optional<Session::DesignPoint> Session::panel_to_design(int x, int y) const {
  // The last placed gauge lies on top.
  for (auto it = rects_.rbegin(); it != rects_.rend(); ++it) {
    if (x >= it->x && x < it->x + it->width && y >= it->y && y < it->y + it->height) {
      return DesignPoint{it->placement, static_cast<int>((x - it->x) / it->scale_x),
                         static_cast<int>((y - it->y) / it->scale_y)};
    }
  }
  return std::nullopt;
}

bool Session::click_button(const std::string &gauge, const std::string &button,
                           std::string &error) {
  const auto *placed = host_->gauge(gauge);
  if (placed == nullptr) {
    error = "no gauge " + gauge + " on the panel";
    return false;
  }
  const auto point = find_button(placed->gauge_name, button);
  if (!point) {
    error = "gauge " + gauge + " has no button " + button +
            " (buttons: " + button_names(placed->gauge_name) + ")";
    return false;
  }
  return host_->click(gauge, point->x, point->y, kClickFlags, error);
}

bool Session::start(std::unique_ptr<flight::FlightSource> source, std::string &error) {
  source_ = std::move(source);
  if (!options_.output_dir.empty()) {
    outputs_ =
        std::make_unique<Outputs>(std::filesystem::absolute(previous_cwd_ / options_.output_dir));
    if (!outputs_->open(options_.wav, error)) {
      return false;
    }
  }
  host_->set_key_event_sink([this](const gaugehost::KeyEvent &e) {
    source_->key_event(e.id, e.value);
    summary_.note_key_event(e.id, e.value);
    if (outputs_) {
      outputs_->key(source_->state().time_s, e.id, e.value);
    }
  });
  soarrec::take_calls(); // forget calls from before the flight
  next_sample_s_ = next_trace_s_ = 0;
  return true;
}

bool Session::step(std::string &error) {
  host_->advance(options_.cycle_ms);
  source_->step(options_.cycle_ms / 1000.0, *bus_);
  for (const auto &click : source_->take_clicks()) {
    if (click.optional && host_->gauge(click.gauge) == nullptr) {
      continue;
    }
    for (int i = 0; i < click.count; ++i) {
      if (!click_button(click.gauge, click.button, error)) {
        error = "scenario line " + std::to_string(click.line) + ": " + error;
        return false;
      }
    }
  }
  host_->walk();
  const flight::AircraftState &s = source_->state();
  if (outputs_) {
    outputs_->recorder(s, summary_);
  }
  if (s.time_s >= next_sample_s_) {
    summary_.sample(s, *host_);
    next_sample_s_ += 1.0;
  }
  if (outputs_ && options_.trace_interval_s > 0 && s.time_s >= next_trace_s_) {
    outputs_->trace_row(s.time_s, *host_);
    next_trace_s_ += options_.trace_interval_s;
  }
  if (observer_) {
    observer_(s);
  }
  return true;
}

void Session::finish() {
  host_->set_key_event_sink(nullptr);
  fssound::sync();
  if (outputs_) {
    outputs_->close_igc(summary_);
    fssound::stop_recording();
  }
  summary_.set_undefined_keys(source_->undefined_key_events());
  for (auto &note : source_->notes()) {
    summary_.add_note(note);
  }
  summary_.finish(*host_);
  if (outputs_) {
    std::ofstream(outputs_->dir() / "summary.txt") << summary_.text();
    if (!summary_.lnav_te_average().empty() && summary_.vario_correlation().samples > 0) {
      std::ofstream(outputs_->dir() / "vario.csv") << summary_.vario_csv();
    }
  }
}

bool Session::run(std::unique_ptr<flight::FlightSource> source, std::string &error) {
  if (!start(std::move(source), error)) {
    return false;
  }
  const auto wall_start = std::chrono::steady_clock::now();
  auto last_progress = wall_start;
  const bool bar = options_.progress && isatty(STDERR_FILENO);
  int64_t cycles = 0;
  while (!source_->finished()) {
    if (!step(error)) {
      return false;
    }
    ++cycles;
    if (options_.real_time) {
      std::this_thread::sleep_until(wall_start +
                                    std::chrono::milliseconds(cycles * options_.cycle_ms));
    }
    if (bar) {
      const auto now = std::chrono::steady_clock::now();
      if (now - last_progress > std::chrono::milliseconds(200)) {
        last_progress = now;
        const double time_s = source_->state().time_s;
        const double fraction = std::min(1.0, time_s / std::max(1.0, source_->duration_s()));
        const int filled = static_cast<int>(fraction * 30);
        std::fprintf(stderr, "\r[%.*s%.*s] %3.0f%%  %5.0f s simulated", filled,
                     "##############################", 30 - filled,
                     "------------------------------", fraction * 100, time_s);
        std::fflush(stderr);
      }
    }
  }
  if (bar) {
    std::fprintf(stderr, "\r%60s\r", "");
  }
  finish();
  return true;
}

} // namespace session
