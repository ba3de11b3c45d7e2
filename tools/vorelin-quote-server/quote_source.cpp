// Minute files to answers. Transactions page backwards: start 0 is the day's last `count`.
#include "quote_source.h"

#include <algorithm>
#include <cmath>

#include "common/data_root.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "market/bar_series.h"

namespace vorelin {

std::vector<MinuteRecord> DayMinutes(const std::filesystem::path& root, const std::string& code,
                                     int date) {
  if (!IsSafeStockCode(code)) return {};
  std::vector<std::string> lines;
  if (!ReadTextLines(root / kMinDataFolder / (code + ".TXT"), lines)) return {};
  Tstock series;
  std::vector<MinuteRecord> minutes;
  for (size_t i = 0; i < lines.size(); ++i) {
    TBarRecord bar = series.ParseLine(lines[i], static_cast<int>(i));
    if (ParseIntOr(bar.date, 0) != date) continue;
    minutes.push_back({std::llround(bar.close * 100), std::llround(bar.vol)});
  }
  return minutes;
}

std::vector<TradeRecord> DayTrades(const std::vector<MinuteRecord>& minutes) {
  std::vector<TradeRecord> trades;
  for (size_t k = 0; k < minutes.size(); ++k) {
    int index = static_cast<int>(k);
    int clock = index < 120 ? 570 + index : 780 + std::min(index - 120, 120);
    for (int j = 0; j < kTradesPerMinute; ++j) {
      TradeRecord t;
      t.minutes = static_cast<uint16_t>(clock);
      t.price_cents = std::max<int64_t>(1, minutes[k].price_cents + (index * 7 + j * 3) % 5 - 2);
      t.volume = std::max<int64_t>(1, minutes[k].volume / kTradesPerMinute) + j % 3;
      t.side = static_cast<uint8_t>((index + j) % 2);
      trades.push_back(t);
    }
  }
  return trades;
}

bool AnswerQuoteRequest(const std::filesystem::path& root, std::string_view request,
                        std::string& answer) {
  ParsedRequest parsed;
  if (!ParseRequest(request, parsed)) return false;
  std::vector<MinuteRecord> minutes = DayMinutes(root, parsed.code, parsed.date);
  if (parsed.type == kMinuteDataType)
    return EncodeQuoteAnswer(kMinuteDataType, EncodeMinuteBody(minutes), kCompressAbove, answer);
  std::vector<TradeRecord> trades = DayTrades(minutes);
  size_t total = trades.size();
  size_t end = total - std::min<size_t>(parsed.start, total);
  size_t begin = end - std::min<size_t>(parsed.count, end);
  std::vector<TradeRecord> page(trades.begin() + begin, trades.begin() + end);
  return EncodeQuoteAnswer(kTransactionsType, EncodeTradeBody(page), kCompressAbove, answer);
}

}  // namespace vorelin
