// `winbase.dat` bytes of any length and count: loading never reads past the data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "market/stock_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorelin::StockDirectory directory;
  directory.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const vorelin::TStockDirEntry& entry : directory.Entries()) {
    (void)entry.Name();
    directory.FindByCode(entry.Code());
  }
  return 0;
}
