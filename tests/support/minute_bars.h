// Minute bars of a random walk, a few without a volume, entered one at a time as a replay
// reveals them. Tests and the fuzz target share them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formula/interpreter.h"

namespace vorelin {

inline constexpr const char* kColumns[] = {"date", "time",   "open", "high",
                                           "low",  "close", "amount", "vol"};

class MinuteBars {
 public:
  explicit MinuteBars(uint32_t seed) : seed_(seed) {}

  std::vector<double> Next() {
    seed_ = seed_ * 1103515245u + 12345u;
    const int minute = bar_ % 240;
    const int clock = minute < 120 ? 571 + minute : 781 + minute;
    const double open = std::round(price_ * 100) / 100;
    price_ = std::max(1.0, price_ * (1 + ((seed_ >> 8) % 2001 - 1000.0) / 100000.0));
    const double close = std::round(price_ * 100) / 100;
    const double vol = (seed_ >> 20) % 97 == 0 ? kNoValue : 1000 + (seed_ >> 4) % 5000;
    ++bar_;
    return {20240102.0 + bar_ / 240, static_cast<double>((clock / 60) * 100 + clock % 60), open,
            std::max(open, close) + 0.02, std::min(open, close) - 0.02, close, vol * close,
            vol};
  }

 private:
  uint32_t seed_;
  int bar_ = 0;
  double price_ = 10;
};

inline void Enter(TGS& bars, const std::vector<double>& bar, bool append) {
  for (size_t k = 0; k < 8; ++k) bars.PushRawValue(kColumns[k], bar[k], append);
}

}  // namespace vorelin
