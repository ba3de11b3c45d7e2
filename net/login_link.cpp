// Login link state machine: connecting -> connected -> closed, driven by socket readiness.
#include "net/login_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vorelin {
namespace {

// A line longer than this is no message of the link; it is dropped unread.
constexpr size_t kLineLimit = 64 * 1024;

}  // namespace

bool LoginLink::Open() {
  Close();
  resolved_ = ResolveIpv4(address_.host, address_.fallback_ipv4);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(address_.port));
  if (inet_pton(AF_INET, resolved_.c_str(), &address.sin_addr) != 1) return false;
  socket_.Reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket_.IsOpen()) return false;
  if (::connect(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    state_ = State::kConnected;
  } else if (errno == EINPROGRESS) {
    state_ = State::kConnecting;
  } else {
    Close();
    return false;
  }
  return true;
}

bool LoginLink::Reconnect() { return Open(); }

void LoginLink::Close() {
  socket_.Reset();
  state_ = State::kClosed;
  telnet_ = TelnetFilter();
  incoming_.clear();
  outgoing_.clear();
}

bool LoginLink::Send(const ServerMessage& message) {
  if (!IsConnected()) return false;
  outgoing_ += EncodeServerMessage(message) + "\r\n";
  FlushOutgoing();
  return true;
}

void LoginLink::OnSocketEvent() {
  if (state_ == State::kConnecting) FinishConnect();
  if (state_ == State::kConnected) FlushOutgoing();
  if (state_ == State::kConnected) ReadAvailable();
}

bool LoginLink::Poll(int timeout_ms) {
  if (!socket_.IsOpen()) return false;
  short events = POLLIN;
  if (WantsWrite()) events |= POLLOUT;
  pollfd p{socket_.Get(), events, 0};
  if (::poll(&p, 1, timeout_ms) > 0) OnSocketEvent();
  return socket_.IsOpen();
}

void LoginLink::FinishConnect() {
  pollfd p{socket_.Get(), POLLOUT, 0};
  if (::poll(&p, 1, 0) != 1) return;  // still connecting
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(socket_.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
    Close();
    return;
  }
  state_ = State::kConnected;
}

void LoginLink::FlushOutgoing() {
  while (!outgoing_.empty()) {
    ssize_t sent = ::send(socket_.Get(), outgoing_.data(), outgoing_.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      outgoing_.erase(0, static_cast<size_t>(sent));
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      return;
    } else {
      Close();
      return;
    }
  }
}

void LoginLink::ReadAvailable() {
  char buffer[4096];
  while (socket_.IsOpen()) {
    ssize_t got = ::recv(socket_.Get(), buffer, sizeof buffer, 0);
    if (got > 0) {
      TelnetFilter::Result filtered = telnet_.Feed(std::string_view(buffer, got));
      if (!filtered.reply.empty()) {
        outgoing_ += filtered.reply;
        FlushOutgoing();
      }
      HandleData(filtered.data);
    } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      return;
    } else {
      Close();  // peer closed or error: the link is down until reconnected
      return;
    }
  }
}

void LoginLink::HandleData(const std::string& data) {
  incoming_ += data;
  size_t end;
  while ((end = incoming_.find('\n')) != std::string::npos) {
    std::string line = incoming_.substr(0, end);
    incoming_.erase(0, end + 1);
    line = line.substr(0, line.find('\0'));
    ReplyHandler handler = handler_;  // the handler may replace itself
    if (handler) handler(DecodeServerMessage(line));
    if (!socket_.IsOpen()) return;  // a handler may close the link
  }
  if (incoming_.size() > kLineLimit) incoming_.clear();
}

}  // namespace vorelin
