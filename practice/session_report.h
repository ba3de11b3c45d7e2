// The report of one training session: from the bar shown when the session began to the last
// revealed bar, the account against simply holding the stock, the round trips with their
// favourable and adverse excursions, and the equity of both bar by bar.
#pragma once

#include <string>
#include <vector>

#include "market/bar_record.h"

namespace vorelin {

inline constexpr const char* kSessionReportTitle = "训练报告";

// One buy or sale of the session, as the account made it.
struct SessionTrade {
  int row = 0;             // base-series row of the last revealed bar at the trade
  int date = 0;            // YYYYMMDD of that bar
  int time = 0;            // its HHMM in minute data, 0 in day data
  bool buy = true;
  double price = 0;
  double qty = 0;
  double commission = 0;   // without the stamp duty
  double stamp_duty = 0;
  double profit = 0;       // a sale's profit before fees; 0 for a buy
  double cash_after = 0;
  double qty_after = 0;
  std::string reason;
};

// What the session started from and what happened in it.
struct TrainingSession {
  int start_row = 0;       // the bar shown when the session began
  double start_cash = 0;
  double start_qty = 0;
  std::vector<SessionTrade> trades;
};

// A round trip: from the buy that opens a position to the sale that leaves no shares.
struct ClosedTrade {
  int entry_row = 0, exit_row = 0;
  double entry_price = 0;   // average cost of the shares bought
  double exit_price = 0;    // average price of the shares sold
  double fees = 0;          // commissions and stamp duty of its trades
  double stamp_duty = 0;
  double result = 0;        // sales' profit less the fees
  // Best and worst price while held (the bars after the entry up to the exit), as per cent
  // of the entry price; how much of the best was given back, as per cent of it.
  double favourable_percent = 0;
  double adverse_percent = 0;
  bool has_given_back = false;  // false without a favourable excursion
  double given_back_percent = 0;
};

struct SessionReport {
  int first_row = 0, last_row = 0;
  int first_date = 0, last_date = 0;
  double start_assets = 0, end_assets = 0;
  double account_return_percent = 0;
  double hold_return_percent = 0;   // first revealed close to the last
  int trades = 0;                   // buys and sales
  int round_trips = 0, wins = 0, losses = 0;
  double win_rate = 0;              // per cent of round trips
  double average_win = 0, average_loss = 0;
  bool has_profit_factor = false;   // false without losing round trips
  double profit_factor = 0;
  double max_drawdown = 0, max_drawdown_percent = 0;  // of the per-bar equity
  int longest_losing_streak = 0;
  int bars_held = 0, bars_revealed = 0;  // bars stepped through, and those with shares held
  double time_in_market_percent = 0;
  double fees = 0, stamp_duty = 0;
  std::vector<ClosedTrade> closed;
  std::vector<double> equity;       // account's total assets at each close, first to last
  std::vector<double> hold;         // the start assets held in the stock instead
};

// The report over rows session.start_row .. last_row of `bars`; trades outside the range
// are left out. An empty range gives an empty report.
SessionReport BuildSessionReport(const std::vector<TBarRecord>& bars, const TrainingSession& session,
                                 int last_row);

// The page's text. `identity` is the stock and its date range ("600000 浦发银行 20240102 -
// 20240330"); blind training passes an empty one and the report names no date.
std::string SessionReportText(const SessionReport& report, const std::string& identity);

}  // namespace vorelin
