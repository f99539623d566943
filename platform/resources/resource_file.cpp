// Placeholder until the ELF reader lands.
#include "platform/resources/resource_file.h"

namespace gaugeres {
std::optional<ResourceFile> ResourceFile::open(const std::string& path, std::string* error) {
  if (error) *error = path + ": resources not supported yet";
  return std::nullopt;
}
std::optional<ResourceFile> ResourceFile::from_section(std::vector<uint8_t>, std::string* error) {
  if (error) *error = "resources not supported yet";
  return std::nullopt;
}
std::optional<std::span<const uint8_t>> ResourceFile::find(ResourceType, int32_t) const {
  return std::nullopt;
}
std::optional<BitmapSize> bitmap_size(std::span<const uint8_t>) { return std::nullopt; }
} // namespace gaugeres
