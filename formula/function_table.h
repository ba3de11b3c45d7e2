// The function-name table `TFunclist`: every name the language knows, lower case, in
// registration order, each with its library function or none (reserved variable names).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/message_sink.h"
#include "formula/functions/library.h"

namespace vorelin {

inline constexpr size_t kFunctionTableCapacity = 396;

class TFunclist {
 public:
  // `messages` receives the duplicate-name message; it may be null.
  explicit TFunclist(MessageSink* messages = nullptr) : messages_(messages) {}

  // Appends the lower-cased name. A name already present shows "函数表已存在:" + name and
  // changes nothing; a full table silently adds nothing.
  void Register(std::string_view name, LibraryFunction entry);
  // The library function of the name, or null (unknown, reserved or empty name).
  LibraryFunction Lookup(std::string_view name) const;
  bool Contains(std::string_view name) const;
  // Replaces `list` with all names in registration order.
  void Names(std::vector<std::string>& list) const;
  size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string name;
    LibraryFunction entry;
  };
  const Entry* Find(std::string_view lowerName) const;

  std::vector<Entry> entries_;
  MessageSink* messages_;
};

// The standard table: the 152 names in registration order, joined with the entries the
// library families provide. Built once and shared.
const TFunclist& StandardFunctionTable();
// Name-resolution services of the families (null until a family provides them).
ZigZagPointFinder StandardZigZagFinder();
IndexSeriesLoader StandardIndexLoader();

// True for the 33 reserved variable names (close, vol, year, ...), which are no functions.
bool IsReservedVariableName(std::string_view lowerName);

// True for the names that share the drawing recorder (their calls add drawing commands to
// the output list instead of a named line).
bool IsDrawingCommandName(std::string_view lowerName);

// ASCII lower/upper case of a text; other bytes (Chinese characters) are kept.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

}  // namespace vorelin
