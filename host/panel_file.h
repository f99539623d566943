// The panel folder's panel.cfg: which gauges go where, in the format pilots
// know from aircraft panel files.
//
//   [Window]
//   size=1600,1000                      # optional: the window in pixels
//   gauge00=velmar!gpsnav, 0, 0, 315, 315
//   gauge01=velmar!lnav, 320, 0, 315, 315
//
// One `gaugeNN=MODULE!GAUGE, X, Y, W, H` line per gauge: the module (its
// MODULE.so), the gauge's name in it, and the rectangle on the panel in
// pixels (the gauge is scaled to W x H). `;` and `//` start comments; other
// sections are ignored; keys are case-insensitive. The panel folder is also
// the working folder in which the modules open their data files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace gaugehost {

struct PanelGaugeLine {
  std::string module;
  std::string gauge;
  std::string placement; // unique: the gauge's name, "_2", "_3" ... for repeats
  int x = 0, y = 0, width = 0, height = 0;
  int line = 0;
};

struct PanelFile {
  std::filesystem::path file;
  int width = 0, height = 0; // window size; the gauges' bounding box if not given
  std::vector<PanelGaugeLine> gauges;
};

// Parses panel.cfg text. On failure returns nullopt with `error` as
// "FILE:LINE: fault".
std::optional<PanelFile> parse_panel_file(const std::string &text,
                                          const std::filesystem::path &file, std::string &error);
// Reads DIR/panel.cfg (or the file itself when given a file).
std::optional<PanelFile> read_panel_file(const std::filesystem::path &path, std::string &error);

} // namespace gaugehost
