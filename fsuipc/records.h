// FSUIPC request records and result codes, shared by both transports.
//
// Records lie back to back in a request area, unaligned, little-endian:
//   read  (kind 1): kind, offset, size, destination (4 bytes each), then
//                   `size` bytes of answer room filled by the server
//   write (kind 2): kind, offset, size, then the `size` bytes to write
// A 32-bit zero after the last record ends the list.
//
// The destination field is only 4 bytes wide while our addresses are 8, so
// the client keeps every record's kind, size and destination on its side in
// record order (RequestQueue::records) and the field carries the low half of
// the address, which nobody reads back. The answer walk goes by that list,
// never by sizes read from the area: whatever a server leaves in the area,
// the walk reads and writes only inside the records that were queued.
#pragma once

#include <cstdint>

namespace fsuipc {

enum FsuipcResult : uint32_t {
  kResultOk = 0,
  kResultOpen = 1,        // connect: already open
  kResultNoFs = 2,        // connect: no server window
  kResultRegisterMsg = 3, // connect: message not registered
  kResultAtom = 4,        // connect: atom not added
  kResultMapping = 5,     // connect: shared memory not created or already existed
  kResultView = 6,        // connect: not mapped (in-process: no or too small area)
  kResultVersion = 7,     // connect: version check failed ("UIPCMAIN")
  kResultWrongFs = 8,     // connect: other simulator version
  kResultNotOpen = 9,     // no connection
  kResultNoData = 10,     // exchange: nothing queued
  kResultTimeout = 11,    // exchange: sends timed out
  kResultSendMsg = 12,    // exchange: sends failed with a system error
  kResultData = 13,       // exchange: server answered other than 1
  kResultRunningOld = 14, // connect: version check failed ("FS98MAIN")
  kResultSize = 15,       // queue: record does not fit
};

inline constexpr uint32_t kRecordRead = 1;
inline constexpr uint32_t kRecordWrite = 2;

// Offsets the clients and the server stand-in use.
inline constexpr uint32_t kOffsetServerVersion = 0x3304; // 4 bytes, >= 0x19980005
inline constexpr uint32_t kOffsetSimVersion = 0x3308;    // 0xFADE << 16 | simulator code
inline constexpr uint32_t kOffsetClientVersion = 0x330A; // 2 bytes, written on connect
inline constexpr uint32_t kOffsetTank1Level = 0x0B7C;    // 4 bytes, 0x800000 = full
inline constexpr uint32_t kOffsetTank2Level = 0x0B94;    // 4 bytes, 0x800000 = full

inline constexpr uint32_t kMinServerVersion = 0x19980005;
inline constexpr uint32_t kVersionCheckPattern = 0xFADE;

inline constexpr uint32_t kReadHeaderBytes = 16;
inline constexpr uint32_t kWriteHeaderBytes = 12;
inline constexpr uint32_t kTerminatorBytes = 4;
// No area is used beyond this many bytes (records and terminator).
inline constexpr uint32_t kMaxUsableBytes = 0x7F00;
// Most records that fit: writes of 0 bytes, then the terminator.
inline constexpr uint32_t kMaxRecords = (kMaxUsableBytes - kTerminatorBytes) / kWriteHeaderBytes;
static_assert(kMaxRecords == 2709);

// One queued record as the client remembers it.
struct QueuedRecord {
  void *destination; // read: where the answer goes (may be null); write: unused
  bool *answered;    // read: set by the answer walk when it reaches the record (may be null)
  uint32_t kind;     // kRecordRead or kRecordWrite
  uint32_t size;     // bytes read or written
};

// A request area and what has been queued in it. Plain record: transports
// keep one in constinit module state.
struct RequestQueue {
  uint8_t *area;         // null: no connection
  uint32_t usable_bytes; // records plus terminator stay within this
  uint32_t queued_bytes; // where the next record goes ("next" - area)
  uint32_t record_count;
  QueuedRecord records[kMaxRecords];
};

// Starts an empty queue over `area`; at most kMaxUsableBytes are used.
void queue_open(RequestQueue &queue, void *area, uint32_t area_bytes);
// Forgets the area (the transport releases it).
void queue_close(RequestQueue &queue);
// Empties the queue; the area stays.
void queue_reset(RequestQueue &queue);

// Appends a read record: header, then `size` zero bytes of answer room.
// kResultNotOpen without an area; kResultSize, writing nothing, when
// queued + size + 20 would pass the usable size.
bool queue_read(RequestQueue &queue, uint32_t offset, uint32_t size, void *destination,
                uint32_t *result);
// The same, and *answered (if non-null) tells afterwards whether the answer
// arrived: false from now on, true once deliver_answers has delivered this
// record. That is the only sure sign: every value of the destination,
// 0xFFFFFFFF included, may be a real answer, and a failed or cut-short
// exchange leaves the destination as it was.
bool queue_read(RequestQueue &queue, uint32_t offset, uint32_t size, void *destination,
                bool *answered, uint32_t *result);
// Appends a write record with a copy of `size` bytes from `source` (taken
// now). Bound: queued + size + 16.
bool queue_write(RequestQueue &queue, uint32_t offset, uint32_t size, const void *source,
                 uint32_t *result);

// Writes the terminator after the last record and returns the length of the
// records (terminator not counted). The queue needs at least one record.
uint32_t queue_seal(RequestQueue &queue);

// The answer walk after a server has worked on the area: from the first
// record on, copies each read's answer room to its destination (if non-null
// and size non-zero) and steps over writes. Ends at a kind of 0, after the
// last queued record, or at a record whose header the server changed: a kind
// other than 1 or 2 is overwritten with 0 there; a record whose kind or size
// no longer matches what was queued is left as it is and delivers nothing.
// Earlier answers stay delivered; each delivered read's answered flag is set.
// Returns the number of records walked.
uint32_t deliver_answers(const RequestQueue &queue);

} // namespace fsuipc
