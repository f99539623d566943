// Loading and unloading one gauge module file.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/gauge.h"
#include "frame/panel_services.h"
#include "platform/resources/resource_file.h"

namespace gaugehost {

// Bounds of a gauge's element tree. The modules' deepest tree is a handful of
// levels and their largest has about 60 elements; a tree beyond these is a
// broken table, not a gauge.
inline constexpr int kMaxElementDepth = 32;
inline constexpr size_t kMaxElements = 4096;

struct LoadedModule {
  std::string name;
  std::filesystem::path path;
  void *library = nullptr;
  LinkageRecord *linkage = nullptr;
  ImportTableRecord *import_table = nullptr;
  std::vector<GaugeHeader *> gauges; // Linkage's gauge list up to its null entry
  uint32_t host_value = 0;           // passed with service 3; names the module to the sound library
  std::optional<gaugeres::ResourceFile> resources;
};

// One element of a flattened tree.
struct FlatElement {
  Element *element;
  int depth; // root 0
};

// Depth-first flattening of the tree under `root`: an element before its
// children, children in list order. Returns false with `error` for a tree
// that loops back into itself, is deeper than kMaxElementDepth or holds more
// than kMaxElements elements; `out` is then incomplete.
bool flatten_elements(Element *root, std::vector<FlatElement> &out, std::string &error);

// Checks that `path` is an ELF shared object whose segments all lie inside
// the file, so that mapping it cannot fault on a cut-short file. Returns
// false with `error` naming the file and the cause.
bool check_elf_file(const std::filesystem::path &path, std::string &error);

// Checks the file (check_elf_file), maps it (dlopen, RTLD_NOW | RTLD_LOCAL),
// finds Linkage and ImportTable and checks them and every gauge's tables
// (module id, a gauge list ended within its 16 entries, a root static image
// and a bounded acyclic element tree per gauge), writes `services` into
// ImportTable and registers the module's sounds under `host_value`. Does not
// call the start routine. On failure closes what it opened and sets `error`
// (path and cause).
std::unique_ptr<LoadedModule> open_module(const std::string &name,
                                          const std::filesystem::path &path,
                                          const PanelServices *services, uint32_t host_value,
                                          std::string &error);
void close_module(LoadedModule &module);

// Width and height of bitmap `resource_id` of the module, if it has one.
std::optional<gaugeres::BitmapSize> module_bitmap_size(const LoadedModule &module,
                                                       int32_t resource_id);

} // namespace gaugehost
