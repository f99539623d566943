#include "platform/os/shared_table.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/os/os_host.h"

namespace platform_os {

// One slot. A free slot has references == 0 and an empty name.
struct SharedTable::Slot {
  uint32_t references;
  uint32_t owner_pid; // last process that added a reference; lets a full
                      // table reclaim slots of processes that died
  char name[kSharedNameBytes];
};

namespace {

constexpr size_t kSlotBytes = 264;
constexpr size_t table_bytes(uint32_t slots) {
  return static_cast<size_t>(slots) * kSlotBytes;
}

// FNV-1a over the upper-cased name: where the search for a free slot starts,
// so one name gets the same id in separate tables (and runtime folders) as
// long as nothing collides.
uint32_t name_hash(const std::string &name) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : name) {
    hash ^= static_cast<uint32_t>(std::toupper(c));
    hash *= 16777619u;
  }
  return hash;
}

bool process_is_dead(uint32_t pid) {
  return pid != 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string sanitize_name(const std::string &name) {
  std::string out;
  out.reserve(name.size());
  for (unsigned char c : name) {
    const char lower = static_cast<char>(std::tolower(c));
    out += (std::isalnum(c) || c == '.' || c == '-' || c == '_') ? lower : '_';
  }
  return out;
}

SharedTable::SharedTable(std::string file_name, bool reference_counted)
    : file_name_(std::move(file_name)), reference_counted_(reference_counted) {
  static_assert(sizeof(Slot) == kSlotBytes);
}

SharedTable::~SharedTable() {
  detach();
}

void SharedTable::detach() {
  if (slots_ != nullptr) {
    munmap(slots_, table_bytes(kSharedTableSlots));
    slots_ = nullptr;
  }
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  path_.clear();
}

bool SharedTable::attach() {
  const std::filesystem::path dir = runtime_dir();
  const std::string path = (dir / file_name_).string();
  if (slots_ != nullptr && path == path_) {
    return true;
  }
  detach();
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  // A new file is sized (sparse, all zero: every slot free) by whoever gets
  // there first; a larger size from a later version would do no harm.
  const size_t bytes = table_bytes(kSharedTableSlots);
  if (flock(fd, LOCK_EX) != 0) {
    close(fd);
    return false;
  }
  const off_t end = lseek(fd, 0, SEEK_END);
  const bool sized =
      end >= static_cast<off_t>(bytes) || ftruncate(fd, static_cast<off_t>(bytes)) == 0;
  flock(fd, LOCK_UN);
  if (!sized) {
    close(fd);
    return false;
  }
  void *view = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    close(fd);
    return false;
  }
  fd_ = fd;
  slots_ = static_cast<Slot *>(view);
  path_ = path;
  return true;
}

template <class F> auto SharedTable::locked(F &&body) -> decltype(body()) {
  std::lock_guard lock(mutex_);
  if (!attach()) {
    return {};
  }
  flock(fd_, LOCK_EX);
  auto result = body();
  flock(fd_, LOCK_UN);
  return result;
}

std::optional<uint32_t> SharedTable::find(const std::string &name) {
  if (name.empty() || name.size() >= kSharedNameBytes) {
    return std::nullopt;
  }
  return locked([&]() -> std::optional<uint32_t> {
    for (uint32_t i = 0; i < kSharedTableSlots; ++i) {
      const Slot &slot = slots_[i];
      if (slot.name[0] != '\0' && strncasecmp(slot.name, name.c_str(), kSharedNameBytes) == 0) {
        return i;
      }
    }
    return std::nullopt;
  });
}

std::optional<uint32_t> SharedTable::add(const std::string &name) {
  if (name.empty() || name.size() >= kSharedNameBytes) {
    return std::nullopt;
  }
  const uint32_t pid = static_cast<uint32_t>(getpid());
  return locked([&]() -> std::optional<uint32_t> {
    std::optional<uint32_t> free_slot;
    const uint32_t start = name_hash(name) % kSharedTableSlots;
    for (uint32_t n = 0; n < kSharedTableSlots; ++n) {
      const uint32_t i = (start + n) % kSharedTableSlots;
      Slot &slot = slots_[i];
      if (slot.name[0] == '\0') {
        if (!free_slot) {
          free_slot = i;
        }
      } else if (strncasecmp(slot.name, name.c_str(), kSharedNameBytes) == 0) {
        if (reference_counted_) {
          ++slot.references;
          slot.owner_pid = pid;
        }
        return i;
      }
    }
    if (!free_slot && reference_counted_) {
      // Full: take back slots whose last adder has died without deleting.
      for (uint32_t i = 0; i < kSharedTableSlots && !free_slot; ++i) {
        if (process_is_dead(slots_[i].owner_pid)) {
          std::memset(&slots_[i], 0, sizeof(Slot));
          free_slot = i;
        }
      }
    }
    if (!free_slot) {
      return std::nullopt;
    }
    Slot &slot = slots_[*free_slot];
    std::memset(&slot, 0, sizeof slot);
    std::memcpy(slot.name, name.data(), name.size());
    slot.references = 1;
    slot.owner_pid = pid;
    return free_slot;
  });
}

std::optional<std::string> SharedTable::name(uint32_t slot) {
  if (slot >= kSharedTableSlots) {
    return std::nullopt;
  }
  return locked([&]() -> std::optional<std::string> {
    const Slot &s = slots_[slot];
    if (s.name[0] == '\0') {
      return std::nullopt;
    }
    return std::string(s.name, strnlen(s.name, kSharedNameBytes));
  });
}

bool SharedTable::release(uint32_t slot) {
  if (slot >= kSharedTableSlots || !reference_counted_) {
    return false;
  }
  return locked([&]() -> std::optional<bool> {
           Slot &s = slots_[slot];
           if (s.name[0] == '\0') {
             return false;
           }
           if (--s.references == 0) {
             std::memset(&s, 0, sizeof s);
           }
           return true;
         })
      .value_or(false);
}

} // namespace platform_os
