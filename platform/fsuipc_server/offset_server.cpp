#include "platform/fsuipc_server/offset_server.h"

#include <array>
#include <cstring>

#include "fsuipc/records.h"

namespace fsuipc_server {
namespace {

constexpr const char *kIpcMessageName = "FsasmLib:IPC";
constexpr uint32_t kLowTableBytes = 0x10000;
constexpr uint32_t kVersionBlockStart = fsuipc::kOffsetServerVersion; // 0x3304..0x330B
constexpr uint32_t kVersionBlockEnd = fsuipc::kOffsetSimVersion + 4;
constexpr uint32_t kAtomNameBytes = 256;
// A client's shared request area: records only ever lie in its first 0x7F00
// bytes, and nothing past this is read.
constexpr uint32_t kSharedAreaBytes = 0x8000;

struct ModeName {
  FaultMode mode;
  std::string_view name;
};
// Read by parse_mode, mode_name and mode_names; one row per FaultMode.
constexpr std::array<ModeName, 9> kModeNames = {
    {
     {FaultMode::kNormal, "normal"},
     {FaultMode::kAbsent, "absent"},
     {FaultMode::kRefuse, "refuse"},
     {FaultMode::kHang, "hang"},
     {FaultMode::kVersion, "version"},
     {FaultMode::kVersionOld, "version-old"},
     {FaultMode::kVersionSim, "version-sim"},
     {FaultMode::kCorrupt, "corrupt"},
     {FaultMode::kDrop, "drop"},
     }
};
static_assert(static_cast<size_t>(FaultMode::kDrop) + 1 == kModeNames.size());

uint32_t load32(const uint8_t *at) {
  uint8_t b[4];
  std::memcpy(b, at, 4);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

void store32(uint8_t *at, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    at[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

// Walks the records within `length_bytes` of `area` in order and calls
// visit(at, kind, offset, size) for each. Stops at the terminator, at a kind
// this server does not know, and before a record that would run past the
// end: the area may come from any client.
template <typename Visit> void walk_records(const uint8_t *area, size_t length_bytes, Visit visit) {
  size_t at = 0;
  while (at + fsuipc::kTerminatorBytes <= length_bytes) {
    const uint32_t kind = load32(area + at);
    const size_t header = kind == fsuipc::kRecordRead    ? fsuipc::kReadHeaderBytes
                          : kind == fsuipc::kRecordWrite ? fsuipc::kWriteHeaderBytes
                                                         : 0;
    if (header == 0 || at + header > length_bytes) {
      return;
    }
    const uint32_t size = load32(area + at + 8);
    if (size > length_bytes - at - header) {
      return;
    }
    visit(at, kind, load32(area + at + 4), size);
    at += header + size;
  }
}

// Whether every record only reads or writes the version block: a client's
// connect, as against its later exchanges.
bool only_version_block(const uint8_t *area, size_t length_bytes) {
  bool only = true;
  walk_records(area, length_bytes, [&](size_t, uint32_t, uint32_t offset, uint32_t size) {
    only = only && offset >= kVersionBlockStart && uint64_t{offset} + size <= kVersionBlockEnd;
  });
  return only;
}

} // namespace

std::optional<FaultMode> parse_mode(std::string_view name) {
  for (const ModeName &row : kModeNames) {
    if (row.name == name) {
      return row.mode;
    }
  }
  return std::nullopt;
}

std::string_view mode_name(FaultMode mode) {
  return kModeNames[static_cast<size_t>(mode)].name;
}

std::string mode_names() {
  std::string names;
  for (const ModeName &row : kModeNames) {
    if (!names.empty()) {
      names += '|';
    }
    names += row.name;
  }
  return names;
}

OffsetServer::OffsetServer(ServerOptions options)
    : options_(std::move(options)), low_bytes_(kLowTableBytes, 0) {
  last_area_name_.reserve(kAtomNameBytes);
  area_copy_.reserve(kSharedAreaBytes);
  ipc_message_ = os_register_window_message(kIpcMessageName);
  if (options_.mode != FaultMode::kAbsent) {
    create_window();
  }
}

OffsetServer::~OffsetServer() {
  if (window_ != 0) {
    os_destroy_window(window_);
  }
}

void OffsetServer::create_window() {
  window_ = os_create_window(options_.class_name.c_str(), &OffsetServer::window_proc, this);
  if (window_ != 0 && published_) {
    os_publish_window(window_);
  }
}

void OffsetServer::set_mode(FaultMode mode) {
  FaultMode old;
  {
    std::lock_guard lock(mutex_);
    old = options_.mode;
    options_.mode = mode;
  }
  if (mode == FaultMode::kAbsent && window_ != 0) {
    os_destroy_window(window_);
    window_ = 0;
  } else if (old == FaultMode::kAbsent && mode != FaultMode::kAbsent && window_ == 0) {
    create_window();
  }
}

FaultMode OffsetServer::mode() const {
  std::lock_guard lock(mutex_);
  return options_.mode;
}

OsWindow OffsetServer::window() const {
  return window_;
}

bool OffsetServer::publish(std::string &error) {
  published_ = true;
  if (window_ != 0 && !os_publish_window(window_)) {
    error = "cannot publish the " + options_.class_name + " window (last error " +
            std::to_string(os_get_last_error()) + "; is another server running?)";
    published_ = false;
    return false;
  }
  return true;
}

uint8_t OffsetServer::read_byte(uint32_t offset) const {
  if (offset >= kVersionBlockStart && offset < kVersionBlockEnd) {
    uint32_t server_version = kServedServerVersion;
    uint32_t check = fsuipc::kVersionCheckPattern;
    uint32_t sim = options_.sim_code;
    switch (options_.mode) {
    case FaultMode::kVersion:
      check = kBadCheckPattern;
      break;
    case FaultMode::kVersionOld:
      server_version = kOldServerVersion;
      break;
    case FaultMode::kVersionSim:
      sim = options_.sim_code + 1u;
      break;
    default:
      break;
    }
    uint8_t block[8];
    store32(block, server_version);
    store32(block + 4, check << 16 | (sim & 0xFFFF));
    return block[offset - kVersionBlockStart];
  }
  if (offset < kLowTableBytes) {
    return low_bytes_[offset];
  }
  auto it = high_bytes_.find(offset);
  return it == high_bytes_.end() ? 0 : it->second;
}

void OffsetServer::write_byte(uint32_t offset, uint8_t value) {
  if (offset >= kVersionBlockStart && offset < kVersionBlockEnd) {
    if (offset == fsuipc::kOffsetClientVersion) {
      client_library_version_ = static_cast<uint16_t>((client_library_version_ & 0xFF00) | value);
    } else if (offset == fsuipc::kOffsetClientVersion + 1) {
      client_library_version_ =
          static_cast<uint16_t>((client_library_version_ & 0x00FF) | value << 8);
    }
    return;
  }
  if (offset < kLowTableBytes) {
    low_bytes_[offset] = value;
  } else if (value != 0) {
    high_bytes_[offset] = value;
  } else {
    high_bytes_.erase(offset);
  }
}

uint64_t OffsetServer::read(uint32_t offset, uint32_t size_bytes) const {
  std::lock_guard lock(mutex_);
  uint64_t value = 0;
  // Bytes past offset 0xFFFFFFFF do not exist: they read as zero and do not
  // wrap round to offset 0.
  for (uint32_t i = 0; i < size_bytes && i < 8 && offset + uint64_t{i} <= UINT32_MAX; ++i) {
    value |= static_cast<uint64_t>(read_byte(offset + i)) << (8 * i);
  }
  return value;
}

void OffsetServer::write(uint32_t offset, uint32_t size_bytes, uint64_t value) {
  std::lock_guard lock(mutex_);
  for (uint32_t i = 0; i < size_bytes && i < 8 && offset + uint64_t{i} <= UINT32_MAX; ++i) {
    write_byte(offset + i, static_cast<uint8_t>(value >> (8 * i)));
  }
}

uint16_t OffsetServer::client_library_version() const {
  std::lock_guard lock(mutex_);
  return client_library_version_;
}

std::string OffsetServer::last_area_name() const {
  std::lock_guard lock(mutex_);
  return last_area_name_;
}

uint64_t OffsetServer::requests_served() const {
  std::lock_guard lock(mutex_);
  return requests_served_;
}

intptr_t OffsetServer::window_proc(OsWindow, uint32_t message, uintptr_t wparam, intptr_t lparam,
                                   void *context) {
  return static_cast<OffsetServer *>(context)->handle(message, wparam, lparam);
}

void OffsetServer::set_area_opened_hook(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  area_opened_hook_ = std::move(hook);
}

intptr_t OffsetServer::handle(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  const bool ipc = ipc_message_ != 0 && message == ipc_message_;
  if (!ipc && message != kMessageInProcess) {
    return 0;
  }
  if (!ipc && os_message_from_other_process()) {
    // lparam is an address in the sender's process: nothing here to read or
    // write through it.
    return 0;
  }
  const FaultMode mode = this->mode();
  if (mode == FaultMode::kRefuse) {
    return 0;
  }
  if (mode == FaultMode::kHang) {
    os_window_withhold_answer();
    return 0;
  }
  if (ipc) {
    return serve_shared_area(static_cast<uint16_t>(wparam));
  }
  auto *area = reinterpret_cast<uint8_t *>(lparam);
  if (area == nullptr) {
    return 0;
  }
  // The records and the terminator after them.
  return perform(area, static_cast<size_t>(wparam) + fsuipc::kTerminatorBytes) ? 1 : 0;
}

intptr_t OffsetServer::serve_shared_area(uint16_t atom) {
  char name[kAtomNameBytes];
  if (os_global_get_atom_name(atom, name, sizeof name) == 0) {
    return 0;
  }
  const OsHandle mapping = os_open_file_mapping(name);
  if (mapping == 0) {
    return 0;
  }
  std::function<void()> hook;
  {
    std::lock_guard lock(mutex_);
    last_area_name_ = name;
    hook = area_opened_hook_;
  }
  if (hook) {
    hook();
  }
  // Worked on as a private copy: the client may shrink its area at any
  // moment, and a copy never faults where a view of it would.
  std::lock_guard area_lock(area_mutex_);
  std::vector<uint8_t> &copy = area_copy_;
  copy.resize(kSharedAreaBytes);
  copy.resize(os_read_mapping(mapping, copy.data(), kSharedAreaBytes));
  // An area shrunk to nothing has no records, not even a terminator.
  const bool performed =
      copy.size() >= fsuipc::kTerminatorBytes && perform(copy.data(), copy.size());
  if (performed) {
    os_write_mapping(mapping, copy.data(), static_cast<uint32_t>(copy.size()));
  }
  os_close_handle(mapping);
  return performed ? 1 : 0;
}

// Works through the records within `length_bytes` of `area` and returns
// true, or returns false without touching anything when the mode drops the
// exchange.
bool OffsetServer::perform(uint8_t *area, size_t length_bytes) {
  std::lock_guard lock(mutex_);
  if (options_.mode == FaultMode::kDrop && !only_version_block(area, length_bytes)) {
    return false;
  }
  size_t last_record = length_bytes; // none yet
  walk_records(area, length_bytes, [&](size_t at, uint32_t kind, uint32_t offset, uint32_t size) {
    if (kind == fsuipc::kRecordRead) {
      uint8_t *answer = area + at + fsuipc::kReadHeaderBytes;
      for (uint32_t i = 0; i < size; ++i) {
        answer[i] = offset + uint64_t{i} <= UINT32_MAX ? read_byte(offset + i) : 0;
      }
    } else {
      const uint8_t *data = area + at + fsuipc::kWriteHeaderBytes;
      for (uint32_t i = 0; i < size && offset + uint64_t{i} <= UINT32_MAX; ++i) {
        write_byte(offset + i, data[i]);
      }
    }
    last_record = at;
  });
  ++requests_served_;
  if (options_.mode == FaultMode::kCorrupt && last_record < length_bytes) {
    store32(area + last_record, kCorruptKind);
  }
  return true;
}

} // namespace fsuipc_server
