// The artwork of every bitmap the three modules use, drawn from code at build
// time. Each instrument group has its own drawing file; each registers its
// bitmaps here by module name and id, with the size the gauges state.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/art/kit.h"

namespace art {

struct Artwork {
  const char *module; // "velmar", "durnik", "ostrel"
  uint32_t id;
  int width_px;
  int height_px;
  Rgb matte; // what the bitmap is expected to lie on (see Picture::to_bmp)
  // Null for an icon's empty image (nothing shown): all key.
  void (*draw)(Picture &picture);
};

// The artwork of each group, in the order its file lists it.
std::span<const Artwork> velmar_nav_artwork();       // gpsnav, lnav
std::span<const Artwork> velmar_companion_artwork(); // caf, mc, test
std::span<const Artwork> durnik_dial_artwork();      // vsi, alt, asi, cmp, sti, ai
std::span<const Artwork> durnik_control_artwork();   // gr, spl, com, bsw, bdp
std::span<const Artwork> ostrel_artwork();           // yaw strings, ballast, VET gauges

// Whether any artwork is drawn for `module` (test modules have none).
bool has_artwork(std::string_view module);
// The artwork of bitmap `id` of `module`, or null when none is drawn.
const Artwork *find_artwork(std::string_view module, uint32_t id);

} // namespace art
