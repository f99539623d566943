// libFuzzer target: any bytes as "RUR-UDI.dat", read by both of its readers:
// gpsnav's loader into its fixed tables, and the host's own reader that
// scenarios fly by. The loader must stay within its tables and leave every
// stored field exactly its width and the name list sorted; the host's reader
// must find every turnpoint it keeps by its name.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "flight/scenario/turnpoints.h"
#include "frame/module_frame.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/turnpoint_file.h"

// The frame linked in for its bounded formatting expects a module's table.
LinkageRecord Linkage = {};

namespace {

namespace gps = velmar::gpsnav;

std::filesystem::path folder;
std::filesystem::path start_folder; // libFuzzer's paths are relative to it

void remove_folder() {
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(folder, ec);
}

void require(bool holds) {
  if (!holds) {
    std::abort();
  }
}

template <size_t N> void require_width(const char (&field)[N]) {
  require(strnlen(field, N) == N - 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  char pattern[] = "/tmp/turnpoint_fuzz_XXXXXX";
  require(mkdtemp(pattern) != nullptr);
  folder = pattern;
  std::atexit(remove_folder);
  start_folder = std::filesystem::current_path();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::filesystem::current_path(folder); // gpsnav opens the file by its bare name
  std::FILE *file = std::fopen(gps::kTurnpointFileName, "wb");
  require(file != nullptr && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0);

  gps::reset_tables();
  require(gps::load_turnpoint_file() == 1);
  require(gps::turnpoints.record_count >= 0 &&
          gps::turnpoints.record_count <= gps::kTurnpointSlots);
  require(gps::names.name_count >= 0 && gps::names.name_count <= gps::kListSlots);
  require(gps::tasks.entry_count >= 0 && gps::tasks.entry_count <= gps::kTaskSlots);
  for (int32_t i = 0; i < gps::turnpoints.record_count; ++i) {
    const gps::TurnpointRecord &r = gps::turnpoints.records[i];
    require_width(r.number);
    require_width(r.latitude);
    require_width(r.longitude);
    require_width(r.elevation);
    require_width(r.attributes);
    require_width(r.name);
    require_width(r.remark);
  }
  for (int32_t i = 1; i < gps::kListSlots; ++i) {
    require(std::strcmp(gps::names.slots[i - 1].text, gps::names.slots[i].text) <= 0);
  }

  std::string error;
  const auto points = flight::read_turnpoints(gps::kTurnpointFileName, error);
  require(points.has_value());
  for (const flight::Turnpoint &p : *points) {
    require(flight::find_turnpoint(*points, p.name) != nullptr);
  }
  std::filesystem::current_path(start_folder);
  return 0;
}
