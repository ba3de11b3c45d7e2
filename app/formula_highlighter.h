// Syntax colouring of formula text: function names, bar variables, header words, colour
// words, drawing functions and styles, numbers, quoted texts, comments and note lines.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <string_view>

namespace vorelin {

enum class FormulaWordKind { kPlain, kFunction, kBarVariable, kHeaderWord, kColour, kDrawing, kOperatorWord };

// What a word of formula text is, in any letter case.
FormulaWordKind KindOfFormulaWord(std::string_view word);

class FormulaHighlighter final : public QSyntaxHighlighter {
 public:
  explicit FormulaHighlighter(QTextDocument* document);

  // The format a kind is drawn with (tests compare against it).
  QTextCharFormat FormatOf(FormulaWordKind kind) const;
  QTextCharFormat NumberFormat() const { return number_; }
  QTextCharFormat TextFormat() const { return quoted_; }
  QTextCharFormat CommentFormat() const { return comment_; }

 protected:
  void highlightBlock(const QString& text) override;

 private:
  // Colours from `start` (its opener `opener_length` long) up to the end of the comment;
  // returns where the comment ends, or -1 when it runs on past the line (the block state
  // then says which closer is awaited).
  int ColourComment(const QString& text, int start, int opener_length, int state);

  QTextCharFormat function_;
  QTextCharFormat bar_variable_;
  QTextCharFormat header_word_;
  QTextCharFormat colour_;
  QTextCharFormat drawing_;
  QTextCharFormat operator_word_;
  QTextCharFormat number_;
  QTextCharFormat quoted_;
  QTextCharFormat comment_;
};

}  // namespace vorelin
