// libFuzzer target: any bytes as a scenario file. A file is either refused
// with a message naming the file and line, or read; either way without a
// fault or undefined behaviour (numbers of any size and spelling included).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "flight/scenario/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::string error;
  const auto scenario = flight::parse_scenario(text, "flight.scn", error);
  if (!scenario && error.rfind("flight.scn:", 0) != 0) {
    std::abort();
  }
  return 0;
}
