// A module file the host cannot use is refused at `load` with the file and
// the fault named, before its start routine or any callback runs.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

#include "host/console.h"

namespace {

namespace fs = std::filesystem;

// frametest.so cut to 64 KiB: its ELF and program headers are whole, its
// resource segment (about 100 KiB of bitmaps) is not.
fs::path cut_short_module(const fs::path &folder) {
  std::ifstream in(fs::path(GAUGE_MODULE_DIR) / "frametest.so", std::ios::binary);
  std::string bytes(64 * 1024, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fs::create_directories(folder);
  std::ofstream(folder / "cut.so", std::ios::binary) << bytes;
  return folder / "cut";
}

TEST(ModuleChecks, BrokenModulesAreRefusedWithTheirFault) {
  const fs::path folder =
      fs::temp_directory_path() / ("gaugehost-checks-" + std::to_string(getpid()));
  const std::string cut = cut_short_module(folder).string();
  const struct {
    std::string script;
    std::string message; // after "line N: " and the module's path
  } cases[] = {
      {"load badmod_no_end\n",
       "badmod_no_end.so is not a usable gauge module: gauge list in Linkage has no null entry "
       "within its 16 slots"                                                                          },
      {"load badmod_module_id\n",            "bad module id 0x12 in Linkage (a gauge module has 0x13)"},
      {"load badmod_no_root\n",              "gauge broken has no root static image"                  },
      {"load badmod_cycle\n",                "gauge broken: element tree is cyclic"                   },
      {"load badmod_deep\n",                 "gauge broken: element tree deeper than 32 levels"       },
      {"load " + cut + "\n",                 "cut.so is cut short: segment"                           },
 // One file under two names would run its start routine twice on one state.
      {"load frametest\nload ./frametest\n", "frametest.so is already loaded as module frametest"     },
  };
  for (const auto &c : cases) {
    gaugehost::HostOptions o;
    o.module_dir = GAUGE_MODULE_DIR;
    gaugehost::Host host(o);
    std::ostringstream out, err;
    gaugehost::Console console(host, out);
    std::istringstream in(c.script);
    EXPECT_EQ(console.run(in, err), 2) << c.script;
    const std::string line =
        "line " + std::to_string(std::count(c.script.begin(), c.script.end(), '\n')) + ": ";
    EXPECT_EQ(err.str().rfind(line, 0), 0u) << c.script << " gave " << err.str();
    EXPECT_NE(err.str().find(c.message), std::string::npos) << c.script << " gave " << err.str();
  }
  fs::remove_all(folder);
}

} // namespace
