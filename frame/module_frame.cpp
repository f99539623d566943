#include "frame/module_frame.h"

#include <cstdio>

// The host writes the service table's address here before it calls anything.
GAUGE_EXPORT ImportTableRecord ImportTable = {
    .panel = {.id = kImportPanelServices, .services = nullptr},
    .end = {.id = 0,                    .services = nullptr},
};

namespace frame {
namespace {

const PanelServices &services() {
  return *ImportTable.panel.services;
}

// The element-list routines pass the root of the module's first listed gauge.
Element *first_root() {
  GaugeHeader *first = Linkage.gauges[0];
  return first != nullptr && first->elements != nullptr ? first->elements[0] : nullptr;
}

} // namespace

uintptr_t install_elements(uint32_t value) {
  return services().install_elements(first_root(), value);
}
uintptr_t initialize_elements() {
  return services().initialize_elements(first_root());
}
uintptr_t update_elements() {
  return services().update_elements(first_root());
}
uintptr_t generate_elements(uint32_t value) {
  return services().generate_elements(first_root(), value);
}
uintptr_t plot_elements() {
  return services().plot_elements(first_root());
}
uintptr_t erase_elements() {
  return services().erase_elements(first_root());
}
uintptr_t dispose_elements() {
  return services().dispose_elements(first_root());
}

void module_start() {}
void module_stop() {}

double read_token(TokenVar &var) {
  services().read_token_var(&var);
  return var.value;
}

uint32_t read_token_u32(TokenVar &var) {
  services().read_token_var(&var);
  uint32_t raw = 0;
  __builtin_memcpy(&raw, &var.value, sizeof raw);
  return raw;
}

void send_key_event(uint32_t key_event, int32_t value) {
  services().send_key_event(key_event, value);
}

int format_text(Element *element, const char *format, ...) {
  auto *string = reinterpret_cast<StringElement *>(element);
  if (string->text == nullptr) {
    return 0;
  }
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(string->text, kStringBufferBytes, format, args);
  va_end(args);
  return n;
}

int format_into(char *buffer, size_t size, const char *format, ...) {
  if (size == 0) {
    return 0;
  }
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  return n;
}

} // namespace frame
