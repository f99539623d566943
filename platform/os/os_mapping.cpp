// Named shared memory on POSIX shared-memory objects. A name maps to
// "/gauge.NAME" with NAME sanitised (see sanitize_name), so any text gives a
// valid POSIX name. The name lives until the handle that created it is
// closed; views that others already mapped stay valid after that.
//
// A view faults (SIGBUS) where the object has been shrunk under it, and any
// process holding the object can shrink it. A server that works on another
// process's area therefore copies it with os_read_mapping and writes it back
// with os_write_mapping, which never fault.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/os/os.h"
#include "platform/os/os_host.h"
#include "platform/os/shared_table.h"

namespace {

constexpr size_t kMaxPosixNameBytes = 250; // NAME_MAX less the prefix's room
constexpr OsHandle kFirstMappingHandle = 0x4000'0000;

struct Mapping {
  int fd = -1;
  uint32_t size_bytes = 0;
  std::string posix_name;
  bool created = false; // this handle made the object: its close removes the name
};

std::mutex mutex;
std::map<OsHandle, Mapping> mappings;
std::map<const void *, size_t> views; // view start -> length
OsHandle next_handle = kFirstMappingHandle;
std::atomic<int> failing_map_views{0};

std::string posix_name(const char *name) {
  return "/gauge." + platform_os::sanitize_name(name);
}

OsHandle keep(Mapping mapping) {
  std::lock_guard lock(mutex);
  const OsHandle handle = next_handle++;
  mappings.emplace(handle, std::move(mapping));
  return handle;
}

uint32_t error_from_errno(int error) {
  switch (error) {
  case ENOENT:
    return kOsErrorFileNotFound;
  case EACCES:
  case EPERM:
    return kOsErrorAccessDenied;
  case ENAMETOOLONG:
    return kOsErrorFilenameTooLong;
  case EINVAL:
    return kOsErrorInvalidParameter;
  default:
    return kOsErrorNotEnoughMemory;
  }
}

// The descriptor behind a handle, or -1 (last error set).
int mapping_fd(OsHandle handle) {
  std::lock_guard lock(mutex);
  auto it = mappings.find(handle);
  if (it == mappings.end()) {
    os_set_last_error(kOsErrorInvalidHandle);
    return -1;
  }
  return it->second.fd;
}

OsHandle fail(uint32_t error) {
  os_set_last_error(error);
  return 0;
}

} // namespace

namespace platform_os {
void fail_next_map_views(int count) {
  failing_map_views = count;
}
} // namespace platform_os

extern "C" {

OsHandle os_create_file_mapping(const char *name, uint32_t size_bytes) {
  if (name == nullptr || *name == '\0' || size_bytes == 0) {
    return fail(kOsErrorInvalidParameter);
  }
  Mapping mapping;
  mapping.posix_name = posix_name(name);
  if (mapping.posix_name.size() > kMaxPosixNameBytes) {
    return fail(kOsErrorFilenameTooLong);
  }
  mapping.fd = shm_open(mapping.posix_name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (mapping.fd >= 0) {
    if (ftruncate(mapping.fd, size_bytes) != 0) {
      const int error = errno;
      close(mapping.fd);
      shm_unlink(mapping.posix_name.c_str());
      return fail(error_from_errno(error));
    }
    mapping.size_bytes = size_bytes;
    mapping.created = true;
    os_set_last_error(0);
    return keep(std::move(mapping));
  }
  if (errno != EEXIST) {
    return fail(error_from_errno(errno));
  }
  // The existing object is opened and handed back, and the last error tells
  // the caller that it was not new.
  mapping.fd = shm_open(mapping.posix_name.c_str(), O_RDWR, 0600);
  struct stat info {};
  if (mapping.fd < 0 || fstat(mapping.fd, &info) != 0 || info.st_size <= 0) {
    const int error = errno;
    if (mapping.fd >= 0) {
      close(mapping.fd);
    }
    return fail(error_from_errno(error));
  }
  mapping.size_bytes = static_cast<uint32_t>(std::min<off_t>(info.st_size, UINT32_MAX));
  const OsHandle handle = keep(std::move(mapping));
  os_set_last_error(kOsErrorAlreadyExists);
  return handle;
}

OsHandle os_open_file_mapping(const char *name) {
  if (name == nullptr || *name == '\0') {
    return fail(kOsErrorInvalidParameter);
  }
  Mapping mapping;
  mapping.posix_name = posix_name(name);
  if (mapping.posix_name.size() > kMaxPosixNameBytes) {
    return fail(kOsErrorFilenameTooLong);
  }
  mapping.fd = shm_open(mapping.posix_name.c_str(), O_RDWR, 0600);
  if (mapping.fd < 0) {
    return fail(error_from_errno(errno));
  }
  struct stat info {};
  if (fstat(mapping.fd, &info) != 0 || info.st_size <= 0) {
    close(mapping.fd);
    return fail(kOsErrorInvalidHandle);
  }
  mapping.size_bytes = static_cast<uint32_t>(std::min<off_t>(info.st_size, UINT32_MAX));
  return keep(std::move(mapping));
}

void *os_map_view(OsHandle handle) {
  int fd = -1;
  size_t length = 0;
  {
    std::lock_guard lock(mutex);
    auto it = mappings.find(handle);
    if (it == mappings.end()) {
      os_set_last_error(kOsErrorInvalidHandle);
      return nullptr;
    }
    fd = it->second.fd;
    length = it->second.size_bytes;
  }
  if (failing_map_views > 0) {
    --failing_map_views;
    os_set_last_error(kOsErrorNotEnoughMemory);
    return nullptr;
  }
  void *view = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    os_set_last_error(error_from_errno(errno));
    return nullptr;
  }
  std::lock_guard lock(mutex);
  views[view] = length;
  return view;
}

uint32_t os_view_size(const void *view) {
  std::lock_guard lock(mutex);
  auto it = views.find(view);
  return it == views.end() ? 0 : static_cast<uint32_t>(it->second);
}

uint32_t os_read_mapping(OsHandle handle, void *buffer, uint32_t size) {
  const int fd = mapping_fd(handle);
  if (fd < 0) {
    return 0;
  }
  uint32_t done = 0;
  while (done < size) {
    const ssize_t n = pread(fd, static_cast<char *>(buffer) + done, size - done, done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break; // the end of the object as it is now
    }
    done += static_cast<uint32_t>(n);
  }
  return done;
}

uint32_t os_write_mapping(OsHandle handle, const void *data, uint32_t size) {
  const int fd = mapping_fd(handle);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) {
    return 0;
  }
  // Never past the object's present end: the owner may have shrunk it.
  const auto length = static_cast<uint32_t>(std::clamp<off_t>(info.st_size, 0, size));
  uint32_t done = 0;
  while (done < length) {
    const ssize_t n = pwrite(fd, static_cast<const char *>(data) + done, length - done, done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      break;
    }
    done += static_cast<uint32_t>(n);
  }
  return done;
}

int os_unmap_view(void *view) {
  size_t length = 0;
  {
    std::lock_guard lock(mutex);
    auto it = views.find(view);
    if (it == views.end()) {
      os_set_last_error(kOsErrorInvalidParameter);
      return 0;
    }
    length = it->second;
    views.erase(it);
  }
  munmap(view, length);
  return 1;
}

int os_close_handle(OsHandle handle) {
  Mapping mapping;
  {
    std::lock_guard lock(mutex);
    auto it = mappings.find(handle);
    if (it == mappings.end()) {
      os_set_last_error(kOsErrorInvalidHandle);
      return 0;
    }
    mapping = std::move(it->second);
    mappings.erase(it);
  }
  close(mapping.fd);
  if (mapping.created) {
    shm_unlink(mapping.posix_name.c_str());
  }
  return 1;
}

} // extern "C"
