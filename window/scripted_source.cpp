#include "window/scripted_source.h"

#include <algorithm>
#include <cmath>

namespace window {
namespace {

constexpr uint32_t kTokenAirspeedKt = 0x3D;
constexpr uint32_t kTokenAirbrakeRaw = 0x145; // 0 closed .. 16383 open
constexpr uint32_t kTokenHeadingDeg = 0x53;
constexpr uint32_t kTokenTurnRateRaw = 0x46; // the turn needle's full deflection is 900
constexpr uint32_t kTokenBankDeg = 0x50;
constexpr double kAirbrakeOpenRaw = 16383;
constexpr double kSpeedStepKt = 5;
constexpr double kMaxSpeedKt = 150;
constexpr double kTurnRateDegPerS = 360.0 / 25.0; // a thermalling circle in 25 s
constexpr double kTurnNeedleRaw = 546;            // the needle's rate-one mark
constexpr double kCirclingBankDeg = 35;

} // namespace

void ScriptedSource::step(gaugehost::Host &host, int64_t step_ms) {
  if (turn_ == 0) {
    return;
  }
  const double heading_deg = host.token(kTokenHeadingDeg) +
                             turn_ * kTurnRateDegPerS * static_cast<double>(step_ms) / 1000.0;
  host.set_token(kTokenHeadingDeg, std::fmod(std::fmod(heading_deg, 360.0) + 360.0, 360.0));
}

void ScriptedSource::pilot(gaugehost::Host &host, PilotControl control) {
  switch (control) {
  case PilotControl::kAirbrakesToggle:
    airbrakes_open_ = !airbrakes_open_;
    host.set_token(kTokenAirbrakeRaw, airbrakes_open_ ? kAirbrakeOpenRaw : 0);
    break;
  case PilotControl::kSpeedUp:
  case PilotControl::kSpeedDown: {
    const double step = control == PilotControl::kSpeedUp ? kSpeedStepKt : -kSpeedStepKt;
    host.set_token(kTokenAirspeedKt,
                   std::clamp(host.token(kTokenAirspeedKt) + step, 0.0, kMaxSpeedKt));
    break;
  }
  case PilotControl::kCircleLeft:
  case PilotControl::kCircleRight: {
    const int side = control == PilotControl::kCircleLeft ? -1 : 1;
    turn_ = turn_ == side ? 0 : side;
    host.set_token(kTokenTurnRateRaw, turn_ * kTurnNeedleRaw);
    host.set_token(kTokenBankDeg, turn_ * kCirclingBankDeg);
    break;
  }
  }
}

std::string ScriptedSource::status() const {
  std::string text = "script tokens";
  if (turn_ != 0) {
    text += turn_ < 0 ? ", circling left" : ", circling right";
  }
  if (airbrakes_open_) {
    text += ", airbrakes open";
  }
  return text;
}

} // namespace window
