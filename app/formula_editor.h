// `TFedit`, the formula editor of the library tree: 测试 compiles and shows the compiled
// program, 导入外部公式 takes a formula exported by another charting program (a file or the
// clipboard), 确定 needs a name and a text.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "app/formula_editor_dialog.h"

namespace vorelin {

class TFedit final : public FormulaEditorDialog {
  Q_OBJECT

 public:
  explicit TFedit(MessageSink& messages, QWidget* parent = nullptr);

  // The two ways 导入外部公式 reads: the text of an exported formula. False with a message
  // shown when it holds no formula; the fields are then as before.
  bool ImportExported(const std::string& exported);

  QPushButton *btnTest, *btnUpper, *btnInsertParam, *btnInsertColour, *btnImport;
  QCheckBox* chkAutoClose;

 private:
  void TestClick();
  void ImportFromFile();
  void ImportFromClipboard();
  void OkClick();
};

}  // namespace vorelin
