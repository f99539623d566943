// offsetd: the FSUIPC offset server stand-in as a process of its own, for
// clients in other processes (durnik's inter-process transport).
//
//   offsetd [--mode MODE] [--sim CODE] [--class NAME]
//
// Publishes its window and serves until SIGINT or SIGTERM. Prints one line
// "offsetd: serving CLASS" on standard output once clients can find it.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/fsuipc_server/offset_server.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) {
  stop_requested = 1;
}

int usage(std::ostream &out, int code) {
  out << "usage: offsetd [--mode MODE] [--sim CODE] [--class NAME]\n"
         "  MODE: "
      << fsuipc_server::mode_names()
      << " (default normal)\n"
         "  CODE: simulator version code served at 0x3308 (default 2)\n"
         "  NAME: window class (default UIPCMAIN)\n";
  return code;
}

} // namespace

int main(int argc, char **argv) {
  fsuipc_server::ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--mode" && has_value) {
      const auto mode = fsuipc_server::parse_mode(argv[++i]);
      if (!mode) {
        std::cerr << "offsetd: unknown mode " << argv[i] << "\n";
        return usage(std::cerr, 2);
      }
      options.mode = *mode;
    } else if (arg == "--sim" && has_value) {
      char *end = nullptr;
      const unsigned long code = std::strtoul(argv[++i], &end, 0);
      if (*end != '\0' || code > 0xFFFF) {
        std::cerr << "offsetd: bad simulator code " << argv[i] << "\n";
        return 2;
      }
      options.sim_code = static_cast<uint16_t>(code);
    } else if (arg == "--class" && has_value) {
      options.class_name = argv[++i];
    } else if (arg == "-h" || arg == "--help") {
      return usage(std::cout, 0);
    } else {
      return usage(std::cerr, 2);
    }
  }

  struct sigaction action {};
  action.sa_handler = request_stop;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  fsuipc_server::OffsetServer server(options);
  std::string error;
  if (!server.publish(error)) {
    std::cerr << "offsetd: " << error << "\n";
    return 1;
  }
  std::cout << "offsetd: serving " << options.class_name << std::endl;
  while (stop_requested == 0) {
    os_serve_windows(200);
  }
  return 0; // the server's destructor removes the socket
}
