// The multi-period window `TfrmDzq`: nine small charts of the replayed stock at nine
// periods, laid over the main chart. Right-click opens their shared menu; a double-click
// switches the main chart to that chart's period and hides the window.
#pragma once

#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>

#include "app/chart_widget.h"
#include "formula_chart/gp_chart_port.h"
#include "practice/multi_period.h"

class QMenu;

namespace vorelin {

class TfrmDzq final : public QWidget {
  Q_OBJECT

 public:
  // Created hidden as a child of the chart it covers when shown.
  TfrmDzq(const std::filesystem::path& root, ReplayController& replay, MessageSink& messages,
          QWidget* chart_area);
  ~TfrmDzq() override;

  // '多周期同列': fills the chart area, refreshes for `mode` (the period choice) and shows.
  void Open(int mode);
  // After each change of the revealed rows.
  void RefreshIfShown(int mode);

  MultiPeriodCharts& Logic() { return *logic_; }
  ChartWidget& Chart(int position) { return *charts_[static_cast<size_t>(position)]; }
  int FocusedChart() const { return focused_; }
  // The shared menu as it opens for the focused chart (with its check mark).
  QMenu* BuildMenu(QWidget* parent);
  // The charts' places for the layout count and the current size.
  void Layout();

 signals:
  // The main chart shows another period now (the window has hidden itself).
  void MainChartSwitched();
  // Enter, F2 and F3 on a small chart, as on the main chart.
  void NextBarRequested();
  void BuyRequested();
  void SellRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int PositionOf(QObject* chart) const;
  void DoubleClick(int position);
  void MenuCommand(const QString& caption);
  void AskCustomPeriod();

  std::array<ChartWidget*, kMultiPeriodCharts> charts_{};
  std::array<std::unique_ptr<GpChartPort>, kMultiPeriodCharts> ports_;
  std::unique_ptr<MultiPeriodCharts> logic_;
  QWidget* client_;
  int focused_ = 0;
};

}  // namespace vorelin
