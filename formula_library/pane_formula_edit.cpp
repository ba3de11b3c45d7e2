#include "formula_library/pane_formula_edit.h"

#include "common/format.h"
#include "common/text_file.h"
#include "formula/interpreter.h"
#include "formula_library/editor_logic.h"

namespace vorelin {

std::string EditFunc1Caption(std::string_view fileName) {
  return std::string(kEditorCaption) + " - " + std::string(fileName);
}

std::string EditFunc1Text(const TGS& pane) {
  return UpperCaseText(JoinEditorLines(pane.SourceLines()));
}

std::string CaretStatusText(int line, int column) { return Format("行:%d  列:%d", line, column); }

bool ApplyEditedFormula(TGS& pane, std::string_view text, const std::filesystem::path& root,
                        std::string& error) {
  bool ok;
  if (pane.FileName().empty()) {
    ok = pane.CompileText(text);
  } else {
    const std::filesystem::path name(pane.FileName());
    const std::filesystem::path path = name.is_absolute() ? name : root / name;
    if (!WriteGbkText(path, std::string(text) + "\r\n", &error)) return false;
    ok = pane.CompileFile(path);
  }
  if (!ok) error = pane.ErrorText();
  return ok;
}

}  // namespace vorelin
