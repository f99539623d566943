#include "velmar/gpsnav/pages.h"

#include <iterator>

#include "frame/module_frame.h"
#include "velmar/gpsnav/state.h"

namespace velmar::gpsnav {
namespace {

constexpr const char *kTaskLetters = "ABCDEFGHIJ";
// Thresholds of the navigation page, in km whatever the units setting.
constexpr double kCloseToKm = 2.0;
constexpr double kArrivalKm = 0.5;

// Fields a page empties; emptying any of them also blanks the arrow until
// the next navigation update on a page that keeps them.
enum Clears : uint32_t {
  kClearNone = 0,
  kClearBearing = 1u << 0,
  kClearDistance = 1u << 1,
  kClearTrack = 1u << 2,
};

// What the second line shows while the unit is on.
enum class Line2 { kPosition, kTaskPoint, kShownName, kAsSet };

struct PageRow {
  int32_t page;
  void (*line1)();
  uint32_t clears;
  Line2 line2;
};

char task_letter() {
  return task.task_letter >= 0 && task.task_letter < 10 ? kTaskLetters[task.task_letter] : '?';
}

void set_line1(const char *text) {
  frame::format_into(display.line1, sizeof display.line1, "%s", text);
}

void set_line2(const char *text) {
  frame::format_into(display.line2, sizeof display.line2, "%s", text);
}

void version_page() {
  set_line1("RUR-UDI FS9 ");
  set_line2("DEC 24, 2003");
}

void position_page() {
  constexpr const char *kLines[] = {"Latitude", "Longitude", "Altitude"};
  const int32_t mode = display.page_mode;
  set_line1(mode >= 0 && mode < 3 ? kLines[mode] : "");
}

void wind_page() {
  frame::format_into(display.line1, sizeof display.line1, "Wind%s%s", nav.wind_direction_text,
                     nav.wind_speed_text);
}

void navigate_page() {
  switch (display.page_mode) {
  case -1:
    set_line1(shown.remark);
    break;
  case 0:
    if (nav.target_distance_km < kArrivalKm) {
      set_line1("Arrival!");
    } else if (nav.target_distance_km < kCloseToKm) {
      set_line1("Close To");
    } else if (task.task_active != 0) {
      // Twelve characters: point 10 takes the colon's place.
      frame::format_into(display.line1, sizeof display.line1,
                         task.task_point < 10 ? "On Task TP:%1d" : "On Task TP%d", task.task_point);
    } else {
      set_line1("Navigate to");
    }
    break;
  case 1:
    frame::format_into(display.line1, sizeof display.line1, "Elev  %s", shown.elevation);
    break;
  default:
    set_line1("");
    break;
  }
}

void last_point_page() {
  set_line1("Last Point");
}

void task_point_page() {
  if (task.task_active == 0 || task.task_hit == NO_TASK_POINT) {
    set_line1("Task TP:  --");
    nav.bearing_text[0] = '\0';
    nav.distance_text[0] = '\0';
    nav.track_text[0] = '\0';
    nav.steering_index = 0;
  } else {
    // Twelve characters: point 10 takes one of the two blanks.
    frame::format_into(display.line1, sizeof display.line1,
                       task.task_point < 10 ? "Task TP:  %c%1d" : "Task TP: %c%d", task_letter(),
                       task.task_point);
  }
}

void name_page() {
  set_line1("TP: Alphabet");
}
void turnpoint_distance_page() {
  set_line1("TP: Distance");
}
void landpoint_distance_page() {
  set_line1("Landpoints");
}

void task_select_page() {
  if (display.page_mode == 0) {
    set_line1("   Task     ");
    set_line2(" Selection  ");
    nav.distance_text[0] = '\0';
  } else if (task.task_point == 0) {
    set_line1("Select Task ");
    frame::format_into(display.line2, sizeof display.line2, "     %c", task_letter());
  } else {
    frame::format_into(display.line1, sizeof display.line1, "Turnpoint %c%1d", task_letter(),
                       task.task_point - 1);
  }
}

void declare_page() {
  frame::format_into(display.line1, sizeof display.line1, "   Task %c", task_letter());
  set_line2(display.page_mode == 0 ? "Declare? No " : "Declare? Yes");
}

void start_page() {
  frame::format_into(display.line1, sizeof display.line1, "   Task %c", task_letter());
  set_line2(display.page_mode == 0 ? "Start? No" : "Start? Yes");
}

// Read by set_page_texts and line2_text, one row per page from 17.
// clang-format off
constexpr PageRow kPages[] = {
    {.page = 17, .line1 = version_page,            .clears = kClearBearing | kClearDistance | kClearTrack, .line2 = Line2::kAsSet},     // version
    {.page = 18, .line1 = position_page,           .clears = kClearBearing | kClearDistance | kClearTrack, .line2 = Line2::kPosition},  // position
    {.page = 19, .line1 = wind_page,               .clears = kClearNone,                                  .line2 = Line2::kShownName}, // wind
    {.page = 20, .line1 = navigate_page,           .clears = kClearNone,                                  .line2 = Line2::kShownName}, // navigate
    {.page = 21, .line1 = last_point_page,         .clears = kClearTrack,                                 .line2 = Line2::kShownName}, // last point
    {.page = 22, .line1 = task_point_page,         .clears = kClearNone,                                  .line2 = Line2::kTaskPoint}, // task point (clears itself)
    {.page = 23, .line1 = name_page,               .clears = kClearTrack,                                 .line2 = Line2::kShownName}, // turnpoints by name
    {.page = 24, .line1 = turnpoint_distance_page, .clears = kClearTrack,                                 .line2 = Line2::kShownName}, // turnpoints by distance
    {.page = 25, .line1 = landpoint_distance_page, .clears = kClearTrack,                                 .line2 = Line2::kShownName}, // landpoints by distance
    {.page = 26, .line1 = task_select_page,        .clears = kClearBearing | kClearTrack,                 .line2 = Line2::kAsSet},     // task selection
    {.page = 27, .line1 = declare_page,            .clears = kClearBearing | kClearTrack,                 .line2 = Line2::kAsSet},     // declare
    {.page = 28, .line1 = start_page,              .clears = kClearBearing | kClearTrack,                 .line2 = Line2::kAsSet},     // start
};
// clang-format on
static_assert(std::size(kPages) == kLastPage - kFirstPage + 1, "one row per page");

const PageRow *page_row(int32_t page) {
  return page >= kFirstPage && page <= kLastPage ? &kPages[page - kFirstPage] : nullptr;
}

} // namespace

void set_page_texts() {
  const PageRow *row = page_row(display.page);
  if (row == nullptr) {
    set_line1("Not defined");
    return;
  }
  row->line1();
  if ((row->clears & kClearBearing) != 0) {
    nav.bearing_text[0] = '\0';
  }
  if ((row->clears & kClearDistance) != 0) {
    nav.distance_text[0] = '\0';
  }
  if ((row->clears & kClearTrack) != 0) {
    nav.track_text[0] = '\0';
  }
  if (row->clears != kClearNone) {
    nav.steering_index = 0;
  }
}

const char *line2_text() {
  const PageRow *row = page_row(display.page);
  if (row == nullptr) {
    return display.line2;
  }
  switch (row->line2) {
  case Line2::kPosition: {
    const char *texts[] = {nav.latitude_text, nav.longitude_text, nav.altitude_text};
    if (display.page_mode >= 0 && display.page_mode < 3) {
      set_line2(texts[display.page_mode]);
    }
    break;
  }
  case Line2::kTaskPoint:
    set_line2(task.task_active == 0            ? "No Selection"
              : task.task_hit == NO_TASK_POINT ? "Task Ended"
                                               : shown.name);
    break;
  case Line2::kShownName:
    set_line2(shown.name);
    break;
  case Line2::kAsSet:
    break;
  }
  return display.line2;
}

} // namespace velmar::gpsnav
