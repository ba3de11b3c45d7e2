// The replay's chart port over a real chart control: what the trainer's window passes, and
// what vorelin-replay draws offscreen for its trade screenshots.
#pragma once

#include "chart/gp.h"
#include "practice/chart_port.h"

namespace vorelin {

class GpChartPort final : public ChartPort {
 public:
  explicit GpChartPort(TGP& chart) : chart_(chart) {}

  void ClearData() override { chart_.ClearData(); }
  void AppendBar(int date, int time, double open, double high, double low, double close,
                 double amount, double vol) override;
  void SetSeries(std::string_view name, const std::vector<double>& values,
                 bool recalculate) override;
  void BeginUpdate() override { chart_.BeginUpdate(); }
  void EndUpdate() override { chart_.EndUpdate(); }
  void ResetPriceData() override { chart_.Pane(0).ClearData(); }
  void SetStkLabel(const std::string& code) override { chart_.StkLabel = code; }
  void SetStkName(const std::string& name) override { chart_.StkName = name; }
  void SetQuote(const TStockDirEntry& entry) override { chart_.SetQuote(entry); }
  void SetShowBar3d(bool on) override { chart_.SetShowBar3d(on); }
  void SetShowFs(bool on) override { chart_.SetShowFs(on); }
  bool ShowFs() const override { return chart_.ShowFs(); }
  void SetShowBoard(bool on) override { chart_.SetShowBoard(on); }
  void SetWeek(std::string_view label) override { chart_.Week = std::string(label); }
  void SelectFigureSet(const std::string& key) override { chart_.SelectFigureSet(key); }
  void SetTradeMarks(const std::vector<SessionTrade>& trades) override;
  void SetHideDates(bool on) override { chart_.SetHideDates(on); }

 private:
  TGP& chart_;
};

}  // namespace vorelin
