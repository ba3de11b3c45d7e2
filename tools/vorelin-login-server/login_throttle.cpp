// Per-name counts of wrong passwords and the time of each name's last answer.
#include "login_throttle.h"

#include <algorithm>

namespace vorelin {

LoginThrottle::Clock::time_point LoginThrottle::AnswerTime(const std::string& name,
                                                           Clock::time_point now) {
  auto it = names_.find(name);
  if (it == names_.end()) return now;
  Name& n = it->second;
  Clock::time_point at = now < n.slow_until ? std::max(now, n.last_answer + kSpacing) : now;
  n.last_answer = at;
  return at;
}

void LoginThrottle::Record(const std::string& name, bool wrong_password, Clock::time_point now) {
  if (!wrong_password) {
    names_.erase(name);
    return;
  }
  if (names_.size() >= kRememberedNames && !names_.count(name)) {
    std::erase_if(names_, [now](const auto& entry) { return entry.second.slow_until <= now; });
  }
  Name& n = names_[name];
  // A minute of slow answers that has run out leaves a fresh count.
  if (n.wrong >= kFreeAttempts && n.slow_until <= now) n.wrong = 0;
  if (++n.wrong >= kFreeAttempts) n.slow_until = now + kSlowPeriod;
}

}  // namespace vorelin
