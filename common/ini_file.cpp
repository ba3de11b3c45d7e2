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

bool IniFile::Load(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    lines_.clear();
    return true;
  }
  std::vector<std::string> text_lines;
  if (!ReadTextLines(path, text_lines)) return false;
  lines_.clear();
  for (std::string& text : text_lines) lines_.push_back(ParseLine(std::move(text)));
  return true;
}

void IniFile::LoadText(std::string_view text) {
  lines_.clear();
  for (std::string& line : SplitLines(text)) lines_.push_back(ParseLine(std::move(line)));
}

int IniFile::FindKey(std::string_view section, std::string_view key, int* section_end) const {
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

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) {
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
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

bool IniFile::Save(const std::filesystem::path& path) const {
  return WriteGbkText(path, Text());
}

}  // namespace vorelin
