#include "resources/placeholder_bitmap.h"

#include "platform/resources/byte_writer.h"

#include <array>
#include <cstdio>

namespace rescomp {
namespace {

using gaugeres::put_u16;
using gaugeres::put_u32;

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER
constexpr uint32_t kPixelsPerMetre = 2835; // 72 dpi

// 3x5 pixel hex digits: five rows of three pixels, top row first, as binary
// digit groups (1 = ink). Who reads this: draw_digit.
constexpr std::array<uint16_t, 16> kHexFont = {
    0b111'101'101'101'111, // 0
    0b010'110'010'010'111, // 1
    0b111'001'111'100'111, // 2
    0b111'001'011'001'111, // 3
    0b101'101'111'001'001, // 4
    0b111'100'111'001'111, // 5
    0b111'100'111'101'111, // 6
    0b111'001'001'010'010, // 7
    0b111'101'111'101'111, // 8
    0b111'101'111'001'111, // 9
    0b010'101'111'101'101, // A
    0b110'101'110'101'110, // B
    0b111'100'100'100'111, // C
    0b110'101'101'101'110, // D
    0b111'100'110'100'111, // E
    0b111'100'110'100'100, // F
};

struct Rgb {
  uint8_t r, g, b;
};

class Canvas {
public:
  Canvas(uint32_t width_px, uint32_t height_px)
      : width_px_(width_px), height_px_(height_px), stride_(row_stride(width_px)),
        pixels_(static_cast<size_t>(stride_) * height_px, 0) {}

  static uint32_t row_stride(uint32_t width_px) { return (width_px * 3 + 3) / 4 * 4; }

  // (x, y) from the top-left corner; the file stores rows bottom-up.
  void set(uint32_t x, uint32_t y, Rgb c) {
    if (x >= width_px_ || y >= height_px_) {
      return;
    }
    const size_t at = static_cast<size_t>(height_px_ - 1 - y) * stride_ + x * 3;
    pixels_[at] = c.b;
    pixels_[at + 1] = c.g;
    pixels_[at + 2] = c.r;
  }

  const std::vector<uint8_t> &pixels() const { return pixels_; }

private:
  uint32_t width_px_;
  uint32_t height_px_;
  uint32_t stride_;
  std::vector<uint8_t> pixels_;
};

// A mid-tone colour that differs between neighbouring ids.
Rgb colour_for(uint32_t id) {
  uint32_t h = id * 2654435761u; // Knuth's multiplicative hash
  h ^= h >> 15;
  return {static_cast<uint8_t>(64 + (h & 0x7F)), static_cast<uint8_t>(64 + ((h >> 8) & 0x7F)),
          static_cast<uint8_t>(64 + ((h >> 16) & 0x7F))};
}

void draw_digit(Canvas &canvas, int digit, uint32_t left, uint32_t top, uint32_t scale, Rgb ink) {
  for (uint32_t row = 0; row < 5; ++row) {
    for (uint32_t col = 0; col < 3; ++col) {
      if ((kHexFont[digit] >> ((4 - row) * 3 + (2 - col)) & 1) == 0) {
        continue;
      }
      for (uint32_t dy = 0; dy < scale; ++dy) {
        for (uint32_t dx = 0; dx < scale; ++dx) {
          canvas.set(left + col * scale + dx, top + row * scale + dy, ink);
        }
      }
    }
  }
}

} // namespace

std::vector<uint8_t> make_placeholder_bitmap(uint32_t id, uint32_t width_px, uint32_t height_px) {
  Canvas canvas(width_px, height_px);
  const Rgb fill = colour_for(id);
  const Rgb frame{255, 255, 255};
  const Rgb ink{0, 0, 0};
  for (uint32_t y = 0; y < height_px; ++y) {
    for (uint32_t x = 0; x < width_px; ++x) {
      const bool edge = x == 0 || y == 0 || x + 1 == width_px || y + 1 == height_px;
      canvas.set(x, y, edge ? frame : fill);
    }
  }
  char digits[16];
  const int count = std::snprintf(digits, sizeof digits, "%X", id);
  // Digits are 3 units wide plus 1 unit gap; scale them to about a third of
  // the width, at least one pixel per unit. Clipped on tiny images.
  const uint32_t scale = std::max<uint32_t>(1, width_px / (3 * 4 * static_cast<uint32_t>(count)));
  for (int i = 0; i < count; ++i) {
    const char c = digits[i];
    const int digit = c <= '9' ? c - '0' : c - 'A' + 10;
    draw_digit(canvas, digit, 2 + static_cast<uint32_t>(i) * 4 * scale, 2, scale, ink);
  }

  const auto &pixels = canvas.pixels();
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderBytes + kInfoHeaderBytes + pixels.size());
  out.push_back('B');
  out.push_back('M');
  put_u32(out, static_cast<uint32_t>(kFileHeaderBytes + kInfoHeaderBytes + pixels.size()));
  put_u32(out, 0); // reserved
  put_u32(out, kFileHeaderBytes + kInfoHeaderBytes);
  put_u32(out, kInfoHeaderBytes);
  put_u32(out, width_px);
  put_u32(out, height_px); // positive: bottom-up rows
  put_u16(out, 1);         // planes
  put_u16(out, 24);        // bits per pixel
  put_u32(out, 0);         // BI_RGB
  put_u32(out, static_cast<uint32_t>(pixels.size()));
  put_u32(out, kPixelsPerMetre);
  put_u32(out, kPixelsPerMetre);
  put_u32(out, 0); // palette colours
  put_u32(out, 0); // important colours
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

} // namespace rescomp
