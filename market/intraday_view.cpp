// Intraday view logic; the chart, timer and lists are reached through IntradayHost.
#include "market/intraday_view.h"

#include <algorithm>

#include "common/data_root.h"
#include "common/dates.h"
#include "common/format.h"
#include "common/numbers.h"
#include "market/intraday_file.h"

namespace vorelin {

std::string InvalidDateText(int date) { return Format("'%d' 不是有效的日期", date); }

bool IntradayView::Open(int date, const TStockDirEntry* stock, std::string_view play_speed_text,
                        std::string& error) {
  host_.EnsureQuoteReceiver();
  tick_interval_ms_ = ParseIntOr(play_speed_text, kFallbackPlaySpeed) * 100;
  requested_date_ = date;
  if (!stock) return true;
  if (!IsCalendarDate(date)) {
    error = InvalidDateText(date);
    return false;
  }
  stock_ = *stock;
  has_stock_ = true;
  host_.SetCaption(stock->Name() + "(" + stock->Code() + ") " + DayCaptionText(date));
  host_.ClearData();
  host_.SetFsAll(true);
  host_.SetFsFull(true);
  day_trades_.clear();
  trade_limit_ = kWholeDay;
  if (IsSafeStockCode(stock->Code()))
    day_trades_ = ReadTransactionTicks(TransactionListPath(root_, stock->Code(), date));
  std::vector<TMinutePoint> cached;
  if (IsSafeStockCode(stock->Code()) &&
      ReadIntradayFile(IntradayFilePath(root_, stock->Code(), date), cached)) {
    if (!cached.empty()) {
      LoadPoints(cached);
      host_.SetTickTimer(true, tick_interval_ms_);
    }
    PublishDayTrades();
    return true;
  }
  PublishDayTrades();
  if (date < kFirstIntradayDate) {
    host_.ShowMessage(kTooEarlyForIntradayText);
  } else {
    host_.RequestMinuteData(*stock, date);
  }
  return true;
}

void IntradayView::LoadPoints(const std::vector<TMinutePoint>& points) {
  host_.ResetIntradayFormulaData();
  points_ = points;
  amounts_.resize(points_.size());
  float highest = 0;
  for (size_t i = 0; i < points_.size(); ++i) {
    amounts_[i] = static_cast<double>(points_[i].volume) * points_[i].price;
    highest = std::max(highest, points_[i].price);
  }
  if (highest > 0) intraday_factor_ = reference_high_ / highest;
  tick_position_ = 0;
  trade_limit_ = 0;  // the day's replay starts before its first minute
}

void IntradayView::PublishDayTrades() {
  host_.SetDayTrades(trade_limit_ == kWholeDay ? day_trades_ : TicksUpTo(day_trades_, trade_limit_));
}

void IntradayView::OnMinuteAnswer(const std::vector<TMinutePoint>& points) {
  if (points.empty()) return;
  host_.SetFsFull(false);
  LoadPoints(points);
  if (has_stock_ && IsSafeStockCode(stock_.Code()))
    WriteIntradayFile(IntradayFilePath(root_, stock_.Code(), requested_date_), points_);
  PublishDayTrades();
}

int IntradayView::BaseRowDate(const Tstock& base) const {
  if (base.CurrentRow < 0 || base.CurrentRow >= static_cast<int>(base.Bars.size()))
    return kFallbackIntradayDate;
  return ParseIntOr(base.Bars[base.CurrentRow].date, kFallbackIntradayDate);
}

void IntradayView::TickStep(const Tstock& base) {
  host_.SetFsFull(false);
  if (points_.empty()) {
    host_.SetTickTimer(false, tick_interval_ms_);
    return;
  }
  if (base.CurrentRow > 0 && base.CurrentRow - 1 < static_cast<int>(base.Bars.size()))
    host_.SetPrevClose(base.Bars[base.CurrentRow - 1].close);
  int p = tick_position_;
  if (p < static_cast<int>(points_.size())) {
    const TMinutePoint& point = points_[p];
    double price = point.price * intraday_factor_;
    host_.AppendTick(point.minute, price, amounts_[p], point.volume);
    ++tick_position_;
    host_.MarkAccount(price);
    trade_limit_ = ParseIntOr(MinuteClockText(point.minute), kWholeDay);
  } else {
    p = static_cast<int>(points_.size()) - 1;
    host_.MarkAccount(points_[p].price * intraday_factor_);
    host_.SetTickTimer(false, tick_interval_ms_);
    trade_limit_ = kWholeDay;
  }
  PublishDayTrades();
  std::vector<std::string> pankou;
  if (has_stock_ && IsSafeStockCode(stock_.Code()))
    pankou = PankouLines(TransactionListPath(root_, stock_.Code(), BaseRowDate(base)),
                         MinuteClockText(p));
  host_.SetPankouLines(pankou);
  host_.UpdateDisplay();
}

void IntradayView::RequestDayTransactions(const TStockDirEntry& stock, int date) {
  trade_stock_ = stock;
  has_trade_stock_ = true;
  trade_date_ = date;
  host_.RequestTransactions(stock, date, 0);
}

void IntradayView::OnTransactionsAnswer(const std::vector<TTradeTick>& ticks, int current_date,
                                        const Tstock& base) {
  if (ticks.empty() || !has_trade_stock_) return;
  TransactionList::NextPage next = transactions_.AddAnswer(ticks, current_date);
  if (next.wanted) host_.RequestTransactions(trade_stock_, trade_date_, next.start);
  host_.SetTransactionLines(transactions_.Lines());
  day_trades_ = transactions_.Ticks();
  PublishDayTrades();
  if (IsSafeStockCode(trade_stock_.Code()))
    transactions_.Write(TransactionListPath(root_, trade_stock_.Code(), BaseRowDate(base)));
}

void IntradayView::ClearTransactions() {
  transactions_.Clear();
  host_.SetTransactionLines(transactions_.Lines());
  day_trades_.clear();
  trade_limit_ = kWholeDay;
  PublishDayTrades();
}

}  // namespace vorelin
