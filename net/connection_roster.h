// The reference servers' book of open connections: when each last sent a whole message and
// from which address, so that a full server makes room by dropping the connection that has
// been idle the longest instead of turning a new client away.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vorelin {

using ServerClock = std::chrono::steady_clock;

class ConnectionRoster {
 public:
  // Limits below 1 count as 1.
  ConnectionRoster(size_t per_address, size_t total);

  // The connection to close before `id` from `address` may join: the one of that address idle
  // the longest when the address has its limit, else the one idle the longest of all when
  // the server has its limit; nothing when there is room. Does not add `id`.
  std::optional<uint64_t> MakeRoom(uint32_t address) const;
  // Adds `id`, counted as active at `now`.
  void Add(uint64_t id, uint32_t address, ServerClock::time_point now);
  // A whole message arrived on `id`.
  void Touch(uint64_t id, ServerClock::time_point now);
  void Remove(uint64_t id);

  // The connections whose last whole message (or arrival) is before `cutoff`.
  std::vector<uint64_t> IdleBefore(ServerClock::time_point cutoff) const;
  // The connection idle the longest; nothing when the roster is empty.
  std::optional<uint64_t> IdleLongest() const { return IdleLongestOf(std::nullopt); }
  // The earliest last activity of all; nothing when the roster is empty.
  std::optional<ServerClock::time_point> OldestActivity() const;
  size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    uint32_t address;
    ServerClock::time_point last;
  };
  std::optional<uint64_t> IdleLongestOf(const std::optional<uint32_t>& address) const;

  size_t per_address_;
  size_t total_;
  std::unordered_map<uint64_t, Entry> entries_;
  std::map<uint32_t, size_t> per_address_count_;
};

}  // namespace vorelin
