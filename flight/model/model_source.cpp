#include "flight/model/model_source.h"

#include <algorithm>
#include <cmath>

#include "flight/tokens.h"

namespace flight {
namespace {

constexpr double kHeadingGainBankPerDeg = 1.5;
constexpr double kMaxCruiseBankDeg = 30.0;
constexpr double kCircleGiveUpS = 180.0; // leave a thermal that gave nothing in this time
constexpr double kCircleMinGainM = 20.0;
constexpr double kFeltNettoTimeConstantS = 5.0;
constexpr double kThermalReachM = 250.0;
constexpr double kMaxCentringMps = 4.0;
constexpr double kThermalLostM = 800.0;

} // namespace

std::unique_ptr<ModelSource> ModelSource::create(const Scenario &scenario,
                                                 const std::filesystem::path &panel_dir,
                                                 std::string &error) {
  auto polar = read_polar_file(panel_dir / scenario.polar_file, error);
  if (!polar) {
    return nullptr;
  }
  std::vector<Turnpoint> points;
  const auto tp_file = panel_dir / scenario.turnpoint_file;
  if (std::filesystem::exists(tp_file)) {
    auto read = read_turnpoints(tp_file, error);
    if (!read) {
      return nullptr;
    }
    points = std::move(*read);
  }
  for (const Action &a : scenario.actions) {
    if (a.kind == ActionKind::Goto && find_turnpoint(points, a.name) == nullptr) {
      error = scenario.file.string() + ":" + std::to_string(a.line) + ": no turnpoint named \"" +
              a.name + "\" in " + tp_file.string();
      return nullptr;
    }
  }
  return std::make_unique<ModelSource>(scenario, *polar, std::move(points));
}

ModelSource::ModelSource(const Scenario &scenario, Polar polar, std::vector<Turnpoint> turnpoints)
    : scenario_(scenario), turnpoints_(std::move(turnpoints)),
      model_(polar, SailplaneOptions{.wing_area_m2 = scenario.wing_area_m2}) {
  AircraftState &s = model_.state;
  s.utc_epoch_ms = scenario.start_utc_ms;
  s.latitude_deg = scenario.latitude_deg;
  s.longitude_deg = scenario.longitude_deg;
  s.ground_elevation_m = scenario.elevation_m;
  s.altitude_m = scenario.altitude_m.value_or(scenario.elevation_m);
  s.on_ground = s.altitude_m <= scenario.elevation_m + 0.5;
  s.heading_deg = scenario.heading_deg;
  s.track_deg = scenario.heading_deg;
  s.airspeed_mps = scenario.speed_kmh / 3.6;
  s.wind_from_deg = scenario.wind_from_deg;
  s.wind_speed_mps = scenario.wind_kmh / 3.6;
  s.qnh_hpa = scenario.qnh_hpa;
  Controls &c = s.controls;
  c.altimeter_hpa = scenario.qnh_hpa;
  c.units = scenario.units;
  c.com_bcd = scenario.com_bcd;
  for (int i = 0; i < 2; ++i) {
    c.tank_capacity_gal[i] = scenario.capacity_gal[i];
    c.tank_fraction[i] = std::clamp(scenario.ballast_pct / 100.0, 0.0, 1.0);
  }
  target_heading_deg_ = scenario.heading_deg;
  target_speed_kmh_ = std::max(scenario.speed_kmh, 90.0);
  s.pressure_altitude_m = pressure_altitude_m(s.altitude_m, s.qnh_hpa);
}

AirMotion ModelSource::air_at(const AircraftState &s) const {
  AirMotion air;
  // Wind blows from wind_from: the air moves toward the opposite direction.
  const double toward = (s.wind_from_deg + 180.0) * kDegToRad;
  air.wind_north_mps = s.wind_speed_mps * std::cos(toward);
  air.wind_east_mps = s.wind_speed_mps * std::sin(toward);
  for (const NamedThermal &t : scenario_.thermals) {
    if (s.time_s < t.thermal.start_s || s.time_s > t.thermal.end_s) {
      continue;
    }
    // Thermals drift with the wind from where they started.
    const double age = s.time_s - t.thermal.start_s;
    const LatLon centre =
        offset_position(t.thermal.centre, air.wind_north_mps * age, air.wind_east_mps * age);
    const double r = distance_m({s.latitude_deg, s.longitude_deg}, centre);
    air.updraft_mps += allen_updraft_mps(t.thermal.strength_mps, t.thermal.top_m,
                                         s.altitude_m - s.ground_elevation_m, r);
  }
  return air;
}

std::vector<PanelClick> ModelSource::take_clicks() {
  std::vector<PanelClick> out;
  out.swap(clicks_);
  return out;
}

void ModelSource::key_event(uint32_t id, int32_t value) {
  effects_.apply(model_.state.controls, id, value);
}

bool ModelSource::start_action(const Action &a) {
  AircraftState &s = model_.state;
  switch (a.kind) {
  case ActionKind::Click:
    clicks_.push_back({a.gauge, a.button, a.count, a.line});
    break;
  case ActionKind::Heading:
    mode_ = Mode::Heading;
    target_heading_deg_ = a.number;
    break;
  case ActionKind::Goto:
    mode_ = Mode::Goto;
    target_position_ = find_turnpoint(turnpoints_, a.name)->position;
    break;
  case ActionKind::Circle:
    mode_ = Mode::Circle;
    circle_direction_ = a.number < 0 ? -1 : 1;
    circle_climb_check_alt_ = s.altitude_m;
    circle_climb_check_s_ = s.time_s;
    circling_ = false;
    break;
  case ActionKind::Speed:
    speed_command_ = false;
    target_speed_kmh_ = a.number;
    break;
  case ActionKind::SpeedCommand:
    speed_command_ = true;
    break;
  case ActionKind::MacCready:
    mc_mps_ = a.number;
    break;
  case ActionKind::Airbrakes:
    s.controls.airbrake = std::clamp(a.number / 100.0, 0.0, 1.0);
    break;
  case ActionKind::Launch:
    mode_ = Mode::Launch;
    target_heading_deg_ = s.heading_deg;
    break;
  case ActionKind::Land:
    mode_ = Mode::Land;
    target_heading_deg_ = s.heading_deg;
    break;
  case ActionKind::Wait:
    break;
  case ActionKind::End:
    finished_ = true;
    break;
  }
  return true;
}

bool ModelSource::action_complete(const Action &a) const {
  const AircraftState &s = model_.state;
  const double elapsed = s.time_s - action_started_s_;
  switch (a.kind) {
  case ActionKind::Heading:
    return !a.seconds || elapsed >= *a.seconds;
  case ActionKind::Goto:
    return distance_m({s.latitude_deg, s.longitude_deg}, target_position_) < kArrivalRadiusM;
  case ActionKind::Circle:
    if (a.until_altitude_m && s.altitude_m >= *a.until_altitude_m) {
      return true;
    }
    if (a.seconds && elapsed >= *a.seconds) {
      return true;
    }
    return s.time_s - circle_climb_check_s_ > kCircleGiveUpS &&
           s.altitude_m - circle_climb_check_alt_ < kCircleMinGainM;
  case ActionKind::Launch:
    return !s.on_ground && !s.controls.engine_running && s.controls.rpm < 50 && elapsed > 5.0;
  case ActionKind::Land:
    return s.on_ground && s.ground_speed_mps < 0.1;
  case ActionKind::Wait:
    return elapsed >= a.seconds.value_or(0);
  default:
    return true;
  }
}

void ModelSource::run_timeline() {
  const double now = model_.state.time_s;
  if (!current_complete_ && current_action_ != SIZE_MAX) {
    const Action &cur = scenario_.actions[current_action_];
    if (action_complete(cur)) {
      current_complete_ = true;
      action_completed_s_ = now;
    } else if (cur.kind == ActionKind::Circle && now - circle_climb_check_s_ > kCircleGiveUpS) {
      // Still climbing: judge the next stretch afresh.
      circle_climb_check_s_ = now;
      circle_climb_check_alt_ = model_.state.altitude_m;
    }
  }
  // Several instant actions may start in one step.
  while (next_action_ < scenario_.actions.size() && !finished_) {
    const Action &a = scenario_.actions[next_action_];
    bool due = false;
    switch (a.trigger) {
    case Trigger::At:
      due = now >= a.time_s;
      break;
    case Trigger::Then:
      due = current_complete_;
      break;
    case Trigger::After:
      due = current_complete_ && now - action_completed_s_ >= a.time_s;
      break;
    }
    if (!due) {
      break;
    }
    current_action_ = next_action_++;
    action_started_s_ = now;
    start_action(a);
    current_complete_ = action_complete(a);
    if (current_complete_) {
      action_completed_s_ = now;
    }
  }
}

bool ModelSource::pilot(PilotControl control) {
  if (finished_) {
    return false;
  }
  AircraftState &s = model_.state;
  if (!hand_flown_) {
    hand_flown_ = true;
    notes_.push_back("the keyboard pilot took over at " + std::to_string(std::lround(s.time_s)) +
                     " s");
    if (mode_ != Mode::Circle) {
      mode_ = Mode::Heading; // a goto, launch or landing is the scenario pilot's
      target_heading_deg_ = s.heading_deg;
    }
  }
  switch (control) {
  case PilotControl::AirbrakesToggle:
    s.controls.airbrake = s.controls.airbrake > 0 ? 0.0 : 1.0;
    break;
  case PilotControl::SpeedUp:
  case PilotControl::SpeedDown: {
    const double step = control == PilotControl::SpeedUp ? kPilotSpeedStepKmh : -kPilotSpeedStepKmh;
    const double from =
        speed_command_ || mode_ == Mode::Circle ? s.airspeed_mps * 3.6 : target_speed_kmh_;
    target_speed_kmh_ =
        std::clamp(std::round((from + step) / kPilotSpeedStepKmh) * kPilotSpeedStepKmh,
                   kPilotMinSpeedKmh, kPilotMaxSpeedKmh);
    speed_command_ = false;
    if (mode_ == Mode::Circle) {
      mode_ = Mode::Heading; // a new speed ends the circle
      target_heading_deg_ = s.heading_deg;
    }
    break;
  }
  case PilotControl::CircleLeft:
  case PilotControl::CircleRight: {
    const int side = control == PilotControl::CircleLeft ? -1 : 1;
    if (mode_ == Mode::Circle && circle_direction_ == side) {
      mode_ = Mode::Heading;
      target_heading_deg_ = s.heading_deg;
    } else {
      mode_ = Mode::Circle;
      circle_direction_ = side;
      circling_ = true;
    }
    break;
  }
  }
  return true;
}

PilotInput ModelSource::pilot_input(const AirMotion &air, double dt) {
  AircraftState &s = model_.state;
  const double mass = model_.mass_kg(s.controls);
  const Polar &polar = model_.polar();
  PilotInput in;
  felt_netto_mps_ +=
      (air.updraft_mps - felt_netto_mps_) * std::min(1.0, dt / kFeltNettoTimeConstantS);
  double speed_kmh =
      speed_command_ ? polar.speed_to_fly_kmh(mass, mc_mps_, felt_netto_mps_) : target_speed_kmh_;
  double heading = target_heading_deg_;
  const LatLon here{s.latitude_deg, s.longitude_deg};
  switch (mode_) {
  case Mode::Goto: {
    // Crab into the wind so that the track points at the turnpoint.
    const double bearing = bearing_deg(here, target_position_);
    const double toward = s.wind_from_deg + 180.0;
    const double cross = s.wind_speed_mps * std::sin((toward - bearing) * kDegToRad);
    const double v = std::max(s.airspeed_mps, 10.0);
    heading = bearing - std::asin(std::clamp(cross / v, -0.9, 0.9)) / kDegToRad;
    break;
  }
  case Mode::Circle: {
    const double n = 1.0 / std::cos(kCirclingBankDeg * kDegToRad);
    speed_kmh = kCirclingSpeedFactor * polar.min_sink_speed_kmh(mass, n);
    in.target_bank_deg = circle_direction_ * kCirclingBankDeg;
    in.target_speed_mps = speed_kmh / 3.6;
    // Centring: the pilot shifts the circle toward the strongest lift.
    const NamedThermal *nearest = nullptr;
    double nearest_m = 1e12;
    LatLon nearest_centre{};
    const double toward = (s.wind_from_deg + 180.0) * kDegToRad;
    for (const NamedThermal &t : scenario_.thermals) {
      if (s.time_s < t.thermal.start_s || s.time_s > t.thermal.end_s) {
        continue;
      }
      const double age = s.time_s - t.thermal.start_s;
      const LatLon c = offset_position(t.thermal.centre, s.wind_speed_mps * std::cos(toward) * age,
                                       s.wind_speed_mps * std::sin(toward) * age);
      const double d = distance_m(here, c);
      if (d < nearest_m) {
        nearest_m = d;
        nearest = &t;
        nearest_centre = c;
      }
    }
    if (hand_flown_ && nearest_m > kThermalLostM) {
      nearest = nullptr; // circling here, no thermal to centre on
    }
    if (nearest != nullptr && nearest_m > (circling_ ? kThermalLostM : kThermalReachM)) {
      circling_ = false;
      // Not there yet: fly to the thermal first.
      heading = bearing_deg(here, nearest_centre);
      in.target_speed_mps = target_speed_kmh_ / 3.6;
      in.target_bank_deg =
          std::clamp(kHeadingGainBankPerDeg * angle_difference(heading, s.heading_deg),
                     -kMaxCruiseBankDeg, kMaxCruiseBankDeg);
      return in;
    }
    circling_ = true;
    if (nearest != nullptr && !s.on_ground) {
      const double v = std::max(s.airspeed_mps, 10.0);
      const double radius =
          v * v / (kGravityMps2 * std::tan(std::fabs(s.bank_deg) * kDegToRad + 1e-6));
      const double side = (s.heading_deg + circle_direction_ * 90.0) * kDegToRad;
      const LatLon turn_centre =
          offset_position(here, radius * std::cos(side), radius * std::sin(side));
      double north = 0, east = 0;
      local_offset(turn_centre, nearest_centre, north, east);
      // At most a couple of metres a second: a pilot's gradual shift.
      const double k = std::min(1.0, dt / kCentringTimeConstantS);
      const double shift = std::hypot(north, east) * k;
      const double limit = kMaxCentringMps * dt;
      const double scale = shift > limit ? limit / shift : 1.0;
      const LatLon moved = offset_position(here, north * k * scale, east * k * scale);
      s.latitude_deg = moved.latitude_deg;
      s.longitude_deg = moved.longitude_deg;
    }
    return in;
  }
  case Mode::Launch:
    speed_kmh = kLaunchSpeedKmh;
    in.wheel_brake = !s.controls.engine_running;
    break;
  case Mode::Land:
    speed_kmh = kApproachSpeedKmh;
    in.wheel_brake = s.on_ground;
    break;
  case Mode::Heading:
    break;
  }
  target_heading_deg_ = mode_ == Mode::Goto ? target_heading_deg_ : heading;
  in.target_speed_mps = speed_kmh / 3.6;
  in.target_bank_deg = std::clamp(kHeadingGainBankPerDeg * angle_difference(heading, s.heading_deg),
                                  -kMaxCruiseBankDeg, kMaxCruiseBankDeg);
  return in;
}

void ModelSource::step(double dt, TokenBus &bus) {
  AircraftState &s = model_.state;
  Controls &c = s.controls;
  effects_.begin_cycle(c);
  if (!first_step_) {
    // The tanks are the offset server's: gauges write them through FSUIPC.
    c.tank_fraction[0] = std::clamp(bus.get(kTokenTank1Level) / kTankFullLevel, 0.0, 1.0);
    c.tank_fraction[1] = std::clamp(bus.get(kTokenTank2Level) / kTankFullLevel, 0.0, 1.0);
  }
  bool write_tanks = first_step_;
  if (c.dumping) {
    for (int i = 0; i < 2; ++i) {
      const double litres = c.tank_fraction[i] * c.tank_capacity_gal[i] * kLitresPerGallon;
      const double left = std::max(0.0, litres - kDumpFlowPerTankLps * dt);
      c.tank_fraction[i] =
          c.tank_capacity_gal[i] > 0 ? left / (c.tank_capacity_gal[i] * kLitresPerGallon) : 0.0;
    }
    write_tanks = true;
  }
  first_step_ = false;

  if (!finished_ && !hand_flown_) {
    run_timeline();
  }
  const AirMotion air = air_at(s);
  const PilotInput input = pilot_input(air, dt);
  model_.step(dt, input, air);
  s.utc_epoch_ms = scenario_.start_utc_ms + static_cast<int64_t>(std::llround(s.time_s * 1000.0));
  s.pressure_altitude_m = pressure_altitude_m(s.altitude_m, s.qnh_hpa);
  s.gnss_altitude_m = s.altitude_m;
  if (s.time_s >= scenario_.end_s && !hand_flown_) {
    finished_ = true;
  }
  publish_state(s, bus, write_tanks);
}

} // namespace flight
