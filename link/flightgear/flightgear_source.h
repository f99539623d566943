// The live FlightGear link as a flight source: FlightGear sends
// gaugehost-out lines over UDP to 127.0.0.1:listen_port; the panel's key
// events go back as gaugehost-in lines to 127.0.0.1:send_port, where
// FlightGear listens.
//
// Each step takes the newest good line waiting (FlightGear sends about
// 10 a second, the panel cycles about 18 times a second: between lines the
// tokens hold). After kStaleAfterS without a line the panel freezes on the
// last values and the status says so; the next line resumes the flight.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "flight/controls.h"
#include "flight/source.h"
#include "link/data_watch.h"
#include "link/flightgear/fg_protocol.h"
#include "link/socket.h"
#include "link/startup_clicks.h"

namespace live {

inline constexpr uint16_t kFgDefaultListenPort = 5500;
inline constexpr uint16_t kFgDefaultSendPort = 5501;

struct FlightGearOptions {
  uint16_t listen_port = kFgDefaultListenPort; // 0: any free port (tests)
  uint16_t send_port = kFgDefaultSendPort;
  double duration_s = 0;                   // stop after this long; 0: until `stop`
  const std::atomic<bool> *stop = nullptr; // set from a signal handler
  std::function<void(const std::string &)> status;
};

class FlightGearSource : public flight::FlightSource {
public:
  static std::unique_ptr<FlightGearSource> create(FlightGearOptions options, std::string &error);

  void step(double dt_s, flight::TokenBus &bus) override;
  void key_event(uint32_t id, int32_t value) override;
  const flight::AircraftState &state() const override { return state_; }
  bool finished() const override;
  double duration_s() const override { return options_.duration_s; }
  // Key events FlightGear has no counterpart for in gaugehost-in.
  const std::map<uint32_t, long> &undefined_key_events() const override { return no_counterpart_; }
  std::vector<std::string> notes() const override;
  std::vector<flight::PanelClick> take_clicks() override {
    return clicks_.take(first_data_s_ < 0 ? -1 : state_.time_s - first_data_s_);
  }

  uint16_t listen_port() const { return listener_.port(); }
  const DataWatch &watch() const { return watch_; }
  long good_lines() const { return good_lines_; }
  long bad_lines() const { return bad_lines_; }

private:
  explicit FlightGearSource(FlightGearOptions options);
  void send_controls();

  FlightGearOptions options_;
  UdpListener listener_;
  UdpSender sender_;
  DataWatch watch_;
  flight::AircraftState state_;
  flight::KeyEventEffects effects_;
  std::map<uint32_t, long> no_counterpart_;
  std::optional<FgSample> last_;
  StartupClicks clicks_;
  double first_data_s_ = -1;
  // Aircraft without a turn indicator report 0: the turn rate then comes
  // from the heading's change between lines.
  bool turn_indicator_seen_ = false;
  double hold_controls_s_ = 0; // our settings win over FlightGear's echo until then
  bool first_step_ = true;
  bool controls_changed_ = false; // by a key event since the last step
  bool dumping_sent_ = false;
  long good_lines_ = 0, bad_lines_ = 0, sent_lines_ = 0, send_failures_ = 0;
};

} // namespace live
