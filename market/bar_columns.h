// Bars as the chart's eight raw series: one column per field, dates and times as numbers.
// Every program that hands bars to a chart builds them here.
#pragma once

#include <array>
#include <vector>

#include "market/bar_record.h"

namespace vorelin {

struct BarColumns {
  // The price pane's raw series names, in the order they are handed over.
  static constexpr std::array<const char*, 8> kNames = {"date", "time",  "open",   "high",
                                                        "low",  "close", "amount", "vol"};
  std::array<std::vector<double>, 8> columns;

  const std::vector<double>& operator[](size_t i) const { return columns[i]; }
  size_t size() const { return columns[0].size(); }
};

// Rows from .. to (both included, clamped to the bars there are) as columns; a date or
// time that is not a number reads as 0.
BarColumns ColumnsOf(const std::vector<TBarRecord>& bars, int from, int to);

}  // namespace vorelin
