#include "platform/resources/elf_section.h"

#include <cstring>

#include "platform/resources/byte_reader.h"

namespace gaugeres {
namespace {

// ELF64 header and section header fields used here (offsets in bytes).
constexpr uint8_t kElfMagic[4] = {0x7F, 'E', 'L', 'F'};
constexpr uint64_t kIdentClass = 4;
constexpr uint64_t kIdentData = 5;
constexpr uint8_t kClass64 = 2;
constexpr uint8_t kDataLittleEndian = 1;
constexpr uint64_t kElfHeaderBytes = 64;
constexpr uint64_t kHeaderShoff = 0x28;
constexpr uint64_t kHeaderShentsize = 0x3A;
constexpr uint64_t kHeaderShnum = 0x3C;
constexpr uint64_t kHeaderShstrndx = 0x3E;

constexpr uint64_t kSectionHeaderBytes = 64;
constexpr uint64_t kShName = 0;
constexpr uint64_t kShType = 4;
constexpr uint64_t kShOffset = 24;
constexpr uint64_t kShSize = 32;
constexpr uint64_t kShLink = 40;
constexpr uint32_t kTypeNoBits = 8; // SHT_NOBITS: occupies no file bytes
constexpr uint16_t kShnXindex = 0xFFFF;

struct SectionTable {
  std::span<const uint8_t> file;
  uint64_t offset;
  uint64_t entry_bytes;
  uint64_t count;

  uint64_t at(uint64_t index) const { return offset + index * entry_bytes; }
};

bool fail(std::string *error, const std::string &what) {
  if (error) {
    *error = what;
  }
  return false;
}

// Contents of section `index` as a range of the file, checked to lie inside.
std::optional<ByteRange> section_range(const SectionTable &table, uint64_t index,
                                       std::string *error) {
  const uint64_t at = table.at(index);
  const auto type = read_le<uint32_t>(table.file, at + kShType);
  const auto offset = read_le<uint64_t>(table.file, at + kShOffset);
  const auto size = read_le<uint64_t>(table.file, at + kShSize);
  if (!type || !offset || !size) {
    fail(error, "section header " + std::to_string(index) + " is cut short");
    return std::nullopt;
  }
  if (*type == kTypeNoBits) {
    fail(error, "section " + std::to_string(index) + " has no contents in the file");
    return std::nullopt;
  }
  if (!range_inside(*offset, *size, table.file.size())) {
    fail(error, "section " + std::to_string(index) + " reaches past the end of the file");
    return std::nullopt;
  }
  return ByteRange{*offset, *size};
}

} // namespace

std::optional<ByteRange> find_elf_section(std::span<const uint8_t> file, const std::string &name,
                                          std::string *error) {
  if (file.size() < kElfHeaderBytes || std::memcmp(file.data(), kElfMagic, 4) != 0) {
    fail(error, "not an ELF file");
    return std::nullopt;
  }
  if (file[kIdentClass] != kClass64 || file[kIdentData] != kDataLittleEndian) {
    fail(error, "not a 64-bit little-endian ELF file");
    return std::nullopt;
  }
  SectionTable table{.file = file,
                     .offset = *read_le<uint64_t>(file, kHeaderShoff),
                     .entry_bytes = *read_le<uint16_t>(file, kHeaderShentsize),
                     .count = *read_le<uint16_t>(file, kHeaderShnum)};
  uint64_t names_index = *read_le<uint16_t>(file, kHeaderShstrndx);
  if (table.offset == 0) {
    fail(error, "no section headers");
    return std::nullopt;
  }
  if (table.entry_bytes < kSectionHeaderBytes) {
    fail(error, "section header size " + std::to_string(table.entry_bytes) + " is too small");
    return std::nullopt;
  }
  // Very many sections: the count and the name-table index live in the
  // first section header.
  if (table.count == 0 || names_index == kShnXindex) {
    if (!range_inside(table.offset, kSectionHeaderBytes, file.size())) {
      fail(error, "section headers reach past the end of the file");
      return std::nullopt;
    }
    if (table.count == 0) {
      table.count = *read_le<uint64_t>(file, table.offset + kShSize);
    }
    if (names_index == kShnXindex) {
      names_index = *read_le<uint32_t>(file, table.offset + kShLink);
    }
  }
  if (table.count > file.size() / table.entry_bytes ||
      !range_inside(table.offset, table.count * table.entry_bytes, file.size())) {
    fail(error, "section headers reach past the end of the file");
    return std::nullopt;
  }
  if (names_index >= table.count) {
    fail(error, "section name table index " + std::to_string(names_index) + " is out of range");
    return std::nullopt;
  }
  const auto names = section_range(table, names_index, error);
  if (!names) {
    return std::nullopt;
  }
  const auto name_table = file.subspan(names->offset, names->size);
  for (uint64_t i = 0; i < table.count; ++i) {
    const uint32_t name_at = *read_le<uint32_t>(file, table.at(i) + kShName);
    if (name_at >= name_table.size()) {
      continue; // a damaged name matches nothing
    }
    const auto rest = name_table.subspan(name_at);
    const size_t length = strnlen(reinterpret_cast<const char *>(rest.data()), rest.size());
    if (length == rest.size()) {
      continue; // unterminated
    }
    if (length == name.size() && std::memcmp(rest.data(), name.data(), length) == 0) {
      return section_range(table, i, error);
    }
  }
  fail(error, "no section " + name);
  return std::nullopt;
}

} // namespace gaugeres
