// What the replay needs from the chart: the app passes the real chart, tests a recorder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "market/stock_directory.h"
#include "practice/session_report.h"

namespace vorelin {

class ChartPort {
 public:
  virtual ~ChartPort() = default;

  virtual void ClearData() = 0;
  virtual void AppendBar(int date, int time, double open, double high, double low, double close,
                         double amount, double vol) = 0;
  // Hands one raw series to the price pane; `recalculate` reruns the panes' formulas.
  virtual void SetSeries(std::string_view name, const std::vector<double>& values,
                         bool recalculate) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // Drops the price pane's formula data before a new set of series.
  virtual void ResetPriceData() = 0;
  virtual void SetStkLabel(const std::string& code) = 0;
  virtual void SetStkName(const std::string& name) = 0;
  // The stock's directory record, for the information board.
  virtual void SetQuote(const TStockDirEntry& entry) = 0;
  virtual void SetShowBar3d(bool on) = 0;
  virtual void SetShowFs(bool on) = 0;
  // True while the chart shows the intraday view.
  virtual bool ShowFs() const = 0;
  virtual void SetShowBoard(bool on) = 0;
  // The period label ("周线", "月线", "季线", "年线"); empty for none.
  virtual void SetWeek(std::string_view label) = 0;
  // The drawn figures to show: one set per stock, kind of data and period.
  virtual void SelectFigureSet(const std::string& key) = 0;
  // The session's trades, drawn at their bars on the price pane.
  virtual void SetTradeMarks(const std::vector<SessionTrade>& trades) = 0;
  // Blind training: the chart shows no date anywhere.
  virtual void SetHideDates(bool on) = 0;
};

}  // namespace vorelin
