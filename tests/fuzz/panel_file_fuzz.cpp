// libFuzzer target: any bytes as a panel folder's panel.cfg. A file is either
// refused with a message naming the file and line, or gives gauges that all
// have a module, a gauge name, a unique placement name and a positive size.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "host/panel_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::string error;
  const auto panel = gaugehost::parse_panel_file(text, "panel.cfg", error);
  if (!panel) {
    if (error.rfind("panel.cfg:", 0) != 0) {
      std::abort();
    }
    return 0;
  }
  std::set<std::string> placements;
  for (const gaugehost::PanelGaugeLine &g : panel->gauges) {
    if (g.module.empty() || g.gauge.empty() || g.width <= 0 || g.height <= 0 ||
        !placements.insert(g.placement).second) {
      std::abort();
    }
  }
  if (panel->gauges.empty() || panel->width <= 0 || panel->height <= 0) {
    std::abort();
  }
  return 0;
}
