#include "formula_library/usage_notes.h"

#include "common/data_root.h"
#include "common/text_file.h"
#include "formula/function_table.h"
#include "formula/interpreter.h"
#include "formula/source.h"
#include "formula_library/editor_logic.h"
#include "formula_library/formula_store.h"

namespace vorelin {

bool IsNoteLine(std::string_view line) {
  const std::string_view trimmed = TrimControl(line);
  return trimmed.size() >= 2 && trimmed.front() == '*';
}

std::vector<std::string> NotesOf(const std::vector<std::string>& sourceLines) {
  std::vector<std::string> notes;
  for (const std::string& line : sourceLines) {
    if (IsNoteLine(line)) notes.emplace_back(TrimControl(line).substr(1));
  }
  return notes;
}

std::vector<std::string> SourceWithNotes(const std::vector<std::string>& sourceLines,
                                         std::string_view notes) {
  std::vector<std::string> lines;
  for (const std::string& line : sourceLines) {
    if (!IsNoteLine(line)) lines.push_back(line);
  }
  for (const std::string& note : SplitEditorLines(notes)) {
    const std::string_view trimmed = TrimControl(note);
    if (!trimmed.empty()) lines.push_back("*" + std::string(trimmed));
  }
  return lines;
}

std::string NotesCaption(std::string_view fileName) {
  return std::string(fileName) + "指标用法";
}

std::filesystem::path NotesFilePath(const TGS& pane, const std::filesystem::path& root) {
  if (!pane.FileName().empty()) return root / std::filesystem::path(pane.FileName()).filename();
  const std::string name = IsSafeStockCode(pane.ShortName()) ? AsciiUpper(pane.ShortName()) : "公式";
  return root / (name + ".Wfc");
}

bool SaveNotes(TGS& pane, std::string_view notes, const NotesDestination& destination,
               std::string& error) {
  const std::string text = JoinEditorLines(SourceWithNotes(pane.SourceLines(), notes));
  if (destination.store != nullptr && !destination.libraryName.empty()) {
    FormulaRow row;
    bool found = false;
    if (!destination.store->Find(destination.libraryName, row, found, error)) return false;
    if (!found) {
      error = MissingLibraryFormulaMessage(destination.libraryName);
      return false;
    }
    row.text = text;
    if (!destination.store->Save(row, error)) return false;
    if (pane.CompileText(text)) return true;
  } else {
    const std::filesystem::path path = NotesFilePath(pane, destination.root);
    if (!WriteGbkText(path, text + "\r\n", &error)) return false;
    if (pane.CompileFile(path)) return true;
  }
  error = pane.ErrorText();
  return false;
}

}  // namespace vorelin
