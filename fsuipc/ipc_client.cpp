// Inter-process FSUIPC client: the server's window is found by class, the
// request area is a named shared-memory object whose name travels as a
// global atom, and one registered message asks the server to work through
// the records.
#include "fsuipc/ipc_client.h"

#include <cstdio>

#include "platform/os/os.h"

namespace fsuipc {
namespace {

constexpr const char *kServerClass = "UIPCMAIN";
constexpr const char *kOldServerClass = "FS98MAIN";
constexpr const char *kMessageName = "FsasmLib:IPC";
constexpr const char *kAreaNameFormat = "FsasmLib:IPC:%X:%X"; // process id, name counter
constexpr uint32_t kAreaBytes = 0x8000;                       // only the first 0x7F00 carry records
constexpr uint16_t kLibraryVersion = 1004;                    // 0x03EC, written to 0x330A
constexpr uint32_t kSendTimeoutMs = 2000;
constexpr uint32_t kSendAttemptLimit = 10; // tested before each send, from 1: 9 sends
constexpr uint32_t kRetrySleepMs = 100;
constexpr int kVersionTries = 5;
constexpr uint32_t kVersionSleepMs = 100;

// The module's one connection; panel thread only. IpcConnect fills it,
// IpcDisconnect empties it (the name counter and versions stay).
struct IpcConnection {
  OsWindow server_window;
  uint32_t message_id;
  uint16_t atom;
  OsHandle mapping;
  uint32_t server_version;
  uint32_t sim_version;
  int32_t name_counter; // one per connect that reaches the naming step; never reset
  RequestQueue queue;   // queue.area non-null: open
};

constinit IpcConnection connection = {};

bool fail_connect(uint32_t *result, uint32_t code) {
  *result = code;
  IpcDisconnect();
  return false;
}

} // namespace

int32_t IpcConnect(uint32_t required_sim_version, uint32_t *result) {
  if (connection.queue.area != nullptr) {
    *result = kResultOpen;
    return 0;
  }
  connection.server_version = 0;
  connection.sim_version = 0;

  bool old_server = false;
  connection.server_window = os_find_window(kServerClass);
  if (connection.server_window == 0) {
    connection.server_window = os_find_window(kOldServerClass);
    old_server = true;
  }
  if (connection.server_window == 0) {
    *result = kResultNoFs;
    return 0;
  }

  connection.message_id = os_register_window_message(kMessageName);
  if (connection.message_id == 0) {
    *result = kResultRegisterMsg;
    return 0;
  }

  ++connection.name_counter;
  char area_name[64];
  std::snprintf(area_name, sizeof area_name, kAreaNameFormat, os_get_current_process_id(),
                static_cast<uint32_t>(connection.name_counter));

  connection.atom = os_global_add_atom(area_name);
  if (connection.atom == 0) {
    return fail_connect(result, kResultAtom);
  }

  connection.mapping = os_create_file_mapping(area_name, kAreaBytes);
  if (connection.mapping == 0 || os_get_last_error() == kOsErrorAlreadyExists) {
    // An object of that name that already existed belongs to someone else.
    return fail_connect(result, kResultMapping);
  }

  void *area = os_map_view(connection.mapping);
  if (area == nullptr) {
    return fail_connect(result, kResultView);
  }
  queue_open(connection.queue, area, kAreaBytes);

  for (int tries = 0;
       tries < kVersionTries && (connection.server_version == 0 || connection.sim_version == 0);
       ++tries) {
    const uint16_t library_version = kLibraryVersion;
    if (!IpcQueueRead(kOffsetServerVersion, 4, &connection.server_version, result) ||
        !IpcQueueRead(kOffsetSimVersion, 4, &connection.sim_version, result) ||
        (tries == 0 && !IpcQueueWrite(kOffsetClientVersion, 2, &library_version, result)) ||
        !IpcExchange(result)) {
      IpcDisconnect();
      return 0;
    }
    os_sleep(kVersionSleepMs);
  }

  if (connection.server_version < kMinServerVersion ||
      (connection.sim_version >> 16) != kVersionCheckPattern) {
    return fail_connect(result, old_server ? kResultRunningOld : kResultVersion);
  }
  connection.sim_version &= 0xFFFF;
  if (required_sim_version != 0 && required_sim_version != connection.sim_version) {
    return fail_connect(result, kResultWrongFs);
  }
  *result = kResultOk;
  return 1;
}

void IpcDisconnect() {
  connection.server_window = 0;
  connection.message_id = 0;
  if (connection.atom != 0) {
    os_global_delete_atom(connection.atom);
    connection.atom = 0;
  }
  if (connection.queue.area != nullptr) {
    os_unmap_view(connection.queue.area);
    queue_close(connection.queue);
  }
  if (connection.mapping != 0) {
    os_close_handle(connection.mapping);
    connection.mapping = 0;
  }
}

int32_t IpcQueueRead(uint32_t offset, uint32_t size, void *destination, uint32_t *result) {
  return queue_read(connection.queue, offset, size, destination, result) ? 1 : 0;
}

int32_t IpcQueueReadAnswered(uint32_t offset, uint32_t size, void *destination, bool *answered,
                             uint32_t *result) {
  return queue_read(connection.queue, offset, size, destination, answered, result) ? 1 : 0;
}

int32_t IpcQueueWrite(uint32_t offset, uint32_t size, const void *source, uint32_t *result) {
  return queue_write(connection.queue, offset, size, source, result) ? 1 : 0;
}

int32_t IpcExchange(uint32_t *result) {
  if (connection.queue.area == nullptr) {
    *result = kResultNotOpen;
    return 0;
  }
  if (connection.queue.queued_bytes == 0) {
    *result = kResultNoData;
    return 0;
  }
  queue_seal(connection.queue);

  uintptr_t answer = 0;
  uint32_t attempt = 1;
  bool sent = false;
  for (; attempt < kSendAttemptLimit; ++attempt) {
    sent = os_send_message_timeout(connection.server_window, connection.message_id, connection.atom,
                                   0, kSendTimeoutMs, &answer) != 0;
    if (sent) {
      break;
    }
    os_sleep(kRetrySleepMs);
  }
  if (!sent) {
    queue_reset(connection.queue);
    *result = os_get_last_error() != 0 ? kResultSendMsg : kResultTimeout;
    return 0;
  }
  if (answer != 1) {
    queue_reset(connection.queue);
    *result = kResultData;
    return 0;
  }
  deliver_answers(connection.queue);
  queue_reset(connection.queue);
  *result = kResultOk;
  return 1;
}

} // namespace fsuipc
