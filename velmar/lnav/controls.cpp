#include "velmar/lnav/controls.h"

#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/lnav/glide.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"
#include "velmar/lnav/pages.h"
#include "velmar/shared_state.h"

namespace lnav {
namespace {

constexpr int32_t kKnobMax = 9;
constexpr double kMcStepMps = 0.1;
constexpr double kMcMaxMps = 4.0;
constexpr double kMarginStepM = 10.0;
constexpr double kMarginMaxM = 9990.0;
constexpr double kCompensationStep = 0.1;
constexpr double kCompensationMax = 9.9;

void power_on_instrument() {
  power_on = 1;
  power_on_ms = frame::module_clock_ms();
  lnav_page = kPageSplash;
  start_of_flight_s = read_time_of_day_s();
  read_ballast_capacity();
  clear_for_power_on();
  load_polar();
}

// The tones stop at the next vario cycle.
void power_off_instrument() {
  power_on = 0;
  lnav_page = kPageOff;
  show_speed_command = show_netto_average = show_te_average = show_distance = 0;
  show_value_line = mark_alt_req = show_glide_bar = 0;
}

// Steps up while below the maximum, then caps (the steps are inexact).
void step_up(double &value, double step, double max) {
  if (value < max) {
    value += step;
  }
  if (value > max) {
    value = max;
  }
}

void step_down(double &value, double step) {
  if (value > 0.0) {
    value -= step;
  }
  if (value < 0.0) {
    value = 0.0;
  }
}

// Cycles a 1..3 setting one way or the other.
int32_t cycle_down(int32_t value) {
  return value == 1 ? 3 : value - 1;
}
int32_t cycle_up(int32_t value) {
  return value == 3 ? 1 : value + 1;
}
int32_t toggle_alt_mode(int32_t mode) {
  return mode == 1 ? 2 : 1;
}

// The setting buttons differ only on pages 19, 21 and 24 to 27.
void change_setting(bool increase) {
  switch (lnav_page) {
  case kPageAltimeter:
    frame::send_key_event(increase ? kKeyAltimeterSettingUp : kKeyAltimeterSettingDown,
                          kKeyAltimeterStep);
    break;
  case kPageMacCready:
    increase ? step_up(mc_setting, kMcStepMps, kMcMaxMps) : step_down(mc_setting, kMcStepMps);
    break;
  case kPageGoalHeight:
    increase ? step_up(goal_height_margin, kMarginStepM, kMarginMaxM)
             : step_down(goal_height_margin, kMarginStepM);
    break;
  case kPageCompensation:
    increase ? step_up(velmar::compensation_setting, kCompensationStep, kCompensationMax)
             : step_down(velmar::compensation_setting, kCompensationStep);
    break;
  case kPageResponse:
    velmar::vario_response =
        increase ? cycle_down(velmar::vario_response) : cycle_up(velmar::vario_response);
    break;
  case kPageScale:
    velmar::vario_scale =
        increase ? cycle_up(velmar::vario_scale) : cycle_down(velmar::vario_scale);
    break;
  case kPageAltMode:
    alt_mode = toggle_alt_mode(alt_mode);
    break;
  case kPageSinkTone:
    sink_tone_enabled = sink_tone_enabled != 0 ? 0 : 1;
    break;
  default:
    break;
  }
}

} // namespace

uint32_t on_knob_down(MousePoint *, uint32_t flags) {
  if (volume_knob > 0) {
    --volume_knob;
  }
  if (volume_knob == 0 && power_on == 1) {
    power_off_instrument();
  }
  return flags;
}

uint32_t on_knob_up(MousePoint *, uint32_t flags) {
  if (volume_knob < kKnobMax) {
    ++volume_knob;
  }
  if (volume_knob == 1 && power_on == 0) {
    power_on_instrument();
  }
  return flags;
}

uint32_t on_home(MousePoint *, uint32_t flags) {
  if (power_on != 0) {
    lnav_page = kPageWind;
  }
  return flags;
}

uint32_t on_back(MousePoint *, uint32_t flags) {
  if (power_on != 0 && lnav_page > kPageFlightTime) {
    --lnav_page;
  }
  return flags;
}

uint32_t on_forward(MousePoint *, uint32_t flags) {
  if (power_on != 0 && lnav_page > kPageStartAltimeter && lnav_page < kPageSinkTone) {
    ++lnav_page;
  }
  return flags;
}

uint32_t on_increase(MousePoint *, uint32_t flags) {
  if (power_on != 0) {
    change_setting(true);
  }
  return flags;
}

uint32_t on_decrease(MousePoint *, uint32_t flags) {
  if (power_on != 0) {
    change_setting(false);
  }
  return flags;
}

} // namespace lnav
