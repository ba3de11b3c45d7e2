// Socket work of the test clients; everything blocks with a time limit, nothing leaves loopback.
#include "test_clients.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "net/quote_protocol.h"

namespace vorelin {

SocketFd ConnectFrom(const std::string& source_ipv4, int port) {
  SocketFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in source{};
  source.sin_family = AF_INET;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<uint16_t>(port));
  if (!fd.IsOpen() || inet_pton(AF_INET, source_ipv4.c_str(), &source.sin_addr) != 1 ||
      inet_pton(AF_INET, "127.0.0.1", &target.sin_addr) != 1 ||
      ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
      ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&target), sizeof target) != 0)
    return SocketFd();
  return fd;
}

bool ClosedByPeer(int fd, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) != 1) return false;
    char buffer[512];
    ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return true;
  }
}

bool ReadQuoteAnswer(int fd, int timeout_ms, std::string& answer) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  answer.clear();
  size_t want = kAnswerHeaderSize;
  while (answer.size() < want) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitReadable(fd, static_cast<int>(left.count()))) return false;
    char buffer[4096];
    ssize_t got = ::recv(fd, buffer, std::min(sizeof buffer, want - answer.size()), 0);
    if (got <= 0) return false;
    answer.append(buffer, static_cast<size_t>(got));
    AnswerHeader header;
    if (answer.size() == kAnswerHeaderSize) {
      if (!DecodeAnswerHeader(answer, header)) return false;
      want = kAnswerHeaderSize + header.stored_size;
    }
  }
  return true;
}

LinkClient::LinkClient(int port) : link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port}) {
  link.SetReplyHandler([this](const ServerMessage& m) { replies.push_back(m); });
}

bool LinkClient::Connect() {
  if (!link.Open()) return false;
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!link.IsConnected() && std::chrono::steady_clock::now() < until) {
    if (!link.Poll(50)) return false;  // refused
  }
  return link.IsConnected();
}

ServerMessage LinkClient::Ask(const ServerMessage& m) {
  size_t before = replies.size();
  if (!link.Send(m)) return {};
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (replies.size() == before && std::chrono::steady_clock::now() < until) link.Poll(50);
  return replies.size() > before ? replies.back() : ServerMessage{};
}

std::optional<ServerMessage> RawLoginClient::NextReply(int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    size_t end = lines_.find('\n');
    if (end != std::string::npos) {
      std::string line = lines_.substr(0, end);
      lines_.erase(0, end + 1);
      return DecodeServerMessage(line);
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd_.Get(), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) != 1) return std::nullopt;
    char buffer[512];
    ssize_t got = ::recv(fd_.Get(), buffer, sizeof buffer, 0);
    if (got <= 0) return std::nullopt;
    lines_ += telnet_.Feed(std::string_view(buffer, static_cast<size_t>(got))).data;
  }
}

}  // namespace vorelin
