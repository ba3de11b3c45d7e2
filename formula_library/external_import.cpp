#include "formula_library/external_import.h"

#include "common/text_file.h"
#include "formula/source.h"
#include "formula_library/editor_logic.h"
#include "formula_library/text_replace.h"

namespace vorelin {
namespace {

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (unsigned char byte : utf8) count += (byte & 0xC0) != 0x80;
  return count;
}

// Statements the other editor wrapped over several lines become one line each.
std::vector<std::string> JoinedStatements(std::vector<std::string> lines) {
  size_t i = 0;
  while (i < lines.size()) {
    if (lines[i].find(';') == std::string::npos && i + 1 < lines.size()) {
      lines[i] += lines[i + 1];
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    } else {
      ++i;
    }
  }
  return lines;
}

// The other editor shows whole numbers with two decimals ("12.00"); a ".00" followed by
// further digits belongs to a real fraction and stays.
std::string WithoutZeroDecimals(std::string text) {
  size_t at = 0;
  while ((at = text.find(".00", at)) != std::string::npos) {
    const size_t end = at + 3;
    if (end < text.size() && text[end] >= '0' && text[end] <= '9') {
      at = end;
      continue;
    }
    text.erase(at, 3);
  }
  return text;
}

std::string InputLineOf(const ExternalParameter& p) {
  return WithoutZeroDecimals(p.name + ":=INPUT(" + p.minimum + "," + p.maximum + "," +
                             p.defaultValue + "," + p.defaultValue + ");");
}

bool StartsWith(std::string_view text, std::string_view prefix, std::string& rest) {
  if (!text.starts_with(prefix)) return false;
  rest = std::string(TrimControl(text.substr(prefix.size())));
  return true;
}

// "NAME,MIN,MAX,DEFAULT"; fields trimmed, missing ones empty.
ExternalParameter ParameterOf(std::string_view text) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (fields.size() < 4) {
    const size_t comma = text.find(',', start);
    fields.emplace_back(TrimControl(text.substr(start, comma == std::string_view::npos
                                                           ? std::string_view::npos
                                                           : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  fields.resize(4);
  return {fields[0], fields[1], fields[2], fields[3]};
}

}  // namespace

ImportedFormula ImportExternalFormula(const ExternalFormula& source) {
  std::string text = ReplaceAll(source.text, "&&", "&");
  text = ReplaceAll(text, " AND ", "&");
  std::vector<std::string> lines = JoinedStatements(SplitLines(text));

  std::vector<std::string> header;
  if (source.subChart) header.push_back("DRAWK:=FALSE;");
  for (size_t i = 0; i < source.parameters.size() && i < kMaxImportedParameters; ++i)
    header.push_back(InputLineOf(source.parameters[i]));
  lines.insert(lines.begin(), header.begin(), header.end());

  for (const std::string& note : SplitLines(source.notes)) {
    if (CharacterCount(note) >= 2) lines.push_back("*" + note);
  }
  return {source.name, source.description, JoinEditorLines(lines)};
}

bool ParseExternalFormula(std::string_view exported, ExternalFormula& formula,
                          std::string& error) {
  const std::vector<std::string> lines = SplitLines(exported);
  size_t formulaStart = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (TrimControl(lines[i]) == "公式:") {
      formulaStart = i;
      break;
    }
  }
  ExternalFormula parsed;
  size_t body = 0;
  if (formulaStart < lines.size()) {
    for (size_t i = 0; i < formulaStart; ++i) {
      const std::string_view line = TrimControl(lines[i]);
      std::string rest;
      if (StartsWith(line, "名称:", rest)) parsed.name = rest;
      else if (StartsWith(line, "描述:", rest)) parsed.description = rest;
      else if (StartsWith(line, "参数:", rest)) parsed.parameters.push_back(ParameterOf(rest));
      else if (line == "副图") parsed.subChart = true;
      else if (line == "主图") parsed.subChart = false;
    }
    body = formulaStart + 1;
  }
  std::vector<std::string> text, notes;
  bool inNotes = false;
  for (size_t i = body; i < lines.size(); ++i) {
    if (formulaStart < lines.size() && TrimControl(lines[i]) == "用法:") {
      inNotes = true;
      continue;
    }
    (inNotes ? notes : text).push_back(lines[i]);
  }
  parsed.text = JoinEditorLines(text);
  parsed.notes = JoinEditorLines(notes);
  if (TrimControl(parsed.text).empty()) {
    error = "导入的文本中没有公式!";
    return false;
  }
  formula = std::move(parsed);
  return true;
}

}  // namespace vorelin
