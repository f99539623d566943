#include "ostrel/fsuipc_link.h"

#include "fsuipc/records.h"
#include "ostrel/fsuipc_inproc.h"
#include "platform/os/os.h"

namespace ostrel {
namespace {

// Set by the first successful presence check; never cleared while the module
// is loaded. Only fsuipc_presence_check reads it.
constinit bool fsuipc_linked = false;

constexpr const char *kNotLinkedCaption = "FSUIPC Not Linked";

} // namespace

int32_t fsuipc_presence_check() {
  if (fsuipc_linked) {
    return 1;
  }
  if (!fsuipc_open()) {
    os_message_box(0, "", kNotLinkedCaption, kOsMessageBoxOk);
    fsuipc_close();
    return 0;
  }
  fsuipc_linked = true;
  fsuipc_close();
  return 1;
}

bool fsuipc_open() {
  return InProcConnect(0, &fsuipc_result, fsuipc_area, kRequestAreaBytes) != 0;
}

void fsuipc_close() {
  InProcDisconnect();
}

bool fsuipc_read_u32(uint32_t offset, uint32_t *destination) {
  bool answered = false;
  if (InProcQueueReadAnswered(offset, sizeof *destination, destination, &answered,
                              &fsuipc_result) == 0 ||
      InProcExchange(&fsuipc_result) == 0) {
    return false;
  }
  if (!answered) {
    // The exchange succeeded but the server spoiled the record before it:
    // no answer, and the result code says so.
    fsuipc_result = fsuipc::kResultData;
    return false;
  }
  return true;
}

bool fsuipc_write_tank_levels(uint32_t level) {
  if (InProcQueueWrite(fsuipc::kOffsetTank1Level, sizeof level, &level, &fsuipc_result) == 0 ||
      InProcQueueWrite(fsuipc::kOffsetTank2Level, sizeof level, &level, &fsuipc_result) == 0) {
    return false;
  }
  return InProcExchange(&fsuipc_result) != 0;
}

} // namespace ostrel
