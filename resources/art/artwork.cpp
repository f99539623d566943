#include "resources/art/artwork.h"

namespace art {

bool has_artwork(std::string_view module) {
  for (auto group : {velmar_nav_artwork(), velmar_companion_artwork(), durnik_dial_artwork(),
                     durnik_control_artwork(), ostrel_artwork()}) {
    for (const Artwork &a : group) {
      if (module == a.module) {
        return true;
      }
    }
  }
  return false;
}

const Artwork *find_artwork(std::string_view module, uint32_t id) {
  for (auto group : {velmar_nav_artwork(), velmar_companion_artwork(), durnik_dial_artwork(),
                     durnik_control_artwork(), ostrel_artwork()}) {
    for (const Artwork &a : group) {
      if (module == a.module && a.id == id) {
        return &a;
      }
    }
  }
  return nullptr;
}

} // namespace art
