// FSUIPC request records and result codes, shared by both transports.
//
// Records lie back to back in a request area, unaligned, little-endian:
//   read  (kind 1): kind, offset, size, destination (4 bytes each), then
//                   `size` bytes of answer room filled by the server
//   write (kind 2): kind, offset, size, then the `size` bytes to write
// A 32-bit zero after the last record ends the list.
#pragma once

#include <cstdint>

namespace fsuipc {

enum FsuipcResult : uint32_t {
  kResultOk = 0,
  kResultOpen = 1,           // connect: already open
  kResultNoFs = 2,           // connect: no server window
  kResultRegisterMsg = 3,    // connect: message not registered
  kResultAtom = 4,           // connect: atom not added
  kResultMapping = 5,        // connect: shared memory not created or already existed
  kResultView = 6,           // connect: not mapped (in-process: no or too small area)
  kResultVersion = 7,        // connect: version check failed ("UIPCMAIN")
  kResultWrongFs = 8,        // connect: other simulator version
  kResultNotOpen = 9,        // no connection
  kResultNoData = 10,        // exchange: nothing queued
  kResultTimeout = 11,       // exchange: sends timed out
  kResultSendMsg = 12,       // exchange: sends failed with a system error
  kResultData = 13,          // exchange: server answered other than 1
  kResultRunningOld = 14,    // connect: version check failed ("FS98MAIN")
  kResultSize = 15,          // queue: record does not fit
};

inline constexpr uint32_t kRecordRead = 1;
inline constexpr uint32_t kRecordWrite = 2;

// Offsets the clients and the server stand-in use.
inline constexpr uint32_t kOffsetServerVersion = 0x3304;  // 4 bytes, >= 0x19980005
inline constexpr uint32_t kOffsetSimVersion = 0x3308;     // 0xFADE << 16 | simulator code
inline constexpr uint32_t kOffsetClientVersion = 0x330A;  // 2 bytes, written on connect
inline constexpr uint32_t kOffsetTank1Level = 0x0B7C;     // 4 bytes, 0x800000 = full
inline constexpr uint32_t kOffsetTank2Level = 0x0B94;     // 4 bytes, 0x800000 = full

inline constexpr uint32_t kMinServerVersion = 0x19980005;
inline constexpr uint32_t kVersionCheckPattern = 0xFADE;

} // namespace fsuipc
