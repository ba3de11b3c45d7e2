// Building the built-in library and looking texts up by name.
#include "formula/builtin_formulas.h"

#include "formula/function_table.h"

namespace vorelin {

namespace {

std::string TitleOf(const std::string& text) {
  static const std::string kKey = "TECHTITLE:=";
  size_t at = text.find(kKey);
  if (at == std::string::npos) return {};
  size_t start = at + kKey.size();
  size_t end = text.find("\r\n", start);
  std::string title = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!title.empty() && title.back() == ';') title.pop_back();
  return title;
}

}  // namespace

TFuncStr::TFuncStr() {
  for (const BuiltinText& builtin : BuiltinTexts()) {
    std::string text;
    for (size_t i = 0; i < builtin.lines.size(); ++i) {
      if (i > 0) text += "\r\n";
      text += builtin.lines[i];
    }
    Register(builtin.name, std::move(text), builtin.tab);
  }
}

void TFuncStr::Register(std::string_view name, std::string text, int tab) {
  std::string upper = AsciiUpper(name);
  if (Find(upper) != nullptr) return;
  Entry entry;
  entry.name = std::move(upper);
  entry.title = TitleOf(text);
  entry.text = std::move(text);
  entry.tab = tab;
  entries_.push_back(std::move(entry));
}

void TFuncStr::ListNames(int tab, std::vector<std::string>& list) const {
  for (const Entry& entry : entries_) {
    if (tab == -1 || entry.tab == tab) list.push_back(entry.name);
  }
}

const TFuncStr::Entry* TFuncStr::Find(std::string_view name) const {
  std::string upper = AsciiUpper(name);
  for (const Entry& entry : entries_) {
    if (entry.name == upper) return &entry;
  }
  return nullptr;
}

const std::string& TFuncStr::TextOf(std::string_view name) const {
  static const std::string kEmpty;
  const Entry* entry = Find(name);
  return entry != nullptr ? entry->text : kEmpty;
}

const TFuncStr& BuiltinFormulas() {
  static const TFuncStr library;
  return library;
}

}  // namespace vorelin
