// Data-file text of any bytes: split into lines, parse every bar, aggregate, search dates.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text_encoding.h"
#include "common/text_file.h"
#include "market/bar_series.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  vorelin::Tstock stock;
  stock.LoadLines(vorelin::SplitLines(vorelin::DecodeFileText(bytes)));
  stock.FindDate(20240102);
  vorelin::Tstock aggregate;
  aggregate.CopyFrom(stock);
  aggregate.StartRow = size % 7;
  aggregate.SetCurrentRow(static_cast<int>(size % 13));
  aggregate.PeriodMultiplier = 1 + static_cast<int>(size % 5);
  aggregate.Aggregate();
  while (!stock.IsAtEnd()) stock.NextBar();
  return 0;
}
