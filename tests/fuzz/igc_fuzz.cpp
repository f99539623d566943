// libFuzzer target: any bytes as an IGC log, read and, when it has two valid
// fixes, made into a replay whose state is evaluated across the flight. The
// replay's wind estimate walks the flight second by second, so a log of a
// day takes a long moment; only logs of up to kMaxReplayS are replayed here
// (the reading, which all logs go through, has no such limit).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "flight/igc/igc.h"
#include "flight/replay/replay_source.h"

constexpr double kMaxReplayS = 3 * 3600.0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::string error;
  auto log = flight::parse_igc(text, "log.igc", error);
  if (!log) {
    if (error.rfind("log.igc", 0) != 0) {
      std::abort();
    }
    return 0;
  }
  for (const flight::IgcFix &fix : log->fixes) {
    if (fix.extensions.size() != log->extensions.size()) {
      std::abort();
    }
  }
  double first_s = 1e300, last_s = -1e300;
  for (const flight::IgcFix &fix : log->fixes) {
    first_s = std::min(first_s, fix.time_s);
    last_s = std::max(last_s, fix.time_s);
  }
  if (last_s - first_s > kMaxReplayS) {
    return 0;
  }
  auto replay = flight::ReplaySource::create(std::move(*log), 2, error);
  if (!replay) {
    return 0;
  }
  const double start_s = replay->start_time_s();
  const double duration_s = replay->duration_s();
  flight::AircraftState state;
  for (int i = 0; i <= 8; ++i) {
    replay->evaluate(start_s + duration_s * i / 8.0, state);
  }
  return 0;
}
