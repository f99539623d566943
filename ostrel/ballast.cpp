// ballast: water ballast in the host's two fuel tanks. A needle shows the
// mean filling; preset buttons (0 .. 100 %) and +-10 % steps set both tank
// levels through FSUIPC while token 0x3C allows it; a dump valve, while open,
// lets out 1 % of the remaining water per second. The valve's state goes to
// the host on every update as one of a pair of key events.
#include "frame/module_clock.h"
#include "frame/module_frame.h"
#include "fsuipc/records.h"
#include "ostrel/convert.h"
#include "ostrel/element_builders.h"
#include "ostrel/fsuipc_link.h"
#include "ostrel/gauges.h"
#include "ostrel/shared_state.h"
#include "ostrel/tokens.h"

namespace ostrel {
namespace {

constexpr int32_t kBallastBitmap = 0x2000;       // 200 x 180
constexpr int32_t kBallastNeedleBitmap = 0x2100; // 100 x 16
constexpr int32_t kValveFirstImage = 0x2001;     // 0x2001 closed, 0x2002 open; 73 x 25
constexpr int32_t kValveImageCount = 2;

// Tank levels: 0x800000 = full. Steps and dumps work on the upper 16 bits
// only (fraction = level >> 16 / 128), so a level below 65536 counts as empty.
constexpr double kTankFullLevel = 8388608.0;
constexpr uint32_t kLevelFractionShift = 16;
constexpr double kLevelUnitsPerFull = 128.0; // of the upper 16 bits
constexpr double kLowerLevelSpan = 65536.0;
constexpr double kStepFraction = 0.1;
constexpr double kDumpRemainingPerStep = 0.99;
constexpr double kDumpIntervalMs = 1000.0;
constexpr double kPercentPerFraction = 100.0;

enum : int32_t {
  kValveClosed = 1,
  kValveOpen = 2, // dumping
};

// What a preset button does while token 0x3C is zero.
enum class ValveAction { kNone, kOpen, kClose };

// Preset buttons, left to right; read by press_preset.
struct PresetRow {
  double percent;
  uint32_t level;
  ValveAction without_level_set;
};
constexpr PresetRow kPresets[] = {
    {.percent = 0.0,   .level = 0x000000, .without_level_set = ValveAction::kOpen },
    {.percent = 25.0,  .level = 0x200000, .without_level_set = ValveAction::kNone },
    {.percent = 50.0,  .level = 0x400000, .without_level_set = ValveAction::kNone },
    {.percent = 75.0,  .level = 0x600000, .without_level_set = ValveAction::kNone },
    {.percent = 100.0, .level = 0x800000, .without_level_set = ValveAction::kClose},
};

// State of the gauge, written by its icon callback and its buttons.
struct BallastState {
  int32_t valve;
  bool first_update;         // the start-up step is still to run
  int32_t last_dump_step_ms; // module clock at the last dump step
  uint32_t level_read;       // last answer for 0x0B7C; kept when a read fails
  uint32_t level_to_write;   // value queued for both tanks
};
constinit BallastState ballast = {
    .valve = kValveClosed,
    .first_update = true,
    .last_dump_step_ms = 0,
    .level_read = 0,
    .level_to_write = 0,
};

constinit TokenVar tank1_var = {.id = kTokenTank1Level};
constinit TokenVar tank2_var = {.id = kTokenTank2Level};
constinit TokenVar level_set_var = {.id = kTokenLevelSetAllowed};

bool level_set_allowed() {
  return truncate_i32(frame::read_token(level_set_var)) != 0;
}

double fraction_of_level(uint32_t level) {
  return static_cast<double>(level >> kLevelFractionShift) / kLevelUnitsPerFull;
}

uint32_t level_of_fraction(double fraction) {
  return truncate_level(fraction * kLevelUnitsPerFull * kLowerLevelSpan);
}

// One connection: both tanks to `level`. True when the server took it.
bool write_both_tanks(uint32_t level) {
  bool written = false;
  if (fsuipc_open()) {
    written = fsuipc_write_tank_levels(level);
  }
  fsuipc_close();
  return written;
}

// Outcome of read_modify_write.
struct LevelChange {
  bool read;    // tank 1 answered; level_to_write holds the new level
  bool written; // the server took the new level for both tanks
  double fraction;
};

// One connection: read tank 1, let `next_fraction` turn its fraction into
// the new one, write that to both tanks. Nothing is written when the read
// fails: a stale answer is never taken for the tank's level.
LevelChange read_modify_write(double (*next_fraction)(double)) {
  LevelChange change = {.read = false, .written = false, .fraction = 0.0};
  if (fsuipc_open() && fsuipc_read_u32(fsuipc::kOffsetTank1Level, &ballast.level_read)) {
    change.read = true;
    change.fraction = next_fraction(fraction_of_level(ballast.level_read));
    ballast.level_to_write = level_of_fraction(change.fraction);
    change.written = fsuipc_write_tank_levels(ballast.level_to_write);
  }
  fsuipc_close();
  return change;
}

double dumped(double fraction) {
  return fraction * kDumpRemainingPerStep;
}

double stepped_down(double fraction) {
  if (fraction > 0.0) {
    fraction -= kStepFraction;
    if (fraction < 0.0) {
      fraction = 0.0;
    }
  }
  return fraction;
}

double stepped_up(double fraction) {
  if (fraction < 1.0) {
    fraction += kStepFraction;
    if (fraction > 1.0) {
      fraction = 1.0;
    }
  }
  return fraction;
}

double ballast_needle(Element *) {
  const double level1 = frame::read_token(tank1_var);
  const double level2 = frame::read_token(tank2_var);
  const double percent = (level1 / kTankFullLevel + level2 / kTankFullLevel) / 2.0 * 100.0;
  if (percent > 100.0) {
    return 100.0;
  }
  // Written so that a NaN from the host shows 0.
  return percent >= 0.0 ? percent : 0.0;
}

// The gauge's periodic logic: start-up step, dump step, valve signal.
double ballast_valve_icon(Element *) {
  if (ballast.first_update) {
    if (level_set_allowed()) {
      write_both_tanks(0);
    }
    ballast.first_update = false;
  }

  if (ballast.valve == kValveOpen) {
    const int32_t now_ms = frame::module_clock_ms();
    if (static_cast<double>(frame::elapsed_ms(now_ms, ballast.last_dump_step_ms)) >
        kDumpIntervalMs) {
      const LevelChange change = read_modify_write(dumped);
      if (change.read && ballast.level_to_write == 0) {
        ballast.valve = kValveClosed; // empty: dumping ends
      }
      if (change.written) {
        ballast_percent = change.fraction * kPercentPerFraction;
      }
      ballast.last_dump_step_ms = now_ms; // a failed step starts a new interval too
    }
  }

  if (ballast.valve == kValveOpen) {
    frame::send_key_event(kKeyWaterDumping, 1);
  } else {
    frame::send_key_event(kKeyWaterNotDumping, 1);
  }
  return ballast.valve - 1;
}

void press_preset(const PresetRow &preset) {
  if (level_set_allowed()) {
    if (write_both_tanks(preset.level)) {
      ballast_percent = preset.percent;
    }
    return;
  }
  if (preset.without_level_set == ValveAction::kOpen) {
    ballast.valve = kValveOpen;
  } else if (preset.without_level_set == ValveAction::kClose) {
    ballast.valve = kValveClosed;
  }
}

void press_step(double (*next_fraction)(double)) {
  if (!level_set_allowed()) {
    return;
  }
  const LevelChange change = read_modify_write(next_fraction);
  if (change.written) {
    ballast_percent = change.fraction * kPercentPerFraction;
  }
}

void press_valve(int32_t valve) {
  ballast.valve = valve;
  frame::sound_slot_play_once(vet_switch_sounds.click, kAttenuationFull);
}

uint32_t preset_0(MousePoint *, uint32_t flags) {
  press_preset(kPresets[0]);
  return flags;
}
uint32_t preset_25(MousePoint *, uint32_t flags) {
  press_preset(kPresets[1]);
  return flags;
}
uint32_t preset_50(MousePoint *, uint32_t flags) {
  press_preset(kPresets[2]);
  return flags;
}
uint32_t preset_75(MousePoint *, uint32_t flags) {
  press_preset(kPresets[3]);
  return flags;
}
uint32_t preset_100(MousePoint *, uint32_t flags) {
  press_preset(kPresets[4]);
  return flags;
}
uint32_t step_down(MousePoint *, uint32_t flags) {
  press_step(stepped_down);
  return flags;
}
uint32_t step_up(MousePoint *, uint32_t flags) {
  press_step(stepped_up);
  return flags;
}
uint32_t valve_open(MousePoint *, uint32_t flags) {
  press_valve(kValveOpen);
  return flags;
}
uint32_t valve_close(MousePoint *, uint32_t flags) {
  press_valve(kValveClosed);
  return flags;
}

// The first two presets share the column x = 41; the first listed takes it.
constinit MouseRectangle ballast_mouse[] = {
    mouse_whole_gauge(),
    mouse_child(9, 16, 33, 26, kCursorHand, kMouseClick, preset_0),
    mouse_child(41, 16, 43, 26, kCursorHand, kMouseClick, preset_25),
    mouse_child(84, 16, 38, 26, kCursorHand, kMouseClick, preset_50),
    mouse_child(122, 16, 43, 26, kCursorHand, kMouseClick, preset_75),
    mouse_child(165, 16, 27, 26, kCursorHand, kMouseClick, preset_100),
    mouse_child(9, 74, 44, 40, kCursorDown, kMouseClick, step_down),
    mouse_child(147, 74, 44, 40, kCursorUp, kMouseClick, step_up),
    mouse_child(41, 132, 37, 37, kCursorDown, kMouseClick, valve_open),
    mouse_child(127, 132, 37, 37, kCursorHand, kMouseClick, valve_close),
    mouse_end_parent(),
    mouse_end(),
};

// Needle scale, 0 .. 100 % left to right.
constinit NonlinearityPoint ballast_points[] = {
    {.x = 24,  .y = 42, .value = 0  },
    {.x = 68,  .y = 42, .value = 25 },
    {.x = 103, .y = 42, .value = 50 },
    {.x = 139, .y = 42, .value = 75 },
    {.x = 183, .y = 42, .value = 100},
};

constinit NeedleElement ballast_needle_element =
    needle(kBallastNeedleBitmap, {106, 106}, {6, 12}, kTokenElementSource, ballast_points,
           &ballast_gauge, ballast_needle);
constinit IconElement ballast_valve_element =
    icon(kValveFirstImage, kValveImageCount, {63, 140}, 0, &ballast_gauge, ballast_valve_icon);
constinit Element *ballast_children[] = {&ballast_needle_element.element,
                                         &ballast_valve_element.element, nullptr};
constinit StaticImageElement ballast_root =
    static_image(kBallastBitmap, &ballast_gauge, ballast_children, kDrawTransparent);
constinit Element *ballast_roots[] = {&ballast_root.element, nullptr};

} // namespace

constinit GaugeHeader ballast_gauge = {GAUGE_HEADER_COMMON("ballast", ballast_roots),
                                       .default_size = 80, .mouse_list = ballast_mouse};

} // namespace ostrel
