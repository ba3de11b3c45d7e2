#include "market/bar_columns.h"

#include <algorithm>

#include "common/numbers.h"

namespace vorelin {

BarColumns ColumnsOf(const std::vector<TBarRecord>& bars, int from, int to) {
  BarColumns out;
  from = std::max(from, 0);
  to = std::min(to, static_cast<int>(bars.size()) - 1);
  if (to < from) return out;
  for (std::vector<double>& column : out.columns) column.reserve(static_cast<size_t>(to - from + 1));
  for (int i = from; i <= to; ++i) {
    const TBarRecord& bar = bars[static_cast<size_t>(i)];
    const double values[] = {static_cast<double>(ParseIntOr(bar.date, 0)),
                             static_cast<double>(ParseIntOr(bar.time, 0)),
                             bar.open, bar.high, bar.low, bar.close, bar.amount, bar.vol};
    for (size_t c = 0; c < out.columns.size(); ++c) out.columns[c].push_back(values[c]);
  }
  return out;
}

}  // namespace vorelin
