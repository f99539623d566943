// The twelve pages of the display: what the two lines show on each.
#pragma once

#include <cstdint>

namespace velmar::gpsnav {

inline constexpr int32_t kFirstPage = 17; // version
inline constexpr int32_t kPositionPage = 18;
inline constexpr int32_t kWindPage = 19;
inline constexpr int32_t kNavigatePage = 20;
inline constexpr int32_t kLastPointPage = 21;
inline constexpr int32_t kTaskPointPage = 22;
inline constexpr int32_t kNamePage = 23;
inline constexpr int32_t kTurnpointDistancePage = 24;
inline constexpr int32_t kLandpointDistancePage = 25;
inline constexpr int32_t kTaskSelectPage = 26;
inline constexpr int32_t kDeclarePage = 27;
inline constexpr int32_t kStartPage = 28;
inline constexpr int32_t kLastPage = 28;

// Sets line 1 (and on some pages line 2) for the current page, empties the
// fields the page does not use and blanks the arrow with them. Runs after
// the navigation update of each cycle while the unit is on.
void set_page_texts();

// Line 2 for the current page while the unit is on: a position text, the
// task point's state, the shown name, or the text last set.
const char *line2_text();

} // namespace velmar::gpsnav
