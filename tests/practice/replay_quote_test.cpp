// The replayed quote record at the edges of the bars.
#include <gtest/gtest.h>

#include "market/stock_quote.h"
#include "practice/replay_quote.h"

namespace vorelin {
namespace {

TEST(ReplayQuote, FirstBarHasNoPreviousCloseAndRowsOutsideGiveZeros) {
  TStockDirEntry stored;
  stored.SetCode("600000");
  StockQuote today;
  today.last = 99;
  today.prev_close = 98;
  WriteStockQuote(today, stored);
  const std::vector<TBarRecord> bars = {{"20240102", "", 9.5, 10.5, 9, 10, 5000, 500},
                                        {"20240103", "", 10, 11.5, 9.8, 11, 6000, 600}};
  const StockQuote first = ReadStockQuote(ReplayQuoteRecord(stored, bars, 0));
  EXPECT_EQ(first.last, 10);
  EXPECT_EQ(first.prev_close, 0);
  EXPECT_EQ(first.total_volume, 500);
  for (int row : {-1, 2}) {
    SCOPED_TRACE(row);
    const TStockDirEntry record = ReplayQuoteRecord(stored, bars, row);
    EXPECT_EQ(ReadStockQuote(record).last, 0) << "never the stored price";
    EXPECT_EQ(ReadStockQuote(record).prev_close, 0);
    EXPECT_EQ(record.Code(), "600000");
  }
}

}  // namespace
}  // namespace vorelin
