#include "host/host_offset_server.h"

#include <algorithm>
#include <cstdio>

#include "fsuipc/records.h"

namespace fsuipc_server {
namespace {

constexpr uint32_t kTankLevelBytes = 4;
constexpr uint32_t kMaxValueBytes = 8;

struct TankBinding {
  uint32_t token;
  uint32_t offset;
};
// Read by the constructor and destructor: tokens that are FSUIPC offsets.
constexpr TankBinding kTankBindings[] = {
    {kTokenTank1Level, fsuipc::kOffsetTank1Level},
    {kTokenTank2Level, fsuipc::kOffsetTank2Level},
};

gaugehost::CommandResult usage(const char *text) {
  return gaugehost::CommandResult::error(std::string("usage: ") + text);
}

} // namespace

HostOffsetServer::HostOffsetServer(gaugehost::Host &host, ServerOptions options)
    : host_(host), server_(std::move(options)) {
  for (const TankBinding &binding : kTankBindings) {
    const uint32_t offset = binding.offset;
    host_.bind_token(
        binding.token,
        [this, offset] { return static_cast<double>(server_.read(offset, kTankLevelBytes)); },
        [this, offset](double value) {
          // The offset holds an unsigned 32-bit level; out-of-range token
          // values are clamped rather than wrapped.
          const double clamped = std::clamp(value, 0.0, 4294967295.0);
          server_.write(offset, kTankLevelBytes, static_cast<uint64_t>(clamped));
        });
  }
}

HostOffsetServer::~HostOffsetServer() {
  for (const TankBinding &binding : kTankBindings) {
    const double last = static_cast<double>(server_.read(binding.offset, kTankLevelBytes));
    host_.bind_token(binding.token, nullptr, nullptr); // the host's own storage again
    host_.set_token(binding.token, last);
  }
}

void HostOffsetServer::add_console_commands(gaugehost::Console &console) {
  using gaugehost::CommandResult;
  using gaugehost::Console;
  console.add_command("offset", [this](Console &c, const Console::Args &a) {
    if (a.size() < 2 || a.size() > 3) {
      return usage("offset OFFSET SIZE [VALUE]");
    }
    const auto offset = Console::parse_integer(a[0]);
    if (!offset || *offset < 0 || *offset > 0xFFFFFFFFll) {
      return CommandResult::error("bad offset " + a[0]);
    }
    const auto size = Console::parse_integer(a[1]);
    if (!size || *size < 1 || *size > kMaxValueBytes) {
      return CommandResult::error("bad size " + a[1] + " (1 to 8 bytes)");
    }
    const auto offset32 = static_cast<uint32_t>(*offset);
    const auto size32 = static_cast<uint32_t>(*size);
    if (a.size() == 3) {
      const auto value = Console::parse_unsigned(a[2]);
      const bool fits = value && (size32 == kMaxValueBytes || *value >> (8 * size32) == 0);
      if (!fits) {
        return CommandResult::error("bad value " + a[2] + " for " + a[1] + " bytes");
      }
      server_.write(offset32, size32, static_cast<uint64_t>(*value));
      return CommandResult::ok();
    }
    char line[64];
    std::snprintf(line, sizeof line, "offset 0x%X %llu\n", offset32,
                  static_cast<unsigned long long>(server_.read(offset32, size32)));
    c.out() << line;
    return CommandResult::ok();
  });
  console.add_command("server", [this](Console &c, const Console::Args &a) {
    if (a.size() > 1) {
      return usage("server [MODE]");
    }
    if (a.empty()) {
      c.out() << "server " << mode_name(server_.mode()) << "\n";
      return CommandResult::ok();
    }
    const auto mode = parse_mode(a[0]);
    if (!mode) {
      return CommandResult::error("unknown server mode " + a[0] + " (" + std::string(mode_names()) +
                                  ")");
    }
    server_.set_mode(*mode);
    return CommandResult::ok();
  });
}

} // namespace fsuipc_server
