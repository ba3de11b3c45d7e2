// `TEditFunc1`, the formula editor of a chart pane ("修改指标公式"): 测试公式 runs the text on
// the sample bars, 转换 rewrites the compiled program readably, 清除 empties everything; the
// status bar shows the caret's line and column.
#pragma once

#include <QPushButton>

#include "app/formula_editor_dialog.h"

namespace vorelin {

class TEditFunc1 final : public FormulaEditorDialog {
  Q_OBJECT

 public:
  explicit TEditFunc1(MessageSink& messages, QWidget* parent = nullptr);

  QPushButton *btnTest, *btnUpper, *btnInsertParam, *btnInsertColour, *btnClear, *btnConvert;

 private:
  void TestClick();
  void ConvertClick();
  void ClearClick();
  void ShowCaret(const QPlainTextEdit& memo);
};

}  // namespace vorelin
