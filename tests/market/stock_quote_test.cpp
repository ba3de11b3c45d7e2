// The quote and capital fields of the stock record: where they sit and that writing and
// reading give the same values back.
#include <gtest/gtest.h>

#include <cstring>

#include "market/stock_quote.h"

namespace vorelin {
namespace {

float FloatAt(const TStockDirEntry& entry, size_t offset) {
  float value = 0;
  std::memcpy(&value, entry.bytes.data() + offset, 4);  // the test machine is little-endian
  return value;
}

TEST(StockQuote, FieldsSitAtTheirOffsetsAndRoundTrip) {
  TStockDirEntry entry;
  entry.SetCode("600001");
  StockQuote q;
  q.inner_volume = 1;
  q.outer_volume = 2;
  for (size_t k = 0; k < 5; ++k) {
    q.bid_price[k] = 10.0f + static_cast<float>(k);
    q.bid_volume[k] = 20.0f + static_cast<float>(k);
    q.ask_price[k] = 30.0f + static_cast<float>(k);
    q.ask_volume[k] = 40.0f + static_cast<float>(k);
  }
  q.high = 3;
  q.prev_close = 4;
  q.low = 5;
  q.open = 6;
  q.last = 7;
  q.total_volume = 8;
  q.total_amount = 9;
  WriteStockQuote(q, entry);
  const struct {
    size_t offset;
    float want;
  } kFields[] = {{904, 1},  {968, 2},  {908, 10}, {924, 14}, {928, 20}, {972, 30}, {992, 40}, {1008, 44},
                 {948, 3},  {952, 4},  {956, 5},  {960, 6},  {964, 7},  {1017, 8}, {1021, 9}};
  for (const auto& f : kFields) EXPECT_EQ(FloatAt(entry, f.offset), f.want) << f.offset;
  const StockQuote back = ReadStockQuote(entry);
  EXPECT_EQ(back.ask_volume, q.ask_volume);
  EXPECT_EQ(back.bid_price, q.bid_price);
  EXPECT_EQ(back.last, 7);
  EXPECT_EQ(back.total_amount, 9);
  EXPECT_EQ(entry.Code(), "600001") << "the rest of the record stays";
}

TEST(StockQuote, CapitalRoundTrip) {
  TStockDirEntry entry;
  StockCapital c{5000, 1, 2, 10000, 300000, -5, 6};
  WriteStockCapital(c, entry);
  EXPECT_EQ(FloatAt(entry, 1162 + 7), 5000);
  EXPECT_EQ(FloatAt(entry, 1162 + 139), 6);
  const StockCapital back = ReadStockCapital(entry);
  EXPECT_EQ(back.cursor_turnover_flag, 1u);
  EXPECT_EQ(back.board_rows_flag, 2u);
  EXPECT_EQ(back.total_shares, 10000);
  EXPECT_EQ(back.net_assets, 300000);
  EXPECT_EQ(back.net_profit, -5);
}

}  // namespace
}  // namespace vorelin
