// Output entries split as the interpreter writes them; separators inside quotes do not count.
#include "chart/output_entry.h"

namespace vorelin {
namespace {

constexpr size_t kMaxArguments = 40;

size_t FindOutsideQuotes(const std::string& text, const std::string& what) {
  bool quoted = false;
  for (size_t i = 0; i + what.size() <= text.size(); ++i) {
    if (text[i] == '\'') quoted = !quoted;
    if (!quoted && text.compare(i, what.size(), what) == 0) return i;
  }
  return std::string::npos;
}

}  // namespace

OutputEntry ParseOutputEntry(const std::string& text) {
  OutputEntry entry;
  std::string head = text;
  const size_t separator = FindOutsideQuotes(text, "::");
  if (separator != std::string::npos) {
    head = text.substr(0, separator);
    entry.attributes = text.substr(separator + 2);
  }
  const size_t equals = head.find('=');
  entry.command = head.substr(0, equals);
  if (equals != std::string::npos) {
    const std::string args = head.substr(equals + 1);
    std::string piece;
    bool quoted = false;
    for (char c : args) {
      if (c == '\'') quoted = !quoted;
      if (c == ',' && !quoted) {
        if (entry.arguments.size() < kMaxArguments) entry.arguments.push_back(piece);
        piece.clear();
      } else {
        piece += c;
      }
    }
    if (!piece.empty() && entry.arguments.size() < kMaxArguments) entry.arguments.push_back(piece);
  }
  std::string word;
  for (char c : entry.attributes) {
    if (c == ',' || c == ' ') {
      if (!word.empty()) entry.words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) entry.words.push_back(word);
  return entry;
}

std::string WithoutQuotes(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\'') out += c;
  }
  return out;
}

}  // namespace vorelin
