#include "resources/section_writer.h"

#include <cstring>

namespace rescomp {
namespace {

constexpr size_t kHeaderBytes = 8; // magic, count
constexpr size_t kEntryBytes = 16; // type, id, offset, size
constexpr size_t kDataAlignBytes = 4;

void put_u32(std::vector<uint8_t> &out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    out[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

size_t align_up(size_t n) {
  return (n + kDataAlignBytes - 1) / kDataAlignBytes * kDataAlignBytes;
}

} // namespace

std::optional<std::vector<uint8_t>> build_section(const std::vector<SectionEntry> &entries,
                                                  std::string *error) {
  size_t total = kHeaderBytes + kEntryBytes * entries.size();
  for (const auto &entry : entries) {
    total = align_up(total) + entry.bytes.size();
  }
  if (total > UINT32_MAX) {
    if (error) {
      *error = "resource section of " + std::to_string(total) + " bytes exceeds 4 GiB";
    }
    return std::nullopt;
  }
  std::vector<uint8_t> out(total, 0);
  std::memcpy(out.data(), "GRES", 4);
  put_u32(out, 4, static_cast<uint32_t>(entries.size()));
  size_t data_at = kHeaderBytes + kEntryBytes * entries.size();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto &entry = entries[i];
    data_at = align_up(data_at);
    const size_t dir = kHeaderBytes + kEntryBytes * i;
    put_u32(out, dir, entry.type);
    put_u32(out, dir + 4, entry.id);
    put_u32(out, dir + 8, static_cast<uint32_t>(data_at));
    put_u32(out, dir + 12, static_cast<uint32_t>(entry.bytes.size()));
    if (!entry.bytes.empty()) {
      std::memcpy(out.data() + data_at, entry.bytes.data(), entry.bytes.size());
    }
    data_at += entry.bytes.size();
  }
  return out;
}

} // namespace rescomp
