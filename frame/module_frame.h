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
