// Conversion of common CSV price files (a header naming the columns) into the system's
// data-file lines, so users can bring their own data.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

// Bars one data file may hold: the most the formula tools load into a raw series.
inline constexpr size_t kImportBarLimit = 99'998;

struct CsvImport {
  std::vector<std::string> lines;  // data-file lines, oldest first
  bool minute = false;             // the file had times: MinData, 8-field lines
  std::vector<std::string> notes;  // rows left out as exact repeats ("line 5: …")
};

// Parses the CSV text (UTF-8). The header names Date, Time, Open, High, Low, Close, Volume
// and Amount columns in any order and case ("Vol", "Turnover" and "DateTime" are accepted
// too); fields are separated by comma, tab or semicolon and may be quoted as RFC 4180 has
// it; numbers may group digits in threes with commas ("1,000.5"); dates are YYYY-MM-DD,
// YYYY/MM/DD or YYYYMMDD, optionally followed by a time. Without an amount column,
// amount = volume × close.
// Every row must be a bar that can be: a calendar date, High not below Low, Open and Close
// within Low … High, and a date and time no other row has with other values (an exact
// repeat is left out, with a note). At most kImportBarLimit bars.
// False with `error` ("line N: …", N counting from 1) on the first problem; `out` is then
// unchanged.
bool ImportCsv(std::string_view text, CsvImport& out, std::string& error);

}  // namespace vorelin
