// Loading and unloading one gauge module file.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "frame/gauge.h"
#include "frame/panel_services.h"
#include "platform/resources/resource_file.h"

namespace gaugehost {

struct LoadedModule {
  std::string name;
  std::filesystem::path path;
  void *library = nullptr;
  LinkageRecord *linkage = nullptr;
  ImportTableRecord *import_table = nullptr;
  uint32_t host_value = 0; // passed with service 3; names the module to the sound library
  std::optional<gaugeres::ResourceFile> resources;
};

// Maps the module at `path` (dlopen, RTLD_NOW | RTLD_LOCAL), finds Linkage
// and ImportTable, checks them, writes `services` into ImportTable and
// registers the module's sounds under `host_value`. Does not call the start
// routine. On failure closes what it opened and sets `error` (path and cause).
std::unique_ptr<LoadedModule> open_module(const std::string &name,
                                          const std::filesystem::path &path,
                                          const PanelServices *services, uint32_t host_value,
                                          std::string &error);
void close_module(LoadedModule &module);

// Width and height of bitmap `resource_id` of the module, if it has one.
std::optional<gaugeres::BitmapSize> module_bitmap_size(const LoadedModule &module,
                                                       int32_t resource_id);

} // namespace gaugehost
