// Decodes a module's BMP resource into a Cairo image surface.
//
// Transparency follows the host's bitmap convention: a 32-bit bitmap whose
// fourth bytes are not all zero carries its own alpha; otherwise, when the
// element's drawing flags hold kDrawTransparent, pure black pixels (0,0,0) are
// transparent and every other pixel is opaque.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace render {

struct SurfaceDeleter {
  void operator()(cairo_surface_t *surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Reads an uncompressed BMP of 8 (palette), 24 or 32 bits per pixel, bottom-up
// or top-down. On failure returns null and sets `error`.
Surface decode_bmp(std::span<const uint8_t> bmp, bool black_is_transparent, std::string &error);

} // namespace render
