// 转换: the compiled program's BIAO(a,op,b) statements read back as plain expressions.
#include "formula_library/editor_logic.h"
#include "formula_library/text_replace.h"

namespace vorelin {

std::string ConvertProgramLine(std::string_view line) {
  std::string converted(line);
  if (converted.find("BIAO(") != std::string::npos) {
    const size_t close = converted.find(')');
    const std::string tail = close == std::string::npos ? "" : converted.substr(close + 1);
    std::string head = converted.substr(0, close);
    head = ReplaceAll(head, "BIAO(", "");
    head = ReplaceAll(head, ")", "");
    head = ReplaceAll(head, ",", "");
    head = ReplaceAll(head, "|", " or ");
    head = ReplaceAll(head, "&", " and ");
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
