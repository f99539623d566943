#include "session/panel_flight.h"

#include <cstdlib>

#include "flight/scenario/scenario.h"

namespace session {

class PanelFlight::Bus : public flight::TokenBus {
public:
  explicit Bus(gaugehost::Host &host) : host_(host) {}
  double get(uint32_t id) const override { return host_.token(id); }
  void set(uint32_t id, double value) override { host_.set_token(id, value); }

private:
  gaugehost::Host &host_;
};

std::unique_ptr<PanelFlight> PanelFlight::open(const std::filesystem::path &panel_dir,
                                               const std::filesystem::path &module_dir,
                                               const std::string &scenario_text,
                                               const std::string &scenario_name,
                                               std::string &error) {
  std::unique_ptr<PanelFlight> flight(new PanelFlight);
  std::string pattern = (std::filesystem::temp_directory_path() / "panel-flight-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = pattern + ": cannot create a temporary folder";
    return nullptr;
  }
  flight->folder_ = pattern;
  std::error_code ec;
  std::filesystem::copy(panel_dir, flight->folder_, std::filesystem::copy_options::recursive, ec);
  if (ec) {
    error = panel_dir.string() + ": cannot copy the panel: " + ec.message();
    return nullptr;
  }
  const auto scenario =
      flight::parse_scenario(scenario_text, flight->folder_ / scenario_name, error);
  if (!scenario) {
    return nullptr;
  }
  flight->source_ = flight::ModelSource::create(*scenario, flight->folder_, error);
  if (!flight->source_) {
    return nullptr;
  }
  SessionOptions options;
  options.panel_dir = flight->folder_;
  options.module_dir = module_dir;
  options.wav = false;
  options.trace_interval_s = 0;
  options.cycle_ms = kCycleMs;
  flight->session_ = std::make_unique<Session>(options);
  if (!flight->session_->open(error)) {
    return nullptr;
  }
  flight->bus_ = std::make_unique<Bus>(flight->session_->host());
  flight::FlightSource *source = flight->source_.get();
  flight->host().set_key_event_sink(
      [source](const gaugehost::KeyEvent &e) { source->key_event(e.id, e.value); });
  return flight;
}

PanelFlight::~PanelFlight() {
  session_.reset(); // gives the working folder back before the copy goes
  if (!folder_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
}

bool PanelFlight::step_source() {
  if (source_->finished()) {
    return false;
  }
  host().advance(kCycleMs);
  source_->step(kCycleMs / 1000.0, *bus_);
  return true;
}

bool PanelFlight::apply_clicks(std::string &error) {
  for (const auto &click : source_->take_clicks()) {
    if (click.optional && host().gauge(click.gauge) == nullptr) {
      continue;
    }
    for (int i = 0; i < click.count; ++i) {
      if (!session_->click_button(click.gauge, click.button, error)) {
        return false;
      }
    }
  }
  return true;
}

bool PanelFlight::cycle(std::string &error) {
  if (!step_source() || !apply_clicks(error)) {
    return false;
  }
  host().walk();
  return true;
}

bool PanelFlight::fly_until(double time_s, std::string &error) {
  while (source_->state().time_s < time_s) {
    if (!cycle(error)) {
      return error.empty();
    }
  }
  return true;
}

} // namespace session
