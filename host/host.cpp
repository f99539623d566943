#include "host/host.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

#include "frame/panel_services.h"
#include "host/module_loader.h"
#include "platform/fssound/fssound_host.h"
#include "platform/os/os.h"

namespace gaugehost {
namespace {

Host *active_host = nullptr;

// Element-list services: the host draws elsewhere (later: a renderer), so
// these only answer.
uintptr_t list_service(Element *) {
  return 0;
}
uintptr_t list_service_arg(Element *, uint32_t) {
  return 0;
}

void service_send_key_event(uint32_t id, int32_t value) {
  if (active_host != nullptr) {
    active_host->serve_key_event(id, value);
  }
}

void service_read_token_var(TokenVar *var) {
  if (active_host != nullptr) {
    active_host->serve_read_token(var);
  }
}

const PanelServices panel_services = {
    .install_elements = list_service_arg,
    .initialize_elements = list_service,
    .update_elements = list_service,
    .generate_elements = list_service_arg,
    .plot_elements = list_service,
    .erase_elements = list_service,
    .unused = nullptr,
    .dispose_elements = list_service,
    .send_key_event = service_send_key_event,
    .read_token_var = service_read_token_var,
};

// Reads a mouse list up to the kind-3 record that closes the outermost
// parent (or a kind-0 record), making child boxes absolute. A parent box of
// 0,0,0,0 stands for the whole gauge.
std::vector<MouseTarget> read_mouse_list(const MouseRectangle *list, int gauge_w, int gauge_h) {
  std::vector<MouseTarget> targets;
  if (list == nullptr) {
    return targets;
  }
  struct Box {
    int x, y, w, h;
  };
  std::vector<Box> parents;
  constexpr int kMaxRecords = 4096; // a list this long is a broken table
  for (int i = 0; i < kMaxRecords; ++i) {
    const MouseRectangle &r = list[i];
    if (r.kind == kMouseEnd) {
      break;
    }
    const int ox = parents.empty() ? 0 : parents.back().x;
    const int oy = parents.empty() ? 0 : parents.back().y;
    if (r.kind == kMouseParent) {
      Box box{ox + r.x, oy + r.y, r.width, r.height};
      if (r.x == 0 && r.y == 0 && r.width == 0 && r.height == 0) {
        box = {ox, oy, parents.empty() ? gauge_w : parents.back().w,
               parents.empty() ? gauge_h : parents.back().h};
      }
      parents.push_back(box);
    } else if (r.kind == kMouseChild) {
      targets.push_back(
          {&r, ox + r.x, oy + r.y, r.width, r.height, static_cast<int>(parents.size())});
    } else if (r.kind == kMouseEndParent) {
      if (!parents.empty()) {
        parents.pop_back();
      }
      if (parents.empty()) {
        break;
      }
    } else {
      break;
    }
  }
  return targets;
}

double call(ElementCallback callback, Element *element) {
  return callback != nullptr ? callback(element) : 0.0;
}

} // namespace

std::string shown_text(const StringElement &element, const char *buffer) {
  const size_t len = strnlen(buffer, kStringBufferBytes);
  const size_t max = element.max_chars > 0 ? static_cast<size_t>(element.max_chars) : 0;
  return std::string(buffer, std::min(len, max));
}

Host::Host(HostOptions options) : options_(std::move(options)) {
  if (options_.module_dir.empty()) {
    options_.module_dir = default_module_dir();
  }
  if (options_.virtual_time) {
    // Before any module is loaded: module clocks read the time at load.
    os_clock_use_virtual(options_.start_epoch_ms);
  }
  start_ms_ = os_clock_now_ms();
  key_pending_.reserve(64); // a cycle's key events fit: no allocation while they come
  set_active();
}

Host::~Host() {
  std::string ignored;
  while (!gauges_.empty()) {
    remove(gauges_.back()->name, ignored);
  }
  while (!modules_.empty()) {
    unload_module(modules_.begin()->first, ignored);
  }
  fssound::stop_recording();
  if (active_host == this) {
    active_host = nullptr;
  }
}

void Host::set_active() {
  active_host = this;
}

std::filesystem::path Host::default_module_dir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) {
    return "modules";
  }
  return exe.parent_path().parent_path() / "modules";
}

bool Host::module_loaded(const std::string &name) const {
  return find_module(name) != nullptr;
}

LoadedModule *Host::find_module(const std::string &name) const {
  auto it = modules_.find(name);
  return it == modules_.end() ? nullptr : it->second.get();
}

std::vector<std::string> Host::gauge_names(const std::string &module) const {
  std::vector<std::string> names;
  if (LoadedModule *m = find_module(module)) {
    for (const GaugeHeader *g : m->gauges) {
      names.emplace_back(g->name);
    }
  }
  return names;
}

bool Host::load_module(const std::string &name, std::string &error) {
  if (find_module(name) != nullptr) {
    error = "module " + name + " is already loaded";
    return false;
  }
  set_active();
  const auto path = options_.module_dir / (name + ".so");
  // dlopen hands out the one copy already mapped for a file however it is
  // named; its start routine would run again on the first name's state.
  for (const auto &[other_name, other] : modules_) {
    std::error_code ec;
    if (std::filesystem::equivalent(path, other->path, ec)) {
      error = path.string() + " is already loaded as module " + other_name;
      return false;
    }
  }
  auto module = open_module(name, path, &panel_services, next_host_value_, error);
  if (!module) {
    return false;
  }
  ++next_host_value_;
  LoadedModule *raw = module.get();
  modules_[name] = std::move(module);
  // The start routine runs after ImportTable holds the services.
  if (raw->linkage->start != nullptr) {
    raw->linkage->start();
  }
  deliver_key_events();
  return true;
}

bool Host::unload_module(const std::string &name, std::string &error) {
  LoadedModule *module = find_module(name);
  if (module == nullptr) {
    error = "module " + name + " is not loaded";
    return false;
  }
  set_active();
  for (size_t i = gauges_.size(); i-- > 0;) {
    if (gauges_[i]->module == module) {
      remove(gauges_[i]->name, error);
    }
  }
  if (module->linkage->stop != nullptr) {
    module->linkage->stop();
  }
  deliver_key_events();
  close_module(*module);
  modules_.erase(name);
  return true;
}

bool Host::place(const std::string &module_name, const std::string &gauge_name,
                 const std::string &placement, std::string &error) {
  LoadedModule *module = find_module(module_name);
  if (module == nullptr) {
    error = "module " + module_name + " is not loaded";
    return false;
  }
  GaugeHeader *header = nullptr;
  for (GaugeHeader *g : module->gauges) {
    if (gauge_name == g->name) {
      header = g;
      break;
    }
  }
  if (header == nullptr) {
    error = "unknown gauge " + module_name + "!" + gauge_name;
    return false;
  }
  if (by_name_.contains(placement)) {
    error = "a gauge named " + placement + " is already placed";
    return false;
  }
  if (header->elements == nullptr || header->elements[0] == nullptr ||
      header->elements[0]->kind != kElementStaticImage) {
    error = "gauge " + gauge_name + " has no root static image";
    return false;
  }
  // The module's tables were checked at load; a tree changed since then is
  // refused all the same.
  std::vector<FlatElement> flat;
  std::string tree_error;
  if (!flatten_elements(header->elements[0], flat, tree_error)) {
    error = "gauge " + gauge_name + ": " + tree_error;
    return false;
  }
  set_active();
  auto placed = std::make_unique<PlacedGauge>();
  placed->name = placement;
  placed->gauge_name = gauge_name;
  placed->module = module;
  placed->header = header;
  placed->elements.resize(flat.size());
  for (size_t i = 0; i < flat.size(); ++i) {
    ElementState &state = placed->elements[i];
    state.element = flat[i].element;
    state.index = static_cast<int>(i);
    state.depth = flat[i].depth;
    state.kind = flat[i].element->kind;
    if (state.kind == kElementString) {
      state.text.reserve(kStringBufferBytes);
    }
  }

  // Images are "loaded" now: the root's drawn size is its bitmap's size.
  auto *root = reinterpret_cast<StaticImageElement *>(header->elements[0]);
  const auto size = module_bitmap_size(*module, root->element.resource_id);
  placed->root_image = {.kind = 1,
                        .width_px = size ? size->width_px : 0,
                        .height_px = size ? size->height_px : 0,
                        .reserved = 0};
  root->image = &placed->root_image;
  placed->mouse_targets =
      read_mouse_list(header->mouse_list, static_cast<int>(placed->root_image.width_px),
                      static_cast<int>(placed->root_image.height_px));
  PlacedGauge *raw = placed.get();
  gauges_.push_back(std::move(placed));
  by_name_.emplace(placement, raw);
  if (header->gauge_callback != nullptr) {
    for (int service : {2, 3, 4, 5}) {
      // Two placements share the element records: the root points at this
      // placement's image while its services run.
      root->image = &raw->root_image;
      header->gauge_callback(header, service, service == 3 ? module->host_value : 0);
      deliver_key_events();
    }
  }
  return true;
}

bool Host::remove(const std::string &placement, std::string &error) {
  const auto named = by_name_.find(placement);
  if (named == by_name_.end()) {
    error = "unknown gauge " + placement;
    return false;
  }
  PlacedGauge *placed = named->second;
  set_active();
  GaugeHeader *header = placed->header;
  auto *root = reinterpret_cast<StaticImageElement *>(header->elements[0]);
  root->image = &placed->root_image;
  if (header->gauge_callback != nullptr) {
    header->gauge_callback(header, 12, 0);
  }
  // Searched from both ends at once: a panel is taken down first or last
  // placed first, so this is found in a step or two.
  size_t index = 0;
  for (size_t front = 0, back = gauges_.size() - 1;; ++front, --back) {
    if (gauges_[front].get() == placed) {
      index = front;
      break;
    }
    if (gauges_[back].get() == placed) {
      index = back;
      break;
    }
  }
  by_name_.erase(named);
  const auto erased = gauges_.erase(gauges_.begin() + static_cast<ptrdiff_t>(index));
  root->image = nullptr;
  // Another placement of the same gauge keeps the records alive; the
  // nearest one is found at once in a panel of many placements of one kind.
  for (auto after = erased; after != gauges_.end(); ++after) {
    if ((*after)->header == header) {
      root->image = &(*after)->root_image;
      break;
    }
  }
  if (root->image == nullptr) {
    for (auto before = std::make_reverse_iterator(erased); before != gauges_.rend(); ++before) {
      if ((*before)->header == header) {
        root->image = &(*before)->root_image;
        break;
      }
    }
  }
  deliver_key_events();
  return true;
}

Host::TokenSlot *Host::token_slot(uint32_t id) {
  return id < kDirectTokens ? &direct_tokens_[id] : &other_tokens_[id];
}

const Host::TokenSlot *Host::token_slot(uint32_t id) const {
  if (id < kDirectTokens) {
    return &direct_tokens_[id];
  }
  auto it = other_tokens_.find(id);
  return it == other_tokens_.end() ? nullptr : &it->second;
}

void Host::set_token(uint32_t id, double value) {
  TokenSlot *slot = token_slot(id);
  if (slot->bound >= 0 && bound_[static_cast<size_t>(slot->bound)].second) {
    bound_[static_cast<size_t>(slot->bound)].second(value);
  } else {
    slot->value = value;
  }
}

double Host::token(uint32_t id) const {
  const TokenSlot *slot = token_slot(id);
  if (slot == nullptr) {
    return 0.0;
  }
  if (slot->bound >= 0 && bound_[static_cast<size_t>(slot->bound)].first) {
    return bound_[static_cast<size_t>(slot->bound)].first();
  }
  return slot->value;
}

void Host::bind_token(uint32_t id, std::function<double()> reader,
                      std::function<void(double)> writer) {
  TokenSlot *slot = token_slot(id);
  if (slot->bound < 0) {
    slot->bound = static_cast<int>(bound_.size());
    bound_.emplace_back();
  }
  bound_[static_cast<size_t>(slot->bound)] = {std::move(reader), std::move(writer)};
}

void Host::serve_read_token(TokenVar *var) {
  const double value = token(var->id);
  if (var->id == kTokenComFrequency) {
    // The COM frequency travels as a 32-bit unsigned integer in the first
    // four bytes of the value field.
    const double clamped = std::clamp(value, 0.0, 4294967295.0);
    const uint32_t raw = static_cast<uint32_t>(clamped);
    var->value = 0.0;
    std::memcpy(&var->value, &raw, sizeof raw);
  } else {
    var->value = value;
  }
}

void Host::serve_key_event(uint32_t id, int32_t value) {
  const KeyEvent event{id, value, time_ms()};
  const size_t limit = options_.key_log_limit;
  if (key_log_.size() < limit) {
    key_log_.push_back(event);
  } else {
    if (limit > 0) {
      key_log_[key_log_head_] = event;
      key_log_head_ = (key_log_head_ + 1) % limit;
    }
    ++key_log_dropped_;
  }
  key_pending_.push_back(event);
}

void Host::deliver_key_events() {
  if (!key_sink_) {
    key_pending_.clear();
    return;
  }
  if (delivering_) {
    return; // a sink that reaches back in: the loop below delivers what it adds
  }
  delivering_ = true;
  // By index and by copy: the sink may add events, which moves the vector.
  for (size_t i = 0; i < key_pending_.size(); ++i) {
    const KeyEvent event = key_pending_[i];
    key_sink_(event);
  }
  key_pending_.clear(); // keeps its room: no allocation on the next cycle
  delivering_ = false;
}

std::vector<KeyEvent> Host::take_key_events(uint64_t *dropped) {
  std::vector<KeyEvent> out;
  out.reserve(key_log_.size());
  out.insert(out.end(), key_log_.begin() + static_cast<ptrdiff_t>(key_log_head_), key_log_.end());
  out.insert(out.end(), key_log_.begin(), key_log_.begin() + static_cast<ptrdiff_t>(key_log_head_));
  key_log_.clear();
  key_log_head_ = 0;
  if (dropped != nullptr) {
    *dropped = key_log_dropped_;
  }
  key_log_dropped_ = 0;
  return out;
}

void Host::set_key_event_sink(std::function<void(const KeyEvent &)> sink) {
  key_sink_ = std::move(sink);
}

bool Host::advance(int64_t ms) {
  if (ms < 0 || ms > std::numeric_limits<int64_t>::max() - os_clock_now_ms()) {
    return false;
  }
  if (ms == 0) {
    return true;
  }
  if (options_.virtual_time) {
    os_clock_advance_ms(ms);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  fssound::sync();
  return true;
}

int64_t Host::time_ms() const {
  return os_clock_now_ms() - start_ms_;
}

bool Host::update(int64_t cycles, int64_t step_ms) {
  if (cycles < 0 || step_ms < 0) {
    return false;
  }
  if (cycles > 0 && step_ms > (std::numeric_limits<int64_t>::max() - os_clock_now_ms()) / cycles) {
    return false;
  }
  for (int64_t i = 0; i < cycles; ++i) {
    advance(step_ms);
    walk();
  }
  fssound::sync();
  return true;
}

void Host::walk() {
  // Index loop: a callback cannot place or remove gauges, but be safe.
  for (size_t g = 0; g < gauges_.size(); ++g) {
    update_gauge(*gauges_[g]);
  }
}

void Host::update_gauge(PlacedGauge &placed) {
  set_active();
  auto *root = reinterpret_cast<StaticImageElement *>(placed.header->elements[0]);
  root->image = &placed.root_image;
  // Token refreshes go straight to this host, not through the service table.
  const auto refresh = [this](TokenVar &var) {
    if (var.id != 0) {
      serve_read_token(&var);
    }
  };
  for (ElementState &state : placed.elements) {
    Element *e = state.element;
    switch (state.kind) { // e->kind as read at placement, without another load
    case kElementStaticImage:
      break;
    case kElementNeedle: {
      auto *n = reinterpret_cast<NeedleElement *>(e);
      refresh(n->source);
      state.values[0] = call(n->callback, e);
      break;
    }
    case kElementString: {
      auto *s = reinterpret_cast<StringElement *>(e);
      for (TokenVar &var : s->sources) {
        refresh(var);
      }
      s->text = state.buffer.data();
      if (s->callback != nullptr) {
        s->callback(e);
      }
      state.buffer.back() = '\0';
      // Only the shown part is looked at; it fits the room reserved at placement.
      // A plain loop: these texts are a few characters, shorter than the
      // setup of the library's vector search.
      const char *text = state.buffer.data();
      const size_t max = s->max_chars > 0 ? static_cast<size_t>(s->max_chars) : 0;
      size_t len = 0;
      while (len < max && text[len] != '\0') {
        ++len;
      }
      state.text.assign(text, len);
      break;
    }
    case kElementShift: {
      auto *s = reinterpret_cast<ShiftElement *>(e);
      refresh(s->x_source);
      refresh(s->y_source);
      state.values[0] = call(s->x_callback, e);
      state.values[1] = call(s->y_callback, e);
      break;
    }
    case kElementIcon: {
      auto *icon = reinterpret_cast<IconElement *>(e);
      refresh(icon->source);
      state.values[0] = call(icon->callback, e);
      break;
    }
    case kElementScroll: {
      auto *s = reinterpret_cast<ScrollElement *>(e);
      refresh(s->x_source);
      refresh(s->y_source);
      state.values[0] = call(s->x_callback, e);
      state.values[1] = call(s->y_callback, e);
      break;
    }
    case kElementRotate: {
      auto *r = reinterpret_cast<RotateElement *>(e);
      refresh(r->x_source);
      refresh(r->y_source);
      refresh(r->rotation_source);
      state.values[0] = call(r->x_callback, e);
      state.values[1] = call(r->y_callback, e);
      state.values[2] = call(r->rotation_callback, e);
      break;
    }
    default:
      break;
    }
    state.updated = true;
  }
  if (placed.header->gauge_callback != nullptr) {
    placed.header->gauge_callback(placed.header, 10, 0);
  }
  ++placed.cycles;
  deliver_key_events();
}

bool Host::click(const std::string &placement, int x, int y, uint32_t flags, std::string &error) {
  PlacedGauge *placed = gauge(placement);
  if (placed == nullptr) {
    error = "unknown gauge " + placement;
    return false;
  }
  set_active();
  // As during its update: the root points at this placement's image.
  reinterpret_cast<StaticImageElement *>(placed->header->elements[0])->image = &placed->root_image;
  const MouseTarget *hit = nullptr;
  for (const MouseTarget &t : placed->mouse_targets) {
    const bool inside = x >= t.x && x < t.x + t.width && y >= t.y && y < t.y + t.height;
    if (!inside || (t.rectangle->event_mask & flags) == 0) {
      continue;
    }
    // Innermost wins; among children at one depth, the first listed.
    if (hit == nullptr || t.depth > hit->depth) {
      hit = &t;
    }
  }
  if (hit == nullptr) {
    return true;
  }
  if (hit->rectangle->handler != nullptr) {
    MousePoint point{x, y};
    hit->rectangle->handler(&point, flags);
  } else if (hit->rectangle->key_event != 0) {
    serve_key_event(hit->rectangle->key_event, 0);
  }
  deliver_key_events();
  return true;
}

PlacedGauge *Host::gauge(const std::string &placement) {
  const auto it = by_name_.find(placement);
  return it == by_name_.end() ? nullptr : it->second;
}

} // namespace gaugehost
