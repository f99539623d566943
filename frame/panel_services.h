// The host's service table. A host writes its address into ImportTable before
// it calls anything in a module; modules call it without checking.
#pragma once

#include "frame/gauge.h"

extern "C" {

using ElementListService = uintptr_t (*)(Element *root);
using ElementListServiceArg = uintptr_t (*)(Element *root, uint32_t value);

struct PanelServices {
  // The seven element-list services, in the order of the header routines,
  // with one entry between the sixth and seventh that modules never call.
  ElementListServiceArg install_elements;
  ElementListService initialize_elements;
  ElementListService update_elements;
  ElementListServiceArg generate_elements;
  ElementListService plot_elements;
  ElementListService erase_elements;
  void *unused;
  ElementListService dispose_elements;
  // Performs the action of key event `key_event` with `value`.
  void (*send_key_event)(uint32_t key_event, int32_t value);
  // Writes the current value of token var->id into var->value before returning.
  void (*read_token_var)(TokenVar *var);
};

} // extern "C"
