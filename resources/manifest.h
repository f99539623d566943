// The resource manifest of one module (resources/MODULE.res), read by rescomp.
//
// One resource per line; `#` starts a comment that runs to the end of the line;
// blank lines are ignored. Ids are decimal or 0x hexadecimal, 0 to 0x7FFFFFFF.
//
//   bitmap ID WIDTH HEIGHT [free comment]   24-bit BMP drawn by resources/art, WIDTH x HEIGHT px
//   sound  ID GENERATOR    [free comment]   RIFF/WAVE PCM made by a named generator
//
// Sample:
//   bitmap 0x2710 226 170  gpsnav background
//   sound  0x2C00 climb_tone
//
// An id may appear once per type; a bitmap and a sound may share an id.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rescomp {

enum class ManifestKind { kBitmap, kSound };

struct ManifestEntry {
  ManifestKind kind;
  uint32_t id;
  int line;              // 1-based line in the manifest, for messages
  uint32_t width_px = 0; // bitmaps
  uint32_t height_px = 0;
  std::string generator; // sounds
};

// Largest bitmap side; keeps a typo from writing gigabytes.
inline constexpr uint32_t kMaxBitmapSidePx = 8192;

// Parses manifest `text`. `name` (the file's path) prefixes every message:
// "NAME:LINE: what is wrong". Returns nullopt with `error` set on the first
// fault. Generator names are checked against the known generators.
std::optional<std::vector<ManifestEntry>>
parse_manifest(const std::string &text, const std::string &name, std::string *error);

} // namespace rescomp
