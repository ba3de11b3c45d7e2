// POSIX implementations of the socket helpers; SIGPIPE is avoided with MSG_NOSIGNAL.
#include "net/socket_util.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/format.h"

namespace vorelin {

SocketFd& SocketFd::operator=(SocketFd&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

int SocketFd::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

void SocketFd::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

std::string ResolveIpv4(const std::string& host, const std::string& fallback) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
    return fallback;
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  const auto* b = reinterpret_cast<const unsigned char*>(&address->sin_addr.s_addr);
  std::string text = Format("%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
  freeaddrinfo(found);
  return text;
}

bool IsLoopbackHost(std::string_view host) {
  constexpr std::string_view kLocalhost = "localhost";
  const bool is_localhost =
      host.size() == kLocalhost.size() &&
      std::equal(host.begin(), host.end(), kLocalhost.begin(),
                 [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
  return is_localhost || host == "127.0.0.1" || host == "::1";
}

namespace {

bool MakeAddress(const std::string& ipv4, int port, sockaddr_in& address) {
  address = sockaddr_in{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  return port >= 0 && port <= 65535 && inet_pton(AF_INET, ipv4.c_str(), &address.sin_addr) == 1;
}

}  // namespace

SocketFd ConnectTcp(const std::string& ipv4, int port, int timeout_ms) {
  sockaddr_in address;
  if (!MakeAddress(ipv4, port, address)) return SocketFd();
  SocketFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.IsOpen() || !SetNonBlocking(fd.Get())) return SocketFd();
  if (::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS) return SocketFd();
    pollfd p{fd.Get(), POLLOUT, 0};
    if (::poll(&p, 1, timeout_ms) != 1) return SocketFd();
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
      return SocketFd();
  }
  int flags = fcntl(fd.Get(), F_GETFL, 0);
  fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
  int one = 1;
  setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

SocketFd ListenTcp(const std::string& ipv4, int port, int& bound_port, std::string& error) {
  sockaddr_in address;
  if (!MakeAddress(ipv4, port, address)) {
    error = "bad address " + ipv4 + ":" + std::to_string(port);
    return SocketFd();
  }
  SocketFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  int one = 1;
  if (!fd.IsOpen() || setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
      ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd.Get(), SOMAXCONN) != 0) {
    error = "cannot listen on " + ipv4 + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return SocketFd();
  }
  socklen_t length = sizeof address;
  getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length);
  bound_port = ntohs(address.sin_port);
  return fd;
}

bool SetNonBlocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, 5000) <= 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool WaitReadable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&p, 1, timeout_ms);
  } while (ready < 0 && errno == EINTR);
  return ready == 1;
}

size_t RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  return limit.rlim_cur == RLIM_INFINITY ? SIZE_MAX : static_cast<size_t>(limit.rlim_cur);
}

}  // namespace vorelin
