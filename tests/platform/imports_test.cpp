// What each built module imports from the sound library: only the operations
// it calls, read from the module's dynamic symbol table.
#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/resources/elf_section.h"

namespace {

// Names of the undefined symbols in the dynamic symbol table of `path`.
std::set<std::string> imports(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
  std::string error;
  const auto symbols = gaugeres::find_elf_section(file, ".dynsym", &error);
  const auto names = gaugeres::find_elf_section(file, ".dynstr", &error);
  EXPECT_TRUE(symbols && names) << path << ": " << error;
  std::set<std::string> out;
  if (!symbols || !names) {
    return out;
  }
  for (uint64_t at = 0; at + sizeof(Elf64_Sym) <= symbols->size; at += sizeof(Elf64_Sym)) {
    Elf64_Sym symbol;
    std::memcpy(&symbol, file.data() + symbols->offset + at, sizeof symbol);
    if (symbol.st_shndx == SHN_UNDEF && symbol.st_name != 0 && symbol.st_name < names->size) {
      out.insert(reinterpret_cast<const char *>(file.data() + names->offset + symbol.st_name));
    }
  }
  return out;
}

TEST(ModuleImports, EachModuleImportsOnlyTheSoundOperationsItCalls) {
  const char *const kOneShot[] = {"sound_load", "sound_play", "sound_set_volume", "sound_release"};
  const char *const kLooping[] = {"sound_is_playing", "sound_stop", "sound_set_frequency"};
  const struct {
    const char *module;
    bool looping; // lnav's tones
  } cases[] = {
      {"velmar", true },
      {"durnik", false},
      {"ostrel", false},
  };
  for (const auto &c : cases) {
    const std::set<std::string> imported =
        imports(std::string(GAUGE_MODULE_DIR) + "/" + c.module + ".so");
    for (const char *name : kOneShot) {
      EXPECT_TRUE(imported.contains(name)) << c.module << " " << name;
    }
    for (const char *name : kLooping) {
      EXPECT_EQ(imported.contains(name), c.looping) << c.module << " " << name;
    }
  }
}

} // namespace
