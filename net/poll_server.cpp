// poll() loop of the reference servers; every socket is non-blocking, so one slow or silent
// client never stalls the others.
#include "net/poll_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "common/numbers.h"
#include "net/socket_util.h"

namespace vorelin {
namespace {

constexpr size_t kOutboxLimit = 64 * 1024;
constexpr size_t kReadChunk = 4096;
// The longest poll() wait, so that a stop request is seen soon.
constexpr std::chrono::milliseconds kLongestWait{500};
// Descriptors kept for everything but clients: the listener, files, the standard streams.
constexpr size_t kReservedFiles = 32;

struct Client {
  SocketFd fd;
  ServerOutbox out;
  std::unique_ptr<ServerSession> session;
  bool may_have_message = false;  // received bytes the session has not answered through
};

bool CanAnswer(const Client& c, ServerClock::time_point now) {
  return c.may_have_message && !c.out.HeldUntil(now) && c.out.Bytes() < kOutboxLimit;
}

class Loop {
 public:
  Loop(int listener, const ServerLimits& limits, const SessionFactory& open)
      : listener_(listener), limits_(limits), open_(open), roster_(limits.per_address, limits.total) {}

  bool Run(const volatile std::sig_atomic_t& stop, std::string* error) {
    std::vector<pollfd> polls;
    std::vector<uint64_t> ids;
    while (!stop) {
      ServerClock::time_point now = ServerClock::now();
      polls.assign(1, pollfd{listener_, POLLIN, 0});
      ids.assign(1, 0);
      for (auto& [id, c] : clients_) {
        short events = 0;
        if (!c.may_have_message && c.out.Empty()) events |= POLLIN;
        if (!c.out.Empty() && !c.out.HeldUntil(now)) events |= POLLOUT;
        polls.push_back(pollfd{c.fd.Get(), events, 0});
        ids.push_back(id);
      }
      if (::poll(polls.data(), polls.size(), WaitMs(now)) < 0 && errno != EINTR) {
        if (error) *error = std::string("poll: ") + std::strerror(errno);
        return false;
      }
      now = ServerClock::now();
      if (polls[0].revents & POLLIN) AcceptAll(now);
      for (size_t i = 1; i < polls.size(); ++i) {
        if (polls[i].revents) OnEvents(ids[i], polls[i], now);
      }
      AnswerAndFlush(now);
      for (uint64_t id : roster_.IdleBefore(now - limits_.idle_timeout)) Drop(id);
    }
    return true;
  }

 private:
  int WaitMs(ServerClock::time_point now) const {
    ServerClock::time_point wake = now + kLongestWait;
    for (const auto& [id, c] : clients_) {
      if (CanAnswer(c, now)) return 0;
      if (std::optional<ServerClock::time_point> held = c.out.HeldUntil(now))
        wake = std::min(wake, *held);
    }
    if (std::optional<ServerClock::time_point> oldest = roster_.OldestActivity())
      wake = std::min(wake, *oldest + limits_.idle_timeout);
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - now);
    return static_cast<int>(std::max<int64_t>(wait.count(), 0));
  }

  void AcceptAll(ServerClock::time_point now) {
    bool made_room = false;
    for (;;) {
      sockaddr_in peer{};
      socklen_t length = sizeof peer;
      int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &length,
                         SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        // Out of descriptors: the connection idle the longest makes room, as when full (one
        // per turn, so a shortage elsewhere in the system does not empty the server).
        std::optional<uint64_t> idle = roster_.IdleLongest();
        if ((errno == EMFILE || errno == ENFILE) && idle && !made_room) {
          Drop(*idle);
          made_room = true;
          continue;
        }
        return;
      }
      uint32_t address = ntohl(peer.sin_addr.s_addr);
      if (std::optional<uint64_t> victim = roster_.MakeRoom(address)) Drop(*victim);
      uint64_t id = next_id_++;
      Client& c = clients_[id];
      c.fd.Reset(fd);
      c.session = open_(c.out);
      roster_.Add(id, address, now);
      if (!c.out.WriteDue(fd, now)) Drop(id);
    }
  }

  void OnEvents(uint64_t id, const pollfd& p, ServerClock::time_point now) {
    auto it = clients_.find(id);
    if (it == clients_.end()) return;  // dropped to make room this turn
    Client& c = it->second;
    if ((p.revents & POLLOUT) && !c.out.WriteDue(p.fd, now)) {
      Drop(id);
      return;
    }
    if (!(p.events & POLLIN)) {
      if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) Drop(id);
      return;
    }
    if (!(p.revents & (POLLIN | POLLERR | POLLHUP))) return;
    char buffer[kReadChunk];
    ssize_t got = ::recv(p.fd, buffer, sizeof buffer, 0);
    if (got > 0) {
      c.session->Receive(std::string_view(buffer, static_cast<size_t>(got)));
      c.may_have_message = true;
    } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      Drop(id);
    }
  }

  // One message per client and turn, so a client with many queued messages cannot starve
  // the rest.
  void AnswerAndFlush(ServerClock::time_point now) {
    std::vector<uint64_t> broken;
    for (auto& [id, c] : clients_) {
      if (CanAnswer(c, now)) {
        switch (c.session->AnswerNext(c.out, now)) {
          case ServerSession::Step::kNeedMore: c.may_have_message = false; break;
          case ServerSession::Step::kAnswered: roster_.Touch(id, now); break;
          case ServerSession::Step::kIgnored: break;
          case ServerSession::Step::kBroken: broken.push_back(id); continue;
        }
      }
      if (!c.out.Empty() && !c.out.WriteDue(c.fd.Get(), now)) broken.push_back(id);
    }
    for (uint64_t id : broken) Drop(id);
  }

  void Drop(uint64_t id) {
    clients_.erase(id);
    roster_.Remove(id);
  }

  int listener_;
  ServerLimits limits_;
  const SessionFactory& open_;
  ConnectionRoster roster_;
  std::map<uint64_t, Client> clients_;
  uint64_t next_id_ = 1;
};

}  // namespace

void ServerOutbox::Send(std::string bytes, ServerClock::time_point at) {
  if (bytes.empty()) return;
  bytes_ += bytes.size();
  queue_.emplace_back(at, std::move(bytes));
}

std::optional<ServerClock::time_point> ServerOutbox::HeldUntil(ServerClock::time_point now) const {
  if (queue_.empty() || queue_.front().first <= now) return std::nullopt;
  return queue_.front().first;
}

bool ServerOutbox::WriteDue(int fd, ServerClock::time_point now) {
  while (!queue_.empty() && queue_.front().first <= now) {
    std::string& bytes = queue_.front().second;
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    bytes_ -= static_cast<size_t>(sent);
    if (static_cast<size_t>(sent) < bytes.size()) {
      bytes.erase(0, static_cast<size_t>(sent));
      return true;
    }
    queue_.pop_front();
  }
  return true;
}

OptionRead ReadServerLimitOption(std::string_view flag, const char* value, ServerLimits& limits) {
  if (flag != "--idle-timeout" && flag != "--max-connections" && flag != "--max-per-address")
    return OptionRead::kNotMine;
  int number = value ? ParseIntOr(value, 0) : 0;
  if (number < 1) return OptionRead::kBad;
  if (flag == "--idle-timeout") {
    limits.idle_timeout = std::chrono::seconds(number);
  } else if (flag == "--max-connections") {
    limits.total = static_cast<size_t>(number);
  } else {
    limits.per_address = static_cast<size_t>(number);
  }
  return OptionRead::kRead;
}

bool ServeClients(int listener, const ServerLimits& limits, const SessionFactory& open,
                  const volatile std::sig_atomic_t& stop, std::string* error) {
  if (!SetNonBlocking(listener)) {
    if (error) *error = "cannot make the listening socket non-blocking";
    return false;
  }
  ServerLimits fitted = limits;
  size_t files = RaiseOpenFileLimit();
  if (files < fitted.total + kReservedFiles) {
    fitted.total = files > 2 * kReservedFiles ? files - kReservedFiles : kReservedFiles;
    std::fprintf(stderr, "open-file limit %zu: serving at most %zu clients at once\n", files,
                 fitted.total);
  }
  return Loop(listener, fitted, open).Run(stop, error);
}

}  // namespace vorelin
