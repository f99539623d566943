// Inter-process FSUIPC client (in progress): every call fails for now.
#include "fsuipc/ipc_client.h"

namespace fsuipc {
int32_t IpcConnect(uint32_t, uint32_t* result) {
  *result = kResultNoFs;
  return 0;
}
void IpcDisconnect() {}
int32_t IpcQueueRead(uint32_t, uint32_t, void*, uint32_t* result) {
  *result = kResultNotOpen;
  return 0;
}
int32_t IpcQueueWrite(uint32_t, uint32_t, const void*, uint32_t* result) {
  *result = kResultNotOpen;
  return 0;
}
int32_t IpcExchange(uint32_t* result) {
  *result = kResultNotOpen;
  return 0;
}
} // namespace fsuipc
