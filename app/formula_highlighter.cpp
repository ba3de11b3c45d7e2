#include "app/formula_highlighter.h"

#include <string>

namespace vorelin {
namespace {

QTextCharFormat Format(const QColor& colour, bool bold = false, bool italic = false) {
  QTextCharFormat format;
  format.setForeground(colour);
  if (bold) format.setFontWeight(QFont::Bold);
  format.setFontItalic(italic);
  return format;
}

}  // namespace

FormulaHighlighter::FormulaHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  auto set = [this](SyntaxKind kind, QTextCharFormat format) { formats_[static_cast<size_t>(kind)] = format; };
  set(SyntaxKind::kFunction, Format(QColor(0x00, 0x33, 0xB3), true));
  set(SyntaxKind::kDrawingFunction, Format(QColor(0x00, 0x7A, 0x7A), true));
  set(SyntaxKind::kBarVariable, Format(QColor(0x87, 0x10, 0x94), true));
  set(SyntaxKind::kHeader, Format(QColor(0x8B, 0x45, 0x00), true));
  set(SyntaxKind::kColour, Format(QColor(0xB8, 0x5C, 0x00)));
  set(SyntaxKind::kDrawingStyle, Format(QColor(0x00, 0x7A, 0x7A)));
  set(SyntaxKind::kNumber, Format(QColor(0x17, 0x50, 0xEB)));
  set(SyntaxKind::kString, Format(QColor(0x06, 0x7D, 0x17)));
  set(SyntaxKind::kComment, Format(QColor(0x8C, 0x8C, 0x8C), false, true));
  set(SyntaxKind::kNote, Format(QColor(0x6A, 0x73, 0x7D), false, true));
}

void FormulaHighlighter::highlightBlock(const QString& text) {
  const int carried = previousBlockState();
  auto state = carried < 0 ? CommentState::kNone : static_cast<CommentState>(carried);
  const std::string line = text.toStdString();
  for (const SyntaxSpan& span : HighlightLine(line, state)) {
    const size_t start = Utf16Offset(line, span.start);
    const size_t end = Utf16Offset(line, span.start + span.length);
    setFormat(static_cast<int>(start), static_cast<int>(end - start), FormatOf(span.kind));
  }
  setCurrentBlockState(static_cast<int>(state));
}

}  // namespace vorelin
