// Linear scans: a reference server holds a few thousand connections at most, and a scan per
// accept or loop turn costs far less than the system calls around it.
#include "net/connection_roster.h"

#include <algorithm>

namespace vorelin {

ConnectionRoster::ConnectionRoster(size_t per_address, size_t total)
    : per_address_(std::max<size_t>(per_address, 1)), total_(std::max<size_t>(total, 1)) {}

std::optional<uint64_t> ConnectionRoster::IdleLongestOf(
    const std::optional<uint32_t>& address) const {
  std::optional<uint64_t> found;
  ServerClock::time_point oldest = ServerClock::time_point::max();
  for (const auto& [id, entry] : entries_) {
    if (address && entry.address != *address) continue;
    // Ties go to the lower id, the earlier connection, so the choice does not depend on
    // the hash table's order.
    if (entry.last < oldest || (entry.last == oldest && found && id < *found)) {
      oldest = entry.last;
      found = id;
    }
  }
  return found;
}

std::optional<uint64_t> ConnectionRoster::MakeRoom(uint32_t address) const {
  auto count = per_address_count_.find(address);
  if (count != per_address_count_.end() && count->second >= per_address_) return IdleLongestOf(address);
  if (entries_.size() >= total_) return IdleLongestOf(std::nullopt);
  return std::nullopt;
}

void ConnectionRoster::Add(uint64_t id, uint32_t address, ServerClock::time_point now) {
  if (!entries_.emplace(id, Entry{address, now}).second) return;
  ++per_address_count_[address];
}

void ConnectionRoster::Touch(uint64_t id, ServerClock::time_point now) {
  auto it = entries_.find(id);
  if (it != entries_.end()) it->second.last = now;
}

void ConnectionRoster::Remove(uint64_t id) {
  auto it = entries_.find(id);
  if (it == entries_.end()) return;
  auto count = per_address_count_.find(it->second.address);
  if (--count->second == 0) per_address_count_.erase(count);
  entries_.erase(it);
}

std::vector<uint64_t> ConnectionRoster::IdleBefore(ServerClock::time_point cutoff) const {
  std::vector<uint64_t> idle;
  for (const auto& [id, entry] : entries_) {
    if (entry.last < cutoff) idle.push_back(id);
  }
  return idle;
}

std::optional<ServerClock::time_point> ConnectionRoster::OldestActivity() const {
  std::optional<ServerClock::time_point> oldest;
  for (const auto& [id, entry] : entries_) {
    if (!oldest || entry.last < *oldest) oldest = entry.last;
  }
  return oldest;
}

}  // namespace vorelin
