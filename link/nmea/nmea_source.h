// NMEA 0183 as a flight source: a glide computer's or simulator's sentences
// over UDP (the host listens), TCP (the host connects to a local NMEA
// server) or a log file (played at the pace of its own UTC times).
//
// GPRMC/GNRMC give position, ground speed, track and date; GPGGA the GNSS
// altitude; PGRMZ the pressure altitude; LXWP0 airspeed, barometric
// altitude, vario, heading and wind. What no sentence gives is derived:
// airspeed = ground speed, heading = track, vario from the altitude
// (pressure altitude when known), turn rate from the track, bank from the
// turn rate and speed. The panel's key events act on the panel's own
// controls: NMEA runs one way.
#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "flight/controls.h"
#include "flight/source.h"
#include "link/data_watch.h"
#include "link/nmea/nmea.h"
#include "link/socket.h"
#include "link/startup_clicks.h"

namespace live {

inline constexpr uint16_t kNmeaDefaultPort = 10110; // the port NMEA-over-IP tools use

enum class NmeaTransport { udp, tcp, file };

struct NmeaOptions {
  NmeaTransport transport = NmeaTransport::udp;
  uint16_t port = kNmeaDefaultPort; // udp: listen (0: any free port); tcp: connect
  std::filesystem::path file;
  double duration_s = 0; // stop after this long; 0: until `stop` (or the file's end)
  const std::atomic<bool> *stop = nullptr;
  std::function<void(const std::string &)> status;
};

class NmeaSource : public flight::FlightSource {
public:
  static std::unique_ptr<NmeaSource> create(NmeaOptions options, std::string &error);

  void step(double dt_s, flight::TokenBus &bus) override;
  void key_event(uint32_t id, int32_t value) override;
  const flight::AircraftState &state() const override { return state_; }
  bool finished() const override;
  double duration_s() const override { return options_.duration_s; }
  const std::map<uint32_t, long> &undefined_key_events() const override {
    return effects_.undefined();
  }
  std::vector<std::string> notes() const override;
  std::vector<flight::PanelClick> take_clicks() override {
    return clicks_.take(first_fix_s_ < 0 ? -1 : state_.time_s - first_fix_s_);
  }

  uint16_t port() const { return udp_.port(); }
  const DataWatch &watch() const { return watch_; }
  long accepted() const { return accepted_; }
  long rejected(NmeaFault fault) const { return faults_[static_cast<size_t>(fault)]; }
  long rejected_total() const;

private:
  explicit NmeaSource(NmeaOptions options);
  void read_lines(std::vector<std::string> &lines);
  // True when the sentence was good and changed the state.
  bool apply(const std::string &line);
  void on_position(const NmeaPosition &at);

  NmeaOptions options_;
  UdpListener udp_;
  std::unique_ptr<TcpLineClient> tcp_;
  std::ifstream file_;
  std::optional<std::string> held_line_; // the file's next timed sentence, not due yet
  std::optional<double> file_start_day_s_;
  bool file_done_ = false;

  DataWatch watch_;
  flight::AircraftState state_;
  flight::KeyEventEffects effects_;
  std::array<long, kNmeaFaultCount> faults_{};
  long accepted_ = 0, unknown_ = 0, no_fix_ = 0;
  bool first_step_ = true;
  StartupClicks clicks_;
  double first_fix_s_ = -1; // session time of the first position
  // Derivatives between fixes.
  std::optional<double> last_fix_day_s_, last_track_deg_, last_altitude_m_;
  double date_epoch_ms_ = 0; // UTC midnight of the RMC date
  bool has_airspeed_ = false, has_vario_ = false, has_heading_ = false, has_pressure_ = false;
};

} // namespace live
