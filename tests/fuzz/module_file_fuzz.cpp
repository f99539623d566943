// libFuzzer target: any bytes as a module file, through everything the host
// reads from the file itself: the ELF check made before dlopen, the resource
// section, and every bitmap and sound in it (as the host's bitmap sizes and
// the sound library's sound_load read them).
//
// dlopen itself is not fuzzed: a mutated module that passes any check of the
// file's shape may still carry broken relocations or constructors, which run
// inside dlopen as the module's own code. No check before dlopen can make
// loading an arbitrary file safe; what the host promises, and what this
// target holds it to, is that reading a file never faults, whatever it holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "host/module_loader.h"
#include "platform/fssound/wave_decoder.h"
#include "platform/resources/resource_file.h"

namespace {

std::filesystem::path folder;
std::filesystem::path module_path;

void remove_folder() {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  char pattern[] = "/tmp/module_file_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::abort();
  }
  folder = pattern;
  module_path = folder / "module.so";
  std::atexit(remove_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::FILE *file = std::fopen(module_path.c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
    std::abort();
  }
  std::string error;
  const bool shaped = gaugehost::check_elf_file(module_path, error);
  if (!shaped && error.empty()) {
    std::abort(); // a refusal always says why
  }
  const auto resources = gaugeres::ResourceFile::open(module_path.string(), &error);
  if (!resources) {
    return 0;
  }
  for (const gaugeres::ResourceEntry &entry : resources->entries()) {
    if (entry.type == gaugeres::ResourceType::kBitmap) {
      gaugeres::bitmap_size(entry.bytes);
    } else {
      const auto sound = fssound::decode_wave(entry.bytes, &error);
      if (sound && (sound->channels == 0 || sound->samples.size() % sound->channels != 0)) {
        std::abort(); // whole frames only
      }
    }
  }
  return 0;
}
