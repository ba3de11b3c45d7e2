#include "app/formula_code_editor.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

#include "app/formula_highlighter.h"

namespace vorelin {

class LineNumberArea final : public QWidget {
 public:
  explicit LineNumberArea(FormulaCodeEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->LineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintLineNumbers(*this, event->rect()); }

 private:
  FormulaCodeEditor* editor_;
};

namespace {

constexpr int kMinimumPrefix = 2;
constexpr int kMinimumListWidth = 150;
const QColor kErrorLineFill(0xFF, 0xD6, 0xD6);
const QColor kErrorNumber(0xC0, 0x00, 0x00);
const QColor kCurrentLineFill(0xF2, 0xF6, 0xFF);

bool IsNameChar(QChar ch) { return ch.isLetterOrNumber() || ch == '_'; }

}  // namespace

FormulaCodeEditor::FormulaCodeEditor(QWidget* parent)
    : QPlainTextEdit(parent),
      highlighter_(new FormulaHighlighter(document())),
      line_numbers_(new LineNumberArea(this)),
      completion_help_(new QLabel(this, Qt::ToolTip)) {
  QFont mono(QStringLiteral("Monospace"));
  mono.setStyleHint(QFont::TypeWriter);
  mono.setPointSize(font().pointSize() + 1);
  setFont(mono);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(' ') * 4);
  completion_help_->setObjectName("lblCompletionHelp");
  completion_help_->setWordWrap(true);
  completion_help_->setTextFormat(Qt::PlainText);
  completion_help_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  completion_help_->setMargin(6);
  completion_help_->setStyleSheet(
      "QLabel { background: #FFFDE8; color: #202020; border: 1px solid #B8B090; }");
  completion_help_->hide();

  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(LineNumberWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0)
      line_numbers_->scroll(0, dy);
    else
      line_numbers_->update(0, rect.y(), line_numbers_->width(), rect.height());
  });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &FormulaCodeEditor::UpdateSelections);
  connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
    if (error_line_ != 0 && (removed != 0 || added != 0)) MarkErrorLine(0);
  });
  setViewportMargins(LineNumberWidth(), 0, 0, 0);
  UpdateSelections();
}

void FormulaCodeEditor::SetCompletionNames(const QStringList& names, HelpLookup help) {
  help_ = std::move(help);
  if (completer_ == nullptr) {
    completer_ = new QCompleter(this);
    completer_->setWidget(this);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    completer_->setMaxVisibleItems(12);
    completer_->popup()->setObjectName("lstCompletion");
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &FormulaCodeEditor::Complete);
    connect(completer_, qOverload<const QString&>(&QCompleter::highlighted), this,
            &FormulaCodeEditor::ShowHelpFor);
    completer_->popup()->installEventFilter(this);
  }
  completer_->setModel(new QStringListModel(names, completer_));
}

void FormulaCodeEditor::MarkErrorLine(int line) {
  error_line_ = line > 0 && line <= blockCount() ? line : 0;
  UpdateSelections();
  line_numbers_->update();
  if (error_line_ != 0) {
    QTextCursor at(document()->findBlockByNumber(error_line_ - 1));
    setTextCursor(at);
    ensureCursorVisible();
  }
}

void FormulaCodeEditor::InsertAtCaret(const QString& text) {
  textCursor().insertText(text);
  setFocus();
}

void FormulaCodeEditor::UpdateSelections() {
  QList<QTextEdit::ExtraSelection> marks;
  if (textCursor().blockNumber() + 1 != error_line_) {
    QTextEdit::ExtraSelection current;
    current.format.setBackground(kCurrentLineFill);
    current.format.setProperty(QTextFormat::FullWidthSelection, true);
    current.cursor = textCursor();
    current.cursor.clearSelection();
    marks.append(current);
  }
  if (error_line_ != 0) {
    QTextEdit::ExtraSelection error;
    error.format.setBackground(kErrorLineFill);
    error.format.setProperty(QTextFormat::FullWidthSelection, true);
    error.cursor = QTextCursor(document()->findBlockByNumber(error_line_ - 1));
    marks.append(error);
  }
  setExtraSelections(marks);
}

int FormulaCodeEditor::LineNumberWidth() const {
  int digits = 2;
  for (int n = std::max(1, blockCount()); n >= 100; n /= 10) ++digits;
  return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void FormulaCodeEditor::PaintLineNumbers(QWidget& area, const QRect& rect) {
  QPainter painter(&area);
  painter.fillRect(rect, QColor(0xF0, 0xF0, 0xF0));
  painter.setPen(QColor(0xD0, 0xD0, 0xD0));
  painter.drawLine(area.width() - 1, rect.top(), area.width() - 1, rect.bottom());
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= rect.bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible() && top + height >= rect.top()) {
      const int line = block.blockNumber() + 1;
      QFont number = font();
      number.setBold(line == error_line_);
      painter.setFont(number);
      painter.setPen(line == error_line_ ? kErrorNumber : QColor(0x90, 0x90, 0x90));
      painter.drawText(0, top, area.width() - 6, height, Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(line));
    }
    block = block.next();
    top += height;
  }
}

void FormulaCodeEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inner = contentsRect();
  line_numbers_->setGeometry(inner.left(), inner.top(), LineNumberWidth(), inner.height());
}

bool FormulaCodeEditor::eventFilter(QObject* watched, QEvent* event) {
  if (completer_ != nullptr && watched == completer_->popup() && event->type() == QEvent::Hide)
    completion_help_->hide();
  return QPlainTextEdit::eventFilter(watched, event);
}

void FormulaCodeEditor::focusInEvent(QFocusEvent* event) {
  if (completer_ != nullptr) completer_->setWidget(this);
  QPlainTextEdit::focusInEvent(event);
}

QString FormulaCodeEditor::WordBeforeCaret() const {
  const QTextCursor caret = textCursor();
  const QString line = caret.block().text();
  int start = caret.positionInBlock();
  const int end = start;
  while (start > 0 && IsNameChar(line[start - 1])) --start;
  return line.mid(start, end - start);
}

void FormulaCodeEditor::Complete(const QString& name) {
  QTextCursor caret = textCursor();
  const int typed = static_cast<int>(WordBeforeCaret().size());
  caret.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, typed);
  caret.insertText(name);
  setTextCursor(caret);
  completion_help_->hide();
}

void FormulaCodeEditor::ShowHelpFor(const QString& name) {
  const QString help = help_ ? help_(name) : QString();
  QAbstractItemView* popup = completer_->popup();
  if (help.isEmpty() || !popup->isVisible()) {
    completion_help_->hide();
    return;
  }
  completion_help_->setText(help);
  completion_help_->setFixedWidth(360);
  completion_help_->adjustSize();
  const QPoint right = popup->mapToGlobal(QPoint(popup->width() + 2, 0));
  completion_help_->move(right);
  completion_help_->show();
}

void FormulaCodeEditor::ShowCompletion() {
  if (completer_ == nullptr) return;
  const QString prefix = WordBeforeCaret();
  completer_->setCompletionPrefix(prefix);
  if (completer_->completionCount() == 0) {
    completer_->popup()->hide();
    completion_help_->hide();
    return;
  }
  QAbstractItemView* popup = completer_->popup();
  popup->setCurrentIndex(completer_->completionModel()->index(0, 0));
  QRect at = cursorRect();
  at.translate(viewportMargins().left(), 0);
  at.setWidth(std::max(kMinimumListWidth,
                       popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 24));
  completer_->complete(at);
  ShowHelpFor(completer_->currentCompletion());
}

void FormulaCodeEditor::keyPressEvent(QKeyEvent* event) {
  const bool listed = completer_ != nullptr && completer_->popup()->isVisible();
  if (listed) {
    switch (event->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Tab:
      case Qt::Key_Escape:
        // The list takes these.
        event->ignore();
        completion_help_->hide();
        return;
      default: break;
    }
  }
  const bool forced = event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier);
  if (!forced) QPlainTextEdit::keyPressEvent(event);
  if (completer_ == nullptr) return;
  const QString prefix = WordBeforeCaret();
  const bool typing_a_name = !event->text().isEmpty() && IsNameChar(event->text().back());
  const bool starts_with_letter = !prefix.isEmpty() && prefix[0].isLetter() && prefix[0].unicode() < 0x80;
  if (forced || (typing_a_name && starts_with_letter && prefix.size() >= kMinimumPrefix)) {
    ShowCompletion();
  } else if (listed) {
    completer_->popup()->hide();
    completion_help_->hide();
  }
}

}  // namespace vorelin
