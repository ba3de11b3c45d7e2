// The chart's cursor information window `THintWin`: a small frameless window with a title
// row (the stock name, a close button) over the text of the bar under the cursor. It never
// takes the focus when shown; its title row drags it only while it is the active window.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPoint>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <string>

namespace vorelin {

class THintWin final : public QWidget {
  Q_OBJECT

 public:
  explicit THintWin(QWidget* parent = nullptr);

  // Title and text (lines ended by CR LF) as the chart writes them.
  void SetContent(const std::string& title, const std::string& text);
  // The close button: the window hides, then this runs (the chart's cursor goes off).
  std::function<void()> OnCloseButton;

  QLabel* lblTitle;
  QToolButton* btnClose;
  QPlainTextEdit* mmoHint;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPoint drag_offset_;
  bool dragging_ = false;
};

}  // namespace vorelin
