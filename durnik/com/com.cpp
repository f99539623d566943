// com: VHF radio. The frequency lives in the host (token 0x17, BCD) and
// changes only through key events; the gauge keeps its knob pictures, a volume
// position and four frequency memories. Its gauge callback acts on no service.
#include "durnik/bitmaps.h"
#include "durnik/com/com_state.h"

#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_frame.h"

namespace durnik {
namespace {

using namespace com;

inline constexpr size_t kWorkBufferBytes = 16;

constinit TokenVar frequency_token = {.id = kTokenComFrequencyBcd};

// Decodes the host's frequency into state.digits and state.frequency_mhz.
void read_frequency() {
  decode_frequency(state, frame::read_token_u32(frequency_token));
}

// Knob angles, degrees.
double volume_knob_angle(Element *) {
  return state.volume * 30.0 + 90.0;
}
double selector_knob_angle(Element *) {
  return state.memory_selector * 30.0 - 165.0;
}
double coarse_knob_angle(Element *) {
  return state.coarse_knob * 19.0;
}
double fine_knob_angle(Element *) {
  return state.fine_knob * 18.0 - 135.0;
}

double frequency_text(Element *element) {
  read_frequency();
  char work[kWorkBufferBytes];
  if (state.frequency_mhz < kDisplayLimit_mhz) {
    frame::format_into(work, sizeof work, "%6.2f", state.frequency_mhz);
  } else {
    frame::format_into(work, sizeof work, "---.--");
  }
  frame::format_text(element, "%s", work);
  return state.frequency_mhz;
}

void send_set(uint32_t frequency_bcd) {
  state.frequency_to_send = frequency_bcd;
  frame::send_key_event(kKeyComSet, static_cast<int32_t>(frequency_bcd));
}

uint32_t no_action(MousePoint *, uint32_t flags) {
  return flags;
}

uint32_t volume_up(MousePoint *, uint32_t flags) {
  if (state.volume != kVolumeMax) {
    ++state.volume;
  }
  return flags;
}

uint32_t volume_down(MousePoint *, uint32_t flags) {
  if (state.volume != 0) {
    --state.volume;
  }
  return flags;
}

// From the last slot the selector moves beyond the slots and sends nothing.
uint32_t selector_up(MousePoint *, uint32_t flags) {
  if (state.memory_selector < kSelectorBeyondSlots) {
    ++state.memory_selector;
  }
  if (state.memory_selector < kMemorySlots) {
    send_set(state.memory[state.memory_selector]);
  }
  return flags;
}

// At slot 0 the first slot is sent again.
uint32_t selector_down(MousePoint *, uint32_t flags) {
  if (state.memory_selector > 0) {
    --state.memory_selector;
  }
  send_set(state.memory[state.memory_selector]);
  return flags;
}

uint32_t store(MousePoint *, uint32_t flags) {
  if (state.memory_selector < kMemorySlots) {
    const uint32_t frequency_bcd = frame::read_token_u32(frequency_token);
    state.memory[state.memory_selector] = frequency_bcd;
    send_set(frequency_bcd);
  }
  return flags;
}

uint32_t coarse_up(MousePoint *, uint32_t flags) {
  step_coarse_knob(state, +1);
  frame::send_key_event(kKeyComMhzUp, 0);
  return flags;
}

uint32_t coarse_down(MousePoint *, uint32_t flags) {
  step_coarse_knob(state, -1);
  frame::send_key_event(kKeyComMhzDown, 0);
  return flags;
}

// The carry reads the frequency right after the fraction event: the host
// applies that event only after this handler returns, and its fraction events
// wrap within the megahertz, so .95 here means the next step wraps to .00.
uint32_t fine_up(MousePoint *, uint32_t flags) {
  step_fine_knob(state, +1);
  frame::send_key_event(kKeyComFractionUp, 0);
  read_frequency();
  if (state.digits[kTenths] == 9 && state.digits[kHundredths] == 5) {
    frame::send_key_event(kKeyComMhzUp, 0);
  }
  return flags;
}

// Borrow from the megahertz when the fraction reads .00 before the step.
uint32_t fine_down(MousePoint *, uint32_t flags) {
  step_fine_knob(state, -1);
  frame::send_key_event(kKeyComFractionDown, 0);
  read_frequency();
  if (state.digits[kTenths] == 0 && state.digits[kHundredths] == 0) {
    frame::send_key_event(kKeyComMhzDown, 0);
  }
  return flags;
}

// Chain: each element is the only child of the one before it.
constinit StringElement display = {
    .element = {.kind = kElementString,
                .resource_id = -1,
                .x = 34,
                .y = 84,
                .gauge = &com_gauge,
                .drawing_flags = kDrawErase},
    .sources = {{.id = kTokenStringSource}               },
    .box_width_px = 170,
    .box_height_px = 46,
    .text_colour = 0x404040,
    .background_colour = 0xBDBDBD,
    .highlight_colour = 0x404040,
    .font_face = "Quartz",
    .font_weight = kFontWeightNormal,
    .char_set = kCharSetDefault,
    .layout_flags = kTextLayoutCentred,
    .max_chars = 6,
    .callback = frequency_text,
};
constinit Element *fine_knob_children[] = {&display.element, nullptr};

constinit NeedleElement fine_knob = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapComSmallKnob,
                .x = 166,
                .y = 200,
                .offset_x = 16,
                .offset_y = 16,
                .gauge = &com_gauge,
                .children = fine_knob_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .callback = fine_knob_angle,
};
constinit Element *coarse_knob_children[] = {&fine_knob.element, nullptr};

constinit NeedleElement coarse_knob = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapComCoarseKnob,
                .x = 157,
                .y = 190,
                .offset_x = 48,
                .offset_y = 48,
                .gauge = &com_gauge,
                .children = coarse_knob_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .callback = coarse_knob_angle,
};
constinit Element *selector_knob_children[] = {&coarse_knob.element, nullptr};

constinit NeedleElement selector_knob = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapComSmallKnob,
                .x = 56,
                .y = 190,
                .offset_x = 16,
                .offset_y = 16,
                .gauge = &com_gauge,
                .children = selector_knob_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .callback = selector_knob_angle,
};
constinit Element *volume_knob_children[] = {&selector_knob.element, nullptr};

constinit NeedleElement volume_knob = {
    .element = {.kind = kElementNeedle,
                .resource_id = kBitmapComSmallKnob,
                .x = 120,
                .y = 24,
                .offset_x = 16,
                .offset_y = 16,
                .gauge = &com_gauge,
                .children = volume_knob_children,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .callback = volume_knob_angle,
};
constinit Element *face_children[] = {&volume_knob.element, nullptr};

constinit StaticImageElement face = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapComFace,
                .gauge = &com_gauge,
                .children = face_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&face.element, nullptr};

// Buttons that step while held carry kMouseStepRepeat.
// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone},
    {.kind = kMouseChild, .x = 58, .y = 18, .width = 14, .height = 28, .cursor = kCursorHand, .event_mask = kMouseClick, .handler = no_action},
    {.kind = kMouseChild, .x = 119, .y = 5, .width = 22, .height = 45, .cursor = kCursorUp, .event_mask = kMouseClick | kMouseStepRepeat, .handler = volume_up},
    {.kind = kMouseChild, .x = 97, .y = 5, .width = 22, .height = 45, .cursor = kCursorDown, .event_mask = kMouseClick | kMouseStepRepeat, .handler = volume_down},
    {.kind = kMouseChild, .x = 56, .y = 164, .width = 20, .height = 40, .cursor = kCursorUp, .event_mask = kMouseClick, .handler = selector_up},
    {.kind = kMouseChild, .x = 36, .y = 164, .width = 20, .height = 40, .cursor = kCursorDown, .event_mask = kMouseClick, .handler = selector_down},
    {.kind = kMouseChild, .x = 158, .y = 16, .width = 30, .height = 30, .cursor = kCursorHand, .event_mask = kMouseClick, .handler = store},
    {.kind = kMouseChild, .x = 186, .y = 180, .width = 20, .height = 40, .cursor = kCursorHand, .event_mask = kMouseClick | kMouseStepRepeat, .handler = coarse_up},
    {.kind = kMouseChild, .x = 126, .y = 180, .width = 20, .height = 40, .cursor = kCursorHand, .event_mask = kMouseClick | kMouseStepRepeat, .handler = coarse_down},
    {.kind = kMouseChild, .x = 166, .y = 180, .width = 20, .height = 40, .cursor = kCursorUp, .event_mask = kMouseClick | kMouseStepRepeat, .handler = fine_up},
    {.kind = kMouseChild, .x = 146, .y = 180, .width = 20, .height = 40, .cursor = kCursorDown, .event_mask = kMouseClick | kMouseStepRepeat, .handler = fine_down},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace

constinit GaugeHeader com_gauge = {
    GAUGE_HEADER_COMMON("com", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = ignore_services,
};

} // namespace durnik
