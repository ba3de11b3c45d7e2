// The formula text area: each kind of word in its colour (comments across lines, Chinese
// text before a word and quoted braces included), the marked error line and its clearing,
// and completion of function names with the help beside the list.
#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "app/formula_code_editor.h"
#include "app/formula_highlighter.h"

namespace vorelin {
namespace {

// The format the highlighter gave the character at `column` of line `line` (from 0).
QTextCharFormat FormatAt(FormulaCodeEditor& editor, int line, int column) {
  const QTextBlock block = editor.document()->findBlockByNumber(line);
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (column >= range.start && column < range.start + range.length) return range.format;
  return {};
}

bool SameColour(const QTextCharFormat& a, const QTextCharFormat& b) {
  return a.foreground().color() == b.foreground().color() && a.fontWeight() == b.fontWeight() &&
         a.fontItalic() == b.fontItalic();
}

}  // namespace

class FormulaCodeEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void textIsColouredByKind_data();
  void textIsColouredByKind();
  void errorLineIsMarkedUntilTheNextEdit();
  void typedPrefixOffersFunctionNamesWithHelp();
};

void FormulaCodeEditorTest::textIsColouredByKind_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("expected");
  const QString sample = QString::fromUtf8(
      "MA5:MA(C,5),COLORRED; // five\n"
      "{ a comment\n"
      "  over two lines } X:=1.5;\n"
      "T:='{not a comment}';\n"
      "*用法注释\n"
      "(* old *)STICKLINE(C>O,C,O,2,0);\n"
      "金叉:CROSS(C,O);");
  const struct {
    const char* name;
    int line;
    int column;
    const char* expected;
  } cases[] = {
      {"plain output name", 0, 0, "plain"},      {"function", 0, 4, "function"},
      {"bar variable", 0, 7, "bar"},             {"number", 0, 9, "number"},
      {"colour word", 0, 12, "colour"},          {"line comment", 0, 25, "comment"},
      {"comment opens", 1, 0, "comment"},        {"comment goes on", 2, 4, "comment"},
      {"after comment closes", 2, 23, "number"}, {"quoted brace", 3, 4, "text"},
      {"usage note line", 4, 1, "note"},      {"paren-star comment", 5, 3, "comment"},
      {"drawing after comment", 5, 9, "drawing"},
      {"function after Chinese name", 6, 3, "function"},   {"Chinese name", 6, 0, "plain"},
  };
  for (const auto& c : cases)
    QTest::newRow(c.name) << sample << c.line << c.column << QString(c.expected);
}

void FormulaCodeEditorTest::textIsColouredByKind() {
  QFETCH(QString, text);
  QFETCH(int, line);
  QFETCH(int, column);
  QFETCH(QString, expected);
  FormulaCodeEditor editor;
  editor.setPlainText(text);
  const FormulaHighlighter& h = *editor.Highlighter();
  const QMap<QString, QTextCharFormat> formats = {
      {"plain", QTextCharFormat()},
      {"function", h.FormatOf(SyntaxKind::kFunction)},
      {"bar", h.FormatOf(SyntaxKind::kBarVariable)},
      {"colour", h.FormatOf(SyntaxKind::kColour)},
      {"drawing", h.FormatOf(SyntaxKind::kDrawingFunction)},
      {"number", h.FormatOf(SyntaxKind::kNumber)},
      {"text", h.FormatOf(SyntaxKind::kString)},
      {"comment", h.FormatOf(SyntaxKind::kComment)},
      {"note", h.FormatOf(SyntaxKind::kNote)},
  };
  const QTextCharFormat got = FormatAt(editor, line, column);
  if (expected == "plain")
    QVERIFY(!got.hasProperty(QTextFormat::ForegroundBrush));
  else
    QVERIFY(SameColour(got, formats[expected]));
}

void FormulaCodeEditorTest::errorLineIsMarkedUntilTheNextEdit() {
  FormulaCodeEditor editor;
  editor.setPlainText("A:=C;\nX:FOO(C)*2;\nB:=O;");
  editor.MarkErrorLine(2);
  QCOMPARE(editor.ErrorLine(), 2);
  QCOMPARE(editor.textCursor().blockNumber(), 1);
  bool marked = false;
  for (const QTextEdit::ExtraSelection& mark : editor.extraSelections())
    marked |= mark.cursor.blockNumber() == 1 && mark.format.background().color() == QColor(0xFF, 0xD6, 0xD6);
  QVERIFY(marked);

  editor.MarkErrorLine(9);
  QCOMPARE(editor.ErrorLine(), 0);
  editor.MarkErrorLine(2);
  editor.InsertAtCaret("Y");
  QCOMPARE(editor.ErrorLine(), 0);
  for (const QTextEdit::ExtraSelection& mark : editor.extraSelections())
    QVERIFY(mark.format.background().color() != QColor(0xFF, 0xD6, 0xD6));
}

void FormulaCodeEditorTest::typedPrefixOffersFunctionNamesWithHelp() {
  FormulaCodeEditor editor;
  editor.SetCompletionNames({"CROSS", "EMA", "MA", "MACD", "MAX"}, [](const QString& name) {
    return name == "MA" ? QString::fromUtf8("MA 简单移动平均\n用法: MA(X,N)") : QString();
  });
  editor.resize(400, 300);
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
  editor.setFocus();
  QTest::keyClicks(&editor, "X:=m");
  QVERIFY(!editor.Completer()->popup()->isVisible());
  QTest::keyClicks(&editor, "a");
  QVERIFY(editor.Completer()->popup()->isVisible());
  QCOMPARE(editor.Completer()->completionCount(), 3);
  QCOMPARE(editor.Completer()->currentCompletion(), QString("MA"));
  QVERIFY(editor.CompletionHelp()->isVisible());
  QVERIFY(editor.CompletionHelp()->text().startsWith("MA "));

  QTest::keyClick(editor.Completer()->popup(), Qt::Key_Down);
  QCOMPARE(editor.Completer()->popup()->currentIndex().data().toString(), QString("MACD"));
  QVERIFY(!editor.CompletionHelp()->isVisible());
  QTest::keyClick(editor.Completer()->popup(), Qt::Key_Return);
  QCOMPARE(editor.toPlainText(), QString("X:=MACD"));
  QVERIFY(!editor.Completer()->popup()->isVisible());
}

}  // namespace vorelin

QTEST_MAIN(vorelin::FormulaCodeEditorTest)
#include "formula_code_editor_test.moc"
