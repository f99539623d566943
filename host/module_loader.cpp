#include "host/module_loader.h"

#include <cstdio>
#include <dlfcn.h>

#include "platform/fssound/fssound_host.h"

namespace gaugehost {

std::unique_ptr<LoadedModule> open_module(const std::string &name,
                                          const std::filesystem::path &path,
                                          const PanelServices *services, uint32_t host_value,
                                          std::string &error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "missing module " + path.string();
    return nullptr;
  }
  void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char *cause = dlerror();
    error = "cannot load " + path.string() + ": " + (cause ? cause : "unknown error");
    return nullptr;
  }
  auto *linkage = static_cast<LinkageRecord *>(dlsym(library, "Linkage"));
  auto *import_table = static_cast<ImportTableRecord *>(dlsym(library, "ImportTable"));
  if (linkage == nullptr || import_table == nullptr) {
    error = path.string() + " exports no Linkage or no ImportTable";
    dlclose(library);
    return nullptr;
  }
  if (linkage->module_id != kModuleId || import_table->panel.id != kImportPanelServices) {
    error = path.string() + " is not a gauge module (bad module id or import table)";
    dlclose(library);
    return nullptr;
  }
  auto module = std::make_unique<LoadedModule>();
  module->name = name;
  module->path = path;
  module->library = library;
  module->linkage = linkage;
  module->import_table = import_table;
  module->host_value = host_value;
  // A module without resources still loads; its sounds fail to load and its
  // images have no size. Say so: a gauge developer wants to know why.
  std::string resource_error;
  module->resources = gaugeres::ResourceFile::open(path.string(), &resource_error);
  if (!module->resources) {
    std::fprintf(stderr, "warning: %s\n", resource_error.c_str());
  } else if (!fssound::register_module(host_value, path.string(), &resource_error)) {
    std::fprintf(stderr, "warning: sounds of %s: %s\n", path.c_str(), resource_error.c_str());
  }
  // Before anything else in the module runs.
  import_table->panel.services = services;
  return module;
}

void close_module(LoadedModule &module) {
  fssound::unregister_module(module.host_value);
  if (module.library != nullptr) {
    dlclose(module.library);
    module.library = nullptr;
  }
}

std::optional<gaugeres::BitmapSize> module_bitmap_size(const LoadedModule &module,
                                                       int32_t resource_id) {
  if (!module.resources) {
    return std::nullopt;
  }
  auto bytes = module.resources->find(gaugeres::ResourceType::kBitmap, resource_id);
  if (!bytes) {
    return std::nullopt;
  }
  return gaugeres::bitmap_size(*bytes);
}

} // namespace gaugehost
