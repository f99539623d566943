// In-process FSUIPC client: the request area is the module's own static
// buffer and one synchronous message 0x47F hands the server its address
// (lparam) and the length of the queued records (wparam). The server must
// live in this process; its window is looked for among this process's only. Records, bound rule
// and answer walk are the shared ones of fsuipc/records.
#include "ostrel/fsuipc_inproc.h"

#include "platform/os/os.h"

namespace ostrel {
namespace {

constexpr const char *kServerClass = "UIPCMAIN"; // no second class here
constexpr uint16_t kLibraryVersion = 1100;       // 0x044C, written to 0x330A
constexpr uint32_t kMinAreaBytes = 32;

// The module's one connection; panel thread only. Set up by InProcConnect,
// dropped by InProcDisconnect; nothing else is held between callbacks.
struct InProcConnection {
  OsWindow server_window;
  uint32_t server_version;
  uint32_t sim_version;
  fsuipc::RequestQueue queue; // queue.area non-null: open
};

constinit InProcConnection connection = {};

} // namespace

constinit uint8_t fsuipc_area[kRequestAreaBytes] = {};
constinit uint32_t fsuipc_result = 0;

int32_t InProcConnect(uint32_t required_sim_version, uint32_t *result, void *area, uint32_t size) {
  if (connection.queue.area != nullptr) {
    *result = fsuipc::kResultOpen;
    return 0;
  }
  if (area == nullptr || size < kMinAreaBytes) {
    *result = fsuipc::kResultView;
    return 0;
  }
  connection.server_version = 0;
  connection.sim_version = 0;
  // Only a server in this process can work on an area of this process: a
  // window that another process published is no server for us.
  connection.server_window = os_find_window_in_process(kServerClass);
  if (connection.server_window == 0) {
    *result = fsuipc::kResultNoFs;
    return 0;
  }
  fsuipc::queue_open(connection.queue, area, size);

  const uint16_t library_version = kLibraryVersion;
  if (!InProcQueueRead(fsuipc::kOffsetServerVersion, 4, &connection.server_version, result) ||
      !InProcQueueRead(fsuipc::kOffsetSimVersion, 4, &connection.sim_version, result) ||
      !InProcQueueWrite(fsuipc::kOffsetClientVersion, 2, &library_version, result) ||
      !InProcExchange(result)) {
    InProcDisconnect();
    return 0;
  }
  if (connection.server_version < fsuipc::kMinServerVersion ||
      (connection.sim_version >> 16) != fsuipc::kVersionCheckPattern) {
    *result = fsuipc::kResultVersion;
    InProcDisconnect();
    return 0;
  }
  connection.sim_version &= 0xFFFF;
  if (required_sim_version != 0 && required_sim_version != connection.sim_version) {
    *result = fsuipc::kResultWrongFs;
    InProcDisconnect();
    return 0;
  }
  *result = fsuipc::kResultOk;
  return 1;
}

void InProcDisconnect() {
  connection.server_window = 0;
  fsuipc::queue_close(connection.queue);
}

int32_t InProcQueueRead(uint32_t offset, uint32_t size, void *destination, uint32_t *result) {
  return fsuipc::queue_read(connection.queue, offset, size, destination, result) ? 1 : 0;
}

int32_t InProcQueueReadAnswered(uint32_t offset, uint32_t size, void *destination, bool *answered,
                                uint32_t *result) {
  return fsuipc::queue_read(connection.queue, offset, size, destination, answered, result) ? 1 : 0;
}

int32_t InProcQueueWrite(uint32_t offset, uint32_t size, const void *source, uint32_t *result) {
  return fsuipc::queue_write(connection.queue, offset, size, source, result) ? 1 : 0;
}

int32_t InProcExchange(uint32_t *result) {
  if (connection.queue.area == nullptr) {
    *result = fsuipc::kResultNotOpen;
    return 0;
  }
  if (connection.queue.queued_bytes == 0) {
    *result = fsuipc::kResultNoData;
    return 0;
  }
  const uint32_t length = fsuipc::queue_seal(connection.queue);
  const intptr_t answer = os_send_message(connection.server_window, kMessageInProcess, length,
                                          reinterpret_cast<intptr_t>(connection.queue.area));
  if (answer != 1) {
    fsuipc::queue_reset(connection.queue);
    *result = fsuipc::kResultData;
    return 0;
  }
  fsuipc::deliver_answers(connection.queue);
  fsuipc::queue_reset(connection.queue);
  *result = fsuipc::kResultOk;
  return 1;
}

} // namespace ostrel
