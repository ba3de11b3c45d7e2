// The trainee's trades drawn on the price pane: a buy under its bar's low, a sale over its
// high. A mark keeps its base bar's date and time, so it finds its bar at any period.
#pragma once

#include <string>
#include <vector>

#include "chart/pane_formula.h"

namespace vorelin {

struct TradeMark {
  int date = 0;   // YYYYMMDD of the base bar the trade was made at
  int time = 0;   // HHMM for minute data, 0 for day data
  bool buy = true;
  double price = 0;
};

// The bar of `date`/`time` series that holds the mark: the first whose date and time are not
// before it (a combined bar carries the date and time of its last base bar); -1 when the
// mark lies after the last bar.
int BarOfTradeMark(const SeriesView& date, const SeriesView& time, const TradeMark& mark);

// What the cursor information window says about a bar's trades: "买入 10.50" or "卖出 …",
// one line each.
std::vector<std::string> TradeMarkTexts(const std::vector<TradeMark>& marks, const SeriesView& date,
                                        const SeriesView& time, int bar);

}  // namespace vorelin
