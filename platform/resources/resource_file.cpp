#include "platform/resources/resource_file.h"

#include <cstring>
#include <fstream>
#include <set>

#include "platform/resources/byte_reader.h"
#include "platform/resources/elf_section.h"

namespace gaugeres {
namespace {

constexpr uint64_t kHeaderBytes = 8; // magic, count
constexpr uint64_t kEntryBytes = 16; // type, id, offset, size

// BMP: 14-byte file header, then the info header whose first word is its size.
constexpr uint64_t kBmpInfoAt = 14;
constexpr uint32_t kBmpInfoHeaderBytes = 40; // BITMAPINFOHEADER; later versions are longer
constexpr uint64_t kBmpWidthAt = 18;
constexpr uint64_t kBmpHeightAt = 22;

bool set_error(std::string *error, const std::string &what) {
  if (error) {
    *error = what;
  }
  return false;
}

std::optional<std::vector<uint8_t>> read_file(const std::string &path, std::string *error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    set_error(error, path + ": cannot open");
    return std::nullopt;
  }
  const std::streamoff size = in.tellg();
  if (size < 0) {
    set_error(error, path + ": cannot read");
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char *>(bytes.data()), size)) {
    set_error(error, path + ": cannot read");
    return std::nullopt;
  }
  return bytes;
}

} // namespace

std::optional<ResourceFile> ResourceFile::open(const std::string &path, std::string *error) {
  auto file = read_file(path, error);
  if (!file) {
    return std::nullopt;
  }
  std::string why;
  const auto range = find_elf_section(*file, kSectionName, &why);
  if (!range) {
    set_error(error, path + ": " + why);
    return std::nullopt;
  }
  std::vector<uint8_t> section(file->begin() + static_cast<std::ptrdiff_t>(range->offset),
                               file->begin() +
                                   static_cast<std::ptrdiff_t>(range->offset + range->size));
  auto resources = from_section(std::move(section), &why);
  if (!resources) {
    set_error(error, path + ": section " + kSectionName + ": " + why);
  }
  return resources;
}

std::optional<ResourceFile> ResourceFile::from_section(std::vector<uint8_t> section,
                                                       std::string *error) {
  ResourceFile out;
  out.section_ = std::move(section);
  const std::span<const uint8_t> bytes = out.section_;
  if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), "GRES", 4) != 0) {
    set_error(error, "no resource directory (magic \"GRES\" missing)");
    return std::nullopt;
  }
  const uint64_t count = *read_le<uint32_t>(bytes, 4);
  if (count > (bytes.size() - kHeaderBytes) / kEntryBytes) {
    set_error(error, "directory of " + std::to_string(count) + " entries reaches past the section");
    return std::nullopt;
  }
  std::set<std::pair<uint32_t, uint32_t>> seen;
  out.entries_.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = kHeaderBytes + i * kEntryBytes;
    const uint32_t type = *read_le<uint32_t>(bytes, at);
    const uint32_t id = *read_le<uint32_t>(bytes, at + 4);
    const uint32_t offset = *read_le<uint32_t>(bytes, at + 8);
    const uint32_t size = *read_le<uint32_t>(bytes, at + 12);
    const std::string which = "entry " + std::to_string(i) + " (id " + std::to_string(id) + ")";
    if (type != static_cast<uint32_t>(ResourceType::kBitmap) &&
        type != static_cast<uint32_t>(ResourceType::kSound)) {
      set_error(error, which + " has unknown type " + std::to_string(type));
      return std::nullopt;
    }
    if (!range_inside(offset, size, bytes.size())) {
      set_error(error, which + " reaches past the section");
      return std::nullopt;
    }
    if (!seen.emplace(type, id).second) {
      set_error(error, which + " repeats an id of its type");
      return std::nullopt;
    }
    out.entries_.push_back({.type = static_cast<ResourceType>(type),
                            .id = static_cast<int32_t>(id),
                            .bytes = bytes.subspan(offset, size)});
  }
  return out;
}

ResourceFile::ResourceFile(const ResourceFile &other)
    : section_(other.section_), entries_(other.entries_) {
  for (auto &entry : entries_) {
    entry.bytes = std::span<const uint8_t>(section_).subspan(
        static_cast<size_t>(entry.bytes.data() - other.section_.data()), entry.bytes.size());
  }
}

ResourceFile &ResourceFile::operator=(const ResourceFile &other) {
  if (this != &other) {
    ResourceFile copy(other);
    *this = std::move(copy);
  }
  return *this;
}

std::optional<std::span<const uint8_t>> ResourceFile::find(ResourceType type, int32_t id) const {
  for (const auto &entry : entries_) {
    if (entry.type == type && entry.id == id) {
      return entry.bytes;
    }
  }
  return std::nullopt;
}

std::optional<BitmapSize> bitmap_size(std::span<const uint8_t> bmp) {
  if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M') {
    return std::nullopt;
  }
  const auto info_bytes = read_le<uint32_t>(bmp, kBmpInfoAt);
  const auto width = read_le<int32_t>(bmp, kBmpWidthAt);
  const auto height = read_le<int32_t>(bmp, kBmpHeightAt);
  if (!info_bytes || *info_bytes < kBmpInfoHeaderBytes || !width || !height ||
      !range_inside(kBmpInfoAt, *info_bytes, bmp.size())) {
    return std::nullopt;
  }
  // INT32_MIN has no positive magnitude in 32 bits: not a real image.
  if (*width <= 0 || *height == 0 || *height == INT32_MIN) {
    return std::nullopt;
  }
  return BitmapSize{.width_px = static_cast<uint32_t>(*width),
                    .height_px = static_cast<uint32_t>(*height < 0 ? -*height : *height)};
}

} // namespace gaugeres
