// Conversion of common CSV price files (a header naming the columns) into the system's
// data-file lines, so users can bring their own data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

struct CsvImport {
  std::vector<std::string> lines;  // data-file lines, oldest first
  bool minute = false;             // the file had times: MinData, 8-field lines
};

// Parses the CSV text (UTF-8). The header names Date, Time, Open, High, Low, Close, Volume
// and Amount columns in any order and case ("Vol", "Turnover" and "DateTime" are accepted
// too); fields are separated by comma, tab or semicolon; dates are YYYY-MM-DD, YYYY/MM/DD or
// YYYYMMDD, optionally followed by a time. Without an amount column, amount = volume × close.
// False with `error` ("line N: …") on the first problem; `out` is then unchanged.
bool ImportCsv(std::string_view text, CsvImport& out, std::string& error);

}  // namespace vorelin
