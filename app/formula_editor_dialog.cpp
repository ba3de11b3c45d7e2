#include "app/formula_editor_dialog.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/formula_input_dialog.h"
#include "formula_library/function_help.h"

namespace vorelin {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The function list hands a dragged name over as plain text, so the text area takes it at
// the drop point.
class FunctionList final : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
    auto* dragged = new QMimeData;
    if (!items.isEmpty()) dragged->setText(items.front()->text());
    return dragged;
  }
};

QLabel* Caption(const char* text) { return new QLabel(QString::fromUtf8(text)); }

}  // namespace

QString MemoText(const std::string& lines) {
  QString text = Q(lines);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string LinesOf(const QPlainTextEdit& memo) {
  return JoinEditorLines(SplitEditorLines(memo.toPlainText().toStdString()));
}

FormulaEditorDialog::FormulaEditorDialog(EditorVariant variant, MessageSink& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), variant_(variant) {
  setWindowTitle(QString::fromUtf8(kEditorCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setSizeGripEnabled(true);

  edtName = new QLineEdit(this);
  edtName->setObjectName("edtName");
  edtName->setMinimumWidth(140);
  edtDescription = new QLineEdit(this);
  edtDescription->setObjectName("edtDescription");
  chkDrawK = new QCheckBox(QString::fromUtf8("显示K线"), this);
  chkDrawK->setObjectName("chkDrawK");
  auto* fields = new QHBoxLayout;
  fields->addWidget(Caption("公式名称"));
  fields->addWidget(edtName);
  fields->addSpacing(12);
  fields->addWidget(Caption("公式描述"));
  fields->addWidget(edtDescription, 1);
  fields->addSpacing(12);
  fields->addWidget(chkDrawK);

  mmoText = new FormulaCodeEditor(this);
  mmoText->setObjectName("mmoText");
  mmoText->installEventFilter(this);
  lstFunctions = new FunctionList(this);
  lstFunctions->setObjectName("lstFunctions");
  lstFunctions->setDragEnabled(true);
  lstFunctions->setDragDropMode(QAbstractItemView::DragOnly);
  QStringList names;
  for (const std::string& name : FunctionListNames()) names << Q(name);
  lstFunctions->addItems(names);
  mmoText->SetCompletionNames(names, [](const QString& name) { return MemoText(HelpEntryOf(name.toStdString())); });
  auto* list_panel = new QWidget(this);
  auto* list_layout = new QVBoxLayout(list_panel);
  list_layout->setContentsMargins(0, 0, 0, 0);
  list_layout->addWidget(Caption("函数列表"));
  list_layout->addWidget(lstFunctions, 1);

  mmoMessage = new QPlainTextEdit(this);
  mmoMessage->setObjectName("mmoMessage");
  mmoMessage->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* across = new QSplitter(Qt::Horizontal, this);
  across->addWidget(mmoText);
  across->addWidget(list_panel);
  across->setStretchFactor(0, 1);
  across->setSizes({560, 170});
  auto* down = new QSplitter(Qt::Vertical, this);
  down->addWidget(across);
  down->addWidget(mmoMessage);
  down->setStretchFactor(0, 1);
  down->setSizes({360, 140});

  buttons_ = new QHBoxLayout;
  stat1 = new QStatusBar(this);
  stat1->setObjectName("stat1");
  stat1->setSizeGripEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 0);
  layout->addLayout(fields);
  layout->addWidget(down, 1);
  layout->addLayout(buttons_);
  layout->addWidget(stat1);

  connect(edtName, &QLineEdit::textChanged, this, [this](const QString& name) {
    if (!syncing_) ReplaceText(SyncNameLine(Text(), name.toStdString(), variant_));
  });
  connect(edtDescription, &QLineEdit::textChanged, this, [this](const QString& description) {
    if (!syncing_) ReplaceText(SyncTitleLine(Text(), description.toStdString(), variant_));
  });
  connect(chkDrawK, &QCheckBox::clicked, this,
          [this](bool checked) { ReplaceText(SyncDrawKLine(Text(), checked)); });
  connect(lstFunctions, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    mmoMessage->setPlainText(MemoText(HelpEntryOf(item->text().toStdString())));
  });
  connect(lstFunctions, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { mmoText->InsertAtCaret(item->text()); });
  resize(860, 600);
}

void FormulaEditorDialog::SetText(const std::string& text) {
  mmoText->setPlainText(MemoText(text));
}

QPushButton* FormulaEditorDialog::AddButton(const char* object_name, const char* text) {
  QPushButton* button = NewDialogButton(object_name, text, this);
  buttons_->addWidget(button);
  return button;
}

void FormulaEditorDialog::FinishButtons(std::function<void()> ok) {
  buttons_->addStretch();
  QPushButton* cancel = AddButton("btnCancel", "取消");
  QPushButton* confirm = AddButton("btnOk", "确定");
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(confirm, &QPushButton::clicked, this, std::move(ok));
}

void FormulaEditorDialog::InsertParameterClick() {
  TFInput input(messages_, this);
  if (input.exec() != QDialog::Accepted) return;
  ReplaceText(InsertFirstLine(Text(), input.Values().InputLine()));
}

void FormulaEditorDialog::InsertColourClick() {
  const QColor colour = QColorDialog::getColor(Qt::red, this);
  if (!colour.isValid()) return;
  const uint32_t bbggrr = static_cast<uint32_t>(colour.red() | colour.green() << 8 | colour.blue() << 16);
  mmoText->InsertAtCaret(Q(ColourInsertText(bbggrr)));
}

void FormulaEditorDialog::UpperCaseClick() { ReplaceText(UpperCaseText(Text())); }

void FormulaEditorDialog::ShowTestResult(const std::string& message, bool failed, int error_line) {
  mmoMessage->setPlainText(MemoText(message));
  if (failed) mmoMessage->moveCursor(QTextCursor::End);
  mmoText->MarkErrorLine(failed ? error_line : 0);
}

bool FormulaEditorDialog::CleanAndConfirm() {
  ReplaceText(RemoveEmptyLines(Text()));
  return ConfirmSaveOfBrokenFormula(Text(), messages_);
}

void FormulaEditorDialog::ReplaceText(const std::string& text) {
  const QString replacement = MemoText(text);
  if (replacement == mmoText->toPlainText()) return;
  const int line = mmoText->textCursor().blockNumber();
  QTextCursor all(mmoText->document());
  all.select(QTextCursor::Document);
  all.insertText(replacement);
  const QTextBlock block = mmoText->document()->findBlockByNumber(std::min(line, mmoText->blockCount() - 1));
  QTextCursor caret(block);
  caret.movePosition(QTextCursor::EndOfBlock);
  mmoText->setTextCursor(caret);
}

void FormulaEditorDialog::FieldsFromTheText() {
  const EditorFields current{Name().toStdString(), Description().toStdString(), chkDrawK->isChecked()};
  const EditorFields fields = FieldsFromText(Text(), current);
  syncing_ = true;
  if (Q(fields.name) != Name()) edtName->setText(Q(fields.name));
  if (Q(fields.description) != Description()) edtDescription->setText(Q(fields.description));
  chkDrawK->setChecked(fields.drawK);
  syncing_ = false;
}

void FormulaEditorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FieldsFromTheText();
}

bool FormulaEditorDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mmoText && event->type() == QEvent::KeyRelease) FieldsFromTheText();
  return QDialog::eventFilter(watched, event);
}

}  // namespace vorelin
