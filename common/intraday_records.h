// One minute of a day and one transaction, as the quote link delivers them and the intraday
// files keep them.
#pragma once

#include <cstdint>

namespace vorelin {

struct TMinutePoint {
  uint16_t minute = 0;  // 0 for the day's first point, then 1, 2, ...
  float price = 0;      // as received, not scaled
  int32_t volume = 0;

  bool operator==(const TMinutePoint&) const = default;
};

struct TTradeTick {
  int time = 0;  // HHMM
  float price = 0;
  float volume = 0;
  int16_t side = 0;  // 0 = buy, otherwise sell

  bool operator==(const TTradeTick&) const = default;
};

}  // namespace vorelin
