// Quote answers: the body after the header (optionally zlib-compressed), its record lists,
// and the server side's encoding of the same layouts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/intraday_records.h"
#include "net/quote_protocol.h"

namespace vorelin {

// The plain body of an answer. Empty (and true) when the plain size is 2 or less. False when
// the stored body is shorter than the header says, or inflating fails or gives a size other
// than the plain size.
bool PlainBody(const AnswerHeader& header, std::string_view stored_body, std::string& plain);

// Record lists of a plain body: count (2 bytes), 4 unused bytes, records. Decoding stops at
// the end marker. False (output unchanged) when a record runs past the body.
bool DecodeMinutePoints(std::string_view body, std::vector<TMinutePoint>& points);
bool DecodeTradeTicks(std::string_view body, std::vector<TTradeTick>& ticks);

// Minutes since midnight as HHMM; 570 is listed as 09:25.
int TradeClockTime(int minutes_since_midnight);

// One whole answer (header and stored body) decoded, as the receiver's handler sees it.
struct QuoteAnswer {
  uint16_t type = 0;
  std::vector<TMinutePoint> minutes;  // filled for kMinuteDataType
  std::vector<TTradeTick> ticks;      // filled for kTransactionsType
};
// False for a bad header, a short body, a failed inflate, a bad record or an unknown type.
bool DecodeQuoteAnswer(std::string_view answer, QuoteAnswer& decoded);

// Server side. A minute point's price and a trade's price are in cents; the answer is
// compressed when its plain body exceeds `compress_above` bytes.
struct MinuteRecord {
  int64_t price_cents = 0;
  int64_t volume = 0;
};
struct TradeRecord {
  uint16_t minutes = 0;  // since midnight
  int64_t price_cents = 0;
  int64_t volume = 0;
  uint8_t side = 0;
};
std::string EncodeMinuteBody(const std::vector<MinuteRecord>& records);
std::string EncodeTradeBody(const std::vector<TradeRecord>& records);
// False when the body does not fit the header's 16-bit sizes.
bool EncodeQuoteAnswer(uint16_t type, std::string_view plain_body, size_t compress_above,
                       std::string& answer);

}  // namespace vorelin
