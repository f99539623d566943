#include "link/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace live {
namespace {

// Room for a few seconds of a 10 Hz stream should the host stall.
constexpr int kReceiveBufferBytes = 1 << 20;
// Polls between reconnect attempts (one poll a cycle: about 1 s).
constexpr int kReconnectPolls = 20;

sockaddr_in loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

std::string os_error(const char *what, uint16_t port) {
  return std::string(what) + " 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
}

} // namespace

void LineSplitter::add(const char *data, size_t size, std::vector<std::string> &lines) {
  for (size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (c == '\n') {
      flush(lines);
    } else if (pending_.size() < kMaxLineBytes) {
      pending_ += c;
    } else if (pending_.size() == kMaxLineBytes) {
      ++overlong_;
      pending_ += c; // one past the limit marks the line as discarded
    }
  }
}

void LineSplitter::flush(std::vector<std::string> &lines) {
  if (pending_.size() > kMaxLineBytes) {
    pending_.clear();
    return;
  }
  if (!pending_.empty() && pending_.back() == '\r') {
    pending_.pop_back();
  }
  if (!pending_.empty()) {
    lines.push_back(std::move(pending_));
  }
  pending_.clear();
}

Fd::~Fd() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

Fd &Fd::operator=(Fd &&other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    fd_ = other.release();
  }
  return *this;
}

int Fd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool UdpListener::open(uint16_t port, std::string &error) {
  fd_ = Fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd_) {
    error = os_error("udp socket for", port);
    return false;
  }
  const int size = kReceiveBufferBytes;
  ::setsockopt(fd_.get(), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  sockaddr_in a = loopback(port);
  if (::bind(fd_.get(), reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
    error = os_error("cannot listen for udp on", port);
    return false;
  }
  socklen_t len = sizeof a;
  ::getsockname(fd_.get(), reinterpret_cast<sockaddr *>(&a), &len);
  port_ = ntohs(a.sin_port);
  return true;
}

void UdpListener::poll(std::vector<std::string> &lines) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::recv(fd_.get(), buffer, sizeof buffer, 0);
    if (n < 0) {
      return; // EAGAIN: nothing more now
    }
    LineSplitter split;
    split.add(buffer, static_cast<size_t>(n), lines);
    split.flush(lines);
  }
}

bool UdpSender::open(uint16_t port, std::string &error) {
  fd_ = Fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  sockaddr_in a = loopback(port);
  if (!fd_ || ::connect(fd_.get(), reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
    error = os_error("cannot send udp to", port);
    return false;
  }
  return true;
}

bool UdpSender::send(const std::string &datagram) {
  // ECONNREFUSED reports that nobody listened to an earlier datagram.
  return ::send(fd_.get(), datagram.data(), datagram.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(datagram.size());
}

void TcpLineClient::start_connect() {
  fd_ = Fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  sockaddr_in a = loopback(port_);
  if (fd_ && ::connect(fd_.get(), reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 &&
      errno != EINPROGRESS) {
    fd_ = Fd();
  }
  splitter_ = LineSplitter();
}

void TcpLineClient::poll(std::vector<std::string> &lines) {
  if (!fd_) {
    if (retry_polls_-- > 0) {
      return;
    }
    start_connect();
    retry_polls_ = kReconnectPolls;
    if (!fd_) {
      return;
    }
  }
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::recv(fd_.get(), buffer, sizeof buffer, 0);
    if (n > 0) {
      if (!connected_) {
        connected_ = true;
        ++connects_;
      }
      splitter_.add(buffer, static_cast<size_t>(n), lines);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return; // connected (or still connecting) and nothing more now
    }
    // Closed by the peer, refused or reset: try again later.
    connected_ = false;
    fd_ = Fd();
    return;
  }
}

} // namespace live
