// VETlamp: the launch sequence's four-state lamp. It also plays the airbrake
// closing and opening sounds when the airbrake lever moves near its ends, and
// a click while the launch is ready toggles kKeyLampToggle.
#include "frame/module_frame.h"
#include "frame/sound_slot.h"
#include "ostrel/element_builders.h"
#include "ostrel/gauges.h"
#include "ostrel/shared_state.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kLampBitmap = 0x2400;        // 200 x 204; also the icon's first image
constexpr int32_t kLampImageCount = 4;         // 0x2400 .. 0x2403, one per lamp state
constexpr double kAirbrakeClosedBelow = 400.0; // lever position, 0 .. 16383
constexpr double kAirbrakeOpenAbove = 16000.0;

// SOUND resources: 0x2900 airbrake closing, 0x2A00 airbrake opening.
struct VetLampSounds {
  SoundSlot airbrake_closing;
  SoundSlot airbrake_opening;
};
constinit VetLampSounds lamp_sounds = {
    .airbrake_closing = {.status = 0, .handle = 0, .resource_id = 0x2900, .host_value = 0},
    .airbrake_opening = {.status = 0, .handle = 0, .resource_id = 0x2A00, .host_value = 0},
};
// Placements holding the sounds: loaded at the first service 3, released at
// the last service 12 (a second placement must not load over the first).
constinit int32_t sound_holders = 0;

// Airbrake position at the previous update (starts at 0); written only by
// the icon callback, so a lever resting near an end sounds once.
constinit double last_airbrake_position = 0.0;

constinit TokenVar airbrake_var = {.id = kTokenAirbrakePosition};

double vet_lamp_icon(Element *) {
  const double position = frame::read_token(airbrake_var);
  if (position != last_airbrake_position) {
    if (position < kAirbrakeClosedBelow) {
      frame::sound_slot_play_once(lamp_sounds.airbrake_closing, kAttenuationQuiet);
    }
    if (position > kAirbrakeOpenAbove) {
      frame::sound_slot_play_once(lamp_sounds.airbrake_opening, kAttenuationQuiet);
    }
    last_airbrake_position = position;
  }
  return vet_run.lamp_state;
}

uint32_t vet_lamp_click(MousePoint *, uint32_t flags) {
  if (vet_run.lamp_state == kLampReady) {
    vet_run.lamp_toggled = !vet_run.lamp_toggled;
    frame::send_key_event(kKeyLampToggle, 0);
  }
  return flags;
}

int32_t vet_lamp_service(GaugeHeader *, int32_t service_id, uint32_t host_value) {
  if (service_id == 3 && sound_holders++ == 0) {
    frame::sound_slot_load(lamp_sounds.airbrake_closing, host_value);
    frame::sound_slot_load(lamp_sounds.airbrake_opening, host_value);
  } else if (service_id == 12 && sound_holders > 0 && --sound_holders == 0) {
    frame::sound_slot_release_unloaded(lamp_sounds.airbrake_closing);
    frame::sound_slot_release_unloaded(lamp_sounds.airbrake_opening);
  }
  return 0;
}

constinit MouseRectangle vet_lamp_mouse[] = {
    mouse_whole_gauge(),
    mouse_child(0, 0, 200, 200, kCursorHand, kMouseClick, vet_lamp_click),
    mouse_end_parent(),
    mouse_end(),
};

constinit IconElement vet_lamp_icon_element =
    icon(kLampBitmap, kLampImageCount, {0, 7}, kTokenElementSource, &vet_lamp_gauge, vet_lamp_icon);
constinit Element *vet_lamp_children[] = {&vet_lamp_icon_element.element, nullptr};
constinit StaticImageElement vet_lamp_root =
    static_image(kLampBitmap, &vet_lamp_gauge, vet_lamp_children, kDrawTransparent);
constinit Element *vet_lamp_roots[] = {&vet_lamp_root.element, nullptr};

} // namespace

constinit GaugeHeader vet_lamp_gauge = {GAUGE_HEADER_COMMON("VETlamp", vet_lamp_roots),
                                        .default_size = 100, .mouse_list = vet_lamp_mouse,
                                        .gauge_callback = vet_lamp_service};

} // namespace ostrel
