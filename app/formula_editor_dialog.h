// What both formula editors ("公式编辑器") share: the name, description and 显示K线 fields kept
// in step with the header lines, the code editor, the function list with its help, the
// message area, the status bar, 插入参数, 插入颜色 and the upper-casing. `TFedit` and
// `TEditFunc1` add their own buttons and OK rules.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <functional>
#include <string>

#include "app/formula_code_editor.h"
#include "common/message_sink.h"
#include "formula_library/editor_logic.h"

class QHBoxLayout;
class QPushButton;

namespace vorelin {

// Memo texts: CR LF lines in the lower layers, LF in the widgets.
QString MemoText(const std::string& lines);
std::string LinesOf(const QPlainTextEdit& memo);

class FormulaEditorDialog : public QDialog {
  Q_OBJECT

 public:
  QString Name() const { return edtName->text(); }
  QString Description() const { return edtDescription->text(); }
  // The formula text, CR LF between lines.
  std::string Text() const { return LinesOf(*mmoText); }
  void SetName(const QString& name) { edtName->setText(name); }
  void SetText(const std::string& text);

  QLineEdit* edtName;
  QLineEdit* edtDescription;
  QCheckBox* chkDrawK;
  FormulaCodeEditor* mmoText;
  QListWidget* lstFunctions;
  QPlainTextEdit* mmoMessage;
  QStatusBar* stat1;

 protected:
  FormulaEditorDialog(EditorVariant variant, MessageSink& messages, QWidget* parent);

  // A button in the row above 取消 and 确定.
  QPushButton* AddButton(const char* object_name, const char* text);
  // Adds the row's closing buttons; `ok` runs the variant's OK rule.
  void FinishButtons(std::function<void()> ok);
  QHBoxLayout* ButtonRow() const { return buttons_; }

  void InsertParameterClick();
  void InsertColourClick();
  void UpperCaseClick();
  // Shows a test's message text (from its end after a failure, where the error is) and
  // marks the line it stopped at (0 none).
  void ShowTestResult(const std::string& message, bool failed, int error_line);
  // The text without its empty lines; true when it may be saved (it compiles, or the user
  // confirmed saving it broken).
  bool CleanAndConfirm();

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  MessageSink& messages_;

 private:
  // The text rewritten by a header rule, as one undoable edit that keeps the caret's line.
  void ReplaceText(const std::string& text);
  void FieldsFromTheText();

  EditorVariant variant_;
  QHBoxLayout* buttons_;
  bool syncing_ = false;
};

}  // namespace vorelin
