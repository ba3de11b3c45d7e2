// The chart's part in practice: the trainee's trade marks and hiding the dates for blind
// training.
#include "chart/gp.h"

namespace vorelin {

void TGP::SetTradeMarks(std::vector<TradeMark> marks) {
  trade_marks_ = std::move(marks);
  MarkDirty();
}

std::vector<std::string> TGP::TradeMarkTextsAt(int bar) {
  PaneFormula& price = *panes_[0];
  return TradeMarkTexts(trade_marks_, price.FindSeries("date"), price.FindSeries("time"), bar);
}

void TGP::SetHideDates(bool on) {
  for (PaneFlags& flags : kline_flags_) flags.hide_dates = on;
  for (PaneFlags& flags : fs_flags_) flags.hide_dates = on;
  MarkDirty();
}

}  // namespace vorelin
