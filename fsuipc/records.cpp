// Request-record code shared by both transports.
#include "fsuipc/records.h"

#include <cstring>

namespace fsuipc {
namespace {

void store32(uint8_t *at, uint32_t value) {
  // Records are unaligned and little-endian, whatever the machine.
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  std::memcpy(at, bytes, sizeof bytes);
}

uint32_t load32(const uint8_t *at) {
  uint8_t b[4];
  std::memcpy(b, at, sizeof b);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// The bound rule: a record of `header_bytes` plus `size` bytes of data fits
// when it and the terminator end within the usable size, and the client's
// record list has room. Counted in 64 bits: a size near 4 GiB must be
// refused, not wrap round to a small total.
bool fits(const RequestQueue &queue, uint32_t header_bytes, uint32_t size) {
  const uint64_t end =
      static_cast<uint64_t>(queue.queued_bytes) + header_bytes + size + kTerminatorBytes;
  return end <= queue.usable_bytes && queue.record_count < kMaxRecords;
}

bool refuse(uint32_t *result, uint32_t code) {
  *result = code;
  return false;
}

} // namespace

void queue_open(RequestQueue &queue, void *area, uint32_t area_bytes) {
  queue.area = static_cast<uint8_t *>(area);
  queue.usable_bytes = area_bytes < kMaxUsableBytes ? area_bytes : kMaxUsableBytes;
  queue_reset(queue);
}

void queue_close(RequestQueue &queue) {
  queue.area = nullptr;
  queue.usable_bytes = 0;
  queue_reset(queue);
}

void queue_reset(RequestQueue &queue) {
  queue.queued_bytes = 0;
  queue.record_count = 0;
}

bool queue_read(RequestQueue &queue, uint32_t offset, uint32_t size, void *destination,
                uint32_t *result) {
  return queue_read(queue, offset, size, destination, nullptr, result);
}

bool queue_read(RequestQueue &queue, uint32_t offset, uint32_t size, void *destination,
                bool *answered, uint32_t *result) {
  if (queue.area == nullptr) {
    return refuse(result, kResultNotOpen);
  }
  if (!fits(queue, kReadHeaderBytes, size)) {
    return refuse(result, kResultSize);
  }
  uint8_t *record = queue.area + queue.queued_bytes;
  store32(record, kRecordRead);
  store32(record + 4, offset);
  store32(record + 8, size);
  store32(record + 12, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(destination)));
  std::memset(record + kReadHeaderBytes, 0, size);
  queue.records[queue.record_count++] = {destination, answered, kRecordRead, size};
  if (answered != nullptr) {
    *answered = false;
  }
  queue.queued_bytes += kReadHeaderBytes + size;
  *result = kResultOk;
  return true;
}

bool queue_write(RequestQueue &queue, uint32_t offset, uint32_t size, const void *source,
                 uint32_t *result) {
  if (queue.area == nullptr) {
    return refuse(result, kResultNotOpen);
  }
  if (!fits(queue, kWriteHeaderBytes, size)) {
    return refuse(result, kResultSize);
  }
  uint8_t *record = queue.area + queue.queued_bytes;
  store32(record, kRecordWrite);
  store32(record + 4, offset);
  store32(record + 8, size);
  if (source != nullptr) {
    std::memmove(record + kWriteHeaderBytes, source, size);
  } else {
    // No source: zeros rather than a read through a null pointer.
    std::memset(record + kWriteHeaderBytes, 0, size);
  }
  queue.records[queue.record_count++] = {nullptr, nullptr, kRecordWrite, size};
  queue.queued_bytes += kWriteHeaderBytes + size;
  *result = kResultOk;
  return true;
}

uint32_t queue_seal(RequestQueue &queue) {
  store32(queue.area + queue.queued_bytes, 0);
  return queue.queued_bytes;
}

uint32_t deliver_answers(const RequestQueue &queue) {
  uint32_t at = 0;
  uint32_t walked = 0;
  for (; walked < queue.record_count; ++walked) {
    const QueuedRecord &queued = queue.records[walked];
    uint8_t *record = queue.area + at;
    const uint32_t kind = load32(record);
    if (kind == 0) {
      break;
    }
    if (kind != kRecordRead && kind != kRecordWrite) {
      store32(record, 0);
      break;
    }
    if (kind != queued.kind || load32(record + 8) != queued.size) {
      break;
    }
    if (kind == kRecordRead) {
      if (queued.destination != nullptr && queued.size != 0) {
        std::memcpy(queued.destination, record + kReadHeaderBytes, queued.size);
      }
      if (queued.answered != nullptr) {
        *queued.answered = true;
      }
      at += kReadHeaderBytes + queued.size;
    } else {
      at += kWriteHeaderBytes + queued.size;
    }
  }
  return walked;
}

} // namespace fsuipc
