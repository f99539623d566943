// Names for every gauge button, for scenarios (`click gpsnav ON`): the point
// in the gauge's design pixels that a pilot's finger hits.
#pragma once

#include <optional>
#include <string>

namespace session {

struct ButtonPoint {
  int x = 0, y = 0; // design pixels of the gauge
};

// The button `button` (case-insensitive) of gauge `gauge`, or nullopt.
std::optional<ButtonPoint> find_button(const std::string &gauge, const std::string &button);
// "ON GO LEFT ..." for messages.
std::string button_names(const std::string &gauge);

} // namespace session
