// The A-share market's rules a trainee may turn on, each off by default: T+1, stamp duty on
// sales, a minimum commission per trade and the daily price limits.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "market/bar_record.h"
#include "practice/settings.h"

namespace vorelin {

inline constexpr const char* kUpLimitMessage = "涨停无法买入！";
inline constexpr const char* kDownLimitMessage = "跌停无法卖出！";

struct TradingRules {
  bool t_plus_one = false;
  double stamp_duty_rate = 0;     // fraction of a sale's money; 0 when off
  double minimum_commission = 0;  // yuan per trade; 0 when off
  bool price_limits = false;
};

// The rules as the settings page's boxes hold them (per mille and yuan as text).
TradingRules TradingRulesOf(const UserSettings& boxes);

// `--rules t1,stamp,min5,limit`: t1, stamp or stampR (R per mille), min or minY (Y yuan),
// limit, each turning its rule on in `boxes`. False (boxes unchanged) with `error` naming
// the first word that is none of these.
bool ApplyRulesOption(std::string_view option, UserSettings& boxes, std::string& error);

// The daily limit in per cent: 20 for the growth boards (codes 300xxx and 688xxx), 5 for
// names beginning with "ST" or "*ST", 10 otherwise.
double PriceLimitPercent(std::string_view code, std::string_view name);

// The limit prices of a day, rounded to the fen as the exchange rounds them (half up).
double UpLimitPrice(double previous_close, double percent);
double DownLimitPrice(double previous_close, double percent);

// The close the day's limits are counted from for row `row`: the row before in day data,
// the last row of an earlier date in minute data; none for the first day of the file.
std::optional<double> PreviousClose(const std::vector<TBarRecord>& bars, int row, bool minute_data);

// The message that refuses a trade at `price` under the price limits, or null when the
// trade may go ahead (always null when the rule is off or there is no previous close).
const char* PriceLimitRefusal(const TradingRules& rules, bool buy, double price,
                              std::optional<double> previous_close, std::string_view code,
                              std::string_view name);

}  // namespace vorelin
