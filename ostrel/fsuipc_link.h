// How ostrel's gauges use FSUIPC: the presence check of the yaw strings and
// short helpers over the in-process client. Every user opens the connection,
// runs one or two batches and closes it again within one callback; nothing
// stays open between callbacks. All of it runs on the panel thread.
#pragma once

#include <cstdint>

namespace ostrel {

// Service 2 of white, red and blue. Until one check has succeeded in this
// module load, tries to connect; on failure shows the message box
// "FSUIPC Not Linked" and returns 0, on success returns 1 (and so does every
// later call without trying again).
int32_t fsuipc_presence_check();

// InProcConnect with any simulator version, the module's area and result.
bool fsuipc_open();
// InProcDisconnect; harmless when nothing is open.
void fsuipc_close();
// One batch: a 4-byte read of `offset`, exchanged, into *destination; every
// 32-bit answer is taken as read. False when queuing or the exchange failed
// or the answer did not arrive (a server that spoils the record; the module's
// result code is then kResultData, never success); *destination then keeps
// its value.
bool fsuipc_read_u32(uint32_t offset, uint32_t *destination);
// One batch: `level` (0x800000 = full) written to both tank offsets.
bool fsuipc_write_tank_levels(uint32_t level);

} // namespace ostrel
