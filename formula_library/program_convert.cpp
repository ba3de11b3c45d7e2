// 转换: the compiled program's BIAO(a,op,b) statements read back as plain expressions.
#include "formula_library/editor_logic.h"

namespace vorelin {
namespace {

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

}  // namespace

std::string ConvertProgramLine(std::string_view line) {
  std::string converted(line);
  if (converted.find("BIAO(") != std::string::npos) {
    const size_t close = converted.find(')');
    const std::string tail = close == std::string::npos ? "" : converted.substr(close + 1);
    std::string head = converted.substr(0, close);
    head = Replaced(head, "BIAO(", "");
    head = Replaced(head, ")", "");
    head = Replaced(head, ",", "");
    head = Replaced(head, "|", " or ");
    head = Replaced(head, "&", " and ");
    converted = head + tail;
  }
  if (converted.empty() || converted.back() != ';') converted += ';';
  return converted;
}

std::string ConvertProgramText(std::string_view text) {
  std::vector<std::string> lines = SplitEditorLines(text);
  for (std::string& line : lines) line = ConvertProgramLine(line);
  return JoinEditorLines(lines);
}

}  // namespace vorelin
