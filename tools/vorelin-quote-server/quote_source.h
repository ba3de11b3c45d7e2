// The reference quote server's data: one day's minute points and derived transactions of a
// stock, read from the data root's MinData files, encoded as the quote link's answers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "net/quote_answer.h"

namespace vorelin {

// Bodies above this many bytes are sent zlib-compressed.
inline constexpr size_t kCompressAbove = 256;
// Transactions derived from each minute bar.
inline constexpr int kTradesPerMinute = 10;

// Point k = close (in cents) and volume of the day's k-th minute bar. Empty for an unknown
// stock, a code that is no file name, or a day without bars.
std::vector<MinuteRecord> DayMinutes(const std::filesystem::path& root, const std::string& code,
                                     int date);

// kTradesPerMinute transactions per minute bar, stamped with the bar's clock minute, prices
// and volumes derived from the bar so that the same day always gives the same list.
std::vector<TradeRecord> DayTrades(const std::vector<MinuteRecord>& minutes);

// The answer to one request (header included); false when there is nothing to send back.
bool AnswerQuoteRequest(const std::filesystem::path& root, std::string_view request,
                        std::string& answer);

}  // namespace vorelin
