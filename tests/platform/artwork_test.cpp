// The artwork in the built modules: every bitmap a gauge's elements name is
// there, at the size its manifest states, and shows something; and the dials
// carry a graduation exactly where the needle's own point table sends the
// needle for each labelled value.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "host/host.h"
#include "host/module_loader.h"
#include "platform/os/os_host.h"
#include "resources/art/artwork.h"
#include "resources/manifest.h"

namespace {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb; // top-down, 3 bytes a pixel
  const uint8_t *at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Bottom-up 24-bit BMP, as rescomp writes it.
Image decode(std::span<const uint8_t> bmp) {
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                 bmp[at + 3] << 24);
  };
  Image image{.width = static_cast<int>(u32(18)), .height = static_cast<int>(u32(22)), .rgb = {}};
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t *row = bmp.data() + u32(10) + (image.height - 1 - y) * stride;
    for (int x = 0; x < image.width; ++x) {
      image.rgb.insert(image.rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
    }
  }
  return image;
}

class Modules : public ::testing::Test {
protected:
  Modules() : host(options()) {
    platform_os::set_message_box_echo(false); // ostrel finds no FSUIPC here
    for (const char *module : {"velmar", "durnik", "ostrel"}) {
      std::string error;
      EXPECT_TRUE(host.load_module(module, error)) << error;
      for (const std::string &gauge : host.gauge_names(module)) {
        EXPECT_TRUE(host.place(module, gauge, std::string(module) + "." + gauge, error)) << error;
      }
    }
  }
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  Image bitmap(const std::string &placement, int32_t id) {
    const gaugehost::PlacedGauge *g = host.gauge(placement);
    auto bytes = g->module->resources->find(gaugeres::ResourceType::kBitmap, id);
    EXPECT_TRUE(bytes.has_value()) << placement << " 0x" << std::hex << id;
    return bytes ? decode(*bytes) : Image{};
  }
  const NeedleElement *needle(const std::string &placement, int32_t id) {
    for (const gaugehost::ElementState &s : host.gauge(placement)->elements) {
      if (s.element->kind == kElementNeedle && s.element->resource_id == id) {
        return reinterpret_cast<const NeedleElement *>(s.element);
      }
    }
    ADD_FAILURE() << placement << ": no needle 0x" << std::hex << id;
    return nullptr;
  }
  gaugehost::Host host;
};

TEST_F(Modules, EveryBitmapOfEveryElementIsDrawnAtItsManifestSize) {
  for (const char *module : {"velmar", "durnik", "ostrel"}) {
    std::ifstream in(std::string(GAUGE_SOURCE_DIR) + "/resources/" + module + ".res");
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    const auto manifest = rescomp::parse_manifest(text.str(), module, &error);
    ASSERT_TRUE(manifest) << error;
    std::map<uint32_t, std::pair<int, int>> stated;
    for (const auto &e : *manifest) {
      if (e.kind == rescomp::ManifestKind::kBitmap) {
        stated[e.id] = {static_cast<int>(e.width_px), static_cast<int>(e.height_px)};
      }
    }
    std::set<int32_t> seen;
    for (const std::string &gauge : host.gauge_names(module)) {
      const std::string placement = std::string(module) + "." + gauge;
      for (const gaugehost::ElementState &s : host.gauge(placement)->elements) {
        const Element *e = s.element;
        if (e->kind == kElementString) {
          continue;
        }
        const int count =
            e->kind == kElementIcon ? reinterpret_cast<const IconElement *>(e)->image_count : 1;
        for (int32_t id = e->resource_id; id < e->resource_id + count; ++id) {
          if (!seen.insert(id).second) {
            continue;
          }
          const std::string row = placement + " 0x" + (std::stringstream() << std::hex << id).str();
          const Image image = bitmap(placement, id);
          ASSERT_TRUE(stated.count(id)) << row << ": not in the manifest";
          EXPECT_EQ(std::pair(image.width, image.height), stated[id]) << row;
          if (e->kind == kElementNeedle) {
            EXPECT_TRUE(e->offset_x < image.width && e->offset_y < image.height)
                << row << ": pivot outside the needle";
          }
          int drawn = 0;
          std::set<uint32_t> colours;
          for (size_t i = 0; i < image.rgb.size(); i += 3) {
            const uint32_t c = image.rgb[i] << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2];
            drawn += c != 0; // black is the key
            colours.insert(c);
          }
          const art::Artwork *artwork = art::find_artwork(module, static_cast<uint32_t>(id));
          ASSERT_NE(artwork, nullptr) << row;
          if (artwork->draw == nullptr) {
            EXPECT_EQ(drawn, 0) << row << ": an empty image shows something";
          } else {
            EXPECT_GE(drawn * 100, image.width * image.height) << row << ": next to nothing drawn";
            EXPECT_GE(colours.size(), 2u) << row << ": flat";
          }
        }
      }
    }
  }
}

// White: a graduation or a numeral, not a coloured range or the face.
bool white(const uint8_t *px) {
  return px[0] >= 170 && px[1] >= 170 && px[2] >= 170;
}

// Whether the ray at `angle_deg` from `pivot` crosses white within the
// outer graduation band (every dial puts its ticks' outer ends there).
bool white_on_ray(const Image &image, art::Point pivot, double angle_deg) {
  for (double r = 127; r <= 132; r += 0.5) {
    const art::Point p = art::polar(pivot, r, angle_deg);
    if (white(image.at(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))))) {
      return true;
    }
  }
  return false;
}

TEST_F(Modules, GraduationsLieWhereTheNeedlesPoint) {
  constexpr double kRawPerMs = 256.0;
  constexpr double kKnotsPerMs = 1.9438;
  constexpr double kKmhPerKnot = 1.852;
  struct Row {
    const char *placement;
    int32_t dial;                 // the image with the graduations
    int32_t needle;               // the needle that reads them
    std::vector<double> labelled; // values on the dial, in its unit
    double to_needle;             // needle value per dial unit
  };
  const Row rows[] = {
      {"velmar.caf", 0x2400, 0x2300, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}, kRawPerMs              },
      {"velmar.caf", 0x2401, 0x2300, {-8, -6, -4, -2, 0, 2, 4, 6, 8},        kRawPerMs / kKnotsPerMs},
      {"durnik.vsi", 0x1800, 0x1A00, {-5, -3, -1, 0, 1, 2, 3, 4, 5},         kRawPerMs              },
      {"durnik.asi", 0x1600, 0x1700, {50, 100, 150, 200, 250, 300},          1 / kKmhPerKnot        },
      {"durnik.asi", 0x1601, 0x1700, {20, 60, 100, 140, 160, 170},           1.0                    },
      {"durnik.alt", 0x1000, 0x1400, {0, 100, 200, 500, 700, 900},           1.0                    },
  };
  for (const Row &row : rows) {
    const Image dial = bitmap(row.placement, row.dial);
    const NeedleElement *n = needle(row.placement, row.needle);
    ASSERT_NE(n, nullptr);
    const art::Point pivot = {static_cast<double>(n->element.x), static_cast<double>(n->element.y)};
    std::vector<art::TablePoint> points;
    for (int i = 0; i < n->point_count; ++i) {
      points.push_back({n->points[i].value, static_cast<double>(n->points[i].x),
                        static_cast<double>(n->points[i].y)});
    }
    const art::TableDial table(pivot, points);
    for (double v : row.labelled) {
      // alt's long pointer has no table: its value (0.36 degrees a foot,
      // -90 at zero) is its angle.
      const double angle = points.empty() ? v * 0.36 - 90 : table.angle(v * row.to_needle);
      const std::string where = std::string(row.placement) + " image 0x" +
                                (std::stringstream() << std::hex << row.dial).str() + " at " +
                                std::to_string(v);
      EXPECT_TRUE(white_on_ray(dial, pivot, angle)) << where << ": no graduation";
      EXPECT_FALSE(white_on_ray(dial, pivot, angle - 2.3) && white_on_ray(dial, pivot, angle + 2.3))
          << where << ": graduation too wide to tell";
    }
  }
}

} // namespace
