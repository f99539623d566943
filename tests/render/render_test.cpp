// The renderer through the real modules: reference pictures of every gauge in
// the states a pilot sees, and needles that point at their value's graduation.
//
// The references are PNGs at half the design size in tests/render/reference,
// named STATE-GAUGE.png. After a deliberate change of the artwork or the
// renderer, look at the new pictures and rewrite them with
//   GAUGE_UPDATE_REFERENCES=1 build/bin/render_tests
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "host/console.h"
#include "host/host_offset_server.h"
#include "host/module_loader.h"
#include "render/renderer.h"

namespace {

const std::filesystem::path kReferenceDir = GAUGE_SOURCE_DIR "/tests/render/reference";
constexpr double kReferenceScale = 0.5;
// A pixel differs when a channel moves by more than this; a picture matches
// when few pixels differ (anti-aliasing and font hinting may wander a little).
constexpr int kPixelTolerance = 48;
constexpr double kMaxDifferingShare = 0.005;

class Cockpit {
public:
  Cockpit() : host_(options()), offset_server_(host_), console_(host_, out_) {
    std::filesystem::current_path(GAUGE_SOURCE_DIR);
    run_file("examples/cockpit.gh");
  }
  void run(const std::string &line) {
    const auto result = console_.execute(line);
    ASSERT_EQ(result.exit_code, 0) << line << ": " << result.message;
  }
  void run_file(const std::string &path) {
    std::ifstream script(path);
    std::ostringstream err;
    ASSERT_EQ(console_.run(script, err), 0) << path << ": " << err.str();
  }
  gaugehost::Host &host() { return host_; }

private:
  static gaugehost::HostOptions options() {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    return o;
  }
  std::ostringstream out_;
  gaugehost::Host host_;
  fsuipc_server::HostOffsetServer offset_server_;
  gaugehost::Console console_;
};

// Share of pixels that differ between two images of one size.
double differing_share(cairo_surface_t *a, cairo_surface_t *b) {
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  const int stride_a = cairo_image_surface_get_stride(a);
  const int stride_b = cairo_image_surface_get_stride(b);
  const unsigned char *pa = cairo_image_surface_get_data(a);
  const unsigned char *pb = cairo_image_surface_get_data(b);
  long differing = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 4; x += 4) {
      for (int c = 0; c < 4; ++c) {
        if (std::abs(pa[y * stride_a + x + c] - pb[y * stride_b + x + c]) > kPixelTolerance) {
          ++differing;
          break;
        }
      }
    }
  }
  return static_cast<double>(differing) / (static_cast<double>(w) * h);
}

struct Step {
  const char *state; // names the pictures: STATE-GAUGE.png
  std::vector<const char *> commands;
  std::vector<const char *> gauges;
};

const char *const kAllGauges[] = {
    "gpsnav", "lnav", "caf",  "mc",      "test",       "vsi",     "alt",      "asi",
    "cmp",    "sti",  "ai",   "gr",      "spl",        "com",     "bsw",      "bdp",
    "white",  "red",  "blue", "ballast", "VETdisplay", "VETlamp", "VETsetup", "VETswitch"};

// One cockpit goes through these states in order (examples/cockpit.gh to start).
const std::vector<Step> kSteps = {
    {"off", {},         std::vector<const char *>(std::begin(kAllGauges),               std::end(kAllGauges))},
    {"on",
     {"click gpsnav 108 31", "click lnav 115 40", "click lnav 115 40", "update 80 50"},
     {"gpsnav", "lnav", "caf", "mc", "test"}},
    {"gpsnav-left1",     {"click gpsnav 38 284", "update"},  {"gpsnav"}                          },
    {"gpsnav-left2",     {"click gpsnav 38 284", "update"},  {"gpsnav"}},
    {"gpsnav-left3",     {"click gpsnav 38 284", "update"},  {"gpsnav"}                          },
    {"gpsnav-right1",
     {"click gpsnav 274 284", "click gpsnav 274 284", "click gpsnav 274 284",
      "click gpsnav 274 284", "update"},
     {"gpsnav"}                                               },
    {"gpsnav-right2",     {"click gpsnav 274 284", "update"}, {"gpsnav"}},
    {"gpsnav-right3",     {"click gpsnav 274 284", "update"}, {"gpsnav"}                                               },
    {"gpsnav-right4",     {"click gpsnav 274 284", "update"}, {"gpsnav"}},
    {"lnav-page1",     {"click lnav 282 197", "update"},    {"lnav"}                                                    },
    {"lnav-page2",     {"click lnav 282 197", "update"},    {"lnav"}},
    {"lnav-page3",     {"click lnav 282 197", "update"},    {"lnav"}                                                    },
    {"lnav-page4",     {"click lnav 282 197", "update"},    {"lnav"}},
    {"lnav-home",     {"click lnav 211 39", "update"},     {"lnav"}                                                      },
    {"climb",
     {"token 0x41 512", "token 0x3D 45", "update 200 50"},
     {"lnav", "caf", "mc", "vsi", "asi"}                             },
    {"sink",
     {"token 0x41 -640", "token 0x3D 85", "token 0x4A 1500", "update 200 50"},
     {"lnav", "caf", "mc", "vsi", "asi", "alt"}         },
    {"circling",
     {"token 0x53 135", "token 0x46 546", "token 0x50 30", "token 0x4E 5", "token 0x45 20",
      "update 20 50"},
     {"cmp", "sti", "ai", "white", "red", "blue"}                                                                 },
    {"full-ballast",
     {"token 0x123 0x800000", "token 0x129 0x800000", "update 20 50"},
     {"bdp", "ballast", "VETdisplay"}                 },
};

TEST(Render, EveryGaugeMatchesItsReferencePicture) {
  const bool update = std::getenv("GAUGE_UPDATE_REFERENCES") != nullptr;
  Cockpit cockpit;
  render::Renderer renderer;
  for (const Step &step : kSteps) {
    for (const char *command : step.commands) {
      cockpit.run(command);
    }
    for (const char *name : step.gauges) {
      const std::string picture = std::string(step.state) + "-" + name + ".png";
      SCOPED_TRACE(picture);
      const gaugehost::PlacedGauge *gauge = cockpit.host().gauge(name);
      ASSERT_NE(gauge, nullptr);
      render::Surface image = render::render_gauge(renderer, *gauge, kReferenceScale);
      const auto path = kReferenceDir / picture;
      if (update) {
        std::string error;
        ASSERT_TRUE(render::write_png(image.get(), path, error)) << error;
        continue;
      }
      render::Surface reference(cairo_image_surface_create_from_png(path.c_str()));
      ASSERT_EQ(cairo_surface_status(reference.get()), CAIRO_STATUS_SUCCESS)
          << "no reference " << path;
      ASSERT_EQ(cairo_image_surface_get_width(reference.get()),
                cairo_image_surface_get_width(image.get()));
      ASSERT_EQ(cairo_image_surface_get_height(reference.get()),
                cairo_image_surface_get_height(image.get()));
      EXPECT_LE(differing_share(image.get(), reference.get()), kMaxDifferingShare);
    }
  }
}

// Share of the points along a ray from (x, y) at `angle_deg` (clockwise from
// right), over the middle of the needle's reach, that `needle_only` covers.
double ray_coverage(cairo_surface_t *needle_only, double x, double y, double angle_deg,
                    double reach_px) {
  const double rad = angle_deg * std::numbers::pi / 180.0;
  const int stride = cairo_image_surface_get_stride(needle_only);
  const unsigned char *data = cairo_image_surface_get_data(needle_only);
  int samples = 0, covered = 0;
  for (double r = 0.3 * reach_px; r <= 0.8 * reach_px; r += 1, ++samples) {
    const long px = std::lround(x + r * std::cos(rad));
    const long py = std::lround(y + r * std::sin(rad));
    const uint32_t pixel = reinterpret_cast<const uint32_t *>(data + py * stride)[px];
    covered += (pixel >> 24) > 0x80 ? 1 : 0; // alpha: the needle's own pixels
  }
  return static_cast<double>(covered) / samples;
}

// The needle, drawn alone, lies along `angle_deg` and not across it.
void expect_needle_along(render::Renderer &renderer, const gaugehost::PlacedGauge &gauge,
                         size_t needle, double angle_deg) {
  gaugehost::PlacedGauge alone = gauge;
  alone.elements.assign(1, gauge.elements[needle]);
  render::Surface image = render::render_gauge(renderer, alone);
  const Element &e = *gauge.elements[needle].element;
  // Reach: from the pivot to the bitmap's farther edge along its longer side.
  const auto size = gaugehost::module_bitmap_size(*gauge.module, e.resource_id);
  ASSERT_TRUE(size.has_value());
  const double reach_px =
      size->width_px >= size->height_px
          ? std::max<double>(e.offset_x, static_cast<double>(size->width_px) - e.offset_x)
          : std::max<double>(e.offset_y, static_cast<double>(size->height_px) - e.offset_y);
  EXPECT_GE(ray_coverage(image.get(), e.x, e.y, angle_deg, reach_px), 0.8);
  EXPECT_LE(ray_coverage(image.get(), e.x, e.y, angle_deg + 90, reach_px), 0.2);
  EXPECT_LE(ray_coverage(image.get(), e.x, e.y, angle_deg - 90, reach_px), 0.2);
}

// caf, vsi and asi: at each value of a needle's point table the needle points
// at that table point, the graduation the dial draws for the value.
TEST(Render, TableNeedlesPointAtTheGraduationOfTheirValue) {
  Cockpit cockpit;
  render::Renderer renderer;
  for (const char *name : {"caf", "vsi", "asi"}) {
    gaugehost::PlacedGauge &gauge = *cockpit.host().gauge(name);
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
      if (gauge.elements[i].kind != kElementNeedle) {
        continue;
      }
      const auto &needle = *reinterpret_cast<const NeedleElement *>(gauge.elements[i].element);
      ASSERT_NE(needle.points, nullptr) << name;
      for (int p = 0; p < needle.point_count; ++p) {
        const NonlinearityPoint &point = needle.points[p];
        SCOPED_TRACE(std::string(name) + " needle " + std::to_string(i) + " value " +
                     std::to_string(point.value));
        gauge.elements[i].values[0] = point.value;
        const double toward_deg =
            std::atan2(point.y - needle.element.y, point.x - needle.element.x) * 180.0 /
            std::numbers::pi;
        expect_needle_along(renderer, gauge, i, toward_deg);
      }
    }
  }
}

// alt (metric): the long pointer turns once per 1000 m, the middle one once per
// 10000 m; zero is at twelve o'clock.
TEST(Render, AltimeterPointersPointAtTheGraduationOfTheAltitude) {
  struct Row {
    double altitude_m;
    size_t pointer;   // depth-first element index: 3 short, 4 middle, 5 long
    double clock_deg; // clockwise from twelve o'clock
  };
  const Row rows[] = {
      {0,    5, 0  },
      {250,  5, 90 },
      {500,  5, 180},
      {750,  5, 270},
      {0,    4, 0  },
      {2500, 4, 90 },
      {5000, 4, 180},
      {7500, 4, 270},
  };
  Cockpit cockpit;
  render::Renderer renderer;
  for (const Row &row : rows) {
    SCOPED_TRACE("altitude " + std::to_string(row.altitude_m) + " pointer " +
                 std::to_string(row.pointer));
    cockpit.run("token 0x4A " + std::to_string(row.altitude_m));
    cockpit.run("update");
    const gaugehost::PlacedGauge &alt = *cockpit.host().gauge("alt");
    ASSERT_EQ(alt.elements[row.pointer].kind, kElementNeedle);
    expect_needle_along(renderer, alt, row.pointer, row.clock_deg - 90);
  }
}

} // namespace
