#include "velmar/lnav/pages.h"

#include <cmath>

#include "frame/clock.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "velmar/lnav/glide.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"
#include "velmar/lnav/units.h"
#include "velmar/shared_state.h"

namespace lnav {
namespace {

constinit TokenVar clock_hours = {.id = kTokenClockHours};
constinit TokenVar clock_minutes = {.id = kTokenClockMinutes};
constinit TokenVar clock_seconds = {.id = kTokenClockSeconds};

constexpr int64_t kSecondsPerDay = 86400;
constexpr double kWindLimitPage20 = 99.9; // "%4.1f" fits
constexpr double kWindLimitPage21 = 99.0; // "%2.0f" fits

// Texts of the settings pages, indexed by the setting's value.
constexpr const char *kResponseTexts[] = {"", "Fast Vario", "Std. Vario", "Slow Vario"};
constexpr const char *kScaleTexts[] = {"", "Scale: x.5", "Scale: x 1", "Scale: x 2"};
constexpr const char *kAltModeTexts[] = {"", "Alt.Diff.", "Alt.Req."};

template <size_t N> const char *setting_text(const char *const (&texts)[N], int32_t value) {
  return value >= 0 && static_cast<size_t>(value) < N ? texts[value] : "";
}

void set_page_text(const char *text) {
  frame::format_into(page_text, sizeof page_text, "%s", text);
}

// "FT" and the time since power-on as hh:mm:ss. A flight that runs past
// midnight of the simulator clock keeps counting instead of going negative.
void flight_time_text() {
  int64_t elapsed_s = read_time_of_day_s() - start_of_flight_s;
  if (elapsed_s < 0) {
    elapsed_s += kSecondsPerDay;
  }
  frame::format_into(page_text, sizeof page_text, "FT%02lld:%02lld:%02lld",
                     static_cast<long long>(elapsed_s / 3600),
                     static_cast<long long>((elapsed_s / 60) % 60),
                     static_cast<long long>(elapsed_s % 60));
}

// Headwind as shown: "HW" for a headwind, else "TW" and the magnitude.
struct ShownWind {
  const char *label;
  double speed;
};

ShownWind shown_wind() {
  double w = headwind_kmh;
  const char *label = "HW";
  if (!(w > 0.0)) {
    label = "TW";
    w = std::fabs(w);
  }
  return {label, wind_for_display(w)};
}

void wind_page_text() {
  const ShownWind wind = shown_wind();
  char speed[16];
  if (wind.speed <= kWindLimitPage20) {
    frame::format_into(speed, sizeof speed, "%4.1f", wind.speed);
  } else {
    frame::format_into(speed, sizeof speed, "--.-");
  }
  frame::format_into(page_text, sizeof page_text, "%s%s%s", wind.label, speed,
                     velmar::gps_power_on != 0 ? " A" : " M");
}

void maccready_page_text() {
  const ShownWind wind = shown_wind();
  char speed[16];
  if (wind.speed <= kWindLimitPage21) {
    frame::format_into(speed, sizeof speed, "%2.0f", wind.speed);
  } else {
    frame::format_into(speed, sizeof speed, "xx");
  }
  frame::format_into(page_text, sizeof page_text, "Mc%03.1f %s%s", mc_setting, wind.label, speed);
}

void show_page(int32_t page) {
  switch (page) {
  case kPageStartAltimeter:
    set_page_text("Altimeter");
    show_value_line = 1;
    break;
  case kPageFlightTime:
    flight_time_text();
    show_te_average = show_distance = show_value_line = 0;
    break;
  case kPageAltimeter:
    set_page_text("Altimeter");
    show_speed_command = show_netto_average = mark_alt_req = show_glide_bar = 0;
    show_te_average = show_distance = show_value_line = 1;
    break;
  case kPageWind:
    wind_page_text();
    show_speed_command = show_netto_average = show_te_average = show_distance = 1;
    show_value_line = show_glide_bar = 1;
    mark_alt_req = mark_alt_diff = 0;
    break;
  case kPageMacCready:
    maccready_page_text();
    show_speed_command = show_netto_average = show_te_average = show_distance = 1;
    show_glide_bar = 1;
    if (alt_mode == 1) {
      mark_alt_diff = 1;
      mark_alt_req = 0;
    } else if (alt_mode == 2) {
      mark_alt_req = 1;
      mark_alt_diff = 0;
    }
    break;
  case kPageGoalAltitude:
    set_page_text("Goal Alt.");
    show_speed_command = show_netto_average = show_te_average = show_distance = 0;
    mark_alt_req = mark_alt_diff = show_glide_bar = 0;
    break;
  case kPageElevation:
    set_page_text("Elevation");
    break;
  case kPageGoalHeight:
    set_page_text("Goal Hgt.");
    break;
  case kPageCompensation:
    set_page_text("Compensat");
    show_value_line = 1;
    break;
  case kPageResponse:
    set_page_text(setting_text(kResponseTexts, velmar::vario_response));
    show_value_line = 0;
    break;
  case kPageScale:
    set_page_text(setting_text(kScaleTexts, velmar::vario_scale));
    mark_scale_half = velmar::vario_scale == 1 ? 1 : 0;
    mark_scale_x2 = velmar::vario_scale == 3 ? 1 : 0;
    break;
  case kPageAltMode:
    set_page_text(setting_text(kAltModeTexts, alt_mode));
    break;
  case kPageSinkTone:
    set_page_text(sink_tone_enabled != 0 ? "Sink Tone" : "No Sink T");
    break;
  default:
    set_page_text("");
    break;
  }
}

} // namespace

int64_t read_time_of_day_s() {
  return int64_t{truncate_i32(frame::read_token(clock_hours))} * 3600 +
         int64_t{truncate_i32(frame::read_token(clock_minutes))} * 60 +
         int64_t{truncate_i32(frame::read_token(clock_seconds))};
}

void produce_page_text() {
  read_altitude();
  run_wind_filter();
  if (power_on == 0) {
    set_page_text("");
    return;
  }
  if (lnav_page == kPageSplash) {
    if (frame::elapsed_ms(frame::module_clock_ms(), power_on_ms) / 1000 < kSplashSeconds) {
      set_page_text("24/12/2003");
      return;
    }
    // The splash has run out: this same call already shows page 2.
    lnav_page = kPageStartAltimeter;
  }
  show_page(lnav_page);
}

} // namespace lnav
