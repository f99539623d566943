#include "render/bmp_image.h"

#include <array>
#include <vector>

#include "platform/resources/byte_reader.h"

namespace render {
namespace {

using gaugeres::range_inside;
using gaugeres::read_le;

// BITMAPFILEHEADER and BITMAPINFOHEADER field offsets.
constexpr uint64_t kPixelOffsetAt = 10;
constexpr uint64_t kInfoSizeAt = 14;
constexpr uint64_t kWidthAt = 18;
constexpr uint64_t kHeightAt = 22;
constexpr uint64_t kBitsAt = 28;
constexpr uint64_t kCompressionAt = 30;
constexpr uint64_t kColoursUsedAt = 46;
constexpr uint64_t kMasksAt = 54; // after a 40-byte header, or inside a V4/V5 header
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitfields = 3;
constexpr int32_t kMaxSidePx = 8192;

struct Masks {
  uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF, alpha = 0xFF000000;
};

uint8_t channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) {
    return 0;
  }
  int shift = 0;
  while (((mask >> shift) & 1U) == 0) {
    ++shift;
  }
  const uint32_t max = mask >> shift;
  return static_cast<uint8_t>(((pixel & mask) >> shift) * 255U / max);
}

} // namespace

Surface decode_bmp(std::span<const uint8_t> bmp, bool black_is_transparent, std::string &error) {
  if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M') {
    error = "not a BMP file";
    return nullptr;
  }
  const auto pixels_at = read_le<uint32_t>(bmp, kPixelOffsetAt);
  const auto info_size = read_le<uint32_t>(bmp, kInfoSizeAt);
  const auto width = read_le<int32_t>(bmp, kWidthAt);
  const auto height_signed = read_le<int32_t>(bmp, kHeightAt);
  const auto bits = read_le<uint16_t>(bmp, kBitsAt);
  const auto compression = read_le<uint32_t>(bmp, kCompressionAt);
  if (!pixels_at || !info_size || !width || !height_signed || !bits || !compression) {
    error = "BMP header cut short";
    return nullptr;
  }
  const bool top_down = *height_signed < 0;
  const int32_t height = top_down ? -*height_signed : *height_signed;
  if (*width <= 0 || height <= 0 || *width > kMaxSidePx || height > kMaxSidePx) {
    error = "BMP size out of range";
    return nullptr;
  }
  if (*bits != 8 && *bits != 24 && *bits != 32) {
    error = "BMP of " + std::to_string(*bits) + " bits per pixel";
    return nullptr;
  }
  Masks masks;
  if (*compression == kCompressionBitfields && *bits == 32) {
    masks.red = read_le<uint32_t>(bmp, kMasksAt).value_or(0);
    masks.green = read_le<uint32_t>(bmp, kMasksAt + 4).value_or(0);
    masks.blue = read_le<uint32_t>(bmp, kMasksAt + 8).value_or(0);
    // Only headers of 56 bytes or more carry the alpha mask.
    masks.alpha = *info_size >= 56 ? read_le<uint32_t>(bmp, kMasksAt + 12).value_or(0) : 0;
  } else if (*compression != kCompressionNone) {
    error = "compressed BMP";
    return nullptr;
  }
  std::vector<std::array<uint8_t, 3>> palette;
  if (*bits == 8) {
    uint32_t colours = read_le<uint32_t>(bmp, kColoursUsedAt).value_or(0);
    if (colours == 0 || colours > 256) {
      colours = 256;
    }
    const uint64_t palette_at = kInfoSizeAt + *info_size;
    for (uint32_t i = 0; i < colours; ++i) {
      const auto entry = read_le<uint32_t>(bmp, palette_at + 4ULL * i);
      if (!entry) {
        break;
      }
      palette.push_back({static_cast<uint8_t>(*entry >> 16), static_cast<uint8_t>(*entry >> 8),
                         static_cast<uint8_t>(*entry)});
    }
  }
  const uint64_t row_bytes = ((static_cast<uint64_t>(*width) * *bits + 31) / 32) * 4;
  if (!range_inside(*pixels_at, row_bytes * height, bmp.size())) {
    error = "BMP pixel data cut short";
    return nullptr;
  }
  // A 32-bit image whose alpha bytes are all zero is an opaque image that
  // did not fill them in.
  bool has_alpha = false;
  if (*bits == 32 && masks.alpha != 0) {
    for (int32_t y = 0; y < height && !has_alpha; ++y) {
      for (int32_t x = 0; x < *width; ++x) {
        const uint32_t pixel = *read_le<uint32_t>(bmp, *pixels_at + y * row_bytes + 4ULL * x);
        if ((pixel & masks.alpha) != 0) {
          has_alpha = true;
          break;
        }
      }
    }
  }

  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, *width, height));
  cairo_surface_flush(surface.get());
  unsigned char *out = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int32_t row = 0; row < height; ++row) {
    const int32_t y = top_down ? row : height - 1 - row;
    const uint64_t in_at = *pixels_at + row * row_bytes;
    auto *dst = reinterpret_cast<uint32_t *>(out + static_cast<ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < *width; ++x) {
      uint8_t r = 0, g = 0, b = 0, a = 255;
      if (*bits == 8) {
        const uint8_t index = bmp[in_at + x];
        if (index < palette.size()) {
          r = palette[index][0];
          g = palette[index][1];
          b = palette[index][2];
        }
      } else if (*bits == 24) {
        b = bmp[in_at + 3ULL * x];
        g = bmp[in_at + 3ULL * x + 1];
        r = bmp[in_at + 3ULL * x + 2];
      } else {
        const uint32_t pixel = *read_le<uint32_t>(bmp, in_at + 4ULL * x);
        r = channel(pixel, masks.red);
        g = channel(pixel, masks.green);
        b = channel(pixel, masks.blue);
        if (has_alpha) {
          a = channel(pixel, masks.alpha);
        }
      }
      if (!has_alpha && black_is_transparent && r == 0 && g == 0 && b == 0) {
        a = 0;
      }
      // Cairo wants premultiplied alpha in native-endian 32-bit words.
      const auto pre = [a](uint8_t c) { return static_cast<uint32_t>(c * a / 255); };
      dst[x] = (static_cast<uint32_t>(a) << 24) | (pre(r) << 16) | (pre(g) << 8) | pre(b);
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

} // namespace render
