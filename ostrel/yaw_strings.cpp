// Yaw strings white, red and blue: a string needle that swings with the
// host's slip and flutters by a small triangle wave. The three differ only in
// the string's bitmap; they share the needle callback and the flutter state.
#include "frame/module_frame.h"
#include "ostrel/convert.h"
#include "ostrel/element_builders.h"
#include "ostrel/fsuipc_link.h"
#include "ostrel/gauges.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kBackgroundBitmap = 0x1000;  // 150 x 150, all three
constexpr int32_t kWhiteStringBitmap = 0x1100; // 101 x 7
constexpr int32_t kRedStringBitmap = 0x1200;
constexpr int32_t kBlueStringBitmap = 0x1300;
constexpr ElementPlace kStringPivotPlace = {77, 108};
constexpr ElementPlace kStringPivotInBitmap = {1, 3};
constexpr uint32_t kYawDefaultSize = 100;

// Flutter: a triangle wave of amplitude 12 in steps of 4 (needle units),
// advanced once per update of every placed yaw string, so two or three
// strings each see their own phase of one faster wave. Written only by
// yaw_string_needle; set at load, never reset.
constexpr int32_t kFlutterStep = 4;
constexpr int32_t kFlutterTurn = 10; // the direction turns once the offset passes +-10
constinit int32_t flutter_offset = 0;
constinit bool flutter_rising = true;

// Needle value range: 0 points straight up, +128 toward the left edge.
constexpr int32_t kNeedleLimit = 127;

constinit TokenVar slip_var = {.id = kTokenSlip};

double yaw_string_needle(Element *) {
  // Truncated toward zero: -3.7 is -3.
  const int32_t slip = truncate_i32(frame::read_token(slip_var));
  if (flutter_rising) {
    flutter_offset += kFlutterStep;
    if (flutter_offset > kFlutterTurn) {
      flutter_rising = false;
    }
  } else {
    flutter_offset -= kFlutterStep;
    if (flutter_offset < -kFlutterTurn) {
      flutter_rising = true;
    }
  }
  // 64-bit sum: a saturated slip plus the offset must not overflow.
  const int64_t value = static_cast<int64_t>(slip) + flutter_offset;
  if (value > kNeedleLimit) {
    return kNeedleLimit;
  }
  if (value < -kNeedleLimit) {
    return -kNeedleLimit;
  }
  return static_cast<double>(value);
}

int32_t yaw_string_service(GaugeHeader *, int32_t service_id, uint32_t) {
  if (service_id == 2) {
    return fsuipc_presence_check();
  }
  return service_id;
}

// The needle's point table, the same for the three strings: value 128 at the
// left edge, 0 straight up, -128 at the right edge.
constinit NonlinearityPoint yaw_points[] = {
    {.x = 0,   .y = 0, .value = 128 },
    {.x = 75,  .y = 0, .value = 0   },
    {.x = 149, .y = 0, .value = -128},
};

// Shared by the three: one parent, no children; the strings take no clicks.
constinit MouseRectangle yaw_mouse[] = {
    mouse_whole_gauge(),
    mouse_end_parent(),
    mouse_end(),
};

constinit NeedleElement white_needle =
    needle(kWhiteStringBitmap, kStringPivotPlace, kStringPivotInBitmap, 0, yaw_points, &white_gauge,
           yaw_string_needle);
constinit Element *white_children[] = {&white_needle.element, nullptr};
constinit StaticImageElement white_root =
    static_image(kBackgroundBitmap, &white_gauge, white_children, kDrawTransparent | kDrawErase);
constinit Element *white_roots[] = {&white_root.element, nullptr};

constinit NeedleElement red_needle =
    needle(kRedStringBitmap, kStringPivotPlace, kStringPivotInBitmap, 0, yaw_points, &red_gauge,
           yaw_string_needle);
constinit Element *red_children[] = {&red_needle.element, nullptr};
constinit StaticImageElement red_root =
    static_image(kBackgroundBitmap, &red_gauge, red_children, kDrawTransparent | kDrawErase);
constinit Element *red_roots[] = {&red_root.element, nullptr};

constinit NeedleElement blue_needle =
    needle(kBlueStringBitmap, kStringPivotPlace, kStringPivotInBitmap, 0, yaw_points, &blue_gauge,
           yaw_string_needle);
constinit Element *blue_children[] = {&blue_needle.element, nullptr};
constinit StaticImageElement blue_root =
    static_image(kBackgroundBitmap, &blue_gauge, blue_children, kDrawTransparent | kDrawErase);
constinit Element *blue_roots[] = {&blue_root.element, nullptr};

} // namespace

constinit GaugeHeader white_gauge = {GAUGE_HEADER_COMMON("white", white_roots),
                                     .default_size = kYawDefaultSize, .mouse_list = yaw_mouse,
                                     .gauge_callback = yaw_string_service};
constinit GaugeHeader red_gauge = {GAUGE_HEADER_COMMON("red", red_roots),
                                   .default_size = kYawDefaultSize, .mouse_list = yaw_mouse,
                                   .gauge_callback = yaw_string_service};
constinit GaugeHeader blue_gauge = {GAUGE_HEADER_COMMON("blue", blue_roots),
                                    .default_size = kYawDefaultSize, .mouse_list = yaw_mouse,
                                    .gauge_callback = yaw_string_service};

} // namespace ostrel
