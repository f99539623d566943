// Watches a live stream for silence. The clock is the session's (the
// seconds the source is stepped by), so a test steps it like any flight;
// in `gaugehost live` the session paces it to the wall clock.
//
// States: waiting (nothing yet), live, stale (nothing for kStaleAfterS:
// the source freezes the panel on its last values), live again.
#pragma once

#include <functional>
#include <string>

namespace live {

inline constexpr double kStaleAfterS = 2.0;

enum class LinkState { waiting, live, stale };

class DataWatch {
public:
  // `name` starts each status text ("FlightGear", "NMEA"); `where` says
  // where the data is expected ("udp 127.0.0.1:5500"); `hint`, said once
  // when nothing has come kStaleAfterS after the start, what to check.
  DataWatch(std::string name, std::string where, std::string hint = "");

  // Called with each new status text (waiting, live, stale, live again).
  void on_status(std::function<void(const std::string &)> sink);
  // One step of the session's clock; `data` when good data came in it.
  void step(double dt_s, bool data);

  LinkState state() const { return state_; }
  const std::string &status() const { return status_; }
  int gaps() const { return gaps_; }                // times it went stale
  double stale_s() const { return stale_total_s_; } // seconds spent stale
  double since_data_s() const { return since_data_s_; }

private:
  void set(LinkState state, std::string text);

  std::string name_, where_, hint_;
  bool hinted_ = false;
  std::function<void(const std::string &)> sink_;
  LinkState state_ = LinkState::waiting;
  std::string status_;
  double since_data_s_ = 0;
  double stale_total_s_ = 0;
  int gaps_ = 0;
};

} // namespace live
