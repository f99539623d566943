// rescomp MANIFEST OUT.bin
//
// Builds a module's resource section from its manifest (format in
// resources/manifest.h): placeholder bitmaps and synthesized sounds. The
// output is written to OUT.bin.tmp and renamed, so a failed run never leaves
// a half-written section that the build would take as up to date.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/resources/resource_file.h"
#include "resources/manifest.h"
#include "resources/placeholder_bitmap.h"
#include "resources/section_writer.h"
#include "resources/sound_synth.h"

namespace {

int fail(const std::string &message) {
  std::cerr << "rescomp: " << message << "\n";
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::cerr << "usage: rescomp MANIFEST OUT.bin\n";
    return 2;
  }
  const std::string manifest_path = argv[1];
  const std::filesystem::path out_path = argv[2];

  std::ifstream in(manifest_path, std::ios::binary);
  if (!in) {
    return fail("cannot read manifest " + manifest_path);
  }
  std::ostringstream text;
  text << in.rdbuf();

  std::string error;
  const auto manifest = rescomp::parse_manifest(text.str(), manifest_path, &error);
  if (!manifest) {
    return fail(error);
  }

  std::vector<rescomp::SectionEntry> entries;
  for (const auto &item : *manifest) {
    rescomp::SectionEntry entry{.type = 0, .id = item.id, .bytes = {}};
    if (item.kind == rescomp::ManifestKind::kBitmap) {
      entry.type = static_cast<uint32_t>(gaugeres::ResourceType::kBitmap);
      entry.bytes = rescomp::make_placeholder_bitmap(item.id, item.width_px, item.height_px);
    } else {
      entry.type = static_cast<uint32_t>(gaugeres::ResourceType::kSound);
      entry.bytes = rescomp::find_sound_generator(item.generator)->make();
    }
    entries.push_back(std::move(entry));
  }
  const auto section = rescomp::build_section(entries, &error);
  if (!section) {
    return fail(manifest_path + ": " + error);
  }

  std::filesystem::path tmp_path = out_path;
  tmp_path += ".tmp";
  {
    std::ofstream out(tmp_path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(section->data()),
              static_cast<std::streamsize>(section->size()));
    out.close();
    if (!out) {
      std::filesystem::remove(tmp_path);
      return fail("cannot write " + tmp_path.string());
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp_path, out_path, ec);
  if (ec) {
    std::filesystem::remove(tmp_path);
    return fail("cannot write " + out_path.string() + ": " + ec.message());
  }
  return 0;
}
