// Task lookups. A task is a letter A to J (task_letter 0 to 9) and its points
// 0 (start) to 10; the search key is the letter and the point number, "B3" or
// "A10", and it matches any task entry whose key contains it (B1 also matches
// B10, whichever comes first in file order).
#pragma once

#include <cstdint>

namespace velmar::gpsnav {

// Task TP page: finds the turnpoint of point task_point; task_hit is its
// record, whose name becomes the second line, or NO_TASK_POINT.
void find_task_point();

// While choosing and at the start: the point before task_point (the start for
// 0): its leg into the distance text (0 for point 1, nm with the nautical
// setting) and its turnpoint's name into the second line, task_hit its
// record. No entry: both texts empty, task_hit unchanged.
void preview_task_point();

// "Start? Yes": flies the chosen task from its start point.
void start_task();

// Makes record `index` the navigation target, the former target becoming the
// previous one, and shows the target. An index that names no loaded record
// (an empty list's pick, a task point not found) keeps the target.
void make_active(int32_t index);

} // namespace velmar::gpsnav
