// VETdisplay: twelve text lines of engine and flight values during a launch.
// Line 1's callback reads the host and computes every line's value once per
// update; the lines after it only format. This relies on the host updating
// a gauge's elements in list order, line 1 first.
#include <iterator>

#include "frame/module_frame.h"
#include "ostrel/convert.h"
#include "ostrel/element_builders.h"
#include "ostrel/gauges.h"
#include "ostrel/shared_state.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kDisplayBitmap = 0x2300; // 226 x 240
constexpr int32_t kLineSpacingPx = 20;

// The eleven value lines, top to bottom; the twelfth is the summary.
enum ValueLine : int {
  kLineThrust,
  kLineThrottle,
  kLineRpm,
  kLineSeconds,
  kLineSpeedKmh,
  kLineAltitudeM,
  kLineClimbMps,
  kLineClimbMaxMps,
  kLineBallastPct,
  kLineElevatorDeg,
  kLineTrimDeg,
  kValueLineCount,
};
constexpr int kLineCount = kValueLineCount + 1;

// Format of a value line: "%8.<decimals>f %s" with the label. Read by
// format_value_line. "throttle " ends in a space that the 17-character line
// cuts off ("%8.0f" plus a space plus 9 characters is 18).
struct LineFormat {
  int decimals;
  const char *label;
};
constexpr LineFormat kLineFormats[] = {
    {.decimals = 0, .label = "thrust"   },
    {.decimals = 0, .label = "throttle "},
    {.decimals = 0, .label = "rpm"      },
    {.decimals = 0, .label = "sec."     },
    {.decimals = 1, .label = "km/h"     },
    {.decimals = 1, .label = "alt"      },
    {.decimals = 1, .label = "vs"       },
    {.decimals = 1, .label = "vs(max)"  },
    {.decimals = 1, .label = "%ballast" },
    {.decimals = 1, .label = "elev."    },
    {.decimals = 1, .label = "trim"     },
};
static_assert(std::size(kLineFormats) == kValueLineCount);

// Written by line 1's callback on every update, read by all twelve lines.
constinit double line_values[kValueLineCount] = {};
// Climb rate and speed, e.g. "    2.50@095.0"; bounded like every host buffer.
constinit char summary_text[kStringBufferBytes] = {};

constinit TokenVar thrust_var = {.id = kTokenThrust};
constinit TokenVar throttle_var = {.id = kTokenThrottle};
constinit TokenVar rpm_var = {.id = kTokenEngineRpm};
constinit TokenVar airspeed_var = {.id = kTokenAirspeedKnots};
constinit TokenVar altitude_var = {.id = kTokenAltitudeM};
constinit TokenVar climb_var = {.id = kTokenVerticalSpeedRaw};
constinit TokenVar elevator_var = {.id = kTokenElevatorRad};
constinit TokenVar trim_var = {.id = kTokenElevatorTrimRad};

constexpr StringLook kLineLook = {.box_width_px = 226,
                                  .box_height_px = 20,
                                  .text_colour = 0x000000,
                                  .background_colour = 0xFFFFFF,
                                  .max_chars = 17,
                                  .drawing_flags = kDrawErase};

extern StringElement vet_lines[kLineCount];

// The lines' last texts: most values stand still for minutes.
constinit frame::NumberLine line_texts[kValueLineCount] = {};

double format_value_line(Element *element, int line) {
  const LineFormat &format = kLineFormats[line];
  // "%8.*f %s"
  frame::format_number_line(element, line_texts[line], 8, format.decimals, line_values[line],
                            format.label);
  return line_values[line];
}

void compute_values() {
  double *v = line_values;
  v[kLineThrust] = frame::read_token(thrust_var);
  v[kLineThrottle] = frame::read_token(throttle_var);
  v[kLineRpm] = frame::read_token(rpm_var);
  v[kLineSeconds] = vet_run.seconds;
  v[kLineSpeedKmh] = kmh_from_knots(frame::read_token(airspeed_var));
  v[kLineAltitudeM] = frame::read_token(altitude_var);
  v[kLineClimbMps] = mps_from_climb_raw(frame::read_token(climb_var));
  if (v[kLineClimbMps] > vet_run.max_climb_rate_mps) {
    vet_run.max_climb_rate_mps = v[kLineClimbMps];
  }
  v[kLineClimbMaxMps] = vet_run.max_climb_rate_mps;
  v[kLineBallastPct] = ballast_percent;
  v[kLineElevatorDeg] = deg_from_rad_rounded_turn(frame::read_token(elevator_var));
  v[kLineTrimDeg] = deg_from_rad_rounded_turn(frame::read_token(trim_var));
  frame::format_into(summary_text, sizeof summary_text, "   %5.2f@%05.1f", v[kLineClimbMps],
                     v[kLineSpeedKmh]);
}

double first_line(Element *element) {
  compute_values();
  return format_value_line(element, kLineThrust);
}

// Lines 2 to 11 find their line from their place in vet_lines.
double value_line(Element *element) {
  const auto *line = reinterpret_cast<StringElement *>(element);
  return format_value_line(element, static_cast<int>(line - vet_lines));
}

double summary_line(Element *element) {
  frame::format_text(element, "%s", summary_text);
  return 0.0;
}

constexpr ElementPlace line_place(int line) {
  return {0, line * kLineSpacingPx};
}

constinit StringElement vet_lines[kLineCount] = {
    string_line(line_place(0), kLineLook, &vet_display_gauge, first_line),
    string_line(line_place(1), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(2), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(3), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(4), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(5), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(6), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(7), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(8), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(9), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(10), kLineLook, &vet_display_gauge, value_line),
    string_line(line_place(11), kLineLook, &vet_display_gauge, summary_line),
};

constinit Element *vet_display_children[] = {
    &vet_lines[0].element,
    &vet_lines[1].element,
    &vet_lines[2].element,
    &vet_lines[3].element,
    &vet_lines[4].element,
    &vet_lines[5].element,
    &vet_lines[6].element,
    &vet_lines[7].element,
    &vet_lines[8].element,
    &vet_lines[9].element,
    &vet_lines[10].element,
    &vet_lines[11].element,
    nullptr,
};
static_assert(std::size(vet_display_children) == kLineCount + 1);

constinit StaticImageElement vet_display_root =
    static_image(kDisplayBitmap, &vet_display_gauge, vet_display_children, kDrawTransparent);
constinit Element *vet_display_roots[] = {&vet_display_root.element, nullptr};

// No clicks: one empty parent.
constinit MouseRectangle vet_display_mouse[] = {
    mouse_whole_gauge(),
    mouse_end_parent(),
    mouse_end(),
};

} // namespace

constinit GaugeHeader vet_display_gauge = {GAUGE_HEADER_COMMON("VETdisplay", vet_display_roots),
                                           .default_size = 226, .mouse_list = vet_display_mouse};

} // namespace ostrel
