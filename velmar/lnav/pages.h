// The text line of lnav and the page logic behind it: which page shows what,
// and the visibility flags each page sets for the other elements.
#pragma once

#include <cstdint>

namespace lnav {

// Pages of the text line; 1 and 2 lead from power-on to the others.
inline constexpr int32_t kPageOff = 0;
inline constexpr int32_t kPageSplash = 1;
inline constexpr int32_t kPageStartAltimeter = 2;
inline constexpr int32_t kPageFlightTime = 18;
inline constexpr int32_t kPageAltimeter = 19;
inline constexpr int32_t kPageWind = 20;
inline constexpr int32_t kPageMacCready = 21;
inline constexpr int32_t kPageGoalAltitude = 22;
inline constexpr int32_t kPageElevation = 23;
inline constexpr int32_t kPageGoalHeight = 24;
inline constexpr int32_t kPageCompensation = 25;
inline constexpr int32_t kPageResponse = 26;
inline constexpr int32_t kPageScale = 27;
inline constexpr int32_t kPageAltMode = 28;
inline constexpr int32_t kPageSinkTone = 29;

// Seconds of the splash page after power-on.
inline constexpr int32_t kSplashSeconds = 3;

// Simulator time of day from tokens 0x03..0x05, in whole seconds.
int64_t read_time_of_day_s();

// Runs on every call of the text line's element: the altitude read and the
// wind filter, then, while on, the current page's text into page_text and
// its flags. Off, the text is empty.
void produce_page_text();

} // namespace lnav
