// The substitute host: loads gauge modules, places their gauges, runs update
// cycles, dispatches mouse events and serves the panel services (token
// variables, key events, element-list services).
//
// One Host is active per process at a time: the panel services are plain
// function pointers without context, so they reach the active host through a
// process-wide pointer. Everything runs on the caller's thread (the panel
// thread).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/gauge.h"

namespace gaugehost {

struct KeyEvent {
  uint32_t id;
  int32_t value;
  int64_t time_ms; // host time of the event
};

// What the drawing side would get for one element after the last update.
struct ElementState {
  Element *element = nullptr;
  int index = 0; // depth-first position, root 0
  int depth = 0;
  int32_t kind = 0;
  double values[3] = {0, 0, 0}; // needle/icon: [0]; shift, scroll: x, y; rotate: x, y, r
  std::string text; // shown text of a string (cut to its maximum); its room is reserved at
                    // placement, so refreshing it never allocates
  std::array<char, kStringBufferBytes> buffer{}; // the host's text buffer
  bool updated = false;
};

struct MouseTarget {
  const MouseRectangle *rectangle = nullptr;
  int x = 0, y = 0, width = 0, height = 0; // absolute, design pixels
  int depth = 0;
};

struct LoadedModule;

struct PlacedGauge {
  std::string name; // placement name
  std::string gauge_name;
  LoadedModule *module = nullptr;
  GaugeHeader *header = nullptr;
  std::vector<ElementState> elements; // depth-first
  std::vector<MouseTarget> mouse_targets;
  HostImage root_image{};
  uint64_t cycles = 0;
};

struct HostOptions {
  std::filesystem::path module_dir; // where MODULE.so files are
  bool virtual_time = true;
  // Virtual clock start: 2026-06-01 10:00:00 UTC.
  int64_t start_epoch_ms = 1780308000000;
  // Key events kept for take_key_events; older ones are dropped beyond this
  // (bsw and ballast send one on every update). 0 keeps none: a host whose
  // key events go to a sink only (a session) needs no log.
  size_t key_log_limit = 100000;
};

class Host {
public:
  explicit Host(HostOptions options);
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // Default module folder: ../modules beside the running executable.
  static std::filesystem::path default_module_dir();

  // Module life cycle. On failure return false and set `error`.
  bool load_module(const std::string &name, std::string &error);
  bool unload_module(const std::string &name, std::string &error);
  bool module_loaded(const std::string &name) const;
  std::vector<std::string> gauge_names(const std::string &module) const;

  // Places MODULE!GAUGE as `placement` (services 2, 3, 4, 5).
  bool place(const std::string &module, const std::string &gauge, const std::string &placement,
             std::string &error);
  // Service 12, then the gauge is gone.
  bool remove(const std::string &placement, std::string &error);

  // Token variables.
  void set_token(uint32_t id, double value);
  double token(uint32_t id) const;
  // Lets another component own a token's value (read on every refresh).
  void bind_token(uint32_t id, std::function<double()> reader, std::function<void(double)> writer);

  // Key events sent by gauges (and rectangles' own key events) since the last
  // take, at most HostOptions::key_log_limit of them; `dropped`, if given,
  // receives how many older ones were dropped since the last take.
  std::vector<KeyEvent> take_key_events(uint64_t *dropped = nullptr);
  // Called for every key event after the handler or callback that sent it
  // has returned (a flight model applies them here).
  void set_key_event_sink(std::function<void(const KeyEvent &)> sink);

  // Time. `advance` moves the virtual clock, or sleeps the whole time under
  // the wall clock, and lets the mixer follow. Returns false and does nothing
  // when `ms` is negative or the clock would pass its largest value.
  bool advance(int64_t ms);
  int64_t time_ms() const; // milliseconds since the host started

  // N update cycles; before each the clock advances by step_ms. Every placed
  // gauge is updated in placement order. Returns false and runs nothing when
  // a count is negative or the N steps would pass the clock's largest value.
  bool update(int64_t cycles = 1, int64_t step_ms = 55);
  // One update walk over every placed gauge in placement order, without
  // moving the clock (a session advances the clock itself).
  void walk();
  // One cycle of one gauge, without moving the clock.
  void update_gauge(PlacedGauge &gauge);

  // Mouse event at design pixel x, y. Returns false with `error` for an
  // unknown gauge; a click that hits nothing is not an error.
  bool click(const std::string &placement, int x, int y, uint32_t flags, std::string &error);

  PlacedGauge *gauge(const std::string &placement);
  const std::vector<std::unique_ptr<PlacedGauge>> &gauges() const { return gauges_; }

  // Panel-service entry points (through the active host).
  void serve_read_token(TokenVar *var);
  void serve_key_event(uint32_t id, int32_t value);

private:
  void deliver_key_events();
  void set_active();
  LoadedModule *find_module(const std::string &name) const;
  struct TokenSlot {
    double value = 0;
    int bound = -1; // index into bound_, or -1: the value above
  };
  TokenSlot *token_slot(uint32_t id);
  const TokenSlot *token_slot(uint32_t id) const;

  HostOptions options_;
  int64_t start_ms_ = 0;
  std::map<std::string, std::unique_ptr<LoadedModule>> modules_;
  std::vector<std::unique_ptr<PlacedGauge>> gauges_;
  std::unordered_map<std::string, PlacedGauge *> by_name_; // the placements in gauges_
  // Tokens below kDirectTokens sit in a table read on every element refresh;
  // larger ids (none of the modules' own) in a map.
  static constexpr uint32_t kDirectTokens = 0x400;
  std::vector<TokenSlot> direct_tokens_ = std::vector<TokenSlot>(kDirectTokens);
  std::map<uint32_t, TokenSlot> other_tokens_;
  std::vector<std::pair<std::function<double()>, std::function<void(double)>>> bound_;
  // The last key_log_limit key events: filled in order, then a ring whose
  // oldest entry is at key_log_head_.
  std::vector<KeyEvent> key_log_;
  size_t key_log_head_ = 0;
  uint64_t key_log_dropped_ = 0;
  std::vector<KeyEvent> key_pending_;
  bool delivering_ = false;
  std::function<void(const KeyEvent &)> key_sink_;
  uint32_t next_host_value_ = 1;
};

// Shown text of a string element: its buffer cut to max_chars.
std::string shown_text(const StringElement &element, const char *buffer);

// Token id of the COM frequency, stored as a 32-bit unsigned integer.
inline constexpr uint32_t kTokenComFrequency = 0x17;

} // namespace gaugehost
