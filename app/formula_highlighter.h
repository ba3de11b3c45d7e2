// Syntax colouring of formula text: the spans the formula library finds in each line, drawn
// in one format per kind. Comments that run over lines carry on through the block state.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "formula_library/syntax_tokens.h"

namespace vorelin {

class FormulaHighlighter final : public QSyntaxHighlighter {
 public:
  explicit FormulaHighlighter(QTextDocument* document);

  // The format a kind is drawn with (tests compare against it).
  const QTextCharFormat& FormatOf(SyntaxKind kind) const { return formats_[static_cast<size_t>(kind)]; }

 protected:
  void highlightBlock(const QString& text) override;

 private:
  std::array<QTextCharFormat, static_cast<size_t>(SyntaxKind::kNote) + 1> formats_;
};

}  // namespace vorelin
