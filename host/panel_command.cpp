#include "host/panel_command.h"

#include <unistd.h>

namespace gaugehost {

bool place_panel(Host &host, const PanelFile &panel, std::string &error) {
  const auto fail = [&](const PanelGaugeLine &g) {
    error = panel.file.string() + ":" + std::to_string(g.line) + ": " + error;
    return false;
  };
  for (const auto &g : panel.gauges) {
    if (!host.module_loaded(g.module) && !host.load_module(g.module, error)) {
      return fail(g);
    }
  }
  for (const auto &g : panel.gauges) {
    if (!host.place(g.module, g.gauge, g.placement, error)) {
      return fail(g);
    }
  }
  return true;
}

void add_panel_command(Console &console, std::function<void(const PanelFile &)> placed) {
  console.add_command("panel", [placed](Console &c, const Console::Args &args) {
    if (args.size() != 1) {
      return CommandResult::error("usage: panel DIR");
    }
    std::string error;
    const auto panel = read_panel_file(args[0], error);
    if (!panel) {
      return CommandResult::error(error);
    }
    // The panel file's own folder, also when DIR names the file.
    const auto dir = panel->file.parent_path();
    if (!dir.empty() && chdir(dir.c_str()) != 0) {
      return CommandResult::error("cannot enter folder " + dir.string());
    }
    if (!place_panel(c.host(), *panel, error)) {
      return CommandResult::error(error);
    }
    if (placed) {
      placed(*panel);
    }
    return CommandResult::ok();
  });
}

} // namespace gaugehost
