// The replay's chart port over a real chart control.
#include "formula_chart/gp_chart_port.h"

#include <string>

namespace vorelin {

void GpChartPort::AppendBar(int date, int time, double open, double high, double low,
                            double close, double amount, double vol) {
  chart_.AppendBar(date, time, open, high, low, close, amount, vol);
}

void GpChartPort::SetSeries(std::string_view name, const std::vector<double>& values,
                            bool recalculate) {
  chart_.SetSeries(std::string(name), values, recalculate);
}

void GpChartPort::SetTradeMarks(const std::vector<SessionTrade>& trades) {
  std::vector<TradeMark> marks;
  for (const SessionTrade& t : trades) marks.push_back({t.date, t.time, t.buy, t.price});
  chart_.SetTradeMarks(std::move(marks));
}

}  // namespace vorelin
