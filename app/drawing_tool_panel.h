// The drawing-tool panel `pnltool` beside the chart: two vertical toolbars whose buttons
// pick a drawing tool by their image index (0 off, 1 … 24 a figure, 25 clear all figures,
// 26 held down hides them), each a single call into the chart.
#pragma once

#include <QToolButton>
#include <QWidget>

namespace vorelin {

class TGP;

class DrawingToolPanel final : public QWidget {
  Q_OBJECT

 public:
  explicit DrawingToolPanel(TGP& chart, QWidget* parent = nullptr);

  // The button of tool `tool`, or null when the panel has none for it.
  QToolButton* Button(int tool) const;
  // The inner panel holding both toolbars.
  QWidget* LineTB() const { return line_tb_; }

 private:
  void ToolClicked(QToolButton* button);

  TGP& chart_;
  QWidget* line_tb_;
};

}  // namespace vorelin
