// The main window's intraday view: opening a day (cached file first, else a request to the
// quote server), the answers that fill it, the tick timer's replay step and the '盘口' list.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/intraday_records.h"
#include "market/bar_series.h"
#include "market/stock_directory.h"
#include "market/transaction_list.h"

namespace vorelin {

inline constexpr const char* kTooEarlyForIntradayText = "当前日期太早，不支持分时数据！";
inline constexpr int kFirstIntradayDate = 20000106;
inline constexpr int kFallbackIntradayDate = 20000105;
inline constexpr int kFallbackPlaySpeed = 10;

// What the view needs from the window, the chart, the account and the quote link.
class IntradayHost {
 public:
  virtual ~IntradayHost() = default;
  virtual void EnsureQuoteReceiver() = 0;
  // Queued only while the receiver is connected; otherwise nothing happens.
  virtual void RequestMinuteData(const TStockDirEntry& stock, int date) = 0;
  virtual void RequestTransactions(const TStockDirEntry& stock, int date, int start) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void SetTickTimer(bool on, int interval_ms) = 0;
  // The chart's intraday view.
  virtual void ClearData() = 0;
  virtual void SetFsAll(bool on) = 0;
  virtual void SetFsFull(bool on) = 0;
  virtual void SetPrevClose(double close) = 0;
  virtual void AppendTick(int minute, double price, double amount, double volume) = 0;
  virtual void ResetIntradayFormulaData() = 0;
  virtual void MarkAccount(double price) = 0;
  virtual void SetPankouLines(const std::vector<std::string>& lines) = 0;
  virtual void SetTransactionLines(const std::vector<std::string>& lines) = 0;
  // The day's transactions for the chart's information board, in time order.
  virtual void SetDayTrades(const std::vector<TTradeTick>& ticks) = 0;
  virtual void UpdateDisplay() = 0;
};

// The message that stops opening a day that is no calendar date.
std::string InvalidDateText(int date);

class IntradayView {
 public:
  IntradayView(std::filesystem::path root, IntradayHost& host)
      : root_(std::move(root)), host_(host) {}

  // Opens the view for `date`. `stock` is the current stock record (null: only the timer and
  // requested date change). False with `error` when `date` is no calendar date.
  bool Open(int date, const TStockDirEntry* stock, std::string_view play_speed_text,
            std::string& error);
  // The day's minute points from the quote server (ignored when empty).
  void OnMinuteAnswer(const std::vector<TMinutePoint>& points);
  // Asks for the first page of a day's transactions; later pages follow from the answers.
  void RequestDayTransactions(const TStockDirEntry& stock, int date);
  // One page of the day's transactions from the quote server (ignored when empty).
  void OnTransactionsAnswer(const std::vector<TTradeTick>& ticks, int current_date,
                            const Tstock& base);
  // One tick of the intraday replay timer.
  void TickStep(const Tstock& base);
  // The list is emptied at the start of every replay step.
  void ClearTransactions();
  // The transactions the board shows: those of the day opened last (from its list file) or
  // of the latest answers; while that day's minutes are replayed, only up to the minute shown.
  const std::vector<TTradeTick>& DayTrades() const { return day_trades_; }

  void SetReferenceHigh(double high) { reference_high_ = high; }

  double IntradayFactor() const { return intraday_factor_; }
  int TickPosition() const { return tick_position_; }
  int RequestedDate() const { return requested_date_; }
  const std::vector<TMinutePoint>& Points() const { return points_; }
  const std::vector<double>& Amounts() const { return amounts_; }
  const TransactionList& Transactions() const { return transactions_; }

 private:
  void LoadPoints(const std::vector<TMinutePoint>& points);
  void PublishDayTrades();
  int BaseRowDate(const Tstock& base) const;

  std::filesystem::path root_;
  IntradayHost& host_;
  std::vector<TMinutePoint> points_;
  std::vector<double> amounts_;
  double intraday_factor_ = 1.0;
  double reference_high_ = 0;
  int tick_position_ = 0;
  int requested_date_ = 0;
  int tick_interval_ms_ = kFallbackPlaySpeed * 100;
  bool has_stock_ = false;
  TStockDirEntry stock_;
  TransactionList transactions_;
  bool has_trade_stock_ = false;
  TStockDirEntry trade_stock_;
  int trade_date_ = 0;
  std::vector<TTradeTick> day_trades_;
  int trade_limit_ = kWholeDay;  // HHMM of the last minute replayed
  static constexpr int kWholeDay = -1;
};

}  // namespace vorelin
