// Small POSIX socket helpers shared by the two links and the reference servers (IPv4 only).
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

// Owns a file descriptor; closes it when destroyed or reset.
class SocketFd {
 public:
  SocketFd() = default;
  explicit SocketFd(int fd) : fd_(fd) {}
  SocketFd(SocketFd&& other) noexcept : fd_(other.Release()) {}
  SocketFd& operator=(SocketFd&& other) noexcept;
  SocketFd(const SocketFd&) = delete;
  SocketFd& operator=(const SocketFd&) = delete;
  ~SocketFd() { Reset(); }

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release();
  void Reset(int fd = -1);

 private:
  int fd_ = -1;
};

// The host's first IPv4 address written "%d.%d.%d.%d"; `fallback` when it does not resolve.
std::string ResolveIpv4(const std::string& host, const std::string& fallback);

// True for the names of this machine's loopback interface that a server of ours may be
// started for: "127.0.0.1", "localhost" (any case) and "::1".
bool IsLoopbackHost(std::string_view host);

// Blocking connect with a time limit. An invalid socket on failure.
SocketFd ConnectTcp(const std::string& ipv4, int port, int timeout_ms);

// A listening socket on `ipv4`:`port` (port 0 picks a free one, reported in `bound_port`).
// An invalid socket and `error` on failure.
SocketFd ListenTcp(const std::string& ipv4, int port, int& bound_port, std::string& error);

bool SetNonBlocking(int fd);

// Sends everything, waiting for the socket as needed. False on an error or a closed peer.
bool SendAll(int fd, std::string_view bytes);

// Waits up to `timeout_ms` for the socket to be readable. False on timeout.
bool WaitReadable(int fd, int timeout_ms);

// Raises this process's limit of open descriptors to the hard limit (servers and tests hold
// a socket per client). The limit in force afterwards.
size_t RaiseOpenFileLimit();

}  // namespace vorelin
