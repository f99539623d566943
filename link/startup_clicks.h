// The pilot's first clicks once a live stream delivers a position: gpsnav
// on (which starts the flight recorder's IGC log) and lnav through its
// start-up pages, as a replay does. lnav shows its start-up pages for 3 s
// before its home button leads on.
#pragma once

#include <vector>

#include "flight/source.h"

namespace live {

class StartupClicks {
public:
  // `data_s`: seconds since the first good data (negative: none yet).
  std::vector<flight::PanelClick> take(double data_s) {
    if (step_ == 0 && data_s >= 0) {
      step_ = 1;
      return {
          {"gpsnav", "ON",      1, 0, true},
          {"lnav",   "KNOB_UP", 5, 0, true}
      };
    }
    if (step_ == 1 && data_s > kLnavStartupS) {
      step_ = 2;
      return {
          {"lnav", "HOME", 1, 0, true}
      };
    }
    return {};
  }

private:
  static constexpr double kLnavStartupS = 4.0;
  int step_ = 0;
};

} // namespace live
