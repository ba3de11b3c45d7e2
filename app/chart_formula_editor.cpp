#include "app/chart_formula_editor.h"

#include <QTextCursor>

#include "formula_library/formula_test_run.h"
#include "formula_library/pane_formula_edit.h"

namespace vorelin {

TEditFunc1::TEditFunc1(MessageSink& messages, QWidget* parent)
    : FormulaEditorDialog(EditorVariant::kTEditFunc1, messages, parent) {
  setObjectName("EditFunc1");
  btnTest = AddButton("btnTest", "测试公式");
  btnUpper = AddButton("btnUpper", "大写");
  btnInsertParam = AddButton("btnInsertParam", "插入参数");
  btnInsertColour = AddButton("btnInsertColour", "插入颜色");
  btnClear = AddButton("btnClear", "清除");
  btnConvert = AddButton("btnConvert", "转换");
  FinishButtons([this] {
    if (CleanAndConfirm()) accept();
  });

  connect(btnTest, &QPushButton::clicked, this, &TEditFunc1::TestClick);
  connect(btnUpper, &QPushButton::clicked, this, &TEditFunc1::UpperCaseClick);
  connect(btnInsertParam, &QPushButton::clicked, this, &TEditFunc1::InsertParameterClick);
  connect(btnInsertColour, &QPushButton::clicked, this, &TEditFunc1::InsertColourClick);
  connect(btnClear, &QPushButton::clicked, this, &TEditFunc1::ClearClick);
  connect(btnConvert, &QPushButton::clicked, this, &TEditFunc1::ConvertClick);
  for (QPlainTextEdit* memo : {static_cast<QPlainTextEdit*>(mmoText), mmoMessage})
    connect(memo, &QPlainTextEdit::cursorPositionChanged, this, [this, memo] { ShowCaret(*memo); });
  ShowCaret(*mmoText);
}

void TEditFunc1::TestClick() {
  const TestRunResult result = RunFormulaTest(Text());
  ShowTestResult(TestRunText(result), !result.ok, result.errorLine);
}

void TEditFunc1::ConvertClick() {
  mmoMessage->setPlainText(MemoText(ConvertProgramText(LinesOf(*mmoMessage))));
}

void TEditFunc1::ClearClick() {
  mmoText->clear();
  edtName->clear();
  edtDescription->clear();
  chkDrawK->setChecked(false);
}

void TEditFunc1::ShowCaret(const QPlainTextEdit& memo) {
  const QTextCursor caret = memo.textCursor();
  stat1->showMessage(QString::fromStdString(CaretStatusText(caret.blockNumber() + 1, caret.positionInBlock() + 1)));
}

}  // namespace vorelin
