// What the formula editors colour: one line at a time, the spans of function names, bar
// variables, colour and drawing words, numbers, texts, comments and note lines. Comments in
// braces or "(* *)" may run over lines; the state carries that from line to line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vorelin {

enum class SyntaxKind {
  kFunction,         // a library function: MA, IF, INPUT ...
  kDrawingFunction,  // a drawing command: STICKLINE, DRAWTEXT ...
  kBarVariable,      // OPEN, C, VOL, CAPITAL, INDEXC ...
  kHeader,           // TECHNAME, TECHTITLE, DRAWK and the words TRUE, FALSE, AND, OR
  kColour,           // COLORRED ..., COLOR + six hex digits
  kDrawingStyle,     // LINEDOT, LINETHICK2, COLORSTICK, NODRAW ...
  kNumber,
  kString,           // 'text' or "FORMULA.LINE"
  kComment,          // {...}, (*...*), //...
  kNote,             // a usage-note line ("*...") or a "#" line, whole
};

struct SyntaxSpan {
  size_t start = 0;   // byte offset in the UTF-8 line
  size_t length = 0;  // bytes
  SyntaxKind kind = SyntaxKind::kFunction;
};

enum class CommentState { kNone, kBrace, kParenStar };

// The spans of one line, in order. `state` says whether the line starts inside a comment
// and is left saying whether the next one does.
std::vector<SyntaxSpan> HighlightLine(std::string_view line, CommentState& state);

// The word class of one identifier (ASCII case ignored); false for a plain name.
bool ClassifyWord(std::string_view word, SyntaxKind& kind);

// A byte offset of a UTF-8 line as UTF-16 code units, as text widgets count.
size_t Utf16Offset(std::string_view line, size_t byteOffset);

}  // namespace vorelin
