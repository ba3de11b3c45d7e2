#include "formula_library/syntax_tokens.h"

#include <cctype>
#include <string>

#include "formula/colour_words.h"
#include "formula/function_table.h"
#include "formula/source.h"

namespace vorelin {
namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordPart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
         (static_cast<unsigned char>(c) & 0x80);  // Chinese names run into the word
}

bool IsHexColour(std::string_view upper) {
  if (upper.size() != 11 || !upper.starts_with("COLOR")) return false;
  for (char c : upper.substr(5))
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool IsDrawingStyle(std::string_view upper) {
  static const char* const kStyles[] = {
      "LINEDOT",  "LINEDASH",   "DOTLINE",  "LINEDASHDOT", "LINEDASHDOTDOT", "NODRAW",
      "COLORSTICK", "VOLSTICK", "STICK",    "LINESTICK",   "POINTDOT",       "CIRCLEDOT",
      "CROSSDOT"};
  for (const char* style : kStyles)
    if (upper == style) return true;
  return upper.size() == 10 && upper.starts_with("LINETHICK") && upper[9] >= '1' &&
         upper[9] <= '9';
}

// Where the comment the line is in ends (just past its closing mark), or npos.
size_t CommentEnd(std::string_view line, size_t from, CommentState state) {
  const std::string_view close = state == CommentState::kBrace ? "}" : "*)";
  const size_t at = line.find(close, from);
  return at == std::string_view::npos ? at : at + close.size();
}

}  // namespace

bool ClassifyWord(std::string_view word, SyntaxKind& kind) {
  const std::string upper = AsciiUpper(word);
  const std::string lower = AsciiLower(word);
  if (upper == "TECHNAME" || upper == "TECHTITLE" || upper == "DRAWK" || upper == "TRUE" ||
      upper == "FALSE" || upper == "AND" || upper == "OR") {
    kind = SyntaxKind::kHeader;
  } else if (IsDrawingStyle(upper)) {
    kind = SyntaxKind::kDrawingStyle;
  } else if (upper == "COLORWHITE" || ColourOf(upper) != kColourWhite || IsHexColour(upper)) {
    kind = SyntaxKind::kColour;
  } else if (IsReservedVariableName(lower)) {
    kind = SyntaxKind::kBarVariable;
  } else if (IsDrawingCommandName(lower)) {
    kind = SyntaxKind::kDrawingFunction;
  } else if (StandardFunctionTable().Contains(lower)) {
    kind = SyntaxKind::kFunction;
  } else {
    return false;
  }
  return true;
}

std::vector<SyntaxSpan> HighlightLine(std::string_view line, CommentState& state) {
  std::vector<SyntaxSpan> spans;
  size_t i = 0;
  if (state != CommentState::kNone) {
    const size_t end = CommentEnd(line, 0, state);
    const size_t length = end == std::string_view::npos ? line.size() : end;
    if (length > 0) spans.push_back({0, length, SyntaxKind::kComment});
    if (end == std::string_view::npos) return spans;
    state = CommentState::kNone;
    i = end;
  } else {
    const std::string_view trimmed = TrimControl(line);
    if (!trimmed.empty() && (trimmed.front() == '*' || trimmed.front() == '#')) {
      spans.push_back({0, line.size(), SyntaxKind::kNote});
      return spans;
    }
  }
  while (i < line.size()) {
    const char c = line[i];
    const std::string_view rest = line.substr(i);
    if (rest.starts_with("//")) {
      spans.push_back({i, line.size() - i, SyntaxKind::kComment});
      break;
    }
    if ((c == '{' && !rest.starts_with("{$")) || rest.starts_with("(*")) {
      const CommentState opened = c == '{' ? CommentState::kBrace : CommentState::kParenStar;
      const size_t end = CommentEnd(line, i + (c == '{' ? 1 : 2), opened);
      if (end == std::string_view::npos) {
        spans.push_back({i, line.size() - i, SyntaxKind::kComment});
        state = opened;
        break;
      }
      spans.push_back({i, end - i, SyntaxKind::kComment});
      i = end;
    } else if (c == '\'' || c == '"') {
      const size_t close = line.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? line.size() : close + 1;
      spans.push_back({i, end - i, SyntaxKind::kString});
      i = end;
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < line.size() &&
                std::isdigit(static_cast<unsigned char>(line[i + 1])))) {
      size_t end = i;
      while (end < line.size() &&
             (std::isdigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
        ++end;
      spans.push_back({i, end - i, SyntaxKind::kNumber});
      i = end;
    } else if (IsWordStart(c)) {
      size_t end = i;
      while (end < line.size() && IsWordPart(line[end])) ++end;
      SyntaxKind kind;
      if (ClassifyWord(line.substr(i, end - i), kind)) spans.push_back({i, end - i, kind});
      i = end;
    } else if (static_cast<unsigned char>(c) & 0x80) {
      while (i < line.size() && IsWordPart(line[i])) ++i;  // a Chinese name, digits included
    } else {
      ++i;
    }
  }
  return spans;
}

size_t Utf16Offset(std::string_view line, size_t byteOffset) {
  size_t units = 0;
  for (size_t i = 0; i < byteOffset && i < line.size();) {
    const unsigned char lead = static_cast<unsigned char>(line[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    units += length == 4 ? 2 : 1;
    i += length;
  }
  return units;
}

}  // namespace vorelin
