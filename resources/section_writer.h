// Writes a module's resource section (the layout is in
// platform/resources/resource_file.h): "GRES", count, directory, data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rescomp {

struct SectionEntry {
  uint32_t type; // gaugeres::ResourceType
  uint32_t id;
  std::vector<uint8_t> bytes;
};

// Data follow the directory in entry order, each started on a 4-byte
// boundary (padding is zero). Returns nullopt with `error` set if the
// section would not fit 32-bit offsets.
std::optional<std::vector<uint8_t>> build_section(const std::vector<SectionEntry> &entries,
                                                  std::string *error);

} // namespace rescomp
