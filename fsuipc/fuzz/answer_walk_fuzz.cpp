// libFuzzer target: queues records chosen by the input, lets the rest of the
// input overwrite the request area as a faulty server might, and walks the
// answers. Destinations are separate heap blocks of exactly the queued size,
// so AddressSanitizer reports any copy beyond them or outside the area.
//
// Input: byte 0 = number of records (0..31); then per record 3 bytes: kind
// (low bit: 0 read, 1 write), size (0..255), flag (low bit: null
// destination); the remaining bytes are laid over the area from its start.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fsuipc/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static auto queue = std::make_unique<fsuipc::RequestQueue>();
  static const uint8_t source[256] = {};
  if (size < 1) {
    return 0;
  }
  const size_t records = data[0] % 32;
  size_t at = 1;
  // A heap area of exactly the usable size: nothing past it is fair game.
  std::vector<uint8_t> area(fsuipc::kMaxUsableBytes);
  fsuipc::queue_open(*queue, area.data(), static_cast<uint32_t>(area.size()));
  std::vector<std::unique_ptr<uint8_t[]>> destinations;
  uint32_t result = 0;
  for (size_t i = 0; i < records && at + 3 <= size; ++i, at += 3) {
    const bool write = (data[at] & 1) != 0;
    const uint32_t bytes = data[at + 1];
    const bool null_destination = (data[at + 2] & 1) != 0;
    if (write) {
      fsuipc::queue_write(*queue, static_cast<uint32_t>(i), bytes, source, &result);
    } else {
      destinations.emplace_back(bytes != 0 ? new uint8_t[bytes] : nullptr);
      fsuipc::queue_read(*queue, static_cast<uint32_t>(i), bytes,
                         null_destination ? nullptr : destinations.back().get(), &result);
    }
  }
  if (queue->record_count == 0) {
    return 0;
  }
  fsuipc::queue_seal(*queue);
  const size_t server_bytes = size - at < area.size() ? size - at : area.size();
  std::memcpy(area.data(), data + at, server_bytes);
  fsuipc::deliver_answers(*queue);
  return 0;
}
