// The reference servers' connection loop: one thread, poll() over every client, an idle
// timeout, limits per client address and in all, and answers that may be held back until a
// given time without holding up anyone else.
#pragma once

#include <chrono>
#include <csignal>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "net/connection_roster.h"

namespace vorelin {

struct ServerLimits {
  std::chrono::milliseconds idle_timeout{30000};
  size_t per_address = 250;
  size_t total = 1000;
};

// What one client is to be sent: byte strings, each not before its time, in order.
class ServerOutbox {
 public:
  // Queues `bytes` to go out at `at` or later, after everything queued before.
  void Send(std::string bytes, ServerClock::time_point at = {});

  bool Empty() const { return queue_.empty(); }
  size_t Bytes() const { return bytes_; }
  // The time the first queued string waits for; nothing when it may go now or none waits.
  std::optional<ServerClock::time_point> HeldUntil(ServerClock::time_point now) const;
  // Sends what is due without blocking. False when the socket failed.
  bool WriteDue(int fd, ServerClock::time_point now);

 private:
  std::deque<std::pair<ServerClock::time_point, std::string>> queue_;
  size_t bytes_ = 0;
};

// One client's protocol: the loop hands it the bytes received and asks it for answers.
class ServerSession {
 public:
  enum class Step { kNeedMore, kAnswered, kIgnored, kBroken };
  virtual ~ServerSession() = default;
  virtual void Receive(std::string_view bytes) = 0;
  // Takes the next whole message received, if any, and queues its answer (if it has one) on
  // `out`. kNeedMore: no whole message yet. kAnswered: one was taken and the client counts as
  // active. kIgnored: what was taken was no message and does not count. kBroken: the client
  // does not speak the protocol and is dropped.
  virtual Step AnswerNext(ServerOutbox& out, ServerClock::time_point now) = 0;
};

// A session for each accepted client; it may queue a greeting on `out`.
using SessionFactory = std::function<std::unique_ptr<ServerSession>(ServerOutbox& out)>;

// The options both servers take: "--idle-timeout SECONDS", "--max-connections N" and
// "--max-per-address N", each a whole number of at least 1.
inline constexpr const char* kServerLimitsUsage =
    "[--idle-timeout 30] [--max-connections 1000] [--max-per-address 250]";
enum class OptionRead { kNotMine, kRead, kBad };
// kRead when `flag` is one of them and `value` (may be null) is good; `limits` then holds it.
OptionRead ReadServerLimitOption(std::string_view flag, const char* value, ServerLimits& limits);

// Serves the clients of the listening socket `listener` until `stop` is set. A client is
// dropped after the idle timeout without a whole message. A new client from an address that
// has its limit of connections, or arriving when the server has its limit in all, takes the
// place of the connection idle the longest (of that address, or of all). A client's next
// message is answered once its earlier answers are due and less than 64 KiB of them wait;
// more is read from it only when everything is sent, so no client can queue without bound.
// The process's open-file limit is raised first; when it stays below what `limits` needs,
// fewer clients are held at once. Returns false with `error` when polling fails.
bool ServeClients(int listener, const ServerLimits& limits, const SessionFactory& open,
                  const volatile std::sig_atomic_t& stop, std::string* error);

}  // namespace vorelin
