// `TNotes` ("指标用法"): a formula's usage notes are its lines beginning with "*"; they are
// shown without the "*" and saved back at the end of the formula.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class TGS;
class FormulaStore;

// True for a line that, trimmed, begins with "*" and has at least two characters.
bool IsNoteLine(std::string_view line);

// The note lines in order, trimmed, without their "*".
std::vector<std::string> NotesOf(const std::vector<std::string>& sourceLines);

// The source without its note lines, then "*" + each non-blank trimmed line of `notes`.
std::vector<std::string> SourceWithNotes(const std::vector<std::string>& sourceLines,
                                         std::string_view notes);

// The dialog's caption: the formula file name + "指标用法".
std::string NotesCaption(std::string_view fileName);

// Where 保存 writes. A pane with a file name (the built-ins have NAME.Wfc) saves to that
// file-name part in the data root; a library formula saves into its row of the store; any
// other formula to TECHNAME (or "公式") + ".Wfc" in the data root.
struct NotesDestination {
  std::filesystem::path root;
  FormulaStore* store = nullptr;  // set when the pane shows a library formula
  std::string libraryName;        // that formula's 名称
};

// 保存: rewrites the pane's source with the notes, writes it where `destination` says and
// recompiles the pane from it (CompileFile for a file, CompileText for a library row).
// False with `error` set when nothing could be written or the row is gone; a failed
// recompile gives false with the pane's error text (the notes are saved all the same).
bool SaveNotes(TGS& pane, std::string_view notes, const NotesDestination& destination,
               std::string& error);

// The file a pane without a library row saves to (see NotesDestination).
std::filesystem::path NotesFilePath(const TGS& pane, const std::filesystem::path& root);

}  // namespace vorelin
