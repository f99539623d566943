// Reads the resources a module carries in its ELF section .gauge_resources:
// bitmaps (Windows BMP files) and SOUND data (RIFF/WAVE files), by numeric id.
//
// Section layout (little-endian), written by resources/rescomp:
//   char     magic[4] = "GRES"
//   uint32_t count
//   count x { uint32_t type; uint32_t id; uint32_t offset; uint32_t size; }
//   data; offsets count from the start of the section.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gaugeres {

enum class ResourceType : uint32_t { kBitmap = 1, kSound = 2 };

struct ResourceEntry {
  ResourceType type;
  int32_t id;
  std::span<const uint8_t> bytes;
};

class ResourceFile {
public:
  // Reads the section from the module file at `path`. On failure returns
  // nullopt and, if `error` is given, says why (naming the path).
  static std::optional<ResourceFile> open(const std::string& path, std::string* error);
  // Builds from an already extracted section (tests, fuzzing).
  static std::optional<ResourceFile> from_section(std::vector<uint8_t> section, std::string* error);

  std::optional<std::span<const uint8_t>> find(ResourceType type, int32_t id) const;
  const std::vector<ResourceEntry>& entries() const { return entries_; }

private:
  std::vector<uint8_t> section_;
  std::vector<ResourceEntry> entries_;
};

struct BitmapSize {
  uint32_t width_px;
  uint32_t height_px;
};
// Width and height of a BMP file, or nullopt if it is not one.
std::optional<BitmapSize> bitmap_size(std::span<const uint8_t> bmp);

} // namespace gaugeres
