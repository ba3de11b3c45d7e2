// The data root ("program folder"): every file the system names relative to its program
// folder lives under it. Folder names have one spelling, used both to create and to read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorelin {

inline constexpr const char* kDayDataFolder = "DayData";
inline constexpr const char* kMinDataFolder = "MinData";
inline constexpr const char* kTickFolder = "tick";
inline constexpr const char* kFenbiFolder = "fenbi";
inline constexpr const char* kLogFolder = "log";
inline constexpr const char* kPicFolder = "pic";
inline constexpr const char* kExportFolder = "Export";
inline constexpr const char* kSignalsFolder = "signals";

// `root_option` (from --root) when given, else $VORELIN_ROOT, else $XDG_DATA_HOME/vorelin,
// else ~/.local/share/vorelin.
std::filesystem::path ResolveDataRoot(const std::optional<std::string>& root_option);

// Finds "--root DIR" or "--root=DIR" among the program's arguments.
std::optional<std::string> FindRootOption(int argc, const char* const* argv);

// A stock code names a file, never a path: non-empty, no "/", "\\", ":" or "..", no
// control characters.
bool IsSafeStockCode(std::string_view code);

// The message shown when a typed code is refused.
std::string UnsafeStockCodeMessage(std::string_view code);

}  // namespace vorelin
