#include "velmar/gpsnav/task.h"

#include <cstring>

#include "frame/module_frame.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/text_fields.h"
#include "velmar/gpsnav/turnpoint_lists.h"
#include "velmar/gpsnav/units.h"
#include "velmar/shared_state.h"

namespace velmar::gpsnav {
namespace {

constexpr const char *kTaskLetters = "ABCDEFGHIJ";

// Letter and point number, "B3"; room for any 32-bit point number.
struct TaskKey {
  char text[16];
};

TaskKey task_key(int32_t point) {
  TaskKey key{};
  const int32_t letter = task.task_letter >= 0 && task.task_letter < 10 ? task.task_letter : 0;
  frame::format_into(key.text, sizeof key.text, "%c%1d", kTaskLetters[letter], point);
  return key;
}

const TaskEntry *find_entry(const TaskKey &key) {
  for (int32_t i = 0; i < tasks.entry_count; ++i) {
    if (std::strstr(tasks.entries[i].key, key.text) != nullptr) {
      return &tasks.entries[i];
    }
  }
  return nullptr;
}

// First record (file order) whose number contains the entry's turnpoint.
int32_t find_turnpoint(const TaskEntry &entry) {
  for (int32_t i = 0; i < turnpoints.record_count; ++i) {
    if (std::strstr(turnpoints.records[i].number, entry.turnpoint) != nullptr) {
      return i;
    }
  }
  return NO_TASK_POINT;
}

void set_line2_to_name(int32_t index) {
  frame::format_into(display.line2, sizeof display.line2, "%s", record_at(index).name);
}

} // namespace

void find_task_point() {
  const TaskEntry *entry = find_entry(task_key(task.task_point));
  task.task_hit = entry != nullptr ? find_turnpoint(*entry) : NO_TASK_POINT;
  if (task.task_hit != NO_TASK_POINT) {
    set_line2_to_name(task.task_hit);
  }
}

void preview_task_point() {
  const TaskEntry *entry = find_entry(task_key(task.task_point > 0 ? task.task_point - 1 : 0));
  if (entry == nullptr) {
    display.line2[0] = '\0';
    nav.distance_text[0] = '\0';
    return;
  }
  double leg = task.task_point == 1 ? 0.0 : leading_number(entry->leg);
  if (velmar::unit_system == kUnitsNautical) {
    leg = km_to_nautical_miles(leg);
  }
  frame::format_into(nav.distance_text, sizeof nav.distance_text, "%5.1f", leg);
  // An entry whose turnpoint no record carries: nothing to show or start from.
  task.task_hit = find_turnpoint(*entry);
  if (task.task_hit != NO_TASK_POINT) {
    set_line2_to_name(task.task_hit);
  } else {
    display.line2[0] = '\0';
  }
}

void start_task() {
  task.task_active = 1;
  task.task_point = 0;
  preview_task_point();
  make_active(task.task_hit);
}

void make_active(int32_t index) {
  if (names_record(index)) {
    nav.previous_index = nav.active_index;
    nav.active_index = index;
  }
  show_record(nav.active_index);
}

} // namespace velmar::gpsnav
