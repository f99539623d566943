// rescomp MANIFEST OUT.bin [--png DIR]
//
// Builds a module's resource section from its manifest (format in
// resources/manifest.h): the bitmaps drawn by resources/art for the module
// named by the manifest's file name (velmar.res: velmar), and synthesized
// sounds. A module that has no artwork at all (a test module) gets
// placeholder bitmaps; in the others a bitmap without artwork, or whose artwork has another size
// than the manifest states, is an error. With --png, every bitmap is also written to
// DIR/MODULE_ID.png for looking at.
//
// The output is written to OUT.bin.tmp and renamed, so a failed run never
// leaves a half-written section that the build would take as up to date.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/resources/resource_file.h"
#include "resources/art/artwork.h"
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
  const bool with_png = argc == 5 && std::string(argv[3]) == "--png";
  if (argc != 3 && !with_png) {
    std::cerr << "usage: rescomp MANIFEST OUT.bin [--png DIR]\n";
    return 2;
  }
  const std::string manifest_path = argv[1];
  const std::filesystem::path out_path = argv[2];
  const std::string module = std::filesystem::path(manifest_path).stem().string();

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
      if (!art::has_artwork(module)) {
        entry.bytes = rescomp::make_placeholder_bitmap(item.id, item.width_px, item.height_px);
        entries.push_back(std::move(entry));
        continue;
      }
      const art::Artwork *artwork = art::find_artwork(module, item.id);
      char where[64];
      std::snprintf(where, sizeof where, ":%d: bitmap 0x%X", item.line, item.id);
      if (artwork == nullptr) {
        return fail(manifest_path + where + " has no artwork for module " + module);
      }
      if (static_cast<uint32_t>(artwork->width_px) != item.width_px ||
          static_cast<uint32_t>(artwork->height_px) != item.height_px) {
        return fail(manifest_path + where + ": the artwork is " +
                    std::to_string(artwork->width_px) + "x" + std::to_string(artwork->height_px));
      }
      art::Picture picture(artwork->width_px, artwork->height_px);
      if (artwork->draw != nullptr) {
        artwork->draw(picture);
      }
      entry.bytes = picture.to_bmp(artwork->matte);
      if (with_png) {
        char name[64];
        std::snprintf(name, sizeof name, "/%s_%04X.png", module.c_str(), item.id);
        if (!picture.write_png(argv[4] + std::string(name))) {
          return fail(std::string("cannot write ") + argv[4] + name);
        }
      }
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
