// Little-endian reads at an offset, bounds-checked against the span.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace gaugeres {

template <typename T> std::optional<T> read_le(std::span<const uint8_t> bytes, uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) {
    value |= static_cast<uint64_t>(bytes[offset + i]) << (8 * i);
  }
  return static_cast<T>(value);
}

// True if [offset, offset + size) lies inside a buffer of `total` bytes.
inline bool range_inside(uint64_t offset, uint64_t size, uint64_t total) {
  return offset <= total && size <= total - offset;
}

} // namespace gaugeres
