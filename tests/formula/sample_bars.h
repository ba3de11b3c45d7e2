// Deterministic daily bars for formula tests: a gentle random walk with weekdays as dates.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/dates.h"
#include "formula/interpreter.h"

namespace vorelin {

struct SampleBars {
  std::vector<double> date, time, open, high, low, close, amount, vol;
};

inline SampleBars MakeSampleBars(int n, uint32_t seed = 12345) {
  SampleBars bars;
  double price = 10.0;
  int year = 2024, month = 1, day = 1;  // 2024-01-01 is a Monday
  auto advance = [&] {
    static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int length = kLengths[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    if (++day > length) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  };
  for (int i = 0; i < n; ++i) {
    int date = year * 10000 + month * 100 + day;
    while (Weekday(date) == 0 || Weekday(date) == 6) {
      advance();
      date = year * 10000 + month * 100 + day;
    }
    advance();
    seed = seed * 1103515245u + 12345u;
    const double change = (static_cast<double>((seed >> 8) % 2001) - 1000.0) / 10000.0;
    const double open = price;
    price = std::max(1.0, price * (1.0 + change * 0.5));
    const double close = std::round(price * 100) / 100;
    bars.date.push_back(date);
    bars.time.push_back(0);
    bars.open.push_back(std::round(open * 100) / 100);
    bars.close.push_back(close);
    bars.high.push_back(std::max(bars.open.back(), close) + 0.05);
    bars.low.push_back(std::min(bars.open.back(), close) - 0.05);
    bars.vol.push_back(100000 + ((seed >> 4) % 50000));
    bars.amount.push_back(bars.vol.back() * close);
  }
  return bars;
}

// Enters the bars in the chart's order: date, time, open, high, low, close, amount, vol.
inline void LoadSampleBars(TGS& gs, const SampleBars& bars) {
  const int n = static_cast<int>(bars.date.size());
  gs.SetRawSeries("date", bars.date.data(), n);
  gs.SetRawSeries("time", bars.time.data(), n);
  gs.SetRawSeries("open", bars.open.data(), n);
  gs.SetRawSeries("high", bars.high.data(), n);
  gs.SetRawSeries("low", bars.low.data(), n);
  gs.SetRawSeries("close", bars.close.data(), n);
  gs.SetRawSeries("amount", bars.amount.data(), n);
  gs.SetRawSeries("vol", bars.vol.data(), n);
}

inline std::vector<double> Values(const Tbian* series) {
  if (series == nullptr) return {};
  return std::vector<double>(series->values.begin(), series->values.begin() + series->count);
}

}  // namespace vorelin
