// Clients of the reference servers for the tests: the trainer's own login link, a raw login
// line client that can send anything, and plain sockets from any loopback address.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/login_link.h"
#include "net/server_message.h"
#include "net/socket_util.h"
#include "net/telnet_filter.h"

namespace vorelin {

// A blocking connection to 127.0.0.1:`port` from `source_ipv4` (any 127.x.y.z address works
// on loopback, so tests can play many client addresses). Invalid on failure.
SocketFd ConnectFrom(const std::string& source_ipv4, int port);

// True when the peer closes (or resets) the connection within `timeout_ms`; bytes it sends
// meanwhile are read and dropped.
bool ClosedByPeer(int fd, int timeout_ms);

// Reads one quote answer (header and stored body) within `timeout_ms`; false on timeout, a
// closed connection or a header without the magic.
bool ReadQuoteAnswer(int fd, int timeout_ms, std::string& answer);

// The trainer's link with a reply handler that records every decoded message.
struct LinkClient {
  explicit LinkClient(int port);
  bool Connect();
  // Sends and waits for one reply; the empty message when none comes within 5 s.
  ServerMessage Ask(const ServerMessage& m);
  LoginLink link;
  std::vector<ServerMessage> replies;
};

// Lines of any content to the login server; the replies decoded.
class RawLoginClient {
 public:
  explicit RawLoginClient(int port, const std::string& source_ipv4 = "127.0.0.1")
      : fd_(ConnectFrom(source_ipv4, port)) {}
  bool IsOpen() const { return fd_.IsOpen(); }
  int Fd() const { return fd_.Get(); }
  bool Send(std::string_view bytes) { return SendAll(fd_.Get(), bytes); }
  bool SendMessage(const ServerMessage& m) { return Send(EncodeServerMessage(m) + "\r\n"); }
  // The next reply line, decoded; nothing when none is complete within `timeout_ms`.
  std::optional<ServerMessage> NextReply(int timeout_ms);

 private:
  SocketFd fd_;
  TelnetFilter telnet_{false};
  std::string lines_;
};

}  // namespace vorelin
