#include "session/summary.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "flight/geo.h"
#include "flight/tokens.h"
#include "host/host.h"

namespace session {
namespace {

constexpr double kCirclingTurnRateDegS = 6.0;
constexpr double kMinSegmentS = 30.0;
constexpr int kAverageWindowS = 30;
// How far behind the log's vario lnav's average may lag, in seconds.
constexpr int kMaxVarioLagS = 60;
// lnav's TE average: element 8 (characters 1-2), 7 (".") and 6 (character
// 4) of its chain, at depth-first indices 7, 6 and 5.
constexpr int kLnavTeIndices[] = {7, 6, 5};

std::string format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *fmt, ...) {
  char buffer[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return buffer;
}

std::string clock_text(double s) {
  const int t = static_cast<int>(std::lround(s));
  return format("%d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
}

const gaugehost::PlacedGauge *find(const gaugehost::Host &host, const std::string &name) {
  for (const auto &g : host.gauges()) {
    if (g->name == name) {
      return g.get();
    }
  }
  return nullptr;
}

} // namespace

Correlation best_lag_correlation(const std::vector<double> &a, const std::vector<double> &b,
                                 int max_lag_s) {
  Correlation best;
  best.r = -2;
  for (int lag = 0; lag <= max_lag_s; ++lag) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    int n = 0;
    for (size_t i = 0; i + static_cast<size_t>(lag) < b.size() && i < a.size(); ++i) {
      const double x = a[i], y = b[i + static_cast<size_t>(lag)];
      if (std::isnan(x) || std::isnan(y)) {
        continue;
      }
      sa += x;
      sb += y;
      saa += x * x;
      sbb += y * y;
      sab += x * y;
      ++n;
    }
    if (n < 10) {
      continue;
    }
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    if (va <= 0 || vb <= 0) {
      continue;
    }
    const double r = cov / std::sqrt(va * vb);
    if (r > best.r) {
      best = {r, static_cast<double>(lag), n};
    }
  }
  if (best.r < -1) {
    best.r = 0;
  }
  return best;
}

std::vector<std::string> gauge_lines(const gaugehost::Host &host, const std::string &placement) {
  std::vector<std::string> out;
  const gaugehost::PlacedGauge *g = find(host, placement);
  if (g == nullptr) {
    return out;
  }
  for (const auto &e : g->elements) {
    switch (e.kind) {
    case kElementString:
      if (!e.text.empty()) {
        out.push_back(format("%s.%d \"%s\"", placement.c_str(), e.index, e.text.c_str()));
      }
      break;
    case kElementNeedle:
    case kElementIcon:
      out.push_back(format("%s.%d %.4g", placement.c_str(), e.index, e.values[0]));
      break;
    case kElementShift:
    case kElementScroll:
      out.push_back(
          format("%s.%d %.4g %.4g", placement.c_str(), e.index, e.values[0], e.values[1]));
      break;
    case kElementRotate:
      out.push_back(format("%s.%d %.4g %.4g %.4g", placement.c_str(), e.index, e.values[0],
                           e.values[1], e.values[2]));
      break;
    default:
      break;
    }
  }
  return out;
}

void Summary::set_reference_vario(std::vector<double> v) {
  size_t last = v.size();
  for (size_t i = 0; i < v.size(); ++i) {
    if (std::isnan(v[i])) {
      continue;
    }
    if (last < i) {
      for (size_t k = last + 1; k < i; ++k) {
        v[k] = v[last] +
               (v[i] - v[last]) * static_cast<double>(k - last) / static_cast<double>(i - last);
      }
    }
    last = i;
  }
  reference_vario_ = std::move(v);
}

void Summary::note_key_event(uint32_t id, int32_t) {
  ++key_counts_[id];
}

void Summary::note_igc_file(const std::string &name, int fixes) {
  igc_files_.emplace_back(name, fixes);
}

void Summary::sample(const flight::AircraftState &s, const gaugehost::Host &host) {
  const Sample now{s.time_s,       s.altitude_m,    s.turn_rate_degs,
                   s.latitude_deg, s.longitude_deg, s.on_ground};
  const double step_m =
      sampled_ ? flight::distance_m({last_.lat, last_.lon}, {now.lat, now.lon}) : 0.0;
  if (sampled_ && !now.ground && !last_.ground) {
    distance_km_ += step_m / 1000.0;
  }
  if (!s.on_ground && takeoff_s_ < 0) {
    takeoff_s_ = s.time_s;
  }
  // The last touchdown counts: a replay's slow moments may look like ground.
  if (s.on_ground && takeoff_s_ >= 0 && landing_s_ < 0) {
    landing_s_ = s.time_s;
  } else if (!s.on_ground) {
    landing_s_ = -1;
  }
  // Circling samples make climbs, the rest glides.
  const bool circling = std::fabs(now.turn) >= kCirclingTurnRateDegS;
  if (sampled_ && circling == segment_.circling) {
    segment_.distance_m += step_m;
  } else {
    if (sampled_) {
      close_segment();
    }
    segment_ = Segment{};
    segment_.first = now;
    segment_.circling = circling;
  }
  segment_.last = now;
  {
    Segment &g = segment_;
    const long slot = g.count % Segment::kWindow;
    g.t[slot] = now.t;
    g.altitude[slot] = now.altitude;
    if (g.count >= kAverageWindowS) {
      const long oldest = (g.count - kAverageWindowS) % Segment::kWindow;
      g.best_30s_mps =
          std::max(g.best_30s_mps, (now.altitude - g.altitude[oldest]) / (now.t - g.t[oldest]));
    }
    ++g.count;
  }
  last_ = now;
  sampled_ = true;
  const flight::Controls &c = s.controls;
  double water = 0;
  for (int i = 0; i < 2; ++i) {
    water += c.tank_fraction[i] * c.tank_capacity_gal[i] * flight::kLitresPerGallon;
  }
  if (takeoff_s_ < 0 || water > max_water_l_) {
    max_water_l_ = std::max(takeoff_s_ < 0 ? 0.0 : max_water_l_, water);
  }
  last_water_l_ = water;
  dump_cycles_ += c.dumping ? 1 : 0;
  max_airbrake_ = std::max(max_airbrake_, c.airbrake);
  airbrake_open_s_ += c.airbrake > 0.05 ? 1.0 : 0.0;
  if (c.engine_running && c.rpm > 100) {
    if (!engine_ran_) {
      engine_start_alt_ = s.altitude_m;
    }
    engine_ran_ = true;
    engine_max_alt_ = std::max(engine_max_alt_, s.altitude_m);
  } else if (engine_ran_ && !c.engine_running && !s.on_ground) {
    launch_completed_ = true;
  }
  // lnav's averaged TE vario as displayed ("x.x" when out of range or off).
  double te = std::nan("");
  if (const gaugehost::PlacedGauge *lnav = find(host, "lnav")) {
    std::string text;
    for (int i : kLnavTeIndices) {
      if (static_cast<size_t>(i) < lnav->elements.size()) {
        text += lnav->elements[static_cast<size_t>(i)].text;
      }
    }
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str()) {
      te = v;
    }
  }
  if (lnav_te_.size() < reference_vario_.size() + kMaxVarioLagS) {
    lnav_te_.push_back(te);
  }
  if (const gaugehost::PlacedGauge *gps = find(host, "gpsnav")) {
    for (const auto &e : gps->elements) {
      if (e.text.find("On Task") != std::string::npos) {
        task_started_ = true;
      }
      if (task_started_ && e.text.find("Task Ended") != std::string::npos) {
        task_ended_ = true;
      }
    }
  }
}

double Summary::flight_time_s() const {
  if (takeoff_s_ < 0) {
    return 0;
  }
  return (landing_s_ >= 0 ? landing_s_ : last_.t) - takeoff_s_;
}

void Summary::close_segment() {
  const Segment &g = segment_;
  const Sample &a = g.first, &b = g.last;
  if (b.t - a.t < kMinSegmentS || a.ground) {
    return;
  }
  if (g.circling) {
    climbs_.push_back({a.t, b.t, b.altitude - a.altitude, g.best_30s_mps});
  } else {
    glides_.push_back({a.t, b.t, g.distance_m / 1000.0, a.altitude - b.altitude});
  }
}

void Summary::finish(const gaugehost::Host &host) {
  if (sampled_) {
    close_segment();
    sampled_ = false;
  }
  if (!reference_vario_.empty()) {
    correlation_ = best_lag_correlation(reference_vario_, lnav_te_, kMaxVarioLagS);
  }
  gauge_lines_.clear();
  for (const auto &g : host.gauges()) {
    for (auto &line : gauge_lines(host, g->name)) {
      gauge_lines_.push_back(std::move(line));
    }
  }
}

std::string Summary::vario_csv() const {
  std::string out = "t_s,reference_mps,lnav_te_mps\n";
  for (size_t i = 0; i < lnav_te_.size(); ++i) {
    const double r = i < reference_vario_.size() ? reference_vario_[i] : std::nan("");
    out += format("%zu,%.2f,%.1f\n", i, r, lnav_te_[i]);
  }
  return out;
}

std::string Summary::text() const {
  std::string out = "# " + title_ + "\n\n";
  out += format("flight time    %s (take-off at %s)\n", clock_text(flight_time_s()).c_str(),
                clock_text(std::max(takeoff_s_, 0.0)).c_str());
  out += format("distance       %.1f km over the ground\n", distance_km_);
  out += format("task           %s\n", task_ended_     ? "started and flown to its end (Task Ended)"
                                       : task_started_ ? "started, not ended"
                                                       : "not started");
  out += format("climbs         %zu\n", climbs_.size());
  for (const Climb &c : climbs_) {
    out += format("  %s  %4.0f s  %+6.0f m  mean %+.1f m/s  best 30 s %+.1f m/s\n",
                  clock_text(c.start_s).c_str(), c.end_s - c.start_s, c.gain_m,
                  c.gain_m / std::max(1.0, c.end_s - c.start_s), c.best_30s_mps);
  }
  out += format("glides         %zu\n", glides_.size());
  for (const Glide &g : glides_) {
    out += format(
        "  %s  %4.0f s  %5.1f km  %+6.0f m  L/D %s\n", clock_text(g.start_s).c_str(),
        g.end_s - g.start_s, g.distance_km, -g.height_lost_m,
        g.height_lost_m > 1 ? format("%.0f", g.distance_km * 1000 / g.height_lost_m).c_str() : "-");
  }
  out += format("ballast        %.0f l aboard at most, %.0f l at the end, %.0f l dumped (%ld s of "
                "dump signal)\n",
                max_water_l_, last_water_l_, max_water_l_ - last_water_l_, dump_cycles_);
  out += format("airbrakes      %.0f %% at most, open %.0f s\n", max_airbrake_ * 100,
                airbrake_open_s_);
  out += format(
      "launch run     %s\n",
      launch_completed_
          ? format("completed, engine climb %.0f m", engine_max_alt_ - engine_start_alt_).c_str()
      : engine_ran_ ? "engine ran, run not completed"
                    : "none");
  if (!reference_vario_.empty()) {
    out += format(
        "vario check    lnav TE average vs the log's vario: r = %.3f at lag %.0f s (%d samples)\n",
        correlation_.r, correlation_.lag_s, correlation_.samples);
  }
  for (const auto &[name, fixes] : igc_files_) {
    out += format("IGC log        %s (%d fixes)\n", name.c_str(), fixes);
  }
  if (undefined_.empty()) {
    out += "key events     all had a defined effect\n";
  } else {
    out += "key events without a defined effect:\n";
    for (const auto &[id, n] : undefined_) {
      out += format("  0x%X x %ld\n", id, n);
    }
  }
  out += "key events     counts by id:";
  for (const auto &[id, n] : key_counts_) {
    const auto name = flight::key_name(id);
    out += format(" 0x%X(%.*s)=%ld", id, static_cast<int>(name.size()), name.data(), n);
  }
  out += "\n";
  for (const auto &n : notes_) {
    out += "note           " + n + "\n";
  }
  out += "\n## what each gauge showed at the end\n";
  for (const auto &l : gauge_lines_) {
    out += l + "\n";
  }
  return out;
}

} // namespace session
