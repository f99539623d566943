// What every module links: the exported ImportTable, the seven element-list
// routines, and small helpers over the host services.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "frame/gauge.h"
#include "frame/panel_services.h"

#define GAUGE_EXPORT __attribute__((visibility("default")))

extern "C" {
// Each module defines its own Linkage; the frame defines ImportTable.
extern GAUGE_EXPORT LinkageRecord Linkage;
extern GAUGE_EXPORT ImportTableRecord ImportTable;
}

namespace frame {

// The routines every GaugeHeader of a module carries. Each forwards to the
// matching host service with the root element of the module's first gauge.
uintptr_t install_elements(uint32_t value);
uintptr_t initialize_elements();
uintptr_t update_elements();
uintptr_t generate_elements(uint32_t value);
uintptr_t plot_elements();
uintptr_t erase_elements();
uintptr_t dispose_elements();

// Empty start and stop routines shared by the three modules.
void module_start();
void module_stop();

// Refreshes `var` through the host and returns its value.
double read_token(TokenVar &var);
// The host stores token 0x17 (COM frequency) as a 32-bit unsigned integer in
// the first four bytes of the value field.
uint32_t read_token_u32(TokenVar &var);
void send_key_event(uint32_t key_event, int32_t value);

// Formats into a string element's host buffer (kStringBufferBytes), always
// terminated. Returns the length the full text would have had.
int format_text(Element *element, const char *format, ...) __attribute__((format(printf, 2, 3)));
// Bounded formatting into any fixed buffer; always terminated.
int format_into(char *buffer, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

// A line of "%*.*f %s" -- a number and a static label -- with its last text.
// Most such lines show the same number cycle after cycle; format_number_line
// formats only when the number, width, decimals or label (compared by
// address: a literal or a table's text) changed since the last call with
// this line, and otherwise copies the kept text into the element's buffer
// (each placement has a buffer of its own). Zero-initialised: nothing kept.
struct NumberLine {
  bool kept;
  uint64_t value_bits;
  const char *label;
  int32_t width, decimals;
  int32_t length; // what format_text would have returned
  char text[kStringBufferBytes];
};
int format_number_line(Element *element, NumberLine &line, int width, int decimals, double value,
                       const char *label);

} // namespace frame

// Header fields that are the same in every gauge of every module: version and
// the seven routines. Use inside a designated initialiser after .name:
//   GaugeHeader header = {GAUGE_HEADER_COMMON("vsi", roots), .default_size = 100, ...};
#define GAUGE_HEADER_COMMON(gauge_name, root_list)                                                 \
  .header_version = kHeaderVersion, .name = gauge_name, .elements = root_list,                     \
  .install_elements = frame::install_elements, .initialize_elements = frame::initialize_elements,  \
  .update_elements = frame::update_elements, .generate_elements = frame::generate_elements,        \
  .plot_elements = frame::plot_elements, .erase_elements = frame::erase_elements,                  \
  .dispose_elements = frame::dispose_elements
