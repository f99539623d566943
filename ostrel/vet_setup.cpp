// VETsetup: the launch's target height, 300 to 600 m in steps of 10, shown in
// metres with the metric units setting and in feet otherwise.
#include "frame/module_frame.h"
#include "ostrel/convert.h"
#include "ostrel/element_builders.h"
#include "ostrel/gauges.h"
#include "ostrel/shared_state.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kSetupBitmap = 0x2500; // 491 x 186
constexpr double kTargetStepM = 10.0;
constexpr double kTargetMaxM = 600.0;
constexpr double kTargetMinM = 300.0;

constexpr StringLook kSetupLook = {.box_width_px = 370,
                                   .box_height_px = 150,
                                   .text_colour = 0x404040,
                                   .background_colour = 0xBDBDBD,
                                   .max_chars = 4,
                                   .drawing_flags = kDrawErase};

constinit TokenVar units_var = {.id = kTokenUnitSetting};

double vet_setup_text(Element *element) {
  const double target_m = vet_run.target_height_m;
  const bool metric = truncate_i32(frame::read_token(units_var)) == kUnitSettingMetric;
  const double shown = metric ? target_m : feet_from_metres_ten_thirds(target_m);
  frame::format_text(element, "%04.0f", shown);
  return shown;
}

uint32_t vet_setup_up(MousePoint *, uint32_t flags) {
  if (vet_run.target_height_m < kTargetMaxM) {
    vet_run.target_height_m += kTargetStepM;
  }
  return flags;
}

uint32_t vet_setup_down(MousePoint *, uint32_t flags) {
  if (vet_run.target_height_m > kTargetMinM) {
    vet_run.target_height_m -= kTargetStepM;
  }
  return flags;
}

constexpr uint32_t kStepButtonMask = kMouseClick | kMouseStepRepeat;
constinit MouseRectangle vet_setup_mouse[] = {
    mouse_whole_gauge(),
    mouse_child(400, 8, 82, 82, kCursorUp, kStepButtonMask, vet_setup_up),
    mouse_child(400, 95, 82, 82, kCursorDown, kStepButtonMask, vet_setup_down),
    mouse_end_parent(),
    mouse_end(),
};

constinit StringElement vet_setup_string =
    string_line({18, 21}, kSetupLook, &vet_setup_gauge, vet_setup_text);
constinit Element *vet_setup_children[] = {&vet_setup_string.element, nullptr};
constinit StaticImageElement vet_setup_root =
    static_image(kSetupBitmap, &vet_setup_gauge, vet_setup_children, kDrawTransparent);
constinit Element *vet_setup_roots[] = {&vet_setup_root.element, nullptr};

} // namespace

constinit GaugeHeader vet_setup_gauge = {GAUGE_HEADER_COMMON("VETsetup", vet_setup_roots),
                                         .default_size = 100, .mouse_list = vet_setup_mouse};

} // namespace ostrel
