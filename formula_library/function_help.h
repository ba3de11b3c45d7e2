// The editors' function list and help text: every name of the function table, upper case
// and sorted, each with one help entry ("NAME 说明", then usage lines, ending at an empty
// line). Entries carry an example line beginning "示例:" that compiles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

inline constexpr size_t kHelpEntryMaxLines = 101;
inline constexpr const char* kHelpExamplePrefix = "示例:";

// The names the list offers: the function table's names upper-cased and sorted.
std::vector<std::string> FunctionListNames();

// The whole help text, lines joined with CR LF.
const std::string& FunctionHelpText();

// The help entry of a list name: from the first help line that, trimmed, begins with the
// name and a blank, up to (not including) the next empty line, at most 101 lines, joined
// with CR LF. Empty when the name has no entry.
std::string HelpEntryOf(std::string_view name);

// The entry's first line without the name: the short description for a completion popup.
std::string HelpSummaryOf(std::string_view name);

// The list names that begin with `prefix` (ASCII case ignored), in list order; an empty
// prefix gives none.
std::vector<std::string> CompletionsFor(std::string_view prefix);

// The example lines (without "示例:") of one entry's text.
std::vector<std::string> HelpExamples(std::string_view entry);

}  // namespace vorelin
