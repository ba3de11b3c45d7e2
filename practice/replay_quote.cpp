#include "practice/replay_quote.h"

#include "market/stock_quote.h"

namespace vorelin {

TStockDirEntry ReplayQuoteRecord(const TStockDirEntry& directory_record, const std::vector<TBarRecord>& bars,
                                 int row) {
  TStockDirEntry record = directory_record;
  StockQuote quote;
  if (row >= 0 && row < static_cast<int>(bars.size())) {
    const TBarRecord& bar = bars[static_cast<size_t>(row)];
    quote.last = static_cast<float>(bar.close);
    quote.open = static_cast<float>(bar.open);
    quote.high = static_cast<float>(bar.high);
    quote.low = static_cast<float>(bar.low);
    quote.total_volume = static_cast<float>(bar.vol);
    quote.total_amount = static_cast<float>(bar.amount);
    if (row > 0) quote.prev_close = static_cast<float>(bars[static_cast<size_t>(row) - 1].close);
  }
  WriteStockQuote(quote, record);
  return record;
}

}  // namespace vorelin
