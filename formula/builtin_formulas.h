// The built-in formula library `TFuncStr`: the 37 indicator texts by upper-case name, each
// with its title and menu tab, in registration order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

struct BuiltinText {
  const char* name;
  int tab;  // 1 "指标", 2 "高级"
  std::vector<const char*> lines;
};
// The raw data the library is built from.
const std::vector<BuiltinText>& BuiltinTexts();

class TFuncStr {
 public:
  struct Entry {
    std::string name;   // upper case
    std::string text;   // lines joined with CR LF
    std::string title;  // value of TECHTITLE:=, one trailing ";" removed
    int tab = 1;
  };

  // Builds the table with the 37 built-in entries.
  TFuncStr();
  // Upper-cases the name; a name already present keeps its first text.
  void Register(std::string_view name, std::string text, int tab);
  // Appends the names of tab `tab` (every name for -1) in registration order.
  void ListNames(int tab, std::vector<std::string>& list) const;
  // The text of the upper-cased name, or an empty text.
  const std::string& TextOf(std::string_view name) const;
  const Entry* Find(std::string_view name) const;
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// One shared, immutable library.
const TFuncStr& BuiltinFormulas();

}  // namespace vorelin
