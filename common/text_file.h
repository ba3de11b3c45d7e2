// Text files as the system reads and writes them: lines in UTF-8 in memory, GBK on disk.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

// Splits at CR LF, LF or CR. A final line ending does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads the whole file as bytes. False (and `bytes` unchanged) when it cannot be opened.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// Reads a text file (UTF-8 with or without BOM, else GBK) as UTF-8 lines.
// False (and `lines` unchanged) when the file cannot be opened.
bool ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines);

// Writes bytes to a temporary file beside `path`, then renames it over `path`, so a crash
// leaves either the old or the new file, never half of one.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Writes UTF-8 `text` as GBK, atomically.
bool WriteGbkText(const std::filesystem::path& path, std::string_view text);

}  // namespace vorelin
