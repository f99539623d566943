// FSUIPC client over the inter-process protocol: a named shared-memory request
// area, a registered window message and a global atom. One module-wide
// connection; panel thread only; not reentrant.
//
// Every operation but IpcDisconnect stores a result code (FsuipcResult) in
// *result on every path and returns non-zero on success.
#pragma once

#include <cstdint>

#include "fsuipc/records.h"

namespace fsuipc {

int32_t IpcConnect(uint32_t required_sim_version, uint32_t *result);
void IpcDisconnect();
int32_t IpcQueueRead(uint32_t offset, uint32_t size, void *destination, uint32_t *result);
// IpcQueueRead that also says whether the answer arrived: *answered is false
// until an exchange has delivered this read (see fsuipc::queue_read).
int32_t IpcQueueReadAnswered(uint32_t offset, uint32_t size, void *destination, bool *answered,
                             uint32_t *result);
int32_t IpcQueueWrite(uint32_t offset, uint32_t size, const void *source, uint32_t *result);
int32_t IpcExchange(uint32_t *result);

} // namespace fsuipc
