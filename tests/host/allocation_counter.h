// Counts heap allocations of this process while switched on, and tells
// which of them module code made. Linking allocation_counter.cpp replaces
// malloc, calloc, realloc and every operator new of the process (the module
// files bind to them too: the test program exports its symbols); the
// memory itself still comes from the C library's allocator.
//
// Each allocation goes to the first frame of its call stack outside the
// allocator, the C library and the C++ runtime (libstdc++, libgcc_s):
//   module    velmar.so, durnik.so or ostrel.so: a module's own new or
//             malloc, or a standard container or string it uses
//   module_through_libc
//             a module's call into the C library that allocated there
//             (fdopen's FILE and its buffer when velmar reads a file)
//   stand_in  the stand-ins' libraries (OS services, sound, recorder), also
//             when a module called them: a sound being loaded, a named
//             shared memory object being created
//   host      everything else: the host, the session, the test
#pragma once

#include <cstdint>

namespace alloc_count {

struct Counts {
  uint64_t all = 0;
  uint64_t module = 0;
  uint64_t module_through_libc = 0;
  uint64_t stand_in = 0;
  uint64_t host = 0;
  uintptr_t first_module_caller = 0; // the module frame of the first module allocation
  uintptr_t first_host_caller = 0;   // the host frame of the first host allocation
};

// Reads where the module files and the C++ runtime lie in memory; call after
// the modules are loaded and before counting.
void find_modules();
// Counting on or off (on the calling thread only; off at start).
void count(bool on);
Counts take(); // the counts since the last take, then zero

} // namespace alloc_count
