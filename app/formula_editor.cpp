#include "app/formula_editor.h"

#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QMenu>

#include "common/text_file.h"
#include "formula_library/external_import.h"

namespace vorelin {

TFedit::TFedit(MessageSink& messages, QWidget* parent)
    : FormulaEditorDialog(EditorVariant::kTFedit, messages, parent) {
  setObjectName("Fedit");
  btnTest = AddButton("btnTest", "测试");
  btnUpper = AddButton("btnUpper", "转换成大写");
  btnInsertParam = AddButton("btnInsertParam", "插入参数");
  btnInsertColour = AddButton("btnInsertColour", "插入颜色");
  btnImport = AddButton("btnImport", "导入外部公式");
  chkAutoClose = new QCheckBox(QString::fromUtf8("自动关闭"), this);
  chkAutoClose->setObjectName("chkAutoClose");
  // The import reads a file or the clipboard: there is no other editor window to close.
  chkAutoClose->setEnabled(false);
  chkAutoClose->setToolTip(QString::fromUtf8("导入来自文件或剪贴板，没有需要关闭的外部编辑器"));
  ButtonRow()->addWidget(chkAutoClose);
  FinishButtons([this] { OkClick(); });

  auto* sources = new QMenu(btnImport);
  sources->setObjectName("pmImport");
  connect(sources->addAction(QString::fromUtf8("从文件导入...")), &QAction::triggered, this,
          &TFedit::ImportFromFile);
  connect(sources->addAction(QString::fromUtf8("从剪贴板导入")), &QAction::triggered, this,
          &TFedit::ImportFromClipboard);
  btnImport->setMenu(sources);

  connect(btnTest, &QPushButton::clicked, this, &TFedit::TestClick);
  connect(btnUpper, &QPushButton::clicked, this, &TFedit::UpperCaseClick);
  connect(btnInsertParam, &QPushButton::clicked, this, &TFedit::InsertParameterClick);
  connect(btnInsertColour, &QPushButton::clicked, this, &TFedit::InsertColourClick);
}

void TFedit::TestClick() {
  const CompiledView view = CompileForDisplay(Text());
  ShowTestResult(CompiledViewText(view), !view.ok, view.errorLine);
}

bool TFedit::ImportExported(const std::string& exported) {
  ExternalFormula source;
  std::string error;
  if (!ParseExternalFormula(exported, source, error)) {
    messages_.Show(error);
    return false;
  }
  const ImportedFormula imported = ImportExternalFormula(source);
  mmoText->clear();
  mmoMessage->clear();
  edtName->clear();
  edtDescription->clear();
  SetText(imported.text);
  edtDescription->setText(QString::fromStdString(imported.description));
  edtName->setText(QString::fromStdString(imported.name));
  return true;
}

void TFedit::ImportFromFile() {
  const QString file = QFileDialog::getOpenFileName(this, QString::fromUtf8("导入外部公式"), QString(),
                                                    QString::fromUtf8("公式文本 (*.txt);;所有文件 (*)"));
  if (file.isEmpty()) return;
  std::vector<std::string> lines;
  std::string error;
  if (!ReadTextLines(file.toStdString(), lines, &error)) {
    messages_.Show(error);
    return;
  }
  ImportExported(JoinEditorLines(lines));
}

void TFedit::ImportFromClipboard() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  ImportExported(clipboard != nullptr ? clipboard->text().toStdString() : std::string());
}

void TFedit::OkClick() {
  std::string message;
  EditorFocus focus = EditorFocus::kNone;
  if (!CheckTFeditOk(Name().toStdString(), Text(), message, focus)) {
    messages_.Show(message);
    (focus == EditorFocus::kName ? static_cast<QWidget*>(edtName) : mmoText)->setFocus();
    return;
  }
  if (CleanAndConfirm()) accept();
}

}  // namespace vorelin
