// Finds one named section in an ELF64 little-endian file image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace gaugeres {

struct ByteRange {
  uint64_t offset;
  uint64_t size;
};

// The file bytes of section `name` in `file`. Returns nullopt with `error`
// set (without the file's name) if the image is not ELF64 little-endian,
// any header or the section-name table reaches past the image, or there is
// no such section with contents in the file.
std::optional<ByteRange> find_elf_section(std::span<const uint8_t> file, const std::string &name,
                                          std::string *error);

} // namespace gaugeres
