// A chart port that writes every call as a line of text and keeps the bars it was given.
#pragma once

#include <string>
#include <vector>

#include "common/format.h"
#include "common/message_sink.h"
#include "practice/chart_port.h"
#include "support/recording_messages.h"

namespace vorelin::testing {

class RecordingChart : public ChartPort {
 public:
  void ClearData() override {
    calls.push_back("clear");
    week.clear();  // as the chart does
    closes.clear();
    dates.clear();
  }
  void AppendBar(int date, int time, double, double, double, double close, double,
                 double) override {
    calls.push_back(Format("append %d %d %.2f", date, time, close));
    closes.push_back(close);
    dates.push_back(date);
  }
  void SetSeries(std::string_view name, const std::vector<double>& values,
                 bool recalculate) override {
    calls.push_back(Format("series %.*s %zu%s", static_cast<int>(name.size()), name.data(),
                           values.size(), recalculate ? " recalc" : ""));
    if (name == "close") closes = values;
    if (name == "date") dates.assign(values.begin(), values.end());
  }
  void BeginUpdate() override { calls.push_back("begin"); }
  void EndUpdate() override { calls.push_back("end"); }
  void ResetPriceData() override { calls.push_back("reset"); }
  void SetStkLabel(const std::string& code) override { label = code; }
  void SetStkName(const std::string& name) override { stock_name = name; }
  void SetQuote(const TStockDirEntry& entry) override {
    quote_code = entry.Code();
    quote = entry;
  }
  void SetShowBar3d(bool on) override { calls.push_back(on ? "bar3d 1" : "bar3d 0"); }
  void SetShowFs(bool on) override { show_fs = on; }
  bool ShowFs() const override { return show_fs; }
  void SetShowBoard(bool on) override { calls.push_back(on ? "board 1" : "board 0"); }
  void SetWeek(std::string_view text) override { week = std::string(text); }
  void SelectFigureSet(const std::string& key) override { figure_set = key; }
  void SetTradeMarks(const std::vector<SessionTrade>& trades) override { marks = trades; }
  void SetHideDates(bool on) override { hide_dates = on; }

  // The calls since the last Take, then forgets them.
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(calls);
    return out;
  }

  std::vector<std::string> calls;
  std::vector<double> closes;  // what the chart shows, oldest first
  std::vector<int> dates;
  std::string label, stock_name, quote_code, week, figure_set;
  TStockDirEntry quote;  // the last record handed over
  std::vector<SessionTrade> marks;
  bool show_fs = false;
  bool hide_dates = false;
};

}  // namespace vorelin::testing
