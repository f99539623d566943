// bsw: water-ballast valve switch. Fills both tanks once when the gauge starts
// and, while the valve is open, dumps them step by step through FSUIPC,
// closing the valve by itself at empty tanks. Every update tells the host
// whether water is being dumped.
#include "durnik/bitmaps.h"
#include "durnik/common.h"
#include "durnik/gauges.h"
#include "durnik/tokens.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "fsuipc/ipc_client.h"

namespace durnik {
namespace {

enum : int32_t { kValveClosed = 1, kValveOpen = 2 };

inline constexpr uint32_t kLevelBytes = 4;
inline constexpr uint32_t kLevelFull_raw = 0x800000;
inline constexpr double kDumpInterval_ms = 1000.0;
inline constexpr double kDumpFactor = 0.99;
// The fill only accepts simulator version code 2; the dump accepts any (0).
inline constexpr uint32_t kFillSimVersion = 2;
inline constexpr uint32_t kAnySimVersion = 0;

// Written by the services, the click handlers and the icon's callback.
constinit int32_t valve = 0;        // 0 only before the first service 4
constinit int32_t fill_pending = 0; // set by service 4, cleared after the fill try
constinit int32_t active = 0;       // set by service 10, cleared by 12 or a zero capacity
constinit int32_t last_dump_step_ms = 0;
constinit uint32_t level_read_raw = 0; // answer of the read of tank 1's level
constinit uint32_t level_to_write_raw = 0;
constinit uint32_t result_code = 0; // last FSUIPC result; never examined

constinit TokenVar tank1_capacity_token = {.id = kTokenTank1Capacity_gal};
constinit TokenVar tank2_capacity_token = {.id = kTokenTank2Capacity_gal};
constinit TokenVar tank1_level_token = {.id = kTokenTank1Level_raw};
constinit TokenVar tank2_level_token = {.id = kTokenTank2Level_raw};

void write_both_tanks(uint32_t level_raw) {
  level_to_write_raw = level_raw;
  fsuipc::IpcQueueWrite(fsuipc::kOffsetTank1Level, kLevelBytes, &level_to_write_raw, &result_code);
  fsuipc::IpcQueueWrite(fsuipc::kOffsetTank2Level, kLevelBytes, &level_to_write_raw, &result_code);
  fsuipc::IpcExchange(&result_code);
}

// Fills both tanks unless they already hold their capacity. A zero capacity
// disarms the gauge until the next service 10; any other outcome, filled or
// not, ends the fill for good.
void start_up_fill() {
  const double capacity_gal =
      frame::read_token(tank1_capacity_token) + frame::read_token(tank2_capacity_token);
  if (capacity_gal == 0.0) {
    active = 0;
    return;
  }
  const double amount_gal = (frame::read_token(tank1_level_token) / kTankFull_raw +
                             frame::read_token(tank2_level_token) / kTankFull_raw) /
                            2.0 * capacity_gal;
  if (amount_gal < capacity_gal) {
    if (fsuipc::IpcConnect(kFillSimVersion, &result_code) != 0) {
      write_both_tanks(kLevelFull_raw);
    }
    fsuipc::IpcDisconnect();
  }
  fill_pending = 0;
}

// Sets both tanks to 99 % of tank 1's level with its low 16 bits dropped.
// From full this takes 115 steps; the step that reads 0 writes 0 and closes
// the valve.
//
// A step whose read brings no answer writes nothing and leaves the valve
// alone: the exchange failed, or it succeeded without delivering the read
// (a spoiled record ends the unpacking; the result code then says
// kResultData). Writing back the previous answer instead (0 before any) would
// empty both tanks at once. Whether the read was answered is the answer
// walk's word, not the value: every 32-bit level is taken as read.
void dump_step() {
  const int32_t now_ms = frame::module_clock_ms();
  if (static_cast<double>(frame::elapsed_ms(now_ms, last_dump_step_ms)) <= kDumpInterval_ms) {
    return;
  }
  if (fsuipc::IpcConnect(kAnySimVersion, &result_code) != 0) {
    bool answered = false;
    const bool exchanged =
        fsuipc::IpcQueueReadAnswered(fsuipc::kOffsetTank1Level, kLevelBytes, &level_read_raw,
                                     &answered, &result_code) != 0 &&
        fsuipc::IpcExchange(&result_code) != 0;
    if (exchanged && !answered) {
      result_code = fsuipc::kResultData;
    }
    if (answered) {
      const uint32_t k = level_read_raw >> 16;
      const auto level_raw = static_cast<uint32_t>(kDumpFactor * (k / 128.0) * 128.0 * 65536.0);
      if (level_raw == 0) {
        valve = kValveClosed;
      }
      write_both_tanks(level_raw);
    }
  }
  fsuipc::IpcDisconnect();
  last_dump_step_ms = now_ms;
}

// All of the gauge's logic, on every update.
double valve_image(Element *) {
  if (fill_pending != 0 && active != 0) {
    start_up_fill();
  }
  if (active != 0 && valve == kValveOpen) {
    dump_step();
  }
  // After the step: the step that empties the tanks already signals no dumping.
  if (active != 0 && valve == kValveOpen) {
    frame::send_key_event(kKeyBallastDumping, 1);
  } else {
    frame::send_key_event(kKeyBallastNotDumping, 1);
  }
  return valve - 1;
}

// A click changes only the valve; the effect follows at the next update.
uint32_t close_valve(MousePoint *, uint32_t flags) {
  valve = kValveClosed;
  return flags;
}

uint32_t open_valve(MousePoint *, uint32_t flags) {
  valve = kValveOpen;
  return flags;
}

int32_t bsw_service(GaugeHeader *, int32_t service_id, uint32_t) {
  switch (service_id) {
  case 4:
    valve = kValveClosed;
    fill_pending = 1;
    break;
  case 10:
    active = 1;
    break;
  case 12:
    fill_pending = 0;
    active = 0;
    break;
  default:
    break;
  }
  return 0;
}

constinit IconElement switch_icon = {
    .element = {.kind = kElementIcon,
                .resource_id = kBitmapBswValve,
                .x = 7,
                .y = 12,
                .gauge = &bsw_gauge,
                .drawing_flags = kDrawTransparent | kDrawErase},
    .image_count = 2,
    .callback = valve_image,
};
constinit Element *plate_children[] = {&switch_icon.element, nullptr};

constinit StaticImageElement plate = {
    .element = {.kind = kElementStaticImage,
                .resource_id = kBitmapBswPlate,
                .gauge = &bsw_gauge,
                .children = plate_children,
                .drawing_flags = kDrawTransparent},
};
constinit Element *roots[] = {&plate.element, nullptr};

// clang-format off
constinit MouseRectangle mouse_list[] = {
    {.kind = kMouseParent, .cursor = kCursorNone},
    {.kind = kMouseChild, .x = 0, .y = 12, .width = 37, .height = 37, .cursor = kCursorUp, .event_mask = kMouseClick, .handler = close_valve},
    {.kind = kMouseChild, .x = 0, .y = 49, .width = 37, .height = 37, .cursor = kCursorDown, .event_mask = kMouseClick, .handler = open_valve},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};
// clang-format on

} // namespace

constinit GaugeHeader bsw_gauge = {
    GAUGE_HEADER_COMMON("bsw", roots),
    .default_size = 100,
    .mouse_list = mouse_list,
    .gauge_callback = bsw_service,
};

} // namespace durnik
