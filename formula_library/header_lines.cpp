// The editors' header lines (TECHNAME, TECHTITLE, DRAWK) kept in step with their fields,
// and the memo-like line split the editors' texts share.
#include "common/text_file.h"
#include "formula/function_table.h"
#include "formula_library/editor_logic.h"

namespace vorelin {
namespace {

constexpr std::string_view kNameKey = "TECHNAME:";
constexpr std::string_view kTitleKey = "TECHTITLE:";
constexpr std::string_view kDrawKKey = "DRAWK:";

// Index of the first line keyed `key`, or -1.
int KeyLine(const std::vector<std::string>& lines, std::string_view key) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t equals = lines[i].find('=');
    if (equals == std::string::npos) continue;
    if (AsciiUpper(std::string_view(lines[i]).substr(0, equals)) == key)
      return static_cast<int>(i);
  }
  return -1;
}

std::string ValueOfLine(const std::string& line) { return line.substr(line.find('=') + 1); }

std::string WithoutOneSemicolon(std::string value) {
  if (!value.empty() && value.back() == ';') value.pop_back();
  return value;
}

bool ValueSaysTrue(const std::vector<std::string>& lines) {
  const int at = KeyLine(lines, kDrawKKey);
  return at >= 0 && AsciiUpper(ValueOfLine(lines[static_cast<size_t>(at)])).find("TRUE") !=
                        std::string::npos;
}

std::string SyncUpperCasedLine(std::string_view text, std::string_view key,
                               std::string_view field, EditorVariant variant) {
  std::vector<std::string> lines = SplitEditorLines(text);
  const std::string upper = AsciiUpper(field);
  const int at = KeyLine(lines, key);
  if (at >= 0) {
    std::string& line = lines[static_cast<size_t>(at)];
    if (AsciiUpper(WithoutOneSemicolon(ValueOfLine(line))) == upper) return std::string(text);
    line = std::string(key) + "=" + upper + ";";
  } else {
    if (field.empty()) return std::string(text);
    const std::string added = std::string(key) + "=" + std::string(field) + ";";
    if (variant == EditorVariant::kTFedit) lines.insert(lines.begin(), added);
    else lines.push_back(added);
  }
  return JoinEditorLines(lines);
}

}  // namespace

std::vector<std::string> SplitEditorLines(std::string_view text) { return SplitLines(text); }

std::string JoinEditorLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

bool HeaderValue(std::string_view text, std::string_view key, std::string& value) {
  const std::vector<std::string> lines = SplitEditorLines(text);
  const int at = KeyLine(lines, AsciiUpper(key));
  if (at < 0) return false;
  value = ValueOfLine(lines[static_cast<size_t>(at)]);
  return true;
}

std::string SyncNameLine(std::string_view text, std::string_view name, EditorVariant variant) {
  return SyncUpperCasedLine(text, kNameKey, name, variant);
}

std::string SyncTitleLine(std::string_view text, std::string_view description,
                          EditorVariant variant) {
  return SyncUpperCasedLine(text, kTitleKey, description, variant);
}

std::string SyncDrawKLine(std::string_view text, bool checked) {
  std::vector<std::string> lines = SplitEditorLines(text);
  if (ValueSaysTrue(lines) == checked) return std::string(text);
  const std::string line = checked ? "DRAWK:=TRUE;" : "DRAWK:=FALSE;";
  const int at = KeyLine(lines, kDrawKKey);
  if (at >= 0) lines[static_cast<size_t>(at)] = line;
  else lines.push_back(line);
  return JoinEditorLines(lines);
}

EditorFields FieldsFromText(std::string_view text, const EditorFields& current) {
  const std::vector<std::string> lines = SplitEditorLines(text);
  EditorFields fields = current;
  fields.drawK = ValueSaysTrue(lines);
  auto take = [&](std::string_view key, std::string& field) {
    const int at = KeyLine(lines, key);
    if (at < 0) return;
    std::string value = AsciiUpper(WithoutOneSemicolon(ValueOfLine(lines[static_cast<size_t>(at)])));
    if (value != field) field = std::move(value);
  };
  take(kNameKey, fields.name);
  take(kTitleKey, fields.description);
  return fields;
}

}  // namespace vorelin
