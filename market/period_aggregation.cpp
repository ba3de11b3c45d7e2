// Longer periods are fixed counts of base rows combined into one bar, aligned on the start
// row, with the newest (possibly partial) group last.
#include "market/bar_series.h"

namespace vorelin {

TBarRecord Tstock::CombineGroup(const TBarRecord* bars, size_t count) {
  if (count == 0) return TBarRecord{};
  if (count == 1) return bars[0];
  TBarRecord out;
  const TBarRecord& last = bars[count - 1];
  out.open = bars[0].open;
  out.close = last.close;
  out.high = -100000;
  out.low = 1000000;
  for (size_t i = 0; i < count; ++i) {
    if (bars[i].high > out.high) out.high = bars[i].high;
    if (bars[i].low < out.low) out.low = bars[i].low;
    out.amount += bars[i].amount;
    out.vol += bars[i].vol;
  }
  out.date = last.date;
  out.time = last.time;
  return out;
}

void Tstock::Aggregate() {
  const int lines = static_cast<int>(RawLines.size());
  if (CurrentRow > lines - 1) SetCurrentRow(lines - 1);
  if (StartRow < 0) StartRow = 0;
  const int n = PeriodMultiplier < 1 ? 1 : PeriodMultiplier;
  const int c = StartRow < CurrentRow ? CurrentRow - StartRow + 1 : 0;
  const int groups = c / n;
  const int rest = c % n;
  Bars.clear();
  Bars.reserve(groups + (rest > 0));
  std::vector<TBarRecord> group(static_cast<size_t>(n < c ? n : (c > 0 ? c : 1)));
  for (int k = 0; k < groups; ++k) {
    for (int j = 0; j < n; ++j) {
      int row = StartRow + k * n + j;
      group[j] = ParseLine(RawLines[row], row);
    }
    Bars.push_back(CombineGroup(group.data(), n));
  }
  if (rest > 0) {
    for (int j = 0; j < rest; ++j) {
      int row = CurrentRow - rest + 1 + j;
      group[j] = ParseLine(RawLines[row], row);
    }
    Bars.push_back(CombineGroup(group.data(), rest));
  }
  BarCount = static_cast<int>(Bars.size());
}

}  // namespace vorelin
