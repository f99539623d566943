// The resource reader on the built modules and on damaged sections and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/fssound/wave_decoder.h"
#include "platform/resources/resource_file.h"
#include "resources/placeholder_bitmap.h"
#include "resources/section_writer.h"
#include "resources/sound_synth.h"

namespace {

using gaugeres::ResourceFile;
using gaugeres::ResourceType;

const std::string kModuleDir = GAUGE_MODULE_DIR;

std::string hex(int32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(id));
  return text;
}

std::vector<uint8_t> read_bytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string write_temp(const std::string &name, const std::vector<uint8_t> &bytes) {
  const auto path = std::filesystem::temp_directory_path() / ("platform_res_" + name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

uint64_t get_le(const std::vector<uint8_t> &b, size_t at, int n) {
  uint64_t v = 0;
  for (int i = 0; i < n; ++i)
    v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
  return v;
}

// File offset of the section header named `name` in an intact ELF64 image.
size_t section_header_at(const std::vector<uint8_t> &elf, const std::string &name) {
  const uint64_t shoff = get_le(elf, 0x28, 8);
  const uint64_t shentsize = get_le(elf, 0x3A, 2);
  const uint64_t shnum = get_le(elf, 0x3C, 2);
  const uint64_t names_at = get_le(elf, shoff + get_le(elf, 0x3E, 2) * shentsize + 24, 8);
  for (uint64_t i = 0; i < shnum; ++i) {
    const size_t header = shoff + i * shentsize;
    const char *n = reinterpret_cast<const char *>(elf.data() + names_at + get_le(elf, header, 4));
    if (name == n)
      return header;
  }
  return 0;
}

// ---- the built modules ----------------------------------------------------

// Every SOUND of the three modules, in the format its gauges were made for.
TEST(ResourceFileModules, EverySoundHasItsFormat) {
  struct Row {
    const char *module;
    int32_t id;
    uint16_t channels;
    uint32_t rate_hz;
  };
  // 8-bit sources come out scaled to 16 bits; bits are checked in the header.
  struct Expect {
    Row row;
    uint16_t bits;
  };
  const Expect rows[] = {
      {{"velmar", 0x2C00, 1, 22050}, 16},
      {{"velmar", 0x2D00, 1, 22050}, 16},
      {{"durnik", 0x2D00, 1, 22050}, 8 },
      {{"durnik", 0x2E00, 1, 22050}, 8 },
      {{"ostrel", 0x2600, 2, 22050}, 16},
      {{"ostrel", 0x2700, 1, 8000},  16},
      {{"ostrel", 0x2800, 2, 44100}, 16},
      {{"ostrel", 0x2900, 1, 22050}, 8 },
      {{"ostrel", 0x2A00, 1, 22050}, 8 },
  };
  for (const auto &[row, bits] : rows) {
    SCOPED_TRACE(std::string(row.module) + " SOUND " + hex(row.id));
    std::string error;
    const auto resources = ResourceFile::open(kModuleDir + "/" + row.module + ".so", &error);
    ASSERT_TRUE(resources) << error;
    const auto bytes = resources->find(ResourceType::kSound, row.id);
    ASSERT_TRUE(bytes);
    const auto sound = fssound::decode_wave(*bytes, &error);
    ASSERT_TRUE(sound) << error;
    EXPECT_EQ(sound->channels, row.channels);
    EXPECT_EQ(sound->rate_hz, row.rate_hz);
    EXPECT_EQ((*bytes)[34], bits);
    const auto peak = std::ranges::max(sound->samples, {}, [](int16_t s) { return std::abs(s); });
    EXPECT_GT(std::abs(peak), 8000) << "audible";
  }
}

// Whatever bitmaps the manifests list: each is a BMP whose size matches its bytes.
TEST(ResourceFileModules, EveryBitmapHasASize) {
  for (const char *module : {"velmar", "durnik", "ostrel"}) {
    std::string error;
    const auto resources = ResourceFile::open(kModuleDir + "/" + module + ".so", &error);
    ASSERT_TRUE(resources) << error;
    for (const auto &entry : resources->entries()) {
      if (entry.type != ResourceType::kBitmap)
        continue;
      SCOPED_TRACE(std::string(module) + " bitmap " + hex(entry.id));
      const auto size = gaugeres::bitmap_size(entry.bytes);
      ASSERT_TRUE(size);
      const size_t stride = (size->width_px * 3 + 3) / 4 * 4;
      EXPECT_EQ(entry.bytes.size(), 54 + stride * size->height_px);
    }
  }
}

// ---- damaged sections ------------------------------------------------------

// Overwrites `width` bytes at `at` with `value`, little-endian.
struct Patch {
  const char *what;
  uint64_t at;
  int width;
  uint64_t value;
};

void apply(std::vector<uint8_t> &bytes, const Patch &patch) {
  for (int i = 0; i < patch.width; ++i) {
    bytes[patch.at + i] = static_cast<uint8_t>(patch.value >> (8 * i));
  }
}

std::vector<uint8_t> good_section() {
  std::string error;
  return *rescomp::build_section(
      {
          {.type = 2, .id = 0x2C00, .bytes = {1, 2, 3, 4, 5}},
          {.type = 1, .id = 0x10,   .bytes = {9, 9}         }
  },
      &error);
}

TEST(ResourceFileSection, RefusesDamage) {
  // Directory: magic 0..3, count 4..7, entry i at 8 + 16 i: type, id, offset,
  // size. Entry 0's 5 bytes start at 40; the section is 50 bytes long.
  const Patch patches[] = {
      {"wrong magic",                 0,  1, 'X'           },
      {"count far too large",         4,  4, 0xFFFFFFFF    },
      {"count one too large",         4,  4, 3             },
      {"offset past the end",         16, 4, 0x7FFFFFFF    },
      {"size one past the end",       20, 4, 11            },
      {"offset + size wraps 32 bits", 16, 8, 0x20FFFFFFF0  },
      {"unknown type",                8,  4, 3             },
      {"same type and id twice",      24, 8, 0x2C0000000002},
  };
  for (const auto &patch : patches) {
    auto section = good_section();
    apply(section, patch);
    std::string error;
    EXPECT_FALSE(ResourceFile::from_section(section, &error)) << patch.what;
    EXPECT_FALSE(error.empty()) << patch.what;
  }
  for (size_t cut : {0, 7, 8 + 16 + 8}) {
    auto section = good_section();
    section.resize(cut);
    std::string error;
    EXPECT_FALSE(ResourceFile::from_section(section, &error)) << "cut to " << cut;
  }
  std::string error;
  const auto intact = ResourceFile::from_section(good_section(), &error);
  ASSERT_TRUE(intact) << error;
  EXPECT_EQ(intact->find(ResourceType::kSound, 0x2C00)->size(), 5u);
}

TEST(ResourceFileSection, CopiesOwnTheirBytes) {
  std::string error;
  auto original = ResourceFile::from_section(good_section(), &error);
  ASSERT_TRUE(original);
  ResourceFile copy = *original;
  auto assigned = ResourceFile::from_section(good_section(), &error);
  *assigned = copy;
  original.reset();
  std::vector<uint8_t> scribble(4096, 0xAA); // likely reuses the freed bytes
  for (const ResourceFile *r : {&copy, &*assigned}) {
    const auto sound = r->find(ResourceType::kSound, 0x2C00);
    ASSERT_TRUE(sound);
    EXPECT_EQ(std::vector<uint8_t>(sound->begin(), sound->end()),
              (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  }
}

// ---- damaged module files ----------------------------------------------

TEST(ResourceFileElf, RefusesDamagedFilesNamingThem) {
  const auto module = read_bytes(kModuleDir + "/velmar.so");
  const uint64_t header = section_header_at(module, ".gauge_resources");
  ASSERT_NE(header, 0u);
  const uint64_t section = get_le(module, header + 24, 8);
  const std::string name = ".gauge_resources";
  const uint64_t name_at = static_cast<uint64_t>(
      std::search(module.begin(), module.end(), name.begin(), name.end()) - module.begin());
  // ELF64 header: class at 4, byte order at 5, section headers' offset at
  // 0x28, entry size at 0x3A, name table index at 0x3E; section header:
  // offset at +24, size at +32.
  const Patch patches[] = {
      {"not ELF",                       1,           1, 'X'                  },
      {"32-bit class",                  4,           1, 1                    },
      {"big-endian",                    5,           1, 2                    },
      {"section headers far away",      0x28,        8, 0xFFFFFFFFFFFF0000ull},
      {"section header size too small", 0x3A,        2, 8                    },
      {"name table index out of range", 0x3E,        2, 0xFFFE               },
      {"resource section renamed",      name_at + 1, 1, 'X'                  },
      {"resource section past the end", header + 24, 8, module.size() - 10   },
      {"resource section size huge",    header + 32, 8, ~0ull                },
      {"resource directory damaged",    section,     1, 'X'                  },
  };
  const auto refused = [](const std::vector<uint8_t> &file, const std::string &what) {
    const auto path = write_temp("damaged.so", file);
    std::string error;
    EXPECT_FALSE(ResourceFile::open(path, &error)) << what;
    EXPECT_NE(error.find(path), std::string::npos) << what << ": " << error;
  };
  for (const auto &patch : patches) {
    auto file = module;
    apply(file, patch);
    refused(file, patch.what);
  }
  refused(std::vector<uint8_t>(module.begin(), module.begin() + 64), "cut to its header");
  refused(std::vector<uint8_t>(module.begin(), module.end() - 100), "section headers cut off");
  std::string error;
  EXPECT_FALSE(ResourceFile::open(kModuleDir + "/no-such-module.so", &error));
  EXPECT_NE(error.find("no-such-module.so"), std::string::npos) << error;
}

// ---- bitmap sizes ---------------------------------------------------------

TEST(BitmapSize, ReadsImagesAndRefusesOthers) {
  const auto good = rescomp::make_placeholder_bitmap(0x2710, 226, 170);
  const auto size = gaugeres::bitmap_size(good);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width_px, 226u);
  EXPECT_EQ(size->height_px, 170u);
  auto top_down = good;
  apply(top_down, {"negative height", 22, 4, static_cast<uint32_t>(-170)});
  EXPECT_EQ(gaugeres::bitmap_size(top_down)->height_px, 170u);

  // Info header size at 14, width at 18, height at 22.
  const Patch patches[] = {
      {"not BM",                           0,  1, 'X'                      },
      {"info header of an old format",     14, 4, 12                       },
      {"info header longer than the file", 14, 4, 0x100000                 },
      {"negative width",                   18, 4, static_cast<uint32_t>(-5)},
      {"zero height",                      22, 4, 0                        },
      {"height without magnitude",         22, 4, 0x80000000u              },
  };
  for (const auto &patch : patches) {
    auto bmp = good;
    apply(bmp, patch);
    EXPECT_FALSE(gaugeres::bitmap_size(bmp)) << patch.what;
  }
  EXPECT_FALSE(gaugeres::bitmap_size(std::span(good).first(30))) << "cut short";
}

} // namespace
