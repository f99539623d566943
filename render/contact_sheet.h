// A flight's snapshots on one picture: thumbnails in rows, each with its
// label (the flight time, say) under it, written as PNG at the end of a run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "render/bmp_image.h"

namespace render {

class ContactSheet {
public:
  // Thumbnails are `thumb_scale` of the added images, `columns` to a row.
  explicit ContactSheet(int columns = 4, double thumb_scale = 0.25);

  // Keeps a scaled copy of `image`.
  void add(cairo_surface_t *image, std::string label);
  bool empty() const { return thumbs_.empty(); }
  // On failure returns false and sets `error` (naming the path).
  bool write(const std::filesystem::path &path, std::string &error) const;

private:
  struct Thumb {
    Surface image;
    std::string label;
  };
  int columns_;
  double thumb_scale_;
  std::vector<Thumb> thumbs_;
};

} // namespace render
