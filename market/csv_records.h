// Records of CSV text as RFC 4180 reads them: fields split at a separator, and a field in
// double quotes may hold separators, line breaks and "" for one quote.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

// The separator of a header line: whichever of tab, semicolon and comma occurs most often
// outside quotes; comma when none does.
char DetectCsvSeparator(std::string_view header);

class CsvRecords {
 public:
  // `text` must outlive the reader.
  CsvRecords(std::string_view text, char separator) : text_(text), separator_(separator) {}

  // The next record that is not a blank line: its fields, with spaces around unquoted
  // fields and outside the quotes dropped, and `line`, the 1-based line it starts on.
  // False at the end of the text, or when a quoted field is never closed or has text after
  // its closing quote; Error() then says which line.
  bool Next(std::vector<std::string>& fields, size_t& line);
  const std::string& Error() const { return error_; }

 private:
  // Reads one field from pos_; false on a malformed quoted field.
  bool Field(std::string& out);
  bool AtLineEnd() const;
  void SkipLineEnd();

  std::string_view text_;
  char separator_;
  size_t pos_ = 0;
  size_t line_ = 1;
  std::string error_;
};

}  // namespace vorelin
