// In-process FSUIPC client (in progress): every call fails for now.
#include "ostrel/fsuipc_inproc.h"

namespace ostrel {
constinit uint8_t fsuipc_area[kRequestAreaBytes] = {};
constinit uint32_t fsuipc_result = 0;

int32_t InProcConnect(uint32_t, uint32_t* result, void*, uint32_t) {
  *result = fsuipc::kResultNoFs;
  return 0;
}
void InProcDisconnect() {}
int32_t InProcQueueRead(uint32_t, uint32_t, void*, uint32_t* result) {
  *result = fsuipc::kResultNotOpen;
  return 0;
}
int32_t InProcQueueWrite(uint32_t, uint32_t, const void*, uint32_t* result) {
  *result = fsuipc::kResultNotOpen;
  return 0;
}
int32_t InProcExchange(uint32_t* result) {
  *result = fsuipc::kResultNotOpen;
  return 0;
}
} // namespace ostrel
