#include "app/formula_highlighter.h"

#include <array>
#include <string>

#include "formula/colour_words.h"
#include "formula/function_table.h"

namespace vorelin {
namespace {

enum BlockState { kNoComment = 0, kBraceComment = 1, kParenStarComment = 2 };

constexpr std::array<std::string_view, 3> kHeaderWords = {"drawk", "techname", "techtitle"};
constexpr std::array<std::string_view, 8> kStyleWords = {"pointdot", "circledot", "crossdot", "colorstick",
                                                         "volstick", "linestick", "stick",    "nodraw"};

bool IsColourWord(std::string_view lower) {
  return lower.starts_with("color") && (lower == "colorwhite" || ColourOf(lower) != kColourWhite);
}

bool IsLineThickness(std::string_view lower) {
  return lower.size() == 10 && lower.starts_with("linethick") && lower[9] >= '1' && lower[9] <= '9';
}

bool IsWordChar(QChar ch) { return ch.isLetterOrNumber() || ch == '_' || ch.unicode() >= 0x80; }

QTextCharFormat Format(const QColor& colour, bool bold = false, bool italic = false) {
  QTextCharFormat format;
  format.setForeground(colour);
  if (bold) format.setFontWeight(QFont::Bold);
  format.setFontItalic(italic);
  return format;
}

}  // namespace

FormulaWordKind KindOfFormulaWord(std::string_view word) {
  const std::string lower = AsciiLower(word);
  for (std::string_view header : kHeaderWords)
    if (lower == header) return FormulaWordKind::kHeaderWord;
  if (IsReservedVariableName(lower)) return FormulaWordKind::kBarVariable;
  if (IsDrawingCommandName(lower) || IsLineThickness(lower)) return FormulaWordKind::kDrawing;
  for (std::string_view style : kStyleWords)
    if (lower == style) return FormulaWordKind::kDrawing;
  if (IsColourWord(lower)) return FormulaWordKind::kColour;
  if (StandardFunctionTable().Contains(lower)) return FormulaWordKind::kFunction;
  if (lower == "and" || lower == "or") return FormulaWordKind::kOperatorWord;
  return FormulaWordKind::kPlain;
}

FormulaHighlighter::FormulaHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document),
      function_(Format(QColor(0x00, 0x33, 0xB3), true)),
      bar_variable_(Format(QColor(0x87, 0x10, 0x94), true)),
      header_word_(Format(QColor(0x8B, 0x45, 0x00), true)),
      colour_(Format(QColor(0xB8, 0x5C, 0x00))),
      drawing_(Format(QColor(0x00, 0x7A, 0x7A), true)),
      operator_word_(Format(QColor(0x00, 0x33, 0xB3))),
      number_(Format(QColor(0x17, 0x50, 0xEB))),
      quoted_(Format(QColor(0x06, 0x7D, 0x17))),
      comment_(Format(QColor(0x8C, 0x8C, 0x8C), false, true)) {}

QTextCharFormat FormulaHighlighter::FormatOf(FormulaWordKind kind) const {
  switch (kind) {
    case FormulaWordKind::kFunction: return function_;
    case FormulaWordKind::kBarVariable: return bar_variable_;
    case FormulaWordKind::kHeaderWord: return header_word_;
    case FormulaWordKind::kColour: return colour_;
    case FormulaWordKind::kDrawing: return drawing_;
    case FormulaWordKind::kOperatorWord: return operator_word_;
    case FormulaWordKind::kPlain: break;
  }
  return {};
}

int FormulaHighlighter::ColourComment(const QString& text, int start, int opener_length, int state) {
  const QString closer = state == kBraceComment ? QStringLiteral("}") : QStringLiteral("*)");
  const int found = text.indexOf(closer, start + opener_length);
  if (found < 0) {
    setFormat(start, text.size() - start, comment_);
    setCurrentBlockState(state);
    return -1;
  }
  const int end = found + static_cast<int>(closer.size());
  setFormat(start, end - start, comment_);
  return end;
}

void FormulaHighlighter::highlightBlock(const QString& text) {
  setCurrentBlockState(kNoComment);
  int i = 0;
  const int carried = previousBlockState();
  if (carried == kBraceComment || carried == kParenStarComment) {
    i = ColourComment(text, 0, 0, carried);
    if (i < 0) return;
  }
  // Usage-note and hidden lines are no statements.
  const QString trimmed = text.trimmed();
  if (i == 0 && (trimmed.startsWith('*') || trimmed.startsWith('#'))) {
    setFormat(0, text.size(), comment_);
    return;
  }
  const int n = static_cast<int>(text.size());
  while (i < n) {
    const QChar ch = text[i];
    const QChar next = i + 1 < n ? text[i + 1] : QChar();
    if (ch == '\'') {
      const int close = text.indexOf('\'', i + 1);
      const int end = close < 0 ? n : close + 1;
      setFormat(i, end - i, quoted_);
      i = end;
    } else if (ch == '/' && next == '/') {
      setFormat(i, n - i, comment_);
      return;
    } else if ((ch == '{' && next != '$') || (ch == '(' && next == '*')) {
      const int state = ch == '{' ? kBraceComment : kParenStarComment;
      i = ColourComment(text, i, state == kBraceComment ? 1 : 2, state);
      if (i < 0) return;
    } else if (ch.isDigit() || (ch == '.' && next.isDigit())) {
      int end = i;
      while (end < n && (text[end].isDigit() || text[end] == '.')) ++end;
      setFormat(i, end - i, number_);
      i = end;
    } else if (IsWordChar(ch)) {
      int end = i;
      while (end < n && IsWordChar(text[end])) ++end;
      const FormulaWordKind kind = KindOfFormulaWord(text.mid(i, end - i).toStdString());
      if (kind != FormulaWordKind::kPlain) setFormat(i, end - i, FormatOf(kind));
      i = end;
    } else {
      ++i;
    }
  }
}

}  // namespace vorelin
