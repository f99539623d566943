// The resource reader on the built modules and on damaged sections and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

void put_u32(std::vector<uint8_t> &b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put_u64(std::vector<uint8_t> &b, size_t at, uint64_t v) {
  for (int i = 0; i < 8; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
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

TEST(ResourceFileModules, VelmarCarriesBothTones) {
  std::string error;
  const auto resources = ResourceFile::open(kModuleDir + "/velmar.so", &error);
  ASSERT_TRUE(resources) << error;
  for (int32_t id : {0x2C00, 0x2D00}) {
    const auto bytes = resources->find(ResourceType::kSound, id);
    ASSERT_TRUE(bytes) << hex(id);
    EXPECT_EQ(bytes->size(), 8444u);
    EXPECT_EQ(std::memcmp(bytes->data(), "RIFF", 4), 0);
  }
  EXPECT_FALSE(resources->find(ResourceType::kBitmap, 0x2C00)) << "a sound id is not a bitmap";
  EXPECT_FALSE(resources->find(ResourceType::kSound, 0x2E00));
}

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

std::vector<uint8_t> good_section() {
  std::string error;
  return *rescomp::build_section(
      {
          {.type = 2, .id = 0x2C00, .bytes = {1, 2, 3, 4, 5}},
          {.type = 1, .id = 0x10,   .bytes = {9, 9}         }
  },
      &error);
}

TEST(ResourceFileSection, ReadsAWellFormedSection) {
  std::string error;
  const auto resources = ResourceFile::from_section(good_section(), &error);
  ASSERT_TRUE(resources) << error;
  const auto sound = resources->find(ResourceType::kSound, 0x2C00);
  ASSERT_TRUE(sound);
  EXPECT_EQ(std::vector<uint8_t>(sound->begin(), sound->end()),
            (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(resources->find(ResourceType::kBitmap, 0x10)->size(), 2u);
}

TEST(ResourceFileSection, RefusesDamage) {
  // Directory: magic 0..3, count 4..7, entry i at 8 + 16 i: type, id, offset, size.
  struct Case {
    const char *what;
    void (*damage)(std::vector<uint8_t> &);
  };
  const Case cases[] = {
      {"empty",                       [](std::vector<uint8_t> &s) { s.clear(); }                    },
      {"cut inside the header",       [](std::vector<uint8_t> &s) { s.resize(7); }                  },
      {"wrong magic",                 [](std::vector<uint8_t> &s) { s[0] = 'X'; }                   },
      {"count far too large",         [](std::vector<uint8_t> &s) { put_u32(s, 4, 0xFFFFFFFF); }    },
      {"directory cut short",         [](std::vector<uint8_t> &s) { s.resize(8 + 16 + 8); }         },
      {"offset past the end",         [](std::vector<uint8_t> &s) { put_u32(s, 8 + 8, 0x7FFFFFFF); }},
      {"size one past the end",
       [](std::vector<uint8_t> &s) {
         put_u32(s, 8 + 12,
                 static_cast<uint32_t>(s.size()) - static_cast<uint32_t>(get_le(s, 16, 4)) + 1);
       }                                                                                            },
      {"offset + size wraps 32 bits",
       [](std::vector<uint8_t> &s) {
         put_u32(s, 8 + 8, 0xFFFFFFF0);
         put_u32(s, 8 + 12, 0x20);
       }                                                                                            },
      {"unknown type",                [](std::vector<uint8_t> &s) { put_u32(s, 8, 3); }             },
      {"same id twice",
       [](std::vector<uint8_t> &s) {
         put_u32(s, 8 + 16, 2);
         put_u32(s, 8 + 16 + 4, 0x2C00);
       }                                                                                            },
  };
  for (const auto &c : cases) {
    auto section = good_section();
    c.damage(section);
    std::string error;
    EXPECT_FALSE(ResourceFile::from_section(section, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
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
  EXPECT_NE(copy.find(ResourceType::kSound, 0x2C00)->data(),
            assigned->find(ResourceType::kSound, 0x2C00)->data());
}

// ---- damaged module files ----------------------------------------------

TEST(ResourceFileElf, RefusesDamagedFilesNamingThem) {
  const auto module = read_bytes(kModuleDir + "/velmar.so");
  ASSERT_GT(module.size(), 4096u);
  const size_t resources_header = section_header_at(module, ".gauge_resources");
  ASSERT_NE(resources_header, 0u);
  struct Case {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> damage;
  };
  const Case cases[] = {
      {"not ELF",                        [](auto &f) { f[1] = 'X'; }                               },
      {"32-bit class",                   [](auto &f) { f[4] = 1; }                                 },
      {"big-endian",                     [](auto &f) { f[5] = 2; }                                 },
      {"cut to its header",              [](auto &f) { f.resize(64); }                             },
      {"cut before the section headers", [](auto &f) { f.erase(f.end() - 100, f.end()); }                 },
      {"section headers far away",       [](auto &f) { put_u64(f, 0x28, 0xFFFFFFFFFFFF0000ull); }  },
      {"tiny section header size",
       [](auto &f) {
         f[0x3A] = 8;
         f[0x3B] = 0;
       }                                                                                           },
      {"name table index out of range",
       [](auto &f) {
         f[0x3E] = 0xFE;
         f[0x3F] = 0xFF;
       }                                                                                           },
      {"resource section renamed",
       [](auto &f) {
         const std::string name = ".gauge_resources";
         auto it = std::search(f.begin(), f.end(), name.begin(), name.end());
         *(it + 1) = 'X';
       }                                                                                           },
      {"resource section past the end",
       [&](auto &f) { put_u64(f, resources_header + 24, f.size() - 10); }                          },
      {"resource section size huge",     [&](auto &f) { put_u64(f, resources_header + 32, ~0ull); }},
      {"resource directory damaged",
       [&](auto &f) { f[get_le(f, resources_header + 24, 8)] = 'X'; }                              },
  };
  for (const auto &c : cases) {
    auto file = module;
    c.damage(file);
    const auto path = write_temp("damaged.so", file);
    std::string error;
    EXPECT_FALSE(ResourceFile::open(path, &error)) << c.what;
    EXPECT_NE(error.find(path), std::string::npos) << c.what << ": " << error;
  }
  std::string error;
  EXPECT_FALSE(ResourceFile::open(kModuleDir + "/no-such-module.so", &error));
  EXPECT_NE(error.find("no-such-module.so"), std::string::npos) << error;
}

// ---- bitmap sizes ---------------------------------------------------------

TEST(BitmapSize, ReadsBottomUpAndTopDownImages) {
  auto bmp = rescomp::make_placeholder_bitmap(0x2710, 226, 170);
  const auto size = gaugeres::bitmap_size(bmp);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width_px, 226u);
  EXPECT_EQ(size->height_px, 170u);
  put_u32(bmp, 22, static_cast<uint32_t>(-170)); // top-down
  EXPECT_EQ(gaugeres::bitmap_size(bmp)->height_px, 170u);
}

TEST(BitmapSize, RefusesWhatIsNotABitmap) {
  const auto good = rescomp::make_placeholder_bitmap(1, 10, 10);
  struct Case {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> damage;
  };
  const Case cases[] = {
      {"not BM",                           [](auto &b) { b[0] = 'X'; }                               },
      {"cut inside the info header",       [](auto &b) { b.resize(30); }                             },
      {"info header of an old format",     [](auto &b) { put_u32(b, 14, 12); }                       },
      {"info header longer than the file", [](auto &b) { put_u32(b, 14, 0x10000); }                  },
      {"zero width",                       [](auto &b) { put_u32(b, 18, 0); }                        },
      {"negative width",                   [](auto &b) { put_u32(b, 18, static_cast<uint32_t>(-5)); }},
      {"zero height",                      [](auto &b) { put_u32(b, 22, 0); }                        },
      {"height without magnitude",         [](auto &b) { put_u32(b, 22, 0x80000000u); }              },
  };
  for (const auto &c : cases) {
    auto bmp = good;
    c.damage(bmp);
    EXPECT_FALSE(gaugeres::bitmap_size(bmp)) << c.what;
  }
}

} // namespace
