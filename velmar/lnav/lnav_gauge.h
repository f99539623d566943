// The lnav gauge header that velmar's gauge list points to.
#pragma once

#include "frame/gauge.h"

namespace lnav {

// Variometer and final-glide computer: 23 elements, each the only child of
// the one before, and seven buttons.
extern GaugeHeader gauge_header;

inline constexpr int kElementCount = 23;

} // namespace lnav
