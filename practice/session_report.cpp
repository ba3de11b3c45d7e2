#include "practice/session_report.h"

#include <algorithm>

#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {
namespace {

double Percent(double part, double whole) { return whole != 0 ? part / whole * 100 : 0; }

// Columns line up in the page's monospace font, where a Chinese character is two Latin wide.
size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    width += c >= 0xE0 ? 2 : 1;
  }
  return width;
}

std::string Padded(const std::string& text, size_t width) {
  const size_t shown = DisplayWidth(text);
  return shown >= width ? text + " " : text + std::string(width - shown, ' ');
}

std::string RightAligned(const std::string& text, size_t width) {
  const size_t shown = DisplayWidth(text);
  return shown >= width ? " " + text : std::string(width - shown, ' ') + text;
}

std::string Pair(const std::string& label_a, const std::string& value_a, const std::string& label_b,
                 const std::string& value_b) {
  return Padded(label_a, 14) + Padded(value_a, 20) + Padded(label_b, 14) + value_b + "\r\n";
}

std::string Money(double v) { return Format("%.2f", v); }
std::string Pct(double v) { return Format("%.2f%%", v); }

void AddExcursions(const std::vector<TBarRecord>& bars, ClosedTrade& t) {
  if (t.exit_row <= t.entry_row || t.entry_price <= 0) return;
  double best = bars[static_cast<size_t>(t.entry_row + 1)].high;
  double worst = bars[static_cast<size_t>(t.entry_row + 1)].low;
  for (int r = t.entry_row + 1; r <= t.exit_row; ++r) {
    best = std::max(best, bars[static_cast<size_t>(r)].high);
    worst = std::min(worst, bars[static_cast<size_t>(r)].low);
  }
  t.favourable_percent = std::max(0.0, Percent(best - t.entry_price, t.entry_price));
  t.adverse_percent = std::min(0.0, Percent(worst - t.entry_price, t.entry_price));
  if (t.favourable_percent <= 0) return;
  const double realised = Percent(t.exit_price - t.entry_price, t.entry_price);
  t.has_given_back = true;
  t.given_back_percent =
      std::clamp(Percent(t.favourable_percent - realised, t.favourable_percent), 0.0, 100.0);
}

std::vector<ClosedTrade> RoundTrips(const std::vector<TBarRecord>& bars,
                                    const std::vector<SessionTrade>& trades) {
  std::vector<ClosedTrade> closed;
  bool open = false;
  ClosedTrade current;
  double bought_qty = 0, bought_money = 0, sold_qty = 0, sold_money = 0, profit = 0;
  for (const SessionTrade& t : trades) {
    if (t.qty <= 0) continue;
    if (t.buy) {
      if (!open) {
        open = true;
        current = ClosedTrade{};
        current.entry_row = t.row;
        bought_qty = bought_money = sold_qty = sold_money = profit = 0;
      }
      bought_qty += t.qty;
      bought_money += t.qty * t.price;
    } else {
      if (!open) continue;  // shares held from before the session close nothing of it
      sold_qty += t.qty;
      sold_money += t.qty * t.price;
      profit += t.profit;
    }
    current.fees += t.commission + t.stamp_duty;
    current.stamp_duty += t.stamp_duty;
    if (t.buy || t.qty_after > 0) continue;
    current.exit_row = t.row;
    current.entry_price = bought_money / bought_qty;
    current.exit_price = sold_money / sold_qty;
    current.result = profit - current.fees;
    AddExcursions(bars, current);
    closed.push_back(current);
    open = false;
  }
  return closed;
}

}  // namespace

SessionReport BuildSessionReport(const std::vector<TBarRecord>& bars, const TrainingSession& session,
                                 int last_row) {
  SessionReport r;
  const int first = session.start_row;
  const int last = std::min(last_row, static_cast<int>(bars.size()) - 1);
  if (first < 0 || first > last) return r;
  r.first_row = first;
  r.last_row = last;
  r.first_date = ParseIntOr(bars[static_cast<size_t>(first)].date, 0);
  r.last_date = ParseIntOr(bars[static_cast<size_t>(last)].date, 0);

  std::vector<SessionTrade> trades;
  for (const SessionTrade& t : session.trades)
    if (t.row >= first && t.row <= last) trades.push_back(t);
  std::stable_sort(trades.begin(), trades.end(),
                   [](const SessionTrade& a, const SessionTrade& b) { return a.row < b.row; });
  r.trades = static_cast<int>(trades.size());

  const double first_close = bars[static_cast<size_t>(first)].close;
  double cash = session.start_cash, qty = session.start_qty;
  r.start_assets = cash + qty * first_close;
  size_t next = 0;
  double peak = r.start_assets;
  for (int row = first; row <= last; ++row) {
    if (row > first && qty > 0) ++r.bars_held;  // shares held through this bar
    for (; next < trades.size() && trades[next].row == row; ++next) {
      cash = trades[next].cash_after;
      qty = trades[next].qty_after;
      r.fees += trades[next].commission + trades[next].stamp_duty;
      r.stamp_duty += trades[next].stamp_duty;
    }
    const double close = bars[static_cast<size_t>(row)].close;
    const double assets = cash + qty * close;
    r.equity.push_back(assets);
    r.hold.push_back(first_close > 0 ? r.start_assets * close / first_close : r.start_assets);
    peak = std::max(peak, assets);
    if (peak - assets > r.max_drawdown) {
      r.max_drawdown = peak - assets;
      r.max_drawdown_percent = Percent(r.max_drawdown, peak);
    }
  }
  r.end_assets = r.equity.back();
  r.account_return_percent = Percent(r.end_assets - r.start_assets, r.start_assets);
  if (first_close > 0)
    r.hold_return_percent = Percent(bars[static_cast<size_t>(last)].close - first_close, first_close);
  r.bars_revealed = last - first;
  r.time_in_market_percent = Percent(r.bars_held, r.bars_revealed);

  r.closed = RoundTrips(bars, trades);
  double gross_wins = 0, gross_losses = 0;
  int streak = 0;
  for (const ClosedTrade& t : r.closed) {
    ++r.round_trips;
    if (t.result > 0) {
      ++r.wins;
      gross_wins += t.result;
    } else if (t.result < 0) {
      ++r.losses;
      gross_losses += t.result;
    }
    streak = t.result < 0 ? streak + 1 : 0;
    r.longest_losing_streak = std::max(r.longest_losing_streak, streak);
  }
  r.win_rate = Percent(r.wins, r.round_trips);
  if (r.wins > 0) r.average_win = gross_wins / r.wins;
  if (r.losses > 0) r.average_loss = gross_losses / r.losses;
  r.has_profit_factor = r.losses > 0;
  if (r.has_profit_factor) r.profit_factor = gross_wins / -gross_losses;
  return r;
}

std::string SessionReportText(const SessionReport& r, const std::string& identity) {
  std::string text = std::string(kSessionReportTitle) + "\r\n";
  text += "股票：" + (identity.empty() ? std::string("******（盲盘训练中）") : identity) + "\r\n";
  text += Pair("揭示K线：", std::to_string(r.bars_revealed) + " 根", "起始资产：", Money(r.start_assets));
  text += Pair("账户收益率：", Pct(r.account_return_percent), "买入持有：", Pct(r.hold_return_percent));
  text += Pair("超额收益：", Pct(r.account_return_percent - r.hold_return_percent), "期末资产：",
               Money(r.end_assets));
  text += Pair("交易次数：", std::to_string(r.trades), "完成回合：", std::to_string(r.round_trips));
  text += Pair("胜率：", Pct(r.win_rate), "盈亏因子：",
               r.has_profit_factor ? Format("%.2f", r.profit_factor) : std::string("无亏损"));
  text += Pair("平均盈利：", Money(r.average_win), "平均亏损：", Money(r.average_loss));
  text += Pair("最大回撤：", Money(r.max_drawdown) + " (" + Pct(r.max_drawdown_percent) + ")",
               "最长连亏：", std::to_string(r.longest_losing_streak) + " 次");
  text += Pair("持仓时间：", Pct(r.time_in_market_percent), "持仓K线：",
               std::to_string(r.bars_held) + " / " + std::to_string(r.bars_revealed));
  text += Pair("手续费合计：", Money(r.fees), "其中印花税：", Money(r.stamp_duty));
  if (r.closed.empty()) return text;

  text += "\r\n";
  const char* captions[] = {"回合", "买入", "卖出", "买入均价", "卖出均价", "手续费", "印花税",
                            "盈亏", "最大浮盈", "最大浮亏", "回吐"};
  const size_t widths[] = {4, 8, 8, 10, 10, 9, 8, 10, 10, 10, 9};
  for (size_t c = 0; c < std::size(captions); ++c) text += RightAligned(captions[c], widths[c]);
  text += "\r\n";
  int n = 0;
  for (const ClosedTrade& t : r.closed) {
    const std::string cells[] = {
        std::to_string(++n),
        "第" + std::to_string(t.entry_row - r.first_row + 1) + "根",
        "第" + std::to_string(t.exit_row - r.first_row + 1) + "根",
        Format("%.3f", t.entry_price),
        Format("%.3f", t.exit_price),
        Money(t.fees),
        Money(t.stamp_duty),
        Money(t.result),
        Pct(t.favourable_percent),
        Pct(t.adverse_percent),
        t.has_given_back ? Pct(t.given_back_percent) : std::string("-")};
    for (size_t c = 0; c < std::size(cells); ++c) text += RightAligned(cells[c], widths[c]);
    text += "\r\n";
  }
  return text;
}

}  // namespace vorelin
