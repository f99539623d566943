#include "tests/host/allocation_counter.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <link.h>
#include <new>

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void __libc_free(void *pointer);
}

namespace alloc_count {
namespace {

enum class Area { kHost, kModule, kRuntime, kLibc, kStandIn };

struct Range {
  uintptr_t begin, end;
  Area area;
};

// Fixed storage: nothing here may allocate.
constexpr int kMaxRanges = 256;
Range ranges[kMaxRanges];
int range_count = 0;
thread_local bool counting = false;
thread_local bool inside = false; // backtrace's own allocations are not counted
Counts counts;

bool ends_with(const char *name, const char *suffix) {
  const size_t n = std::strlen(name), s = std::strlen(suffix);
  return n >= s && std::strcmp(name + n - s, suffix) == 0;
}

int add_object(dl_phdr_info *info, size_t, void *) {
  const char *name = info->dlpi_name != nullptr ? info->dlpi_name : "";
  Area area = Area::kHost;
  if (ends_with(name, "/velmar.so") || ends_with(name, "/durnik.so") ||
      ends_with(name, "/ostrel.so")) {
    area = Area::kModule;
  } else if (ends_with(name, "/libplatform_os.so") || ends_with(name, "/libfssound.so") ||
             ends_with(name, "/libsoarrec.so")) {
    area = Area::kStandIn;
  } else if (std::strstr(name, "libstdc++") != nullptr ||
             std::strstr(name, "libgcc_s") != nullptr) {
    area = Area::kRuntime;
  } else if (std::strstr(name, "/libc.so") != nullptr) {
    area = Area::kLibc;
  }
  for (int i = 0; i < info->dlpi_phnum && range_count < kMaxRanges; ++i) {
    const ElfW(Phdr) &p = info->dlpi_phdr[i];
    if (p.p_type == PT_LOAD && (p.p_flags & PF_X) != 0) {
      const uintptr_t begin = info->dlpi_addr + p.p_vaddr;
      ranges[range_count++] = {begin, begin + p.p_memsz, area};
    }
  }
  return 0;
}

Area area_of(uintptr_t address) {
  for (int i = 0; i < range_count; ++i) {
    if (address >= ranges[i].begin && address < ranges[i].end) {
      return ranges[i].area;
    }
  }
  return Area::kHost;
}

// Frame 0 is note(), frame 1 the replaced allocation function; its caller
// follows.
__attribute__((noinline)) void note() {
  if (!counting || inside) {
    return;
  }
  inside = true;
  ++counts.all;
  void *frames[32];
  const int depth = backtrace(frames, 32);
  bool through_libc = false;
  for (int i = 2; i < depth; ++i) {
    const auto address = reinterpret_cast<uintptr_t>(frames[i]);
    const Area area = area_of(address);
    if (area == Area::kRuntime || area == Area::kLibc) {
      through_libc = through_libc || area == Area::kLibc;
      continue;
    }
    if (area == Area::kModule && through_libc) {
      ++counts.module_through_libc;
    } else if (area == Area::kModule && counts.module++ == 0) {
      counts.first_module_caller = address;
    } else if (area == Area::kStandIn) {
      ++counts.stand_in;
    } else if (area == Area::kHost && counts.host++ == 0) {
      counts.first_host_caller = address;
    }
    break;
  }
  inside = false;
}

void *checked(void *pointer) {
  if (pointer == nullptr) {
    throw std::bad_alloc();
  }
  return pointer;
}

} // namespace

void find_modules() {
  void *warm[4];
  backtrace(warm, 4); // its first call loads libgcc_s, which allocates
  range_count = 0;
  dl_iterate_phdr(add_object, nullptr);
}

void count(bool on) {
  counting = on;
}

Counts take() {
  const Counts out = counts;
  counts = {};
  return out;
}

} // namespace alloc_count

using alloc_count::checked;
using alloc_count::note;

extern "C" {
__attribute__((noinline)) void *malloc(size_t size) noexcept {
  note();
  return __libc_malloc(size);
}
__attribute__((noinline)) void *calloc(size_t count, size_t size) noexcept {
  note();
  return __libc_calloc(count, size);
}
__attribute__((noinline)) void *realloc(void *pointer, size_t size) noexcept {
  note();
  return __libc_realloc(pointer, size);
}
}

__attribute__((noinline)) void *operator new(size_t size) {
  note();
  return checked(__libc_malloc(size));
}
__attribute__((noinline)) void *operator new[](size_t size) {
  note();
  return checked(__libc_malloc(size));
}
__attribute__((noinline)) void *operator new(size_t size, const std::nothrow_t &) noexcept {
  note();
  return __libc_malloc(size);
}
__attribute__((noinline)) void *operator new[](size_t size, const std::nothrow_t &) noexcept {
  note();
  return __libc_malloc(size);
}
__attribute__((noinline)) void *operator new(size_t size, std::align_val_t align) {
  note();
  return checked(__libc_memalign(static_cast<size_t>(align), size));
}
__attribute__((noinline)) void *operator new[](size_t size, std::align_val_t align) {
  note();
  return checked(__libc_memalign(static_cast<size_t>(align), size));
}
void operator delete(void *pointer) noexcept {
  __libc_free(pointer);
}
void operator delete[](void *pointer) noexcept {
  __libc_free(pointer);
}
void operator delete(void *pointer, size_t) noexcept {
  __libc_free(pointer);
}
void operator delete[](void *pointer, size_t) noexcept {
  __libc_free(pointer);
}
void operator delete(void *pointer, std::align_val_t) noexcept {
  __libc_free(pointer);
}
void operator delete[](void *pointer, std::align_val_t) noexcept {
  __libc_free(pointer);
}
void operator delete(void *pointer, size_t, std::align_val_t) noexcept {
  __libc_free(pointer);
}
void operator delete[](void *pointer, size_t, std::align_val_t) noexcept {
  __libc_free(pointer);
}
