// Text-level steps that run before any statement is parsed.
#include "formula/source.h"

namespace vorelin {

namespace {

char LowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; }

bool StartsAt(std::string_view text, size_t at, std::string_view what) {
  return text.compare(at, what.size(), what) == 0;
}

}  // namespace

std::string RemoveComments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch == '\'') {
      size_t close = text.find('\'', i + 1);
      size_t end = close == std::string_view::npos ? text.size() : close + 1;
      out.append(text.substr(i, end - i));
      i = end;
    } else if (StartsAt(text, i, "{$")) {
      size_t close = text.find('}', i + 2);
      size_t end = close == std::string_view::npos ? text.size() : close + 1;
      out.append(text.substr(i, end - i));
      i = end;
    } else if (ch == '{') {
      size_t close = text.find('}', i + 1);
      i = close == std::string_view::npos ? text.size() : close + 1;
    } else if (StartsAt(text, i, "(*")) {
      size_t close = text.find("*)", i + 2);
      i = close == std::string_view::npos ? text.size() : close + 2;
    } else if (StartsAt(text, i, "//")) {
      size_t close = text.find("\r\n", i + 2);
      i = close == std::string_view::npos ? text.size() : close;
    } else {
      out += ch;
      ++i;
    }
  }
  return out;
}

std::string_view TrimControl(std::string_view text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && static_cast<unsigned char>(text[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(start, end - start);
}

std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view from,
                                   std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    bool match = i + from.size() <= text.size();
    for (size_t k = 0; match && k < from.size(); ++k) {
      match = LowerAscii(text[i + k]) == LowerAscii(from[k]);
    }
    if (match) {
      out.append(to);
      i += from.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string NormaliseLine(std::string_view line) {
  std::string_view trimmed = TrimControl(line);
  if (trimmed.empty() || trimmed.front() == '*' || trimmed.front() == '#') return {};
  std::string text(trimmed);
  static constexpr std::string_view kWords[][2] = {
      {")and ", ")&"}, {")and(", ")&("}, {" and ", "&"}, {")or ", ")|"},
      {")or(", ")|("}, {" or ", "|"},    {"&&", "&"}};
  for (const auto& [from, to] : kWords) text = ReplaceAllIgnoringCase(text, from, to);
  std::string out;
  out.reserve(text.size());
  bool inQuote = false;
  for (char ch : text) {
    if (ch == '\'') inQuote = !inQuote;
    if (!inQuote && ch == ' ') continue;
    out += inQuote || ch < 'a' || ch > 'z' ? ch : static_cast<char>(ch - 32);
  }
  if (!out.empty() && out.back() == ';') out.pop_back();
  return out;
}

std::string FirstQuotedText(std::string_view text) {
  size_t open = text.find('\'');
  if (open == std::string_view::npos) return {};
  size_t close = text.find('\'', open + 1);
  size_t end = close == std::string_view::npos ? text.size() : close + 1;
  return std::string(text.substr(open, end - open));
}

std::vector<std::string> SplitStatements(const std::string& line) {
  const std::string quoted = FirstQuotedText(line);
  std::vector<std::string> statements;
  std::string current;
  size_t i = 0;
  while (i <= line.size()) {
    if (!quoted.empty() && StartsAt(line, i, quoted)) {
      current += quoted;
      i += quoted.size();
      continue;
    }
    if (i == line.size() || line[i] == ';') {
      if (current.empty()) break;
      statements.push_back(std::move(current));
      current.clear();
      if (statements.size() == kStatementsPerLine) break;
      ++i;
      continue;
    }
    current += line[i++];
  }
  return statements;
}

}  // namespace vorelin
