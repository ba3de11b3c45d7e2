#include "formula_library/function_help.h"

#include <algorithm>

#include "common/text_file.h"
#include "formula/function_table.h"
#include "formula/source.h"
#include "formula_library/editor_logic.h"
#include "formula_library/help_entries.h"

namespace vorelin {

std::vector<std::string> FunctionListNames() {
  std::vector<std::string> names;
  StandardFunctionTable().Names(names);
  for (std::string& name : names) name = AsciiUpper(name);
  std::sort(names.begin(), names.end());
  return names;
}

const std::string& FunctionHelpText() {
  static const std::string kText = [] {
    std::string text;
    for (const HelpEntry& entry : HelpEntries()) {
      text += std::string(entry.name) + " " + entry.summary + "\r\n";
      text += std::string("用法: ") + entry.usage + "\r\n";
      text += std::string(kHelpExamplePrefix) + entry.example + "\r\n\r\n";
    }
    return text;
  }();
  return kText;
}

std::string HelpEntryOf(std::string_view name) {
  const std::vector<std::string> lines = SplitLines(FunctionHelpText());
  const std::string start = std::string(name) + " ";
  auto first = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return TrimControl(line).starts_with(start);
  });
  std::vector<std::string> entry;
  for (auto it = first; it != lines.end() && !it->empty() && entry.size() < kHelpEntryMaxLines;
       ++it)
    entry.push_back(*it);
  return JoinEditorLines(entry);
}

std::string HelpSummaryOf(std::string_view name) {
  const std::string entry = HelpEntryOf(name);
  const std::string first = entry.substr(0, entry.find("\r\n"));
  return first.size() > name.size() ? first.substr(name.size() + 1) : std::string();
}

std::vector<std::string> CompletionsFor(std::string_view prefix) {
  std::vector<std::string> matches;
  if (prefix.empty()) return matches;
  const std::string upper = AsciiUpper(prefix);
  for (std::string& name : FunctionListNames())
    if (name.starts_with(upper)) matches.push_back(std::move(name));
  return matches;
}

std::vector<std::string> HelpExamples(std::string_view entry) {
  std::vector<std::string> examples;
  for (const std::string& line : SplitLines(entry)) {
    if (line.starts_with(kHelpExamplePrefix))
      examples.push_back(line.substr(std::string_view(kHelpExamplePrefix).size()));
  }
  return examples;
}

}  // namespace vorelin
