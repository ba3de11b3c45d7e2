// The import below its command line: the CSV is read and checked, and only then are the
// data file and `winbase.dat` written, together or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorelin {

struct ImportRequest {
  std::filesystem::path root;
  std::string code;
  std::string name;               // empty: the directory's name, or the code for a new stock
  std::optional<uint8_t> market;  // none: 1 for codes starting with "6", else 0
  std::filesystem::path csv;
};

struct ImportReport {
  size_t bars = 0;
  bool minute = false;
  std::filesystem::path target;    // the data file written
  std::vector<std::string> notes;  // rows left out, "line N: …"
};

// Imports the CSV file into DayData/CODE.TXT or MinData/CODE.TXT under the root and records
// the stock in winbase.dat. False with `error` (a message naming the code, file or line)
// when the code is no directory code, the CSV cannot be read or has a bad row, winbase.dat
// cannot be read, or either file cannot be written; nothing is written then.
bool RunImport(const ImportRequest& request, ImportReport& report, std::string& error);

}  // namespace vorelin
