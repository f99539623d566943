// Line transports for the live links, all on the local machine: a UDP
// listener, a UDP sender and a TCP client, each non-blocking and owning its
// descriptor. A datagram may carry several lines; a TCP stream may split a
// line across reads: both are cut into whole lines here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace live {

// Collects bytes into lines ending in LF (a CR before it is dropped). A line
// longer than kMaxLineBytes without an end is discarded and counted.
class LineSplitter {
public:
  static constexpr size_t kMaxLineBytes = 4096;
  void add(const char *data, size_t size, std::vector<std::string> &lines);
  // A datagram's last line needs no LF: it ends with the datagram.
  void flush(std::vector<std::string> &lines);
  long overlong() const { return overlong_; }

private:
  std::string pending_;
  long overlong_ = 0;
};

// A descriptor closed on destruction.
class Fd {
public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd();
  Fd(Fd &&other) noexcept : fd_(other.release()) {}
  Fd &operator=(Fd &&other) noexcept;
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  int get() const { return fd_; }
  int release();
  explicit operator bool() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

// Listens for datagrams on 127.0.0.1:port (port 0: any free port).
class UdpListener {
public:
  bool open(uint16_t port, std::string &error);
  uint16_t port() const { return port_; }
  // Appends the lines of every datagram waiting now; never blocks.
  void poll(std::vector<std::string> &lines);

private:
  Fd fd_;
  uint16_t port_ = 0;
};

// Sends datagrams to 127.0.0.1:port.
class UdpSender {
public:
  bool open(uint16_t port, std::string &error);
  // False when the datagram could not be handed to the network stack.
  bool send(const std::string &datagram);

private:
  Fd fd_;
};

// A TCP client to 127.0.0.1:port that reconnects when the peer goes away;
// connecting never blocks the caller's cycle.
class TcpLineClient {
public:
  explicit TcpLineClient(uint16_t port) : port_(port) {}
  void poll(std::vector<std::string> &lines);
  bool connected() const { return connected_; }
  long connects() const { return connects_; }

private:
  void start_connect();
  uint16_t port_;
  Fd fd_;
  bool connected_ = false;
  long connects_ = 0;
  int retry_polls_ = 0;
  LineSplitter splitter_;
};

} // namespace live
