// The offset server of the host's own process, tied to a Host: the tank
// levels at 0x0B7C and 0x0B94 are the host's tokens 0x123 and 0x129 (one
// state: writing the offset changes what the token reads and setting the
// token changes the offset), and the console gets two commands:
//
//   offset OFFSET SIZE [VALUE]  prints "offset 0xOFFSET VALUE" (SIZE 1..8
//                               bytes as an unsigned integer), or sets it
//   server [MODE]               sets the fault mode, or prints "server MODE"
//
// Must outlive the gauges' use of FSUIPC; its destructor gives the tokens
// back to the host.
#pragma once

#include "host/console.h"
#include "host/host.h"
#include "platform/fsuipc_server/offset_server.h"

namespace fsuipc_server {

inline constexpr uint32_t kTokenTank1Level = 0x123; // same scale as 0x0B7C: 0x800000 = full
inline constexpr uint32_t kTokenTank2Level = 0x129; // same scale as 0x0B94

class HostOffsetServer {
public:
  explicit HostOffsetServer(gaugehost::Host &host, ServerOptions options = {});
  ~HostOffsetServer();
  HostOffsetServer(const HostOffsetServer &) = delete;
  HostOffsetServer &operator=(const HostOffsetServer &) = delete;

  OffsetServer &server() { return server_; }
  void add_console_commands(gaugehost::Console &console);

private:
  gaugehost::Host &host_;
  OffsetServer server_;
};

} // namespace fsuipc_server
