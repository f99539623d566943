// Module-wide state of gpsnav, in one place. Everything is static, zero or its
// stated value at load, and touched only on the host's panel thread: the ON
// button's handler loads the tables, the first display line's callback runs
// the navigation update and the page texts, the other buttons move the pages
// and the task. Two placements of the gauge share this state.
#pragma once

#include <cstdint>

#include "velmar/gpsnav/records.h"

namespace velmar::gpsnav {

// Room for every text below: the longest that any format can produce from
// the values it is given, cut by the bounded formatting when longer.
inline constexpr int kLineBytes = 32;  // display lines: 12 characters shown
inline constexpr int kFieldBytes = 16; // small fields: 3 or 5 characters shown

// The file in memory (written by the ON button and the distance list build).
extern TurnpointTable turnpoints;
extern TaskTable tasks;
extern NameList names;
extern DistanceList distances;
extern ShownTurnpoint shown;

// Navigation: position, target, track and speed (written by the navigation
// update and the list build; the texts are what the display fields copy).
struct NavigationState {
  int32_t no_file; // the last switch-on found no file: "Switch off -" / "No DAT File"
  double own_lat_min;
  double own_lon_min;
  double previous_lat_min; // own position at the previous navigation update
  double previous_lon_min;
  int32_t has_fix;                       // a navigation update has read the own position since load
  char latitude_text[kLineBytes];        // "%3d:%05.2f N"
  char longitude_text[kLineBytes];       // "%3d:%05.2f E"
  char altitude_text[kLineBytes];        // "    %5.0f ft"
  char wind_direction_text[kFieldBytes]; // "%4.0f" degrees
  char wind_speed_text[kFieldBytes];     // "%4.0f" in the shown unit
  int32_t active_index;                  // record of the navigation target
  int32_t previous_index;                // record active before it
  double target_distance_km;             // to the shown turnpoint
  double target_bearing_deg;             // to the shown turnpoint, 0 to below 360
  char distance_text[kFieldBytes];       // "%5.1f" in the shown unit, at most 999.9
  char bearing_text[kFieldBytes];        // "%03.0f" (page 20 mode -1: the ground speed)
  double track_deg;
  double moved_km;              // between the last two navigation updates
  char track_text[kFieldBytes]; // "%03.0f"
  int32_t steering_index;       // arrow image 0 to 9; 5 the centre mark
  int32_t last_update_ms;       // module clock at the last navigation update
  int32_t elapsed_s;            // whole seconds since then
};
extern NavigationState nav;

// The task being chosen or flown (written by the task pages' buttons).
struct TaskState {
  int32_t task_active;
  int32_t task_letter; // 0 to 9: "ABCDEFGHIJ"[task_letter]
  int32_t task_point;  // 0 (start) to 10
  int32_t task_hit;    // record of the last task lookup, or NO_TASK_POINT
};
extern TaskState task;

// Pages, list cursors and the two display lines (written by the buttons and
// by the first line's page step).
struct DisplayState {
  int32_t page;      // 17 to 28
  int32_t page_mode; // per page: line, mode, list cursor, choosing, No/Yes
  char line1[kLineBytes];
  char line2[kLineBytes];
  int32_t name_pick;     // record picked on page 23
  int32_t distance_pick; // record picked on pages 24 and 25
};
extern DisplayState display;

} // namespace velmar::gpsnav
