#include "link/nmea/nmea_source.h"

#include <cmath>
#include <cstdio>

#include "flight/geo.h"
#include "flight/tokens.h"
#include "link/flightgear/fg_protocol.h"

namespace live {
namespace {

constexpr double kDaySeconds = 86400.0;
// Fixes further apart than this give no derivatives (a gap, not a turn).
constexpr double kMaxDerivativeGapS = 10.0;

bool is_sentence(std::string_view address, std::string_view type) {
  // Any GNSS talker: GP, GN, GL, GA ...
  return address.size() == 5 && address.substr(2) == type;
}

double wrap_180(double deg) {
  return std::remainder(deg, 360.0);
}

// The UTC second of the day of a timed sentence (RMC, GGA), if it is one.
std::optional<double> sentence_time(const std::string &line) {
  NmeaFields f;
  if (split_sentence(line, f) != NmeaFault::none || f.fields.size() < 2) {
    return std::nullopt;
  }
  if (is_sentence(f.address(), "RMC")) {
    Rmc r;
    if (parse_rmc(f, r) && !f.fields[1].empty()) {
      return r.at.utc_day_s;
    }
  } else if (is_sentence(f.address(), "GGA")) {
    Gga g;
    if (parse_gga(f, g) && g.quality > 0) {
      return g.at.utc_day_s;
    }
  }
  return std::nullopt;
}

} // namespace

NmeaSource::NmeaSource(NmeaOptions options) : options_(std::move(options)), watch_("NMEA", "") {
  state_.on_ground = true; // until a position says otherwise: no distance from 0N 0E
}

std::unique_ptr<NmeaSource> NmeaSource::create(NmeaOptions options, std::string &error) {
  std::unique_ptr<NmeaSource> s(new NmeaSource(std::move(options)));
  std::string where;
  switch (s->options_.transport) {
  case NmeaTransport::udp:
    if (!s->udp_.open(s->options_.port, error)) {
      return nullptr;
    }
    where = "udp 127.0.0.1:" + std::to_string(s->udp_.port());
    break;
  case NmeaTransport::tcp:
    s->tcp_ = std::make_unique<TcpLineClient>(s->options_.port);
    where = "tcp 127.0.0.1:" + std::to_string(s->options_.port);
    break;
  case NmeaTransport::file:
    s->file_.open(s->options_.file);
    if (!s->file_) {
      error = s->options_.file.string() + ": cannot open the NMEA log";
      return nullptr;
    }
    where = s->options_.file.string();
    break;
  }
  s->watch_ = DataWatch("NMEA", where,
                        s->options_.transport == NmeaTransport::tcp
                            ? "is an NMEA server listening there?"
                            : "is the sender sending to this port?");
  s->watch_.on_status(s->options_.status);
  return s;
}

bool NmeaSource::finished() const {
  if (options_.stop != nullptr && options_.stop->load()) {
    return true;
  }
  if (file_done_) {
    return true;
  }
  return options_.duration_s > 0 && state_.time_s >= options_.duration_s;
}

long NmeaSource::rejected_total() const {
  long n = 0;
  for (long f : faults_) {
    n += f;
  }
  return n;
}

void NmeaSource::read_lines(std::vector<std::string> &lines) {
  if (options_.transport == NmeaTransport::udp) {
    udp_.poll(lines);
    return;
  }
  if (options_.transport == NmeaTransport::tcp) {
    tcp_->poll(lines);
    return;
  }
  // A log plays at the pace of its timed sentences: those due by now.
  for (;;) {
    std::string line;
    if (held_line_) {
      line = std::move(*held_line_);
      held_line_.reset();
    } else if (!std::getline(file_, line)) {
      file_done_ = true;
      return;
    }
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (const auto t = sentence_time(line)) {
      if (!file_start_day_s_) {
        file_start_day_s_ = *t;
      }
      double since_start = *t - *file_start_day_s_;
      if (since_start < 0) {
        since_start += kDaySeconds; // past midnight
      }
      if (since_start > state_.time_s) {
        held_line_ = std::move(line);
        return;
      }
    }
    lines.push_back(std::move(line));
  }
}

void NmeaSource::step(double dt_s, flight::TokenBus &bus) {
  if (!first_step_) {
    state_.time_s += dt_s;
  }
  effects_.begin_cycle(state_.controls);
  std::vector<std::string> lines;
  read_lines(lines);
  bool fresh = false;
  for (const std::string &line : lines) {
    fresh |= apply(line);
  }
  watch_.step(dt_s, fresh);
  // Frozen or between sentences the position holds; the panel's own
  // controls (airbrake, COM, ...) always show.
  flight::publish_state(state_, bus, first_step_);
  first_step_ = false;
}

bool NmeaSource::apply(const std::string &line) {
  NmeaFields f;
  const NmeaFault fault = split_sentence(line, f);
  if (fault != NmeaFault::none) {
    ++faults_[static_cast<size_t>(fault)];
    return false;
  }
  const std::string_view a = f.address();
  bool ok = true;
  if (is_sentence(a, "RMC")) {
    Rmc r;
    ok = parse_rmc(f, r);
    if (ok && r.valid) {
      if (r.year > 0) {
        date_epoch_ms_ = static_cast<double>(utc_epoch_ms(r.year, r.month, r.day, 0));
      }
      state_.ground_speed_mps = r.ground_speed_mps;
      if (last_fix_day_s_ && last_track_deg_) {
        const double dt = std::remainder(r.at.utc_day_s - *last_fix_day_s_, kDaySeconds);
        if (dt > 0 && dt < kMaxDerivativeGapS) {
          state_.turn_rate_degs = wrap_180(r.track_deg - *last_track_deg_) / dt;
          const double omega = state_.turn_rate_degs * flight::kDegToRad;
          state_.bank_deg =
              std::atan(omega * r.ground_speed_mps / flight::kGravityMps2) / flight::kDegToRad;
        }
      }
      last_track_deg_ = r.track_deg;
      state_.track_deg = r.track_deg;
      if (!has_heading_) {
        state_.heading_deg = r.track_deg;
      }
      if (!has_airspeed_) {
        state_.airspeed_mps = r.ground_speed_mps;
      }
      on_position(r.at);
    } else if (ok) {
      ++no_fix_;
    }
  } else if (is_sentence(a, "GGA")) {
    Gga g;
    ok = parse_gga(f, g);
    if (ok && g.quality > 0) {
      state_.gnss_altitude_m = g.altitude_m;
      state_.altitude_m = g.altitude_m;
      if (!has_pressure_) {
        state_.pressure_altitude_m = g.altitude_m;
      }
    } else if (ok) {
      ++no_fix_;
    }
  } else if (a == "PGRMZ") {
    PressureAltitude p;
    ok = parse_pgrmz(f, p);
    if (ok) {
      has_pressure_ = true;
      state_.pressure_altitude_m = p.altitude_m;
    }
  } else if (a == "LXWP0") {
    Lxwp0 x;
    ok = parse_lxwp0(f, x);
    if (ok) {
      if (x.airspeed_mps) {
        has_airspeed_ = true;
        state_.airspeed_mps = *x.airspeed_mps;
      }
      if (x.baro_altitude_m) {
        has_pressure_ = true;
        state_.pressure_altitude_m = *x.baro_altitude_m;
      }
      if (x.vario_mps) {
        has_vario_ = true;
        state_.vertical_speed_mps = *x.vario_mps;
      }
      if (x.heading_deg) {
        has_heading_ = true;
        state_.heading_deg = *x.heading_deg;
      }
      if (x.wind_from_deg && x.wind_speed_mps) {
        state_.wind_from_deg = *x.wind_from_deg;
        state_.wind_speed_mps = *x.wind_speed_mps;
      }
    }
  } else {
    ++unknown_; // checksummed and well-formed, just not one we read
  }
  if (!ok) {
    ++faults_[static_cast<size_t>(NmeaFault::bad_fields)];
    return false;
  }
  ++accepted_;
  return true;
}

void NmeaSource::on_position(const NmeaPosition &at) {
  // Without GGA the pressure altitude stands for the altitude.
  if (state_.gnss_altitude_m == 0 && has_pressure_) {
    state_.altitude_m = state_.pressure_altitude_m;
  }
  const double altitude = has_pressure_ ? state_.pressure_altitude_m : state_.altitude_m;
  if (!has_vario_ && last_fix_day_s_ && last_altitude_m_) {
    const double dt = std::remainder(at.utc_day_s - *last_fix_day_s_, kDaySeconds);
    if (dt > 0 && dt < kMaxDerivativeGapS) {
      state_.vertical_speed_mps = (altitude - *last_altitude_m_) / dt;
    }
  }
  last_altitude_m_ = altitude;
  last_fix_day_s_ = at.utc_day_s;
  if (first_fix_s_ < 0) {
    first_fix_s_ = state_.time_s;
  }
  state_.latitude_deg = at.latitude_deg;
  state_.longitude_deg = at.longitude_deg;
  state_.utc_epoch_ms = static_cast<int64_t>(date_epoch_ms_ + at.utc_day_s * 1000.0);
  state_.on_ground = state_.ground_speed_mps < 1.0 && state_.airspeed_mps < 1.0;
}

void NmeaSource::key_event(uint32_t id, int32_t value) {
  effects_.apply(state_.controls, id, value);
}

std::vector<std::string> NmeaSource::notes() const {
  char line[240];
  std::snprintf(line, sizeof line,
                "NMEA: %ld sentences read, %ld not read (unknown type), %ld without a fix; "
                "%ld rejected (%ld garbage, %ld without checksum, %ld bad checksum, %ld bad "
                "fields); %d gaps without data (%.1f s frozen)",
                accepted_, unknown_, no_fix_, rejected_total(), rejected(NmeaFault::garbage),
                rejected(NmeaFault::no_checksum), rejected(NmeaFault::bad_checksum),
                rejected(NmeaFault::bad_fields), watch_.gaps(), watch_.stale_s());
  std::vector<std::string> out{line};
  if (!has_airspeed_) {
    out.emplace_back("NMEA: no airspeed sentence (LXWP0): airspeed shown is the ground speed");
  }
  return out;
}

} // namespace live
