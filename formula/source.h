// Formula text before compilation: comment removal, line normalisation and the split of a
// line into statements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

inline constexpr size_t kStatementsPerLine = 100;

// Removes "{...}", "(*...*)" and "//..." up to the line break (which stays). Quoted text and
// "{$...}" blocks are copied unchanged; an unclosed comment runs to the end of the text.
std::string RemoveComments(std::string_view text);

// Trims, replaces AND/OR words by "&" and "|", drops blanks and upper-cases ASCII letters
// outside single quotes, and drops one trailing ";". Empty for note lines ("*", "#") and
// blank lines.
std::string NormaliseLine(std::string_view line);

// Splits a normalised line at ";" (the line's first quoted text never splits), keeping at
// most 100 statements and stopping at the first empty one.
std::vector<std::string> SplitStatements(const std::string& line);

// The first single-quoted text of `text`, quotes included (to the end when unclosed), or an
// empty text when there is none.
std::string FirstQuotedText(std::string_view text);

// Replaces every occurrence of `from` by `to`, matching ASCII letters in any case.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to);

// Leading and trailing blanks and control characters removed.
std::string_view TrimControl(std::string_view text);

}  // namespace vorelin
