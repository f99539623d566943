#include "velmar/lnav/display.h"

#include <cstring>

#include "frame/module_frame.h"
#include "velmar/lnav/glide.h"
#include "velmar/lnav/glide_math.h"
#include "velmar/lnav/lnav_ids.h"
#include "velmar/lnav/lnav_state.h"
#include "velmar/lnav/pages.h"
#include "velmar/lnav/units.h"
#include "velmar/lnav/vario.h"
#include "velmar/shared_state.h"

namespace lnav {
namespace {

constinit TokenVar altimeter_setting = {.id = kTokenAltimeterHpa};

constexpr double kKnobDegreesPerStep = 30.0;
constexpr double kKnobDegreesAtOff = -60.0;
constexpr double kGlideBarLimitM = 500.0;
constexpr double kPressureThousands = 1000.0; // the field shows hPa without the thousand
// The value line holds five characters: "%5.0f" of anything beyond these
// would lose its last digit (-17027 would read -1702), so it shows the stop.
constexpr double kValueLineLargest = 99999.0;
constexpr double kValueLineSmallest = -9999.0;

// Shows `count` characters of `text` from `first` (counted from 1); empty
// when the text is shorter.
void show_chars(Element *element, const char *text, size_t first, int count) {
  if (std::strlen(text) < first) {
    frame::format_text(element, "%s", "");
    return;
  }
  frame::format_text(element, "%.*s", count, text + first - 1);
}

void show_if(Element *element, bool visible, const char *text) {
  frame::format_text(element, "%s", visible ? text : "");
}

// "%5.0f" of `value`, or the field's stop when the rounded number would need
// more than five characters.
void show_whole_number(Element *element, double value) {
  if (value >= kValueLineLargest + 0.5) {
    value = kValueLineLargest;
  } else if (value <= kValueLineSmallest - 0.5) {
    value = kValueLineSmallest;
  }
  frame::format_text(element, "%5.0f", value);
}

bool goal_in_reach() {
  return glide.required_altitude_m != kOutOfReach;
}

bool on_and(int32_t flag) {
  return power_on != 0 && flag != 0;
}

double icon(int32_t flag) {
  return on_and(flag) ? 1.0 : 0.0;
}

void refresh_distance_text() {
  const double distance_km = velmar::gps_power_on != 0 ? velmar::active_tp_distance_km : 0.0;
  frame::format_into(distance_text, sizeof distance_text, "%5.1f",
                     distance_for_display(distance_km));
  if (lnav_page == kPageAltimeter) {
    double pressure = frame::read_token(altimeter_setting);
    if (velmar::unit_system == kUnitsNautical) {
      pressure *= kInHgPerHpaRounded;
    }
    if (pressure > kPressureThousands) {
      pressure -= kPressureThousands;
    }
    frame::format_into(distance_text, sizeof distance_text, "%05.1f", pressure);
  }
}

} // namespace

double knob_angle(Element *) {
  return kKnobDegreesPerStep * volume_knob + kKnobDegreesAtOff;
}

double netto_tenths(Element *e) {
  show_chars(e, netto_30s.text, 4, 1);
  return 0.0;
}

double netto_point(Element *e) {
  show_if(e, on_and(show_netto_average), ".");
  return 0.0;
}

double netto_digits(Element *e) {
  run_vario_cycle();
  run_netto_30s_average();
  show_chars(e, netto_30s.text, 1, 2);
  return 0.0;
}

double te_tenths(Element *e) {
  show_chars(e, te_30s.text, 4, 1);
  return 0.0;
}

double te_point(Element *e) {
  show_if(e, on_and(show_te_average), ".");
  return 0.0;
}

double te_digits(Element *e) {
  run_te_30s_average();
  show_chars(e, te_30s.text, 1, 2);
  return 0.0;
}

double distance_tenths(Element *e) {
  if (on_and(show_distance)) {
    show_chars(e, distance_text, 5, 1);
  } else {
    show_if(e, false, "");
  }
  return 0.0;
}

double distance_point(Element *e) {
  show_if(e, on_and(show_distance), ".");
  return 0.0;
}

double distance_digits(Element *e) {
  if (on_and(show_distance)) {
    refresh_distance_text();
    show_chars(e, distance_text, 1, 3);
  } else {
    show_if(e, false, "");
  }
  return 0.0;
}

double value_line(Element *e) {
  if (!on_and(show_value_line)) {
    show_if(e, false, "");
    return 0.0;
  }
  switch (lnav_page) {
  case kPageStartAltimeter:
  case kPageAltimeter:
  case kPageWind:
    read_altitude();
    show_whole_number(e, altitude_for_display(glide.altitude_m));
    break;
  case kPageMacCready: {
    if (!goal_in_reach()) {
      frame::format_text(e, "%s", "-----");
      break;
    }
    const double shown_m =
        alt_mode == 2 ? glide.required_altitude_m : glide.altitude_m - glide.required_altitude_m;
    show_whole_number(e, altitude_for_display(shown_m));
    break;
  }
  case kPageGoalAltitude:
    show_whole_number(e, altitude_for_display(velmar::active_tp_elevation_m + goal_height_margin));
    break;
  case kPageElevation:
    show_whole_number(e, altitude_for_display(velmar::active_tp_elevation_m));
    break;
  case kPageGoalHeight:
    show_whole_number(e, altitude_for_display(goal_height_margin));
    break;
  case kPageCompensation:
    frame::format_text(e, "%5.1f", velmar::compensation_setting);
    break;
  default:
    show_if(e, false, "");
    break;
  }
  return 0.0;
}

double page_line(Element *e) {
  produce_page_text();
  frame::format_text(e, "%s", page_text);
  return 0.0;
}

double netto_label(Element *) {
  return icon(show_netto_average);
}
double te_label(Element *) {
  return icon(show_te_average);
}
double distance_label(Element *) {
  return icon(show_distance);
}
double value_label(Element *) {
  return icon(show_value_line);
}
double glide_bar_frame(Element *) {
  return icon(show_glide_bar);
}
double scale_half_marker(Element *) {
  return icon(mark_scale_half);
}
double scale_x2_marker(Element *) {
  return icon(mark_scale_x2);
}

double alt_mode_marker(Element *) {
  if (power_on == 0) {
    return 0.0;
  }
  if (mark_alt_req != 0) {
    return 1.0;
  }
  return mark_alt_diff != 0 ? 2.0 : 0.0;
}

// Positive below the glide path: the bar moves down. A goal out of reach puts
// it at its lower stop.
double glide_bar_offset(Element *) {
  if (!on_and(show_glide_bar)) {
    return 0.0;
  }
  if (!goal_in_reach()) {
    return kGlideBarLimitM;
  }
  const double below_m = glide.required_altitude_m - glide.altitude_m;
  if (below_m > kGlideBarLimitM) {
    return kGlideBarLimitM;
  }
  if (below_m < -kGlideBarLimitM) {
    return -kGlideBarLimitM;
  }
  return below_m;
}

double speed_command_arrow(Element *) {
  if (!on_and(show_speed_command)) {
    return 0.0;
  }
  return speed_command_image(glide.speed_to_fly_kmh - chain.airspeed_kmh);
}

} // namespace lnav
