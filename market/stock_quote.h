// The quote and capital fields a stock record carries beyond its code and name: the day's
// prices, the five-level order book, volumes, and the share capital and per-share figures.
// The information board reads them; the replay writes a quote built from revealed bars.
#pragma once

#include <array>
#include <cstdint>

#include "market/stock_directory.h"

namespace vorelin {

inline constexpr uint8_t kNoOrderBookCategory = 7;

struct StockQuote {
  float inner_volume = 0;  // sold at the bid
  float outer_volume = 0;  // bought at the ask
  std::array<float, 5> bid_price{}, bid_volume{}, ask_price{}, ask_volume{};  // level 1 first
  float high = 0;
  float prev_close = 0;
  float low = 0;
  float open = 0;
  float last = 0;
  float total_volume = 0;
  float total_amount = 0;
};

struct StockCapital {
  float circulating_shares = 0;
  uint32_t cursor_turnover_flag = 0;  // non-zero: the cursor information shows turnover
  uint32_t board_rows_flag = 0;       // non-zero: the board shows the capital rows
  float total_shares = 0;
  float net_assets = 0;
  float net_profit = 0;
  float profit_months = 0;
};

StockQuote ReadStockQuote(const TStockDirEntry& entry);
// Writes every field of `quote` into the record's quote block; the rest of the record stays.
void WriteStockQuote(const StockQuote& quote, TStockDirEntry& entry);
StockCapital ReadStockCapital(const TStockDirEntry& entry);
void WriteStockCapital(const StockCapital& capital, TStockDirEntry& entry);

}  // namespace vorelin
