// The text of the cursor information window: the values of the bar (or minute) under the
// chart's cursor, one line per value, each ended by CR LF.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_types.h"
#include "chart/pane_formula.h"
#include "market/stock_quote.h"

namespace vorelin {

struct CursorInfoInput {
  int bar = 0;
  double cursor_value = kChartNoValue;  // the value at the cursor's height
  TWeekStyle period = TWeekStyle::wsDay;
  double reference = kChartNoValue;  // the chart's previous close (time-sharing change)
  StockCapital capital;
  std::vector<ExRightsEvent> ex_rights;
  bool hide_date = false;                // blind training: the date line shows no date
  std::vector<std::string> trade_lines;  // the trainee's trades at the bar, e.g. "买入 10.50"
};

// Minute slot k of the time-sharing view as "HH:MM": 09:30 … 11:30 for 0 … 120, then 13:01 on.
std::string MinuteSlotClock(int slot);

// The text for the price pane `formula`; empty when the bar is outside its bar count.
std::string TimeSharingCursorInfo(PaneFormula& formula, const CursorInfoInput& input);
std::string KLineCursorInfo(PaneFormula& formula, const CursorInfoInput& input);

}  // namespace vorelin
