// Reads the resources a module carries in its ELF section .gauge_resources:
// bitmaps (Windows BMP files) and SOUND data (RIFF/WAVE files), by numeric id.
//
// Section layout (little-endian), written by resources/rescomp:
//   char     magic[4] = "GRES"
//   uint32_t count
//   count x { uint32_t type; uint32_t id; uint32_t offset; uint32_t size; }
//   data; offsets count from the start of the section.
//
// Everything read from a file is bounds-checked: a damaged module gives an
// error, never a read outside the bytes it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gaugeres {

enum class ResourceType : uint32_t { kBitmap = 1, kSound = 2 };

inline constexpr char kSectionName[] = ".gauge_resources";

struct ResourceEntry {
  ResourceType type;
  int32_t id;
  std::span<const uint8_t> bytes; // into the ResourceFile's own copy of the section
};

class ResourceFile {
public:
  // Reads the section from the module file at `path`. On failure returns
  // nullopt and, if `error` is given, says why (naming the path).
  static std::optional<ResourceFile> open(const std::string &path, std::string *error);
  // Builds from an already extracted section (tests, fuzzing). Rejects a
  // wrong magic, a directory or an entry that reaches past the section, an
  // unknown type and a (type, id) pair given twice.
  static std::optional<ResourceFile> from_section(std::vector<uint8_t> section, std::string *error);

  // Copies re-point their entries into their own section bytes.
  ResourceFile(const ResourceFile &other);
  ResourceFile &operator=(const ResourceFile &other);
  ResourceFile(ResourceFile &&) noexcept = default;
  ResourceFile &operator=(ResourceFile &&) noexcept = default;
  ~ResourceFile() = default;

  std::optional<std::span<const uint8_t>> find(ResourceType type, int32_t id) const;
  const std::vector<ResourceEntry> &entries() const { return entries_; }

private:
  ResourceFile() = default;

  std::vector<uint8_t> section_;
  std::vector<ResourceEntry> entries_;
};

struct BitmapSize {
  uint32_t width_px;
  uint32_t height_px;
};
// Width and height of a BMP file (BITMAPINFOHEADER or a later version; a
// negative height, a top-down image, gives its magnitude), or nullopt if it
// is not one or is cut short.
std::optional<BitmapSize> bitmap_size(std::span<const uint8_t> bmp);

} // namespace gaugeres
