// `TEditFunc1`, the editor the chart opens on the selected pane's formula: what it shows
// and what its OK does to the pane.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vorelin {

class TGS;

// "公式编辑器" + " - " + the pane's formula file name.
std::string EditFunc1Caption(std::string_view fileName);

// The text the editor opens with: the pane's source lines upper-cased, CR LF between them.
std::string EditFunc1Text(const TGS& pane);

// The status bar's caret position, line and column counted from 1.
std::string CaretStatusText(int line, int column);

// OK: with a file name, the text is saved to that file (a bare name in the data root, as
// the built-ins' NAME.Wfc) and the pane compiles the file; without one the pane compiles
// the text. False with `error` set when the file cannot be written or the pane's compile
// or run fails (the pane's error text); a failed compile keeps the pane's formula.
bool ApplyEditedFormula(TGS& pane, std::string_view text, const std::filesystem::path& root,
                        std::string& error);

}  // namespace vorelin
