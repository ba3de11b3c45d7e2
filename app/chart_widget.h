// The chart control in a window: hosts the chart with its formulas, shows its back buffer,
// and hands mouse, wheel, keys and focus to it. The trading keys of the chart page (Enter
// for the next bar, F2 buy, F3 sell) leave as signals for the main window.
#pragma once

#include <QWidget>

#include "formula_chart/formula_chart.h"

namespace vorelin {

class ChartWidget final : public QWidget, public ChartHost {
  Q_OBJECT

 public:
  explicit ChartWidget(QWidget* parent = nullptr);

  TGP& Chart() { return chart_.Chart(); }
  const IndicatorLibrary& Library() const { return chart_.Library(); }

  // ChartHost.
  void ShowBuffer(const Canvas& back_buffer) override;
  bool HasFocus() const override { return hasFocus(); }
  void SetPointer(PointerShape shape) override;
  bool PutOnClipboard(const RgbImage& image) override;

 signals:
  void NextBarRequested();
  void BuyRequested();
  void SellRequested();
  void IntradayToggleRequested();
  void TickToggleRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FormulaChart chart_;
};

}  // namespace vorelin
