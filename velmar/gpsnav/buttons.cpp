#include "velmar/gpsnav/buttons.h"

#include <climits>

#include "velmar/gpsnav/navigation.h"
#include "velmar/gpsnav/pages.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/task.h"
#include "velmar/gpsnav/turnpoint_lists.h"

namespace velmar::gpsnav {
namespace {

constexpr int32_t kLastTaskLetter = 9; // J
constexpr int32_t kLastTaskPoint = 10;
constexpr int32_t kLastPositionLine = 2; // page 18: latitude, longitude, altitude

bool choosing_task() {
  return display.page == kTaskSelectPage && display.page_mode == 1;
}

void go_to_navigate_page() {
  display.page = kNavigatePage;
  display.page_mode = 0;
}

// Leaving the Task TP page (and entering page 23 from page 24): the task
// point steps back, never below the start point 0.
void step_back_task_point() {
  if (task.task_point > 0) {
    --task.task_point;
  }
}

// The Task TP page, entered from a neighbour: the next task point.
void enter_task_point_page() {
  ++task.task_point;
  find_task_point();
  if (task.task_hit != NO_TASK_POINT) {
    show_record(task.task_hit);
  }
}

// GO on a list page: the pick becomes the target and ends any task. A pick
// that names no record (an empty list) keeps the target and the task.
void choose_pick(int32_t pick) {
  if (names_record(pick)) {
    task.task_active = 0;
  }
  make_active(pick);
  go_to_navigate_page();
}

void enter_list_page(int32_t page) {
  display.page_mode = 0;
  if (page == kNamePage) {
    display.name_pick = show_by_name(0);
  } else {
    build_distance_list(page);
    display.distance_pick = show_by_distance(0);
  }
}

int32_t list_count(int32_t page) {
  return page == kNamePage ? names.name_count : distances.distance_count;
}

void pick_list_entry(int32_t page) {
  if (page == kNamePage) {
    display.name_pick = show_by_name(display.page_mode);
  } else {
    display.distance_pick = show_by_distance(display.page_mode);
  }
}

} // namespace

uint32_t on_button(MousePoint *, uint32_t flags) {
  switch_on_off();
  return flags;
}

uint32_t go_button(MousePoint *, uint32_t flags) {
  switch (display.page) {
  case kLastPointPage: {
    task.task_active = 0;
    const int32_t former = nav.active_index;
    nav.active_index = nav.previous_index;
    nav.previous_index = former;
    show_record(nav.active_index);
    go_to_navigate_page();
    break;
  }
  case kTaskPointPage:
    go_to_navigate_page();
    if (task.task_hit == NO_TASK_POINT) {
      task.task_active = 0;
    } else if (names_record(task.task_hit)) {
      nav.active_index = task.task_hit; // previous_index stays; task_point keeps its advance
    }
    show_record(nav.active_index);
    break;
  case kNamePage:
    choose_pick(display.name_pick);
    break;
  case kTurnpointDistancePage:
  case kLandpointDistancePage:
    choose_pick(display.distance_pick);
    break;
  case kTaskSelectPage:
    if (display.page_mode == 0) {
      display.page_mode = 1;
      task.task_letter = 0;
      task.task_point = 0;
      preview_task_point();
    } else {
      display.page = kDeclarePage;
      display.page_mode = 0;
    }
    break;
  case kDeclarePage:
    if (display.page_mode == 0) {
      go_to_navigate_page();
    } else {
      display.page = kStartPage;
      display.page_mode = 0;
    }
    break;
  case kStartPage:
    if (display.page_mode != 0) {
      start_task();
    }
    go_to_navigate_page();
    break;
  default:
    go_to_navigate_page();
    break;
  }
  return flags;
}

uint32_t left_button(MousePoint *, uint32_t flags) {
  if (choosing_task()) {
    if (task.task_point > 0) {
      --task.task_point;
    }
    preview_task_point();
    return flags;
  }
  if (display.page > kFirstPage) {
    --display.page;
  }
  switch (display.page) {
  case kNavigatePage:
    display.page_mode = 0;
    show_record(nav.active_index);
    break;
  case kLastPointPage:
    display.page_mode = 0;
    step_back_task_point(); // leaving the Task TP page
    show_record(nav.previous_index);
    break;
  case kTaskPointPage:
    display.page_mode = 0;
    enter_task_point_page();
    break;
  case kNamePage:
    // Entered from page 24, yet the task point steps back as when leaving
    // the Task TP page: the instrument does so on every entry to page 23.
    step_back_task_point();
    enter_list_page(kNamePage);
    break;
  case kTurnpointDistancePage:
  case kLandpointDistancePage:
    enter_list_page(display.page);
    break;
  case kTaskSelectPage:
  case kDeclarePage:
    break;
  default:
    display.page_mode = 0;
    break;
  }
  return flags;
}

uint32_t right_button(MousePoint *, uint32_t flags) {
  if (display.page < kTaskSelectPage) {
    ++display.page;
  }
  switch (display.page) {
  case kLastPointPage:
    display.page_mode = 0;
    show_record(nav.previous_index);
    break;
  case kTaskPointPage:
    enter_task_point_page();
    break;
  case kNamePage:
    step_back_task_point(); // leaving the Task TP page
    enter_list_page(kNamePage);
    break;
  case kTurnpointDistancePage:
  case kLandpointDistancePage:
    enter_list_page(display.page);
    break;
  case kTaskSelectPage:
    // A list cursor of 1 brought from page 25 reads as choosing.
    if (display.page_mode == 1) {
      if (task.task_point < kLastTaskPoint) {
        ++task.task_point;
      }
      preview_task_point();
    } else {
      display.page_mode = 0;
    }
    break;
  case kDeclarePage:
  case kStartPage:
    break;
  default:
    display.page_mode = 0;
    break;
  }
  return flags;
}

uint32_t up_button(MousePoint *, uint32_t flags) {
  switch (display.page) {
  case kWindPage:
  case kLastPointPage:
  case kTaskPointPage:
    break;
  case kNavigatePage:
    // Cycles elevation -> navigation -> remark -> elevation.
    --display.page_mode;
    if (display.page_mode < -1) {
      display.page_mode = 1;
    }
    break;
  case kNamePage:
  case kTurnpointDistancePage:
  case kLandpointDistancePage:
    if (display.page_mode > 0) {
      --display.page_mode;
      pick_list_entry(display.page);
    }
    break;
  case kTaskSelectPage:
    if (display.page_mode == 1 && task.task_point == 0) {
      if (task.task_letter > 0) {
        --task.task_letter;
      }
      preview_task_point();
    }
    break;
  case kDeclarePage:
  case kStartPage:
    if (display.page_mode == 1) {
      display.page_mode = 0;
    }
    break;
  default: // 17, 18 and any other
    if (display.page_mode > 0) {
      --display.page_mode;
    }
    break;
  }
  return flags;
}

uint32_t down_button(MousePoint *, uint32_t flags) {
  switch (display.page) {
  case kFirstPage:
    if (display.page_mode < INT32_MAX) {
      ++display.page_mode; // nothing shows it
    }
    break;
  case kPositionPage:
    if (display.page_mode < kLastPositionLine) {
      ++display.page_mode;
    }
    break;
  case kNavigatePage:
    // Cycles remark -> navigation -> elevation -> remark.
    ++display.page_mode;
    if (display.page_mode > 1) {
      display.page_mode = -1;
    }
    break;
  case kNamePage:
  case kTurnpointDistancePage:
  case kLandpointDistancePage:
    if (display.page_mode < list_count(display.page) - 1) {
      ++display.page_mode;
      pick_list_entry(display.page);
    }
    break;
  case kTaskSelectPage:
    if (display.page_mode == 1 && task.task_point == 0) {
      if (task.task_letter < kLastTaskLetter) {
        ++task.task_letter;
      }
      preview_task_point();
    }
    break;
  case kDeclarePage:
  case kStartPage:
    if (display.page_mode == 0) {
      display.page_mode = 1;
    }
    break;
  default: // 19, 21, 22 and any other
    break;
  }
  return flags;
}

} // namespace velmar::gpsnav
