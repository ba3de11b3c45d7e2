// The formula text area of the editors: a plain-text editor with syntax colouring, line
// numbers, the line of the last compile error marked, and completion of function names
// with the help entry of the highlighted name shown beside the list.
#pragma once

#include <QPlainTextEdit>
#include <functional>

class QCompleter;
class QLabel;

namespace vorelin {

class FormulaHighlighter;

class FormulaCodeEditor final : public QPlainTextEdit {
  Q_OBJECT

 public:
  // The help entry of an upper-case name, empty when there is none.
  using HelpLookup = std::function<QString(const QString& name)>;

  explicit FormulaCodeEditor(QWidget* parent = nullptr);

  // Names offered for completion (upper case) and where their help comes from.
  void SetCompletionNames(const QStringList& names, HelpLookup help);
  QCompleter* Completer() const { return completer_; }
  // The floating help beside the completion list (hidden while the list is).
  QLabel* CompletionHelp() const { return completion_help_; }
  FormulaHighlighter* Highlighter() const { return highlighter_; }

  // Marks line `line` (from 1) as the one a compile stopped at; 0 clears the mark. The mark
  // goes with the next edit of the text.
  void MarkErrorLine(int line);
  int ErrorLine() const { return error_line_; }

  void InsertAtCaret(const QString& text);
  // Opens the completion list for the word before the caret (as Ctrl+Space does).
  void ShowCompletion();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class LineNumberArea;
  int LineNumberWidth() const;
  void PaintLineNumbers(QWidget& area, const QRect& rect);
  void UpdateSelections();
  QString WordBeforeCaret() const;
  void Complete(const QString& name);
  void ShowHelpFor(const QString& name);

  FormulaHighlighter* highlighter_;
  QWidget* line_numbers_;
  QCompleter* completer_ = nullptr;
  QLabel* completion_help_;
  HelpLookup help_;
  int error_line_ = 0;
};

}  // namespace vorelin
