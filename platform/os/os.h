// Operating-system services that the modules call, mapped onto POSIX: windows
// and window messages, global atoms, named shared memory, local time, sleep
// and a message box. They keep the shapes the FSUIPC transports are written
// against (handles, last-error values, a registered message id range, error
// 183 "already exists").
//
// Time is real or virtual. Under virtual time (os_clock_use_virtual) the
// local time reads the host's clock and a sleep advances it instead of
// blocking; every test runs that way.
#pragma once

#include <cstdint>

extern "C" {

// ---- time --------------------------------------------------------------

// Local time as whole seconds since the epoch plus milliseconds.
struct OsTimeB {
  int64_t time_s;
  uint16_t millitm;
};
void os_ftime(OsTimeB *out);
// Blocks for `ms` (real time) or advances the virtual clock by `ms`.
void os_sleep(uint32_t ms);

// Host control of the clock. Virtual time starts at `start_epoch_ms` and only
// moves by os_clock_advance_ms and os_sleep.
void os_clock_use_virtual(int64_t start_epoch_ms);
int os_clock_is_virtual();
void os_clock_advance_ms(int64_t ms);
// Milliseconds since the epoch, real or virtual.
int64_t os_clock_now_ms();

// ---- process and errors --------------------------------------------------

uint32_t os_get_current_process_id();
uint32_t os_get_last_error();
void os_set_last_error(uint32_t error);
inline constexpr uint32_t kOsErrorFileNotFound = 2;
inline constexpr uint32_t kOsErrorAccessDenied = 5;
inline constexpr uint32_t kOsErrorInvalidHandle = 6;
inline constexpr uint32_t kOsErrorNotEnoughMemory = 8;
inline constexpr uint32_t kOsErrorInvalidParameter = 87;
inline constexpr uint32_t kOsErrorFilenameTooLong = 206;
inline constexpr uint32_t kOsErrorAlreadyExists = 183;
inline constexpr uint32_t kOsErrorInvalidWindow = 1400;
inline constexpr uint32_t kOsErrorTimeout = 1460;

// ---- windows and messages ---------------------------------------------

using OsWindow = uintptr_t; // 0: none
using OsWindowProc = intptr_t (*)(OsWindow window, uint32_t message, uintptr_t wparam,
                                  intptr_t lparam, void *context);

// Registers a top-level window of `class_name` in this process, answered by
// `proc`. Returns 0 on failure.
OsWindow os_create_window(const char *class_name, OsWindowProc proc, void *context);
void os_destroy_window(OsWindow window);
// Finds a top-level window by class name: in this process first, then windows
// that other processes published (see os_publish_window). Probing another
// process's window waits at most kOsConnectTimeoutMs of real time: a window
// whose process is stopped and answers no connection counts as not there.
OsWindow os_find_window(const char *class_name);
// Finds a top-level window of this process only; 0 if there is none.
OsWindow os_find_window_in_process(const char *class_name);
// Longest real-time wait for a connection to another process's window (the
// probe of os_find_window; a send's connection waits at most its time-out).
inline constexpr uint32_t kOsConnectTimeoutMs = 2000;
// Makes a window of this process reachable from other processes; messages sent
// to it from outside are delivered when os_serve_windows runs.
int os_publish_window(OsWindow window);
// Serves messages from other processes to published windows for up to
// `timeout_ms` (or forever with -1). Returns non-zero if a message was served.
int os_serve_windows(int32_t timeout_ms);

// Called from inside a window procedure: non-zero when the message being
// handled was sent from another process. Its wparam and lparam are then
// that process's numbers: an address among them points into the sender's
// memory, never into this process's.
int os_message_from_other_process();

// Called from inside a window procedure: the message being handled is never
// answered (a hung window). A send with time-out then fails after the time-out
// with last error 0 -- under virtual time the clock advances by the time-out
// instead of blocking. A send without time-out fails with kOsErrorTimeout
// rather than blocking the caller for ever.
void os_window_withhold_answer();

// Message ids 0xC000..0xFFFF, the same id for the same name in every process.
// 0 on failure.
uint32_t os_register_window_message(const char *name);
// Blocking send; returns the window procedure's result, 0 if it failed (last
// error kOsErrorInvalidWindow for a window that does not exist or went away).
intptr_t os_send_message(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// Blocking send with time-out; the time-out also bounds the connection to
// another process's window. Returns non-zero on success and stores the
// result; on failure returns 0 and the last error says why (0 for a time-out
// of a window that exists but did not answer or accept the connection).
int os_send_message_timeout(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                            uint32_t timeout_ms, uintptr_t *result);

// ---- global atoms (visible to every process of the user) ----------------

// Atoms are 0xC000..0xCFFF, names at most 255 characters, compared without
// regard to case; each add counts a reference that a delete releases.
uint16_t os_global_add_atom(const char *name); // 0 on failure
uint16_t os_global_find_atom(const char *name);
// Copies the name, always terminated, cut to size - 1; returns its length.
uint32_t os_global_get_atom_name(uint16_t atom, char *buffer, uint32_t size);
uint16_t os_global_delete_atom(uint16_t atom); // 0 on success

// ---- named shared memory -------------------------------------------------

using OsHandle = uintptr_t; // 0: none
// Creates (or opens, with last error kOsErrorAlreadyExists) a named shared
// memory object of `size_bytes`. Returns 0 on failure.
OsHandle os_create_file_mapping(const char *name, uint32_t size_bytes);
// Opens an existing one; 0 if there is none of that name.
OsHandle os_open_file_mapping(const char *name);
// Maps the whole object read-write; nullptr on failure.
void *os_map_view(OsHandle mapping);
// Size in bytes of a view returned by os_map_view, 0 for anything else.
uint32_t os_view_size(const void *view);
// Copies up to `size` bytes from the start of the object into `buffer`
// without mapping it, and returns how many it copied: fewer when the object
// is shorter now (another process may shrink it at any moment; a copy never
// faults where a view would). 0 for an unknown handle.
uint32_t os_read_mapping(OsHandle mapping, void *buffer, uint32_t size);
// Copies `size` bytes from `data` to the start of the object, at most up to
// its current length; returns how many it wrote.
uint32_t os_write_mapping(OsHandle mapping, const void *data, uint32_t size);
int os_unmap_view(void *view);
int os_close_handle(OsHandle handle);

// ---- message box -------------------------------------------------------

inline constexpr uint32_t kOsMessageBoxOk = 0;
// Shows (here: records and logs to standard error) a message box; returns 1 (OK).
int os_message_box(OsWindow owner, const char *text, const char *caption, uint32_t type);

} // extern "C"
