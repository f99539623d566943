#include "host/module_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>

#include "platform/fssound/fssound_host.h"

namespace gaugehost {
namespace {

using ElfHeader = Elf64_Ehdr;
using ElfProgramHeader = Elf64_Phdr;
constexpr unsigned char kNativeElfClass = ELFCLASS64;
static_assert(sizeof(void *) == 8, "the ELF check reads 64-bit objects");

// True when [offset, offset + bytes) lies inside a file of `size` bytes.
bool inside(uint64_t offset, uint64_t bytes, uint64_t size) {
  return offset <= size && bytes <= size - offset;
}

// The module's tables, checked before its start routine or any callback
// runs: a broken table is refused here instead of being read past later.
bool check_tables(const LinkageRecord &linkage, const ImportTableRecord &import_table,
                  std::vector<GaugeHeader *> &gauges, std::string &error) {
  if (linkage.module_id != kModuleId) {
    char text[96];
    std::snprintf(text, sizeof text, "bad module id 0x%X in Linkage (a gauge module has 0x%X)",
                  linkage.module_id, kModuleId);
    error = text;
    return false;
  }
  if (import_table.panel.id != kImportPanelServices) {
    error = "bad ImportTable (its first entry is not the panel services)";
    return false;
  }
  const auto end = std::find(std::begin(linkage.gauges), std::end(linkage.gauges), nullptr);
  if (end == std::end(linkage.gauges)) {
    error = "gauge list in Linkage has no null entry within its " +
            std::to_string(std::size(linkage.gauges)) + " slots";
    return false;
  }
  gauges.assign(std::begin(linkage.gauges), end);
  for (size_t i = 0; i < gauges.size(); ++i) {
    const GaugeHeader &header = *gauges[i];
    if (header.name == nullptr) {
      error = "gauge " + std::to_string(i) + " in Linkage has no name";
      return false;
    }
    const std::string name = header.name;
    if (header.elements == nullptr || header.elements[0] == nullptr ||
        header.elements[0]->kind != kElementStaticImage) {
      error = "gauge " + name + " has no root static image";
      return false;
    }
    std::vector<FlatElement> flat;
    std::string tree_error;
    if (!flatten_elements(header.elements[0], flat, tree_error)) {
      error = "gauge " + name + ": " + tree_error;
      return false;
    }
  }
  return true;
}

} // namespace

bool flatten_elements(Element *root, std::vector<FlatElement> &out, std::string &error) {
  // An explicit stack instead of recursion: the depth is bounded here, not
  // by the thread's stack. `path` holds the open ancestors of the element
  // being visited, so an element found among them closes a cycle.
  struct Open {
    Element *element;
    Element **next_child; // next entry of its child list to visit, or null
  };
  std::vector<Open> path;
  auto visit = [&](Element *element) {
    for (const Open &ancestor : path) {
      if (ancestor.element == element) {
        error = "element tree is cyclic (an element lists one of its own ancestors as a child)";
        return false;
      }
    }
    if (static_cast<int>(path.size()) >= kMaxElementDepth) {
      error = "element tree deeper than " + std::to_string(kMaxElementDepth) + " levels";
      return false;
    }
    if (out.size() >= kMaxElements) {
      error = "element tree has more than " + std::to_string(kMaxElements) + " elements";
      return false;
    }
    out.push_back({element, static_cast<int>(path.size())});
    path.push_back({element, element->children});
    return true;
  };
  if (!visit(root)) {
    return false;
  }
  while (!path.empty()) {
    Open &top = path.back();
    if (top.next_child == nullptr || *top.next_child == nullptr) {
      path.pop_back();
      continue;
    }
    Element *child = *top.next_child++;
    if (!visit(child)) {
      return false;
    }
  }
  return true;
}

bool check_elf_file(const std::filesystem::path &path, std::string &error) {
  std::ifstream file(path, std::ios::binary);
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  if (!file || ec) {
    error = "cannot read module " + path.string();
    return false;
  }
  ElfHeader header{};
  if (!file.read(reinterpret_cast<char *>(&header), sizeof header) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
    error = path.string() + " is not an ELF file";
    return false;
  }
  if (header.e_ident[EI_CLASS] != kNativeElfClass || header.e_type != ET_DYN ||
      header.e_phentsize != sizeof(ElfProgramHeader)) {
    error = path.string() + " is not a shared object for this machine";
    return false;
  }
  const uint64_t table_bytes = uint64_t{header.e_phnum} * sizeof(ElfProgramHeader);
  if (!inside(header.e_phoff, table_bytes, size)) {
    error = path.string() + " is cut short: its program headers end past the file's end";
    return false;
  }
  file.seekg(static_cast<std::streamoff>(header.e_phoff));
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    ElfProgramHeader segment{};
    if (!file.read(reinterpret_cast<char *>(&segment), sizeof segment)) {
      error = "cannot read module " + path.string();
      return false;
    }
    if (!inside(segment.p_offset, segment.p_filesz, size)) {
      char text[160];
      std::snprintf(text, sizeof text,
                    " is cut short: segment %u needs bytes up to %llu, the file has %llu", i,
                    static_cast<unsigned long long>(segment.p_offset + segment.p_filesz),
                    static_cast<unsigned long long>(size));
      error = path.string() + text;
      return false;
    }
  }
  if (header.e_shoff != 0 &&
      !inside(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize, size)) {
    error = path.string() + " is cut short: its section headers end past the file's end";
    return false;
  }
  return true;
}

std::unique_ptr<LoadedModule> open_module(const std::string &name,
                                          const std::filesystem::path &path,
                                          const PanelServices *services, uint32_t host_value,
                                          std::string &error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "missing module " + path.string();
    return nullptr;
  }
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "module " + path.string() + " is not a regular file";
    return nullptr;
  }
  if (!check_elf_file(path, error)) {
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
  std::vector<GaugeHeader *> gauges;
  std::string table_error;
  if (!check_tables(*linkage, *import_table, gauges, table_error)) {
    error = path.string() + " is not a usable gauge module: " + table_error;
    dlclose(library);
    return nullptr;
  }
  auto module = std::make_unique<LoadedModule>();
  module->name = name;
  module->path = path;
  module->library = library;
  module->linkage = linkage;
  module->import_table = import_table;
  module->gauges = std::move(gauges);
  module->host_value = host_value;
  // A module without resources still loads; its sounds fail to load and its
  // images have no size. Say so: a gauge developer wants to know why.
  std::string resource_error;
  module->resources = gaugeres::ResourceFile::open(path.string(), &resource_error);
  if (!module->resources) {
    std::fprintf(stderr, "warning: %s\n", resource_error.c_str());
  } else {
    // The sound library takes the resources just read rather than reading
    // the file again.
    fssound::register_resources(host_value, *module->resources);
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
