#include "link/flightgear/flightgear_source.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flight/tokens.h"

namespace live {
namespace {

// After the panel sets a control, FlightGear's next lines may still show
// the old value; our setting stands for this long (the next COM step then
// counts from the panel's value, not from a stale echo).
constexpr double kControlHoldS = 1.0;

// The key events gaugehost-in carries; every other one is counted.
bool has_counterpart(uint32_t id) {
  switch (id) {
  case flight::kKeyAirbrakeSet:
  case flight::kKeyLeverSet:
  case flight::kKeyComWholeDown:
  case flight::kKeyComWholeUp:
  case flight::kKeyComFractDown:
  case flight::kKeyComFractUp:
  case flight::kKeyComSet:
  case flight::kKeyAltimeterUp:
  case flight::kKeyAltimeterDown:
  case flight::kKeyDumpOn:
  case flight::kKeyDumpOff:
    return true;
  default:
    return false;
  }
}

} // namespace

FlightGearSource::FlightGearSource(FlightGearOptions options)
    : options_(std::move(options)), watch_("FlightGear", "") {
  state_.on_ground = true; // until FlightGear says otherwise: no distance from 0N 0E
}

std::unique_ptr<FlightGearSource> FlightGearSource::create(FlightGearOptions options,
                                                           std::string &error) {
  std::unique_ptr<FlightGearSource> s(new FlightGearSource(std::move(options)));
  if (!s->listener_.open(s->options_.listen_port, error) ||
      !s->sender_.open(s->options_.send_port, error)) {
    return nullptr;
  }
  const std::string port = std::to_string(s->listener_.port());
  s->watch_ = DataWatch("FlightGear", "udp 127.0.0.1:" + port,
                        "is fgfs running with --generic=socket,out,10,127.0.0.1," + port +
                            ",udp,gaugehost-out?");
  s->watch_.on_status(s->options_.status);
  return s;
}

bool FlightGearSource::finished() const {
  if (options_.stop != nullptr && options_.stop->load()) {
    return true;
  }
  return options_.duration_s > 0 && state_.time_s >= options_.duration_s;
}

void FlightGearSource::step(double dt_s, flight::TokenBus &bus) {
  state_.time_s += dt_s;
  hold_controls_s_ = std::max(0.0, hold_controls_s_ - dt_s);

  std::vector<std::string> lines;
  listener_.poll(lines);
  std::optional<FgSample> previous = last_;
  bool fresh = false;
  for (const std::string &line : lines) {
    if (auto sample = parse_fg_line(line)) {
      if (fresh) {
        previous = last_;
      }
      last_ = *sample;
      fresh = true;
      ++good_lines_;
    } else if (++bad_lines_ == 1 && options_.status) {
      // Most likely a protocol file that is not the shipped one: say so once.
      const auto values = std::count(line.begin(), line.end(), ',') + 1;
      options_.status("FlightGear: rejected a line of " + std::to_string(values) +
                      " values (gaugehost-out has " + std::to_string(kFgOutCount) +
                      "); is FlightGear's Protocol/gaugehost-out.xml the one shipped in "
                      "examples/flightgear?");
    }
  }
  if (fresh && first_data_s_ < 0) {
    first_data_s_ = state_.time_s;
  }
  watch_.step(dt_s, fresh);

  // Both ballast gauges repeat their dump signal every cycle: send changes only.
  effects_.begin_cycle(state_.controls);
  if (state_.controls.dumping != dumping_sent_) {
    send_controls();
  }

  bool write_tanks = first_step_;
  if (fresh) {
    const flight::Controls ours = state_.controls;
    const double tanks[2] = {ours.tank_fraction[0], ours.tank_fraction[1]};
    to_state(*last_, state_);
    turn_indicator_seen_ |= (*last_)[FgOut::turn_rate_indicated] != 0;
    if (!turn_indicator_seen_ && previous) {
      const double dt = (*last_)[FgOut::elapsed_s] - (*previous)[FgOut::elapsed_s];
      const double turned =
          std::remainder((*last_)[FgOut::heading_deg] - (*previous)[FgOut::heading_deg], 360.0);
      state_.turn_rate_degs = dt > 0 ? turned / dt : 0.0;
    }
    if (hold_controls_s_ > 0) {
      flight::Controls &c = state_.controls;
      c.airbrake = ours.airbrake;
      c.lever = ours.lever;
      c.com_bcd = ours.com_bcd;
      c.altimeter_hpa = ours.altimeter_hpa;
    }
    // FlightGear owns the water when it reports some; otherwise the tanks
    // stay what the gauges wrote.
    write_tanks |= tanks[0] != state_.controls.tank_fraction[0] ||
                   tanks[1] != state_.controls.tank_fraction[1];
  }
  // Frozen or between lines the tokens keep their last values; a control
  // the panel set shows at once.
  if (fresh || first_step_ || controls_changed_) {
    flight::publish_state(state_, bus, write_tanks);
  }
  first_step_ = false;
  controls_changed_ = false;
}

void FlightGearSource::key_event(uint32_t id, int32_t value) {
  if (!has_counterpart(id)) {
    ++no_counterpart_[id];
    return;
  }
  effects_.apply(state_.controls, id, value);
  if (id == flight::kKeyDumpOn || id == flight::kKeyDumpOff) {
    return; // sent at the next cycle's start, once the gauges have spoken
  }
  controls_changed_ = true;
  send_controls();
}

void FlightGearSource::send_controls() {
  hold_controls_s_ = kControlHoldS;
  dumping_sent_ = state_.controls.dumping;
  if (sender_.send(fg_input_line(state_.controls))) {
    ++sent_lines_;
  } else {
    ++send_failures_;
  }
}

std::vector<std::string> FlightGearSource::notes() const {
  std::vector<std::string> out;
  char line[200];
  std::snprintf(
      line, sizeof line,
      "FlightGear: %ld lines received, %ld rejected; %d gaps without data (%.1f s frozen); "
      "%ld control lines sent, %ld not delivered",
      good_lines_, bad_lines_, watch_.gaps(), watch_.stale_s(), sent_lines_, send_failures_);
  out.emplace_back(line);
  for (const auto &[id, count] : no_counterpart_) {
    const auto name = flight::key_name(id);
    std::snprintf(line, sizeof line, "FlightGear has no counterpart for key event 0x%X %.*s: %ld",
                  id, static_cast<int>(name.size()), name.data(), count);
    out.emplace_back(line);
  }
  return out;
}

} // namespace live
