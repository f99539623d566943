// A table of names shared by every process of the user: a file in the
// runtime folder, mapped by each process and locked with flock around every
// operation. Global atoms and registered window messages are slots of such
// tables; a slot's index is the atom or message id minus 0xC000.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace platform_os {

inline constexpr uint32_t kSharedTableSlots = 4096;
inline constexpr uint32_t kSharedNameBytes = 256; // 255 characters and the terminator

class SharedTable {
public:
  // `file_name` within the runtime folder; `reference_counted` tables free a
  // slot when its last reference is released, the others never free one.
  SharedTable(std::string file_name, bool reference_counted);
  ~SharedTable();
  SharedTable(const SharedTable &) = delete;
  SharedTable &operator=(const SharedTable &) = delete;

  // Slot of `name` after adding a reference (a new slot if it is not there).
  // nullopt if the name is empty or too long, the table is full or the
  // runtime folder cannot be used.
  std::optional<uint32_t> add(const std::string &name);
  std::optional<uint32_t> find(const std::string &name);
  std::optional<std::string> name(uint32_t slot);
  // Releases one reference; false if the slot is not in use.
  bool release(uint32_t slot);

private:
  struct Slot;
  bool attach(); // maps the file of the current runtime folder
  void detach();
  template <class F> auto locked(F &&body) -> decltype(body());

  std::string file_name_;
  bool reference_counted_;
  std::mutex mutex_;
  std::string path_; // file currently mapped
  int fd_ = -1;
  Slot *slots_ = nullptr;
};

// Lower-case letters, digits, '.', '-', '_'; anything else becomes '_'. For
// names that become file or object names.
std::string sanitize_name(const std::string &name);

} // namespace platform_os
