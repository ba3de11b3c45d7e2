// The login link: a line-mode TCP client on the caller's event loop (non-blocking socket, no
// thread of its own). Each received line is decoded and passed to the reply handler in force.
#pragma once

#include <functional>
#include <string>

#include "net/server_message.h"
#include "net/socket_util.h"
#include "net/telnet_filter.h"

namespace vorelin {

struct LoginServerAddress {
  std::string host = "localhost";
  std::string fallback_ipv4 = "127.0.0.1";
  int port = 9527;
};

class LoginLink {
 public:
  using ReplyHandler = std::function<void(const ServerMessage&)>;

  explicit LoginLink(LoginServerAddress address = {}) : address_(std::move(address)) {}

  // The handler that receives every decoded message from now on (the last one set wins).
  void SetReplyHandler(ReplyHandler handler) { handler_ = std::move(handler); }

  // Resolves the host and starts connecting; the connection completes in OnSocketEvent.
  // False when no socket could be created or the connect failed at once.
  bool Open();
  // Drops any connection and opens again.
  bool Reconnect();
  void Close();

  bool IsConnected() const { return state_ == State::kConnected; }
  // Sends the encoded message + CR LF; false (nothing sent) when not connected.
  bool Send(const ServerMessage& message);

  // For the event loop: the socket to watch (-1 when closed), and whether writability matters
  // (connecting, or output still queued). Call OnSocketEvent when either is signalled.
  int SocketHandle() const { return socket_.Get(); }
  bool WantsWrite() const { return state_ == State::kConnecting || !outgoing_.empty(); }
  void OnSocketEvent();

  // Waits up to `timeout_ms` for the socket and handles what arrived; for loops without
  // socket notifiers (tools, tests). False when the link is closed.
  bool Poll(int timeout_ms);

  const std::string& ResolvedAddress() const { return resolved_; }

 private:
  enum class State { kClosed, kConnecting, kConnected };
  void FinishConnect();
  void ReadAvailable();
  void FlushOutgoing();
  void HandleData(const std::string& data);

  LoginServerAddress address_;
  ReplyHandler handler_;
  SocketFd socket_;
  State state_ = State::kClosed;
  TelnetFilter telnet_;
  std::string incoming_;
  std::string outgoing_;
  std::string resolved_;
};

}  // namespace vorelin
