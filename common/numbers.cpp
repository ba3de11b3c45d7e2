#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vorelin {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // from_chars accepts "inf" and "nan", which are not numbers in data files or formulas.
  char first = text[0] == '-' && text.size() > 1 ? text[1] : text[0];
  if (!(first >= '0' && first <= '9') && first != '.') return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::general);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

double ParseDecimalOr(std::string_view text, double fallback) {
  return ParseDecimal(text).value_or(fallback);
}

std::optional<int> ParseInt(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

int ParseIntOr(std::string_view text, int fallback) { return ParseInt(text).value_or(fallback); }

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace vorelin
