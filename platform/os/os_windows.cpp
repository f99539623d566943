// Placeholder: windows, messages, atoms and shared memory fail until the
// POSIX mapping lands.
#include "platform/os/os.h"

extern "C" {
OsWindow os_create_window(const char*, OsWindowProc, void*) { return 0; }
void os_destroy_window(OsWindow) {}
OsWindow os_find_window(const char*) { return 0; }
int os_publish_window(OsWindow) { return 0; }
int os_serve_windows(int32_t) { return 0; }
uint32_t os_register_window_message(const char*) { return 0; }
intptr_t os_send_message(OsWindow, uint32_t, uintptr_t, intptr_t) { return 0; }
int os_send_message_timeout(OsWindow, uint32_t, uintptr_t, intptr_t, uint32_t, uintptr_t*) {
  return 0;
}
uint16_t os_global_add_atom(const char*) { return 0; }
uint16_t os_global_find_atom(const char*) { return 0; }
uint32_t os_global_get_atom_name(uint16_t, char*, uint32_t) { return 0; }
uint16_t os_global_delete_atom(uint16_t) { return 0; }
OsHandle os_create_file_mapping(const char*, uint32_t) { return 0; }
OsHandle os_open_file_mapping(const char*) { return 0; }
void* os_map_view(OsHandle) { return nullptr; }
int os_unmap_view(void*) { return 0; }
int os_close_handle(OsHandle) { return 0; }
}
