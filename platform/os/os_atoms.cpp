// Global atoms and registered window messages, shared by every process of the
// user through tables in the runtime folder.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "platform/os/os.h"
#include "platform/os/os_host.h"
#include "platform/os/shared_table.h"

namespace {

constexpr uint32_t kFirstAtom = 0xC000;

platform_os::SharedTable &atom_table() {
  static platform_os::SharedTable table("atoms.tbl", true);
  return table;
}

// Registered messages are never released: a name keeps its id for as long as
// the table lives, in every process.
platform_os::SharedTable &message_table() {
  static platform_os::SharedTable table("messages.tbl", false);
  return table;
}

std::optional<uint32_t> atom_slot(uint16_t atom) {
  if (atom < kFirstAtom || atom >= kFirstAtom + platform_os::kSharedTableSlots) {
    return std::nullopt;
  }
  return atom - kFirstAtom;
}

} // namespace

namespace platform_os {

std::filesystem::path runtime_dir() {
  if (const char *dir = std::getenv("GAUGE_RUNTIME_DIR"); dir != nullptr && *dir != '\0') {
    return dir;
  }
  if (const char *xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') {
    return std::filesystem::path(xdg) / "gaugehost";
  }
  return std::filesystem::path("/tmp") / ("gaugehost-" + std::to_string(getuid()));
}

} // namespace platform_os

extern "C" {

uint32_t os_register_window_message(const char *name) {
  if (name == nullptr || *name == '\0') {
    os_set_last_error(kOsErrorInvalidParameter);
    return 0;
  }
  const auto slot = message_table().add(name);
  if (!slot) {
    os_set_last_error(kOsErrorNotEnoughMemory);
    return 0;
  }
  return kFirstAtom + *slot;
}

uint16_t os_global_add_atom(const char *name) {
  if (name == nullptr || *name == '\0' || std::strlen(name) >= platform_os::kSharedNameBytes) {
    os_set_last_error(kOsErrorInvalidParameter);
    return 0;
  }
  const auto slot = atom_table().add(name);
  if (!slot) {
    os_set_last_error(kOsErrorNotEnoughMemory);
    return 0;
  }
  return static_cast<uint16_t>(kFirstAtom + *slot);
}

uint16_t os_global_find_atom(const char *name) {
  if (name == nullptr) {
    os_set_last_error(kOsErrorInvalidParameter);
    return 0;
  }
  const auto slot = atom_table().find(name);
  if (!slot) {
    os_set_last_error(kOsErrorFileNotFound);
    return 0;
  }
  return static_cast<uint16_t>(kFirstAtom + *slot);
}

uint32_t os_global_get_atom_name(uint16_t atom, char *buffer, uint32_t size) {
  const auto slot = atom_slot(atom);
  const auto name = slot ? atom_table().name(*slot) : std::nullopt;
  if (!name || buffer == nullptr || size == 0) {
    os_set_last_error(name ? kOsErrorInvalidParameter : kOsErrorInvalidHandle);
    return 0;
  }
  const size_t length = std::min<size_t>(name->size(), size - 1);
  std::memcpy(buffer, name->data(), length);
  buffer[length] = '\0';
  return static_cast<uint32_t>(length);
}

uint16_t os_global_delete_atom(uint16_t atom) {
  const auto slot = atom_slot(atom);
  if (!slot || !atom_table().release(*slot)) {
    os_set_last_error(kOsErrorInvalidHandle);
    return atom;
  }
  return 0;
}

} // extern "C"
