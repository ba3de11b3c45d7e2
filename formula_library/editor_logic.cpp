// The editors' inserted texts, OK checks and compiled-program display.
#include "formula_library/editor_logic.h"

#include <algorithm>
#include <cctype>

#include "common/format.h"
#include "common/text_file.h"
#include "formula/compiler.h"
#include "formula/function_table.h"
#include "formula/source.h"
#include "formula_library/formula_store.h"
#include "formula_library/formula_test_run.h"

namespace vorelin {

void InputDialogModel::SetMaximum(int value) {
  maximum = value;
  if (defaultValue > maximum) SetDefault(maximum);
}

void InputDialogModel::SetDefault(int value) {
  defaultValue = std::min(value, maximum);
  current = defaultValue;
}

bool InputDialogModel::CheckOk(std::string& message, Field& focus) const {
  if (TrimControl(name).empty()) {
    message = kEnterParameterNameMessage;
    focus = Field::kName;
    return false;
  }
  if (maximum < minimum) {
    message = kMaximumBelowMinimumMessage;
    focus = Field::kMaximum;
    return false;
  }
  focus = Field::kNone;
  return true;
}

std::string InputDialogModel::InputLine() const {
  return AsciiUpper(std::string(TrimControl(name)) +
                    Format(":=INPUT(%d,%d,%d,%d);", minimum, maximum, current, current));
}

std::string InsertFirstLine(std::string_view text, std::string_view line) {
  std::vector<std::string> lines = SplitEditorLines(text);
  lines.insert(lines.begin(), std::string(line));
  return JoinEditorLines(lines);
}

std::string ColourInsertText(uint32_t bbggrr) {
  return Format(",COLOR%06X", static_cast<unsigned>(bbggrr & 0xFFFFFFu));
}

std::string UpperCaseText(std::string_view text) { return AsciiUpper(text); }

bool CheckTFeditOk(std::string_view name, std::string_view text, std::string& message,
                   EditorFocus& focus) {
  focus = EditorFocus::kNone;
  if (TrimControl(name).empty()) {
    message = kEnterNameMessage;
    focus = EditorFocus::kName;
  } else if (TrimControl(name).find_first_of(" \t") != std::string_view::npos) {
    message = kNameWithBlankMessage;
    focus = EditorFocus::kName;
  } else if (TrimControl(text).empty()) {
    message = kEnterTextMessage;
    focus = EditorFocus::kText;
  }
  return focus == EditorFocus::kNone;
}

std::string RemoveEmptyLines(std::string_view text) {
  const std::vector<std::string> lines = SplitEditorLines(text);
  std::vector<std::string> kept;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i + 1 == lines.size() || !TrimControl(lines[i]).empty()) kept.push_back(lines[i]);
  }
  return JoinEditorLines(kept);
}

std::string SaveBrokenFormulaQuestion(std::string_view error) {
  return "公式有错误:\r\n" + std::string(error) + "\r\n是否仍然保存?";
}

bool ConfirmSaveOfBrokenFormula(std::string_view text, MessageSink& messages) {
  const std::string error = StoredFormulaError("", text);
  return error.empty() || messages.Ask(SaveBrokenFormulaQuestion(error));
}

CompiledView CompileForDisplay(std::string_view text) {
  CompiledView view;
  const std::vector<std::string> lines = SplitLines(RemoveComments(text));
  view.ok = CompileProgram(lines, StandardFunctionTable(), view.program, view.error);
  if (!view.ok) view.errorLine = ErrorLineOf(view.error);
  return view;
}

std::string CompiledViewText(const CompiledView& view) {
  std::vector<std::string> lines = view.program;
  if (!view.ok) {
    lines.push_back(kTestSeparator);
    for (std::string& line : SplitEditorLines(view.error)) lines.push_back(std::move(line));
  }
  return JoinEditorLines(lines);
}

int ErrorLineOf(std::string_view error) {
  const size_t at = error.find("第");
  if (at == std::string_view::npos) return 0;
  size_t i = at + std::string_view("第").size();
  while (i < error.size() && error[i] == ' ') ++i;
  int line = 0;
  const size_t digits = i;
  while (i < error.size() && std::isdigit(static_cast<unsigned char>(error[i])))
    line = line * 10 + (error[i++] - '0');
  if (i == digits) return 0;
  while (i < error.size() && error[i] == ' ') ++i;
  return error.substr(i).starts_with("行") ? line : 0;
}

}  // namespace vorelin
