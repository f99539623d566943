// Placing a panel folder's gauges on the host, and the console command that
// does it:
//
//   panel DIR    enter DIR (the modules' working folder), load the modules
//                its panel.cfg names and place its gauges; `snap panel` then
//                draws them where panel.cfg puts them
#pragma once

#include <functional>
#include <string>

#include "host/console.h"
#include "host/host.h"
#include "host/panel_file.h"

namespace gaugehost {

// Loads the modules `panel` names (those not loaded yet) and places its
// gauges in file order. On failure returns false with `error` as
// "FILE:LINE: fault".
bool place_panel(Host &host, const PanelFile &panel, std::string &error);

// Adds `panel DIR`; `placed` hears of each panel placed.
void add_panel_command(Console &console, std::function<void(const PanelFile &)> placed);

} // namespace gaugehost
