#include "render/snap_command.h"

#include <cstdio>

#include "render/contact_sheet.h"

namespace render {

void add_snap_commands(gaugehost::Console &console, std::shared_ptr<Renderer> renderer,
                       LayoutSource layout) {
  if (!layout) {
    layout = [](gaugehost::Host &host, double scale) {
      return row_layout(host, scale, static_cast<int>(1800 * scale));
    };
  }
  auto sheet = std::make_shared<ContactSheet>();
  console.add_command("snap", [renderer, layout, sheet](gaugehost::Console &c,
                                                        const gaugehost::Console::Args &args) {
    if (args.size() == 2 && args[0] == "sheet") {
      std::string error;
      if (sheet->empty() || !sheet->write(args[1], error)) {
        return gaugehost::CommandResult::error(sheet->empty() ? "no snapshots yet" : error);
      }
      return gaugehost::CommandResult::ok();
    }
    if (args.size() != 2 && args.size() != 3) {
      return gaugehost::CommandResult::error("usage: snap NAME|panel FILE [SCALE]");
    }
    double scale = 1.0;
    if (args.size() == 3) {
      const auto parsed = gaugehost::Console::parse_double(args[2]);
      if (!parsed || !(*parsed > 0)) {
        return gaugehost::CommandResult::error("bad scale " + args[2]);
      }
      scale = *parsed;
    }
    Surface image;
    if (args[0] == "panel") {
      image = render_panel(*renderer, c.host(), layout(c.host(), scale));
    } else {
      const gaugehost::PlacedGauge *gauge = c.host().gauge(args[0]);
      if (gauge == nullptr) {
        return gaugehost::CommandResult::error("unknown gauge " + args[0]);
      }
      image = render_gauge(*renderer, *gauge, scale);
    }
    std::string error;
    if (!write_png(image.get(), args[1], error)) {
      return gaugehost::CommandResult::error(error);
    }
    char label[96];
    std::snprintf(label, sizeof label, "%s at %.1f s", args[0].c_str(),
                  static_cast<double>(c.host().time_ms()) / 1000.0);
    sheet->add(image.get(), label);
    return gaugehost::CommandResult::ok();
  });
}

} // namespace render
