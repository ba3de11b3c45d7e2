// Slows down password guessing: after five wrong passwords in a row for one name, answers to
// logins with that name go out one a second for a minute. Only the answers wait; the server
// goes on serving everyone else.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace vorelin {

class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kFreeAttempts = 5;
  static constexpr Clock::duration kSpacing = std::chrono::seconds(1);
  static constexpr Clock::duration kSlowPeriod = std::chrono::minutes(1);

  // When the answer to a login for `name` that arrived at `now` may be sent: `now`, or, while
  // the name is slowed down, a second after the previous answer for it.
  Clock::time_point AnswerTime(const std::string& name, Clock::time_point now);
  // The outcome of that login's password check. A right password clears the name's record;
  // the fifth wrong one in a row slows the name down for a minute, and each further wrong
  // one restarts that minute.
  void Record(const std::string& name, bool wrong_password, Clock::time_point now);

 private:
  struct Name {
    int wrong = 0;
    Clock::time_point slow_until{};
    Clock::time_point last_answer{};
  };
  // Names with wrong passwords are remembered up to this many; beyond, those not slowed
  // down are forgotten, so guessing at random names cannot fill the memory.
  static constexpr size_t kRememberedNames = 4096;

  std::unordered_map<std::string, Name> names_;
};

}  // namespace vorelin
