// Files as the system reads and writes them: every read goes through ReadFileBytes, which
// takes regular files only; text lines are UTF-8 in memory and GBK on disk; writes replace
// a file whole or not at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

// The most ReadFileBytes reads; no file the system reads comes near it.
inline constexpr std::uintmax_t kReadFileLimit = std::uintmax_t{1} << 30;

// "文件：" + path + "不存在".
std::string MissingFileMessage(const std::filesystem::path& path);

// Splits at CR LF, LF or CR. A final line ending does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads the whole file as bytes. False (and `bytes` unchanged) when the path is missing,
// names something other than a regular file (a folder, a device, a pipe), is larger than
// kReadFileLimit or cannot be read; `error`, when given, then receives a message naming
// the file. Never blocks on a pipe and never throws.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                   std::string* error = nullptr);

// Reads a text file (UTF-8 with or without BOM, else GBK) as UTF-8 lines. False (and
// `lines` unchanged) as ReadFileBytes.
bool ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                   std::string* error = nullptr);

struct FileContents {
  std::filesystem::path path;
  std::string bytes;
};

// Writes every file to a fresh temporary file beside it, and only when all of them are
// written renames each over its target, so a crash or a full disk leaves the old files
// or the new ones, never half of one. False (with a message naming the file in `error`)
// when a temporary file cannot be written or a target cannot be replaced (a folder
// there, say); with the failure found before any rename, every target is unchanged.
bool WriteFilesAtomically(const std::vector<FileContents>& files, std::string* error = nullptr);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr);

// Writes UTF-8 `text` as GBK, atomically.
bool WriteGbkText(const std::filesystem::path& path, std::string_view text,
                  std::string* error = nullptr);

}  // namespace vorelin
