// FSUIPC client inside the host's process: request records in a caller's
// static area handed to the server window with message 0x47F. One
// module-wide connection; panel thread only.
//
// Every operation but InProcDisconnect stores a result code in *result on
// every path and returns non-zero on success.
#pragma once

#include <cstdint>

#include "fsuipc/records.h"

namespace ostrel {

inline constexpr uint32_t kMessageInProcess = 0x47F;
inline constexpr uint32_t kRequestAreaBytes = 16384;

// The module's one request area (16384 bytes) and result-code variable.
extern uint8_t fsuipc_area[kRequestAreaBytes];
extern uint32_t fsuipc_result;

int32_t InProcConnect(uint32_t required_sim_version, uint32_t *result, void *area, uint32_t size);
void InProcDisconnect();
int32_t InProcQueueRead(uint32_t offset, uint32_t size, void *destination, uint32_t *result);
// InProcQueueRead that also says whether the answer arrived: *answered is
// false until an exchange has delivered this read (see fsuipc::queue_read).
int32_t InProcQueueReadAnswered(uint32_t offset, uint32_t size, void *destination, bool *answered,
                                uint32_t *result);
int32_t InProcQueueWrite(uint32_t offset, uint32_t size, const void *source, uint32_t *result);
int32_t InProcExchange(uint32_t *result);

} // namespace ostrel
