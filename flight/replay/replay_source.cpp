#include "flight/replay/replay_source.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flight/geo.h"
#include "flight/tokens.h"

namespace flight {
namespace {

constexpr double kCirclingTurnRateDegS = 6.0;
constexpr double kGroundSpeedOnGroundMps = 8.0;
constexpr double kMinAirspeedMps = 15.0;
// An extension field of five digits counts hundredths of km/h (LX loggers:
// TAS 12253 beside a GSP of 12896 and ground speeds of 120-130 km/h in the
// same fixes); a three-digit field counts km/h.
constexpr int kHundredthsFieldWidth = 5;
constexpr double kMaxLogSpanS = 48 * 3600.0;

} // namespace

std::unique_ptr<ReplaySource> ReplaySource::create(IgcLog log, int units, std::string &error) {
  int valid = 0;
  for (const IgcFix &f : log.fixes) {
    valid += f.valid ? 1 : 0;
  }
  if (valid < 2) {
    error = "the log has fewer than two valid fixes";
    return nullptr;
  }
  // Each time that runs back by half a day or more counts as the next day:
  // a log of a few hundred such fixes would span years, replayed second by
  // second (the wind estimate walks it at once). No flight lasts two days.
  double first_s = 0, last_s = 0;
  bool any = false;
  for (const IgcFix &f : log.fixes) {
    if (f.valid) {
      first_s = any ? std::min(first_s, f.time_s) : f.time_s;
      last_s = any ? std::max(last_s, f.time_s) : f.time_s;
      any = true;
    }
  }
  if (last_s - first_s > kMaxLogSpanS) {
    char text[96];
    std::snprintf(text, sizeof text, "the log spans %.0f hours, more than a flight's %.0f",
                  (last_s - first_s) / 3600, kMaxLogSpanS / 3600);
    error = text;
    return nullptr;
  }
  return std::make_unique<ReplaySource>(std::move(log), units);
}

ReplaySource::ReplaySource(IgcLog log, int units) : log_(std::move(log)) {
  std::vector<double> t, n, e, baro, gnss, tas;
  const IgcFix *origin = nullptr;
  int speed_index = log_.extension_index("TAS");
  airspeed_source_ = "TAS";
  if (speed_index < 0) {
    speed_index = log_.extension_index("IAS");
    airspeed_source_ = "IAS";
  }
  double speed_scale = 1.0;
  if (speed_index >= 0) {
    const IgcExtension &ext = log_.extensions[static_cast<size_t>(speed_index)];
    speed_scale = ext.end - ext.start + 1 >= kHundredthsFieldWidth ? 0.01 : 1.0;
  } else {
    airspeed_source_ = "wind";
  }
  bool has_baro = false;
  for (const IgcFix &f : log_.fixes) {
    has_baro = has_baro || f.pressure_altitude_m != 0.0;
  }
  for (const IgcFix &f : log_.fixes) {
    if (!f.valid || (!t.empty() && f.time_s <= t.back())) {
      continue;
    }
    if (origin == nullptr) {
      origin = &f;
      origin_lat_ = f.latitude_deg;
      origin_lon_ = f.longitude_deg;
    }
    double north = 0, east = 0;
    local_offset({origin_lat_, origin_lon_}, {f.latitude_deg, f.longitude_deg}, north, east);
    t.push_back(f.time_s);
    n.push_back(north);
    e.push_back(east);
    gnss.push_back(f.gnss_altitude_m);
    baro.push_back(has_baro ? f.pressure_altitude_m : f.gnss_altitude_m);
    if (speed_index >= 0) {
      const auto &v = f.extensions[static_cast<size_t>(speed_index)];
      tas.push_back(v ? *v * speed_scale : (tas.empty() ? 0.0 : tas.back()));
    }
  }
  fix_times_ = t;
  start_s_ = t.front();
  end_s_ = t.back();
  north_ = Spline(t, n);
  east_ = Spline(t, e);
  baro_ = Spline(t, baro);
  gnss_ = Spline(t, gnss);
  if (speed_index >= 0) {
    airspeed_kmh_ = Spline(t, tas);
  }
  state_.controls.units = units;
  state_.qnh_hpa = 1013.25;
  state_.controls.altimeter_hpa = 1013.25;
  for (double &cap : state_.controls.tank_capacity_gal) {
    cap = 0; // the log says nothing about water: no tanks
  }
  estimate_wind();
  evaluate(start_s_, state_);
}

void ReplaySource::estimate_wind() {
  // Over one full circle the air velocity averages out: the mean ground
  // velocity is the wind. Walk the fixes, accumulating track change while
  // circling; each completed 360 degrees gives one estimate at its middle.
  double turned = 0, sum_n = 0, sum_e = 0, sum_t = 0, t0 = 0;
  double last_track = 0;
  bool in_circle = false;
  const double step = 1.0;
  for (double t = start_s_; t <= end_s_; t += step) {
    const double vn = north_.slope(t), ve = east_.slope(t);
    const double speed = std::hypot(vn, ve);
    const double track = std::atan2(ve, vn) / kDegToRad;
    const double rate = speed > 1 ? (vn * east_.curvature(t) - ve * north_.curvature(t)) /
                                        (speed * speed) / kDegToRad
                                  : 0.0;
    if (std::fabs(rate) < kCirclingTurnRateDegS || speed < kGroundSpeedOnGroundMps) {
      in_circle = false;
      continue;
    }
    if (!in_circle) {
      in_circle = true;
      turned = sum_n = sum_e = sum_t = 0;
      t0 = t;
      last_track = track;
      continue;
    }
    turned += std::fabs(angle_difference(track, last_track));
    last_track = track;
    sum_n += vn * step;
    sum_e += ve * step;
    sum_t += step;
    if (turned >= 360.0) {
      winds_.push_back({(t0 + t) / 2, sum_n / sum_t, sum_e / sum_t});
      turned = sum_n = sum_e = sum_t = 0;
      t0 = t;
    }
  }
}

void ReplaySource::wind_at(double t, double &north, double &east) const {
  north = east = 0;
  if (winds_.empty()) {
    return;
  }
  auto it = std::lower_bound(winds_.begin(), winds_.end(), t,
                             [](const WindEstimate &w, double x) { return w.time_s < x; });
  if (it == winds_.begin()) {
    north = it->north_mps;
    east = it->east_mps;
  } else if (it == winds_.end()) {
    north = winds_.back().north_mps;
    east = winds_.back().east_mps;
  } else {
    const WindEstimate &a = *(it - 1), &b = *it;
    const double k = (t - a.time_s) / (b.time_s - a.time_s);
    north = a.north_mps + k * (b.north_mps - a.north_mps);
    east = a.east_mps + k * (b.east_mps - a.east_mps);
  }
}

void ReplaySource::evaluate(double t, AircraftState &s) const {
  const LatLon p = offset_position({origin_lat_, origin_lon_}, north_.value(t), east_.value(t));
  s.time_s = t - start_s_;
  s.utc_epoch_ms = log_.date_epoch_ms() + static_cast<int64_t>(std::llround(t * 1000.0));
  s.latitude_deg = p.latitude_deg;
  s.longitude_deg = p.longitude_deg;
  s.pressure_altitude_m = baro_.value(t);
  // The baro altitude drives the altitude and the vario, as in an instrument.
  s.altitude_m = s.pressure_altitude_m;
  s.gnss_altitude_m = gnss_.value(t);
  s.vertical_speed_mps = baro_.slope(t);
  const double vn = north_.slope(t), ve = east_.slope(t);
  s.ground_speed_mps = std::hypot(vn, ve);
  s.track_deg = wrap_360(std::atan2(ve, vn) / kDegToRad);
  const double speed2 = std::max(s.ground_speed_mps * s.ground_speed_mps, 1.0);
  s.turn_rate_degs = (vn * east_.curvature(t) - ve * north_.curvature(t)) / speed2 / kDegToRad;
  double wn = 0, we = 0;
  wind_at(t, wn, we);
  s.wind_speed_mps = std::hypot(wn, we);
  s.wind_from_deg = wrap_360(std::atan2(-we, -wn) / kDegToRad);
  const double an = vn - wn, ae = ve - we;
  s.heading_deg = wrap_360(std::atan2(ae, an) / kDegToRad);
  s.on_ground = s.ground_speed_mps < kGroundSpeedOnGroundMps &&
                std::fabs(s.vertical_speed_mps) < 0.3 && std::fabs(s.turn_rate_degs) < 3.0;
  if (!airspeed_kmh_.empty()) {
    s.airspeed_mps = airspeed_kmh_.value(t) / 3.6;
  } else {
    s.airspeed_mps =
        s.on_ground ? s.ground_speed_mps : std::max(std::hypot(an, ae), kMinAirspeedMps);
  }
  const double v = std::max(s.airspeed_mps, 1.0);
  s.bank_deg = std::atan(v * s.turn_rate_degs * kDegToRad / kGravityMps2) / kDegToRad;
  s.pitch_deg = std::asin(std::clamp(s.vertical_speed_mps / v, -1.0, 1.0)) / kDegToRad;
  s.slip = 0;
}

void ReplaySource::key_event(uint32_t id, int32_t value) {
  effects_.apply(state_.controls, id, value);
}

void ReplaySource::step(double dt, TokenBus &bus) {
  effects_.begin_cycle(state_.controls);
  if (!first_step_) {
    time_s_ += dt;
  }
  const double t = std::min(start_s_ + time_s_, end_s_);
  evaluate(t, state_);
  if (start_s_ + time_s_ >= end_s_) {
    finished_ = true;
  }
  publish_state(state_, bus, first_step_);
  first_step_ = false;
}

std::vector<PanelClick> ReplaySource::take_clicks() {
  // lnav shows its start-up pages for 3 s before the home button leads on.
  if (startup_step_ == 0) {
    startup_step_ = 1;
    return {
        {"gpsnav", "ON",      1, 0, true},
        {"lnav",   "KNOB_UP", 5, 0, true}
    };
  }
  if (startup_step_ == 1 && time_s_ > 4.0) {
    startup_step_ = 2;
    return {
        {"lnav", "HOME", 1, 0, true}
    };
  }
  return {};
}

std::vector<std::string> ReplaySource::notes() const {
  char line[160];
  std::snprintf(line, sizeof line,
                "replayed %zu valid fixes over %.0f s; airspeed from %s; %zu wind estimates",
                fix_times_.size(), end_s_ - start_s_, airspeed_source_.c_str(), winds_.size());
  return {line};
}

} // namespace flight
