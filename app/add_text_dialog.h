// The add-text dialog `TAddStr` (添加文字): the text of a text figure, its colour (the
// swatch opens a colour dialog) and its size; 确定 confirms, closing the window cancels.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "chart/chart_host.h"

namespace vorelin {

class TAddStr final : public QDialog {
  Q_OBJECT

 public:
  explicit TAddStr(const FigureText& start, QWidget* parent = nullptr);

  // What the boxes hold now.
  FigureText Entered() const;
  // Takes `colour` as the swatch's colour (what the colour dialog does on OK).
  void SetColour(Colour colour);

 private:
  void ChooseColour();

  QPlainTextEdit* memText_;
  QPushButton* btnColor_;
  QSpinBox* edtSize_;
  Colour colour_;
};

}  // namespace vorelin
