// INI settings files as the trainer keeps them: "[section]" headers and key=value lines in
// GBK on disk, read with defaults, and saved with every line it does not own kept as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class IniFile {
 public:
  // Reads the file (UTF-8 or GBK). A missing file is an empty INI and gives true; false
  // (the contents unchanged, `error` saying why) when the path exists but is no readable
  // regular file.
  bool Load(const std::filesystem::path& path, std::string* error = nullptr);
  // Replaces the contents with the lines of a UTF-8 text.
  void LoadText(std::string_view text);

  // Section and key names match without regard to ASCII case or surrounding spaces. Values
  // are trimmed of surrounding spaces and one pair of surrounding quotes.
  bool HasKey(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // The value as an integer; `fallback` when missing or not a number.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // A stored integer other than 0 is true ("1"/"0" as written by WriteBool).
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Replaces the key's line in place, or adds it at the end of its section, or adds the
  // section at the end of the file. False (contents unchanged, `error` saying which name)
  // when a name or the value would not read back as written: section and key names with a
  // line break, "[", "]" or "=", an empty key or one starting a comment (";" or "#"), a
  // value with a line break.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   std::string* error = nullptr);
  bool WriteInteger(std::string_view section, std::string_view key, int value,
                    std::string* error = nullptr);
  bool WriteBool(std::string_view section, std::string_view key, bool value,
                 std::string* error = nullptr);

  // The whole file as UTF-8 text with CR LF line ends.
  std::string Text() const;
  // Writes the file as GBK to a temporary file and renames it over `path`, so a crash
  // leaves the old or the new file whole. False (`error` naming the file) when it cannot be
  // written; the file on disk is then unchanged.
  bool Save(const std::filesystem::path& path, std::string* error = nullptr) const;

 private:
  struct Line {
    std::string text;     // the line as read or as last written
    std::string section;  // for a header: its name
    std::string key;      // for a key line: its name
    bool is_header = false;
    bool is_key = false;
  };
  static Line ParseLine(std::string text);
  // Index of the key's line, or -1; `section_end` receives the index after the section's
  // last key line, or after its header (-1 when the section does not exist).
  int FindKey(std::string_view section, std::string_view key, int* section_end) const;

  std::vector<Line> lines_;
};

}  // namespace vorelin
