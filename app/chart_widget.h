// The chart control in a window: hosts the chart with its formulas, paints its back buffer
// once per event, hands mouse, wheel, keys and focus to it, renders its context menu and
// answers its dialogs. The trading keys of the chart page leave as signals for the main
// window: Enter for the next bar (unless the cursor is shown, when the chart opens that
// bar's day), F2 buy, F3 sell, F5 the intraday view, Space its ticks.
#pragma once

#include <QWidget>

#include "app/hint_window.h"
#include "app/pane_formula_dialogs.h"
#include "formula_chart/formula_chart.h"

class QMenu;

namespace vorelin {

class MessageSink;

class ChartWidget final : public QWidget, public ChartHost {
  Q_OBJECT

 public:
  explicit ChartWidget(MessageSink& messages, QWidget* parent = nullptr);

  TGP& Chart() { return chart_.Chart(); }
  const IndicatorLibrary& Library() const { return chart_.Library(); }
  PaneFormulaDialogs& FormulaDialogs() { return dialogs_; }
  // The context menu as it opens now (with its check marks), for tests and the popup.
  QMenu* BuildContextMenu(QWidget* parent);

  // ChartHost.
  void ShowBuffer(const Canvas& back_buffer) override;
  void RequestRepaint() override { update(); }
  bool HasFocus() const override { return hasFocus(); }
  void RequestFocus() override;
  void SetPointer(PointerShape shape) override;
  void MoveMousePointer(int x, int y) override;
  bool Ask(const std::string& title, const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  bool ChooseColour(Colour start, Colour* chosen) override;
  bool ChooseOpenFile(const std::string& title, const std::string& filter,
                      const std::string& default_extension, const std::string& start_folder,
                      std::string* file) override;
  void OpenWithSystem(const std::string& file) override;
  bool PutOnClipboard(const RgbImage& image) override;
  bool AskFigureText(FigureText* text) override;
  void ShowInfoWindow(const InfoWindowPlacement& placement) override;
  void HideInfoWindow() override { hint_->hide(); }
  void SetInfoWindowHeight(int height) override { hint_->resize(hint_->width(), height); }
  bool InfoWindowIsForeground() const override { return hint_->isVisible() && hint_->isActiveWindow(); }
  void SetInfoWindowText(const std::string& title, const std::string& text) override {
    hint_->SetContent(title, text);
  }
  THintWin& HintWindow() { return *hint_; }
  bool SupportsFormulaDialog(FormulaDialog) const override { return true; }
  bool ShowUsageNotes(PaneFormula& pane) override { return dialogs_.UsageNotes(pane); }
  bool AdjustParameters(PaneFormula& pane) override { return dialogs_.Parameters(pane); }
  bool EditFormula(PaneFormula& pane) override { return dialogs_.Edit(pane); }

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
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  MessageSink& messages_;
  THintWin* hint_;  // before the chart: the chart asks for it from its first paint
  FormulaChart chart_;
  PaneFormulaDialogs dialogs_;
};

}  // namespace vorelin
