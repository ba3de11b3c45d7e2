#include "practice/trading_rules.h"

#include <cmath>

#include "common/numbers.h"

namespace vorelin {
namespace {

// Half a hundredth of a fen: room for the binary error of prices written with two decimals.
constexpr double kPriceTolerance = 1e-4;

double RoundToFen(double price) { return std::floor(price * 100 + 0.5 + 1e-6) / 100; }

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// "SH600000" and "600000" name the same stock: the board is in the digits.
std::string_view Digits(std::string_view code) {
  size_t i = 0;
  while (i < code.size() && !(code[i] >= '0' && code[i] <= '9')) ++i;
  return code.substr(i);
}

}  // namespace

TradingRules TradingRulesOf(const UserSettings& boxes) {
  TradingRules rules;
  rules.t_plus_one = boxes.RuleTPlusOne;
  if (boxes.RuleStampDuty) rules.stamp_duty_rate = ParseDecimalOr(boxes.StampDutyRate) / 1000;
  if (boxes.RuleMinCommission) rules.minimum_commission = ParseDecimalOr(boxes.MinCommission);
  rules.price_limits = boxes.RulePriceLimits;
  return rules;
}

bool ApplyRulesOption(std::string_view option, UserSettings& boxes, std::string& error) {
  UserSettings next = boxes;
  size_t start = 0;
  while (start <= option.size()) {
    size_t end = option.find(',', start);
    if (end == std::string_view::npos) end = option.size();
    const std::string_view word = option.substr(start, end - start);
    start = end + 1;
    auto value_after = [&](std::string_view prefix, std::string& slot) {
      if (!StartsWith(word, prefix)) return false;
      const std::string_view rest = word.substr(prefix.size());
      if (rest.empty()) return true;
      if (!ParseDecimal(rest) || *ParseDecimal(rest) < 0) return false;
      slot = std::string(rest);
      return true;
    };
    if (word == "t1") {
      next.RuleTPlusOne = true;
    } else if (word == "limit") {
      next.RulePriceLimits = true;
    } else if (value_after("stamp", next.StampDutyRate)) {
      next.RuleStampDuty = true;
    } else if (value_after("min", next.MinCommission)) {
      next.RuleMinCommission = true;
    } else {
      error = "unknown rule \"" + std::string(word) + "\" (t1, stamp[‰], min[元], limit)";
      return false;
    }
  }
  boxes = std::move(next);
  return true;
}

double PriceLimitPercent(std::string_view code, std::string_view name) {
  const std::string_view digits = Digits(code);
  if (StartsWith(digits, "300") || StartsWith(digits, "688")) return 20;
  if (StartsWith(name, "ST") || StartsWith(name, "*ST")) return 5;
  return 10;
}

double UpLimitPrice(double previous_close, double percent) {
  return RoundToFen(previous_close * (1 + percent / 100));
}

double DownLimitPrice(double previous_close, double percent) {
  return RoundToFen(previous_close * (1 - percent / 100));
}

std::optional<double> PreviousClose(const std::vector<TBarRecord>& bars, int row, bool minute_data) {
  if (row <= 0 || row >= static_cast<int>(bars.size())) return std::nullopt;
  if (!minute_data) return bars[static_cast<size_t>(row - 1)].close;
  const std::string& today = bars[static_cast<size_t>(row)].date;
  for (int r = row - 1; r >= 0; --r)
    if (bars[static_cast<size_t>(r)].date != today) return bars[static_cast<size_t>(r)].close;
  return std::nullopt;
}

const char* PriceLimitRefusal(const TradingRules& rules, bool buy, double price,
                              std::optional<double> previous_close, std::string_view code,
                              std::string_view name) {
  if (!rules.price_limits || !previous_close || *previous_close <= 0) return nullptr;
  const double percent = PriceLimitPercent(code, name);
  if (buy && price >= UpLimitPrice(*previous_close, percent) - kPriceTolerance)
    return kUpLimitMessage;
  if (!buy && price <= DownLimitPrice(*previous_close, percent) + kPriceTolerance)
    return kDownLimitMessage;
  return nullptr;
}

}  // namespace vorelin
