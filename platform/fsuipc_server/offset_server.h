// Stand-in for the FSUIPC server: a window of class "UIPCMAIN" that serves
// reads and writes of a table of bytes by offset, over both transports:
//   - the registered message "FsasmLib:IPC": wparam is a global atom naming a
//     shared-memory request area, which it opens, works through and closes;
//   - message 0x47F: lparam is the address of a request area in this process,
//     wparam the length of its records (terminator not counted). Served only
//     to senders in this process: from another process the address is
//     meaningless here, and the message is refused (answered 0).
// Either way it performs the records in order up to the terminator and
// answers 1. A shared area is copied in, worked on and copied back, so a
// client that shrinks it meanwhile cannot fault the server. Offsets 0x3304..0x330B hold the server
// and simulator versions and are read-only (a write to 0x330A, the client's library version, is
// remembered for inspection); every other offset reads as zero until
// written.
//
// Fault modes make it misbehave the ways a client must survive.
//
// Thread-safe: the window may be served on another thread (offsetd's loop, a
// test's), while the panel thread reads the table.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/os/os.h"

namespace fsuipc_server {

enum class FaultMode {
  kNormal,
  kAbsent,     // no window at all
  kRefuse,     // answers 0 without touching the area
  kHang,       // never answers
  kVersion,    // 0x3308 carries a wrong check pattern
  kVersionOld, // 0x3304 is older than the oldest version clients accept
  kVersionSim, // 0x3308 carries another simulator code than the configured one
  kCorrupt,    // performs the records, then spoils the kind of the last one
  kDrop,       // serves a connect (records on 0x3304..0x330B only), answers 0 to
               // every other exchange without performing it
};

// "normal", "absent", "refuse", "hang", "version", "version-old",
// "version-sim", "corrupt", "drop".
std::optional<FaultMode> parse_mode(std::string_view name);
std::string_view mode_name(FaultMode mode);
std::string mode_names(); // all, separated by '|', for usage texts

inline constexpr uint32_t kMessageInProcess = 0x47F;
inline constexpr uint32_t kServedServerVersion = 0x34500000; // passes the >= 0x19980005 check
inline constexpr uint32_t kOldServerVersion = 0x19980004;    // one short of it
inline constexpr uint16_t kBadCheckPattern = 0xBEEF;         // instead of 0xFADE
inline constexpr uint32_t kCorruptKind = 0xBAD;              // neither read (1) nor write (2)

struct ServerOptions {
  std::string class_name = "UIPCMAIN";
  uint16_t sim_code = 2; // low half of 0x3308
  FaultMode mode = FaultMode::kNormal;
};

class OffsetServer {
public:
  explicit OffsetServer(ServerOptions options = {});
  ~OffsetServer();
  OffsetServer(const OffsetServer &) = delete;
  OffsetServer &operator=(const OffsetServer &) = delete;

  // Switching to or from kAbsent destroys or creates the window (and keeps
  // it published if it was).
  void set_mode(FaultMode mode);
  FaultMode mode() const;

  // 0 while absent.
  OsWindow window() const;
  // Makes the window reachable from other processes (offsetd). False with
  // `error` if that fails, for example because another live process already
  // serves this class.
  bool publish(std::string &error);

  // The table as a little-endian unsigned integer of `size_bytes` (1..8).
  uint64_t read(uint32_t offset, uint32_t size_bytes) const;
  void write(uint32_t offset, uint32_t size_bytes, uint64_t value);

  // For tests: the last client library version written to 0x330A, the name
  // of the last shared area opened, and the number of messages answered 1.
  uint16_t client_library_version() const;
  std::string last_area_name() const;
  uint64_t requests_served() const;

  // For tests: called after the server has opened a client's shared area by
  // its name and before it works through it (where a client may shrink it).
  void set_area_opened_hook(std::function<void()> hook);

private:
  static intptr_t window_proc(OsWindow window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                              void *context);
  intptr_t handle(uint32_t message, uintptr_t wparam, intptr_t lparam);
  intptr_t serve_shared_area(uint16_t atom);
  bool perform(uint8_t *area, size_t length_bytes);
  void create_window();
  uint8_t read_byte(uint32_t offset) const;
  void write_byte(uint32_t offset, uint8_t value);

  ServerOptions options_;
  uint32_t ipc_message_ = 0;
  OsWindow window_ = 0;
  bool published_ = false;
  mutable std::mutex mutex_;
  std::vector<uint8_t> low_bytes_;                   // offsets 0..0xFFFF
  std::unordered_map<uint32_t, uint8_t> high_bytes_; // anything above, sparse
  uint16_t client_library_version_ = 0;
  std::string last_area_name_;
  // A client's shared area while it is served, sized once: an exchange
  // allocates nothing. Its own lock: perform() takes mutex_.
  std::mutex area_mutex_;
  std::vector<uint8_t> area_copy_;
  uint64_t requests_served_ = 0;
  std::function<void()> area_opened_hook_;
};

} // namespace fsuipc_server
