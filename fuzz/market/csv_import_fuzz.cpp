// CSV price files of any bytes: an import either fails with a line-naming message or gives
// data-file lines that load as bars that can be, oldest first, none twice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/numbers.h"
#include "common/text_encoding.h"
#include "market/bar_series.h"
#include "market/csv_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CsvImport imported;
  std::string error;
  if (!ImportCsv(DecodeFileText(bytes), imported, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (imported.lines.size() > kImportBarLimit) std::abort();
  Tstock stock;
  stock.LoadLines(imported.lines);
  if (stock.FormatWarned) std::abort();
  for (size_t i = 0; i < stock.Bars.size(); ++i) {
    const TBarRecord& bar = stock.Bars[i];
    if (bar.high < bar.low || bar.open < bar.low || bar.open > bar.high || bar.close < bar.low ||
        bar.close > bar.high || bar.time.empty() == imported.minute)
      std::abort();
    if (i == 0) continue;
    const TBarRecord& before = stock.Bars[i - 1];
    const long long at = ParseIntOr(bar.date, 0) * 10000LL + ParseIntOr(bar.time, 0);
    const long long previous = ParseIntOr(before.date, 0) * 10000LL + ParseIntOr(before.time, 0);
    if (at <= previous) std::abort();
  }
  return 0;
}
