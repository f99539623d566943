// libFuzzer target: any bytes as a console script, run as `gaugehost script`
// runs it: a fresh host on the virtual clock with the in-process offset
// server, the real modules available to `load`.
//
// The script may not reach around the machine: `load` takes only the three
// real modules, `cd` enters only the copies of the example panel folders in
// a private temporary folder (by the last part of the path given), `audio`
// renders into /dev/null, and the FSUIPC windows and atoms live in a private
// runtime folder. Every input starts in a fresh copy of those folders, so a
// polar file lnav writes stays inside. Run time is bounded: at most
// kMaxCycles update cycles per input, and while the mix is being rendered at
// most kMaxRenderedMs of clock movement (without a recording the mixer skips
// any span at once, so waits are free).
//
// Instrumented modules cannot be unloaded and loaded again for every input:
// each load would register its coverage counters anew, beyond libFuzzer's
// table of modules. They are opened once with RTLD_NODELETE, so the host's
// `unload` keeps them mapped; their module-wide state therefore carries over
// from one input to the next, as after an unload and a load in one script.
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "host/console.h"
#include "host/host.h"
#include "host/host_offset_server.h"
#include "platform/fssound/fssound_host.h"
#include "platform/os/os.h"
#include "platform/os/os_host.h"
#include "platform/soarrec/soarrec_host.h"

namespace fs = std::filesystem;

namespace {

constexpr const char *kModules[] = {"velmar", "durnik", "ostrel"};
// Example panel folders copied into each run's folder, by the name `cd` uses.
constexpr const char *kPanelFolders[] = {"examples/velmar-panel", "examples/sailplane",
                                         "examples/data/gpsnav"};
constexpr long long kMaxCycles = 3000;
constexpr long long kMaxRenderedMs = 120000;

fs::path root;         // private temporary folder
fs::path start_folder; // libFuzzer's paths are relative to it
fs::path template_folder;
fs::path run_folder;

void remove_root() {
  std::error_code ec;
  fs::current_path("/", ec);
  fs::remove_all(root, ec);
}

// The run's budget, shared by the wrapped commands of one input.
struct Budget {
  long long cycles = 0;
  bool rendering = false;
  long long rendered_ms = 0;
  // Accounts for `cycles` cycles of `step_ms`; false when over budget.
  bool take(long long cycles_asked, long long step_ms) {
    if (cycles_asked < 0 || step_ms < 0 || cycles_asked > kMaxCycles - cycles) {
      return false;
    }
    cycles += cycles_asked;
    if (rendering) {
      if (step_ms > 0 && cycles_asked > (kMaxRenderedMs - rendered_ms) / step_ms) {
        return false;
      }
      rendered_ms += cycles_asked * step_ms;
    }
    return true;
  }
};

std::string joined(const std::string &command, const gaugehost::Console::Args &args) {
  std::string line = command;
  for (const std::string &word : args) {
    line += ' ';
    line += word;
  }
  return line;
}

long long number_or(const std::string &text, long long fallback) {
  const auto value = gaugehost::Console::parse_integer(text);
  return value ? *value : fallback;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  char pattern[] = "/tmp/console_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::abort();
  }
  root = pattern;
  start_folder = fs::current_path();
  std::atexit(remove_root);
  template_folder = root / "template";
  run_folder = root / "run";
  fs::create_directories(template_folder / "empty");
  fs::create_directories(root / "runtime");
  setenv("GAUGE_RUNTIME_DIR", (root / "runtime").c_str(), 1);
  for (const char *folder : kPanelFolders) {
    const fs::path source = fs::path(GAUGE_SOURCE_DIR) / folder;
    fs::copy(source, template_folder / source.filename(), fs::copy_options::recursive);
  }
  platform_os::set_message_box_echo(false);
  // The modules' clocks start at load: on the host's virtual clock, as in
  // every run.
  os_clock_use_virtual(gaugehost::HostOptions{}.start_epoch_ms);
  for (const char *module : kModules) {
    const fs::path path = fs::path(GAUGE_FUZZ_MODULE_DIR) / (std::string(module) + ".so");
    if (dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) == nullptr) {
      std::cerr << "cannot keep " << path << " loaded: " << dlerror() << "\n";
      std::abort();
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::error_code ec;
  fs::remove_all(run_folder, ec);
  fs::copy(template_folder, run_folder, fs::copy_options::recursive);
  fs::current_path(run_folder);

  std::ostringstream out;
  std::ostringstream err;
  {
    gaugehost::HostOptions options;
    options.module_dir = GAUGE_FUZZ_MODULE_DIR;
    gaugehost::Host host(options);
    fsuipc_server::HostOffsetServer server(host);
    gaugehost::Console console(host, out);
    server.add_console_commands(console);
    // The unrestricted commands, reached only after the checks below.
    gaugehost::Console inner(host, out);
    Budget budget;
    using Args = gaugehost::Console::Args;
    using gaugehost::CommandResult;

    console.add_command("load", [&](gaugehost::Console &, const Args &a) {
      for (const char *module : kModules) {
        if (a.size() == 1 && a[0] == module) {
          return inner.execute(joined("load", a));
        }
      }
      return CommandResult::error("missing module");
    });
    console.add_command("cd", [&](gaugehost::Console &, const Args &a) {
      if (a.size() != 1) {
        return inner.execute(joined("cd", a));
      }
      fs::path wanted = fs::path(a[0]).lexically_normal();
      if (!wanted.has_filename()) {
        wanted = wanted.parent_path();
      }
      const std::string name = wanted.filename().string();
      const fs::path target =
          name.empty() || name == "." || name == ".." ? run_folder : run_folder / name;
      if (name.find('"') != std::string::npos || !fs::is_directory(target, ec)) {
        return CommandResult::error("cannot enter folder " + a[0]);
      }
      fs::current_path(target, ec);
      return ec ? CommandResult::error("cannot enter folder " + a[0]) : CommandResult::ok();
    });
    console.add_command("audio", [&](gaugehost::Console &, const Args &a) {
      if (a.size() != 1) {
        return inner.execute(joined("audio", a));
      }
      budget.rendering = true;
      return inner.execute("audio /dev/null");
    });
    console.add_command("update", [&](gaugehost::Console &, const Args &a) {
      const long long cycles = a.empty() ? 1 : number_or(a[0], 0);
      const long long step = a.size() < 2 ? 55 : number_or(a[1], 0);
      if (!budget.take(cycles, step)) {
        return CommandResult::error("over the fuzzing budget");
      }
      return inner.execute(joined("update", a));
    });
    console.add_command("wait", [&](gaugehost::Console &, const Args &a) {
      if (!budget.take(0, 0) || (budget.rendering && a.size() == 1 &&
                                 number_or(a[0], 0) > kMaxRenderedMs - budget.rendered_ms)) {
        return CommandResult::error("over the fuzzing budget");
      }
      if (budget.rendering && a.size() == 1) {
        budget.rendered_ms += std::max(0ll, number_or(a[0], 0));
      }
      return inner.execute(joined("wait", a));
    });

    std::istringstream script(std::string(reinterpret_cast<const char *>(data), size));
    console.run(script, err);
  }
  // Logs the host keeps beyond its own life.
  fssound::take_calls();
  soarrec::take_calls();
  platform_os::take_message_boxes();
  fs::current_path(start_folder);
  return 0;
}
