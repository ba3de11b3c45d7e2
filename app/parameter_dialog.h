// `TTTiao` ("指标参数调整"): one row per INPUT parameter of a pane's formula at the places the
// dialog has always put them; every change of a row recompiles the pane with the new value
// and redraws the chart at once.
#pragma once

#include <QDialog>
#include <QSpinBox>
#include <functional>
#include <vector>

#include "formula_library/parameter_rewrite.h"

class QPushButton;

namespace vorelin {

class TTTiao final : public QDialog {
  Q_OBJECT

 public:
  // `redraw` runs after each recompilation of `pane` (not owned).
  TTTiao(TGS& pane, std::function<void()> redraw, QWidget* parent = nullptr);

  const ParameterAdjustment& Adjustment() const { return adjustment_; }
  // The rows' spin boxes, in slot order.
  const std::vector<QSpinBox*>& Rows() const { return rows_; }
  QPushButton* btnClose;
  QPushButton* btnDefault;

 private:
  void RestoreDefaultsClick();

  ParameterAdjustment adjustment_;
  std::function<void()> redraw_;
  std::vector<QSpinBox*> rows_;
};

}  // namespace vorelin
