// Little-endian writes into a byte buffer: the counterpart of byte_reader.h,
// used by everything that writes RIFF/WAVE, BMP or resource-section bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace gaugeres {

inline void put_u16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put_u32(std::vector<uint8_t> &out, uint32_t v) {
  put_u16(out, static_cast<uint16_t>(v));
  put_u16(out, static_cast<uint16_t>(v >> 16));
}

// A four-character chunk tag such as "RIFF", without its terminator. Byte by
// byte: g++ 12 at -O3 mistakes a range insert after put_u32 for an overflow.
inline void put_tag(std::vector<uint8_t> &out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(tag[i]));
  }
}

} // namespace gaugeres
