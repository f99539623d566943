#include "frame/module_frame.h"

#include <cstring>

#include "frame/text_format.h"

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
  VarArgs args, again;
  va_start(args.list, format);
  va_start(again.list, format);
  const int n = format_args(string->text, kStringBufferBytes, format, args, again);
  va_end(again.list);
  va_end(args.list);
  return n;
}

int format_number_line(Element *element, NumberLine &line, int width, int decimals, double value,
                       const char *label) {
  auto *string = reinterpret_cast<StringElement *>(element);
  if (string->text == nullptr) {
    return 0;
  }
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  if (!line.kept || bits != line.value_bits || label != line.label || width != line.width ||
      decimals != line.decimals) {
    line.length =
        format_into(line.text, sizeof line.text, "%*.*f %s", width, decimals, value, label);
    line.kept = true;
    line.value_bits = bits;
    line.label = label;
    line.width = width;
    line.decimals = decimals;
  }
  std::memcpy(string->text, line.text, std::strlen(line.text) + 1); // both kStringBufferBytes
  return line.length;
}

int format_into(char *buffer, size_t size, const char *format, ...) {
  if (size == 0) {
    return 0;
  }
  VarArgs args, again;
  va_start(args.list, format);
  va_start(again.list, format);
  const int n = format_args(buffer, size, format, args, again);
  va_end(again.list);
  va_end(args.list);
  return n;
}

} // namespace frame
