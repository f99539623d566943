#include "session/buttons.h"

#include <cctype>
#include <string_view>

namespace session {
namespace {

struct ButtonRow {
  std::string_view gauge;
  std::string_view button;
  int x, y; // the middle of the button's mouse rectangle
};

// Read by find_button: one row per button, the middle of its rectangle.
constexpr ButtonRow kButtons[] = {
    {.gauge = "gpsnav",    .button = "ON",          .x = 108, .y = 31 },
    {.gauge = "gpsnav",    .button = "GO",          .x = 205, .y = 31 },
    {.gauge = "gpsnav",    .button = "LEFT",        .x = 38,  .y = 284},
    {.gauge = "gpsnav",    .button = "UP",          .x = 119, .y = 284},
    {.gauge = "gpsnav",    .button = "DOWN",        .x = 194, .y = 284},
    {.gauge = "gpsnav",    .button = "RIGHT",       .x = 274, .y = 284},
    {.gauge = "lnav",      .button = "KNOB_DOWN",   .x = 95,  .y = 39 },
    {.gauge = "lnav",      .button = "KNOB_UP",     .x = 115, .y = 39 },
    {.gauge = "lnav",      .button = "HOME",        .x = 211, .y = 39 },
    {.gauge = "lnav",      .button = "BACK",        .x = 35,  .y = 196},
    {.gauge = "lnav",      .button = "FORWARD",     .x = 282, .y = 197},
    {.gauge = "lnav",      .button = "INCREASE",    .x = 103, .y = 277},
    {.gauge = "lnav",      .button = "DECREASE",    .x = 213, .y = 277},
    {.gauge = "vsi",       .button = "RANGE1",      .x = 258, .y = 105},
    {.gauge = "vsi",       .button = "RANGE2",      .x = 258, .y = 121},
    {.gauge = "vsi",       .button = "RANGE3",      .x = 258, .y = 137},
    {.gauge = "vsi",       .button = "MODE1",       .x = 258, .y = 175},
    {.gauge = "vsi",       .button = "MODE2",       .x = 258, .y = 191},
    {.gauge = "vsi",       .button = "MODE3",       .x = 258, .y = 207},
    {.gauge = "alt",       .button = "ZERO",        .x = 155, .y = 159},
    {.gauge = "alt",       .button = "SET_UP",      .x = 39,  .y = 280},
    {.gauge = "alt",       .button = "SET_DOWN",    .x = 13,  .y = 280},
    {.gauge = "gr",        .button = "UP",          .x = 88,  .y = 99 },
    {.gauge = "gr",        .button = "DOWN",        .x = 264, .y = 298},
    {.gauge = "spl",       .button = "OPEN",        .x = 0,   .y = 160},
    {.gauge = "spl",       .button = "HALF",        .x = 255, .y = 160},
    {.gauge = "spl",       .button = "CLOSED",      .x = 509, .y = 160},
    {.gauge = "com",       .button = "VOL_UP",      .x = 130, .y = 27 },
    {.gauge = "com",       .button = "VOL_DOWN",    .x = 108, .y = 27 },
    {.gauge = "com",       .button = "MEM_UP",      .x = 66,  .y = 184},
    {.gauge = "com",       .button = "MEM_DOWN",    .x = 46,  .y = 184},
    {.gauge = "com",       .button = "STORE",       .x = 173, .y = 31 },
    {.gauge = "com",       .button = "COARSE_UP",   .x = 196, .y = 200},
    {.gauge = "com",       .button = "COARSE_DOWN", .x = 136, .y = 200},
    {.gauge = "com",       .button = "FINE_UP",     .x = 176, .y = 200},
    {.gauge = "com",       .button = "FINE_DOWN",   .x = 156, .y = 200},
    {.gauge = "bsw",       .button = "CLOSE",       .x = 18,  .y = 30 },
    {.gauge = "bsw",       .button = "OPEN",        .x = 18,  .y = 67 },
    {.gauge = "ballast",   .button = "P0",          .x = 25,  .y = 29 },
    {.gauge = "ballast",   .button = "P25",         .x = 62,  .y = 29 },
    {.gauge = "ballast",   .button = "P50",         .x = 103, .y = 29 },
    {.gauge = "ballast",   .button = "P75",         .x = 143, .y = 29 },
    {.gauge = "ballast",   .button = "P100",        .x = 178, .y = 29 },
    {.gauge = "ballast",   .button = "MINUS10",     .x = 31,  .y = 94 },
    {.gauge = "ballast",   .button = "PLUS10",      .x = 169, .y = 94 },
    {.gauge = "ballast",   .button = "OPEN",        .x = 59,  .y = 150},
    {.gauge = "ballast",   .button = "CLOSE",       .x = 145, .y = 150},
    {.gauge = "VETswitch", .button = "START",       .x = 18,  .y = 18 },
    {.gauge = "VETswitch", .button = "STOP",        .x = 18,  .y = 55 },
    {.gauge = "VETlamp",   .button = "TOGGLE",      .x = 100, .y = 100},
    {.gauge = "VETsetup",  .button = "UP",          .x = 441, .y = 49 },
    {.gauge = "VETsetup",  .button = "DOWN",        .x = 441, .y = 136},
};

bool same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

} // namespace

std::optional<ButtonPoint> find_button(const std::string &gauge, const std::string &button) {
  for (const ButtonRow &row : kButtons) {
    if (row.gauge == gauge && same(row.button, button)) {
      return ButtonPoint{row.x, row.y};
    }
  }
  return std::nullopt;
}

std::string button_names(const std::string &gauge) {
  std::string out;
  for (const ButtonRow &row : kButtons) {
    if (row.gauge == gauge) {
      if (!out.empty()) {
        out += ' ';
      }
      out += row.button;
    }
  }
  return out.empty() ? "(none)" : out;
}

} // namespace session
