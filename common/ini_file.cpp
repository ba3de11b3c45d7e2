#include "common/ini_file.h"

#include <system_error>

#include "common/numbers.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

std::string_view Trim(std::string_view text) {
  const char* kSpaces = " \t";
  size_t start = text.find_first_not_of(kSpaces);
  if (start == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(kSpaces);
  return text.substr(start, end - start + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
    if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
    if (x != y) return false;
  }
  return true;
}

std::string_view ValueOf(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

// A name that would split into other lines, or read as a header or key of its own.
bool HasLineSyntax(std::string_view name) {
  return name.find_first_of("\r\n[]=") != std::string_view::npos;
}

bool CheckNames(std::string_view section, std::string_view key, std::string_view value,
                std::string* error) {
  std::string text;
  if (HasLineSyntax(section)) {
    text = "设置节名不合法：" + std::string(section) + "（不能含有换行、“[”、“]”或“=”）";
  } else if (const std::string_view k = Trim(key);
             HasLineSyntax(key) || k.empty() || k.front() == ';' || k.front() == '#') {
    text = "设置键名不合法：" + std::string(key) +
           "（不能为空，不能以“;”或“#”开头，不能含有换行、“[”、“]”或“=”）";
  } else if (value.find_first_of("\r\n") != std::string_view::npos) {
    text = "设置值不合法：" + std::string(key) + "的值不能含有换行";
  } else {
    return true;
  }
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

IniFile::Line IniFile::ParseLine(std::string text) {
  Line line;
  std::string_view t = Trim(text);
  if (!t.empty() && t.front() == '[') {
    size_t close = t.find(']');
    if (close != std::string_view::npos) {
      line.is_header = true;
      line.section = std::string(Trim(t.substr(1, close - 1)));
    }
  } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
    size_t eq = t.find('=');
    if (eq != std::string_view::npos && eq > 0) {
      line.is_key = true;
      line.key = std::string(Trim(t.substr(0, eq)));
    }
  }
  line.text = std::move(text);
  return line;
}

bool IniFile::Load(const std::filesystem::path& path, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) {
    lines_.clear();
    return true;
  }
  std::vector<std::string> text_lines;
  if (!ReadTextLines(path, text_lines, error)) return false;
  lines_.clear();
  for (std::string& text : text_lines) lines_.push_back(ParseLine(std::move(text)));
  return true;
}

void IniFile::LoadText(std::string_view text) {
  lines_.clear();
  for (std::string& line : SplitLines(text)) lines_.push_back(ParseLine(std::move(line)));
}

int IniFile::FindKey(std::string_view section, std::string_view key, int* section_end) const {
  // Names are stored trimmed as read; a name written with spaces around it is the same one.
  section = Trim(section);
  key = Trim(key);
  bool inside = false;
  bool seen = false;
  int end = -1;
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    const Line& line = lines_[i];
    if (line.is_header) {
      // Only the first section of a name counts, as the usual INI routines read it.
      if (inside) break;
      inside = !seen && SameName(line.section, section);
      if (inside) {
        seen = true;
        end = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    if (line.is_key && SameName(line.key, key)) return i;
    if (line.is_key) end = i + 1;
  }
  if (section_end) *section_end = end;
  return -1;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
  return FindKey(section, key, nullptr) >= 0;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  int i = FindKey(section, key, nullptr);
  if (i < 0) return std::string(fallback);
  return std::string(ValueOf(lines_[i].text));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  int i = FindKey(section, key, nullptr);
  if (i < 0) return fallback;
  return ParseIntOr(ValueOf(lines_[i].text), fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value,
                          std::string* error) {
  if (!CheckNames(section, key, value, error)) return false;
  std::string text = std::string(key) + "=" + std::string(value);
  int end = -1;
  int i = FindKey(section, key, &end);
  if (i >= 0) {
    lines_[i] = ParseLine(std::move(text));
  } else if (end >= 0) {
    lines_.insert(lines_.begin() + end, ParseLine(std::move(text)));
  } else {
    lines_.push_back(ParseLine("[" + std::string(section) + "]"));
    lines_.push_back(ParseLine(std::move(text)));
  }
  return true;
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int value,
                           std::string* error) {
  return WriteString(section, key, std::to_string(value), error);
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value,
                        std::string* error) {
  return WriteString(section, key, value ? "1" : "0", error);
}

std::string IniFile::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

bool IniFile::Save(const std::filesystem::path& path, std::string* error) const {
  return WriteGbkText(path, Text(), error);
}

}  // namespace vorelin
