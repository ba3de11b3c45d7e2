// Lines of the cursor information window, in the order the window shows them.
#include "chart/cursor_info_text.h"

#include "common/dates.h"
#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {
namespace {

constexpr const char* kLineEnd = "\r\n";
const char* const kShortWeekdays[] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};

// The value of a raw series at bar k, 0 when the series is missing or shorter.
double At(PaneFormula& formula, const char* name, int k) {
  const SeriesView series = formula.FindSeries(name);
  return series && k < series.count ? series[k] : 0;
}

bool ShowsTime(TWeekStyle period) {
  switch (period) {
    case TWeekStyle::wsMin5:
    case TWeekStyle::wsMin15:
    case TWeekStyle::wsMin30:
    case TWeekStyle::wsMin60:
    case TWeekStyle::wsmin1:
    case TWeekStyle::wsFenBi:
      return true;
    default:
      return false;
  }
}

void Add(std::string& text, const std::string& line) { text += line + kLineEnd; }

}  // namespace

std::string MinuteSlotClock(int k) {
  if (k <= 120) return Format("%.02d:%.02d", 9 + (k + 30) / 60, (k + 30) % 60);
  return Format("%.02d:%.02d", 13 + (k - 120) / 60, (k - 120) % 60);
}

std::string TimeSharingCursorInfo(PaneFormula& formula, const CursorInfoInput& in) {
  const int k = in.bar;
  if (k < 0 || k >= formula.BarCount()) return {};
  const double close = At(formula, "close", k);
  const double amount = At(formula, "Amount", k);
  std::string text;
  Add(text, "　 时间:" + MinuteSlotClock(k));
  Add(text, Format(" 　价位:%.3f", close));
  if (in.reference != kChartNoValue && in.reference != 0)
    Add(text, Format("　 涨跌:%.2f%%", (close - in.reference) * 100 / in.reference));
  Add(text, Format(" 成交量:%.0f", At(formula, "vol", k)));
  if (amount > 1'000'000) {
    Add(text, Format(" 成交额:%.2f亿", amount / 1'000'000));
  } else if (amount > 100) {
    Add(text, Format(" 成交额:%.2f万", amount / 100));
  } else {
    Add(text, Format(" 成交额:%.0f", amount * 100));
  }
  return text;
}

std::string KLineCursorInfo(PaneFormula& formula, const CursorInfoInput& in) {
  const int k = in.bar;
  if (k < 0 || k >= formula.BarCount()) return {};
  const int date = TruncToInt(At(formula, "date", k));
  const YearMonthDay d = SplitDate(date);
  std::string text = in.hide_date ? std::string("　 日期:******")
                                  : Format("　 日期:%d/%.02d/%.02d", d.year, d.month, d.day) + "/" +
                                        kShortWeekdays[Weekday(date)];
  if (ShowsTime(in.period)) text += Format("-%.0f", At(formula, "time", k));
  text += kLineEnd;
  if (in.cursor_value != kChartNoValue) Add(text, Format(" 　数值:%.3f", in.cursor_value));
  const double high = At(formula, "high", k), low = At(formula, "low", k), close = At(formula, "close", k);
  const double vol = At(formula, "vol", k);
  Add(text, Format(" 　开盘:%.2f", At(formula, "open", k)));
  Add(text, Format("　 最高:%.2f", high));
  Add(text, Format(" 　最低:%.2f", low));
  Add(text, Format(" 　收盘:%.2f", close));
  Add(text, Format(" 成交量:%.0f", vol / 100));
  Add(text, Format(" 成交额:%.2f万", At(formula, "Amount", k) / 10000));
  if (k > 0) {
    const double previous = At(formula, "close", k - 1);
    if (previous != 0) Add(text, Format("　 涨跌:%.2f%%", (close - previous) * 100 / previous));
  }
  if (low != 0) Add(text, Format("　 振幅:%.2f%%", (high - low) * 100 / low));
  if (in.capital.cursor_turnover_flag != 0) {
    const double circulating = in.capital.circulating_shares;
    if (circulating > 0) Add(text, Format(" 换手率:%.2f%%", vol / 100 / circulating));
    Add(text, Format(" 流通股:%.2f亿", circulating / 10000));
  }
  for (const ExRightsEvent& r : in.ex_rights) {
    if (r.date != date) continue;
    if (r.cash > 0) Add(text, Format(" 10股送:%.2f元", static_cast<double>(r.cash)));
    if (r.bonus > 0) Add(text, Format(" 10股送:%.2f股", static_cast<double>(r.bonus)));
    if (r.rights_price > 0) Add(text, Format(" 配股价:%.2f元", static_cast<double>(r.rights_price)));
    if (r.rights > 0) Add(text, Format(" 10股配:%.2f股", static_cast<double>(r.rights)));
    break;
  }
  for (const std::string& line : in.trade_lines) Add(text, " 　" + line);
  return text;
}

}  // namespace vorelin
