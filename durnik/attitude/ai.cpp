// ai: attitude indicator. The horizon card moves with pitch and turns with
// bank behind a bezel that turns with it; the host applies the bank through the
// rotation sources. Its gauge callback acts on no service.
#include <algorithm>

#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

inline constexpr double kPitchLimit_deg = 45.0;
inline constexpr double kCardPxPerPitchDeg = 2.0;
// Bank turns card and bezel against the aircraft.
inline constexpr double kBankRotationScale = -1.0;

double card_pitch(Element *element) {
  return std::clamp(reinterpret_cast<RotateElement *>(element)->y_source.value, -kPitchLimit_deg,
                    kPitchLimit_deg);
}

// Chain: the bezel lies above the horizon card.
constinit RotateElement bezel = {
    .element = {.kind = kElementRotate,
                .resource_id = kBitmapAiBezel,
                .x = 26,
                .y = 26,
                .offset_x = 150,
                .offset_y = 150,
                .gauge = &ai_gauge,
                .drawing_flags = kDrawTransparent},
    .x_scale = 1.0,
    .y_scale = 1.0,
    .rotation_source = {.id = kTokenBank_deg               },
    .rotation_scale = kBankRotationScale,
    .texture_scale_x = 1.0f,
    .texture_scale_y = 1.0f,
};
constinit Element *card_children[] = {&bezel.element, nullptr};

constinit RotateElement card = {
    .element = {.kind = kElementRotate,
                .resource_id = kBitmapAiCard,
                .x = 50,
                .y = 50,
                .offset_x = 150,
                .offset_y = 150,
                .gauge = &ai_gauge,
                .children = card_children,
                .drawing_flags = kDrawTransparent},
    .x_scale = 1.0,
    .y_source = {.id = kTokenPitch_deg               },
    .y_scale = kCardPxPerPitchDeg,
    .rotation_source = {.id = kTokenBank_deg       },
    .rotation_scale = kBankRotationScale,
    .texture_scale_x = 0.6f,
    .texture_scale_y = 0.6f,
    .y_callback = card_pitch,
};
constinit Element *case_children[] = {&card.element, nullptr};

constinit StaticImageElement case_image = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapAiCase,
                .gauge = &ai_gauge,
                .children = case_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&case_image.element, nullptr};

constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent,    .cursor = kCursorNone, .help_id = 43789},
    {.kind = kMouseEndParent      },
    {.kind = kMouseEnd},
};

} // namespace

constinit GaugeHeader ai_gauge = {
    GAUGE_HEADER_COMMON("ai", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
