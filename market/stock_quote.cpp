// Offsets are bytes into the 1326-byte record; the floats sit unaligned, little-endian.
#include "market/stock_quote.h"

#include <cstring>
#include <string>

#include "common/byte_order.h"

namespace vorelin {
namespace {

constexpr size_t kInner = 904, kBidPrice = 908, kBidVolume = 928, kHigh = 948, kPrevClose = 952,
                 kLow = 956, kOpen = 960, kLast = 964, kOuter = 968, kAskPrice = 972, kAskVolume = 992,
                 kTotalVolume = 1017, kTotalAmount = 1021;
constexpr size_t kFinance = 1162;

const char* At(const TStockDirEntry& entry, size_t offset) {
  return reinterpret_cast<const char*>(entry.bytes.data() + offset);
}

float F32(const TStockDirEntry& entry, size_t offset) { return GetF32(At(entry, offset)); }

void PutAt(TStockDirEntry& entry, size_t offset, const std::string& bytes) {
  std::memcpy(entry.bytes.data() + offset, bytes.data(), bytes.size());
}

void PutF32At(TStockDirEntry& entry, size_t offset, float value) {
  std::string bytes;
  PutF32(bytes, value);
  PutAt(entry, offset, bytes);
}

void PutU32At(TStockDirEntry& entry, size_t offset, uint32_t value) {
  std::string bytes;
  PutU32(bytes, value);
  PutAt(entry, offset, bytes);
}

}  // namespace

StockQuote ReadStockQuote(const TStockDirEntry& entry) {
  StockQuote q;
  q.inner_volume = F32(entry, kInner);
  q.outer_volume = F32(entry, kOuter);
  for (size_t k = 0; k < 5; ++k) {
    q.bid_price[k] = F32(entry, kBidPrice + 4 * k);
    q.bid_volume[k] = F32(entry, kBidVolume + 4 * k);
    q.ask_price[k] = F32(entry, kAskPrice + 4 * k);
    q.ask_volume[k] = F32(entry, kAskVolume + 4 * k);
  }
  q.high = F32(entry, kHigh);
  q.prev_close = F32(entry, kPrevClose);
  q.low = F32(entry, kLow);
  q.open = F32(entry, kOpen);
  q.last = F32(entry, kLast);
  q.total_volume = F32(entry, kTotalVolume);
  q.total_amount = F32(entry, kTotalAmount);
  return q;
}

void WriteStockQuote(const StockQuote& q, TStockDirEntry& entry) {
  PutF32At(entry, kInner, q.inner_volume);
  PutF32At(entry, kOuter, q.outer_volume);
  for (size_t k = 0; k < 5; ++k) {
    PutF32At(entry, kBidPrice + 4 * k, q.bid_price[k]);
    PutF32At(entry, kBidVolume + 4 * k, q.bid_volume[k]);
    PutF32At(entry, kAskPrice + 4 * k, q.ask_price[k]);
    PutF32At(entry, kAskVolume + 4 * k, q.ask_volume[k]);
  }
  PutF32At(entry, kHigh, q.high);
  PutF32At(entry, kPrevClose, q.prev_close);
  PutF32At(entry, kLow, q.low);
  PutF32At(entry, kOpen, q.open);
  PutF32At(entry, kLast, q.last);
  PutF32At(entry, kTotalVolume, q.total_volume);
  PutF32At(entry, kTotalAmount, q.total_amount);
}

StockCapital ReadStockCapital(const TStockDirEntry& entry) {
  StockCapital c;
  c.circulating_shares = F32(entry, kFinance + 7);
  c.cursor_turnover_flag = GetU32(At(entry, kFinance + 15));
  c.board_rows_flag = GetU32(At(entry, kFinance + 19));
  c.total_shares = F32(entry, kFinance + 23);
  c.net_assets = F32(entry, kFinance + 83);
  c.net_profit = F32(entry, kFinance + 127);
  c.profit_months = F32(entry, kFinance + 139);
  return c;
}

void WriteStockCapital(const StockCapital& c, TStockDirEntry& entry) {
  PutF32At(entry, kFinance + 7, c.circulating_shares);
  PutU32At(entry, kFinance + 15, c.cursor_turnover_flag);
  PutU32At(entry, kFinance + 19, c.board_rows_flag);
  PutF32At(entry, kFinance + 23, c.total_shares);
  PutF32At(entry, kFinance + 83, c.net_assets);
  PutF32At(entry, kFinance + 127, c.net_profit);
  PutF32At(entry, kFinance + 139, c.profit_months);
}

}  // namespace vorelin
