// Console commands that write PNG snapshots:
//
//   snap NAME FILE [SCALE]     one placed gauge at its design size times SCALE
//   snap panel FILE [SCALE]    every placed gauge as the panel layout places it
//   snap sheet FILE            the snapshots taken so far as one contact sheet,
//                              each labelled with what it shows and the host time
//
// The layout comes from `layout` at each snapshot (a panel folder's placement
// once there is one; by default every gauge in rows at design size).
#pragma once

#include <functional>
#include <memory>

#include "host/console.h"
#include "render/renderer.h"

namespace render {

using LayoutSource = std::function<PanelLayout(gaugehost::Host &, double scale)>;

void add_snap_commands(gaugehost::Console &console, std::shared_ptr<Renderer> renderer,
                       LayoutSource layout = nullptr);

} // namespace render
