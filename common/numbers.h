// Number conversion from text that falls back to a value instead of failing, with "." as
// the decimal point whatever the user's locale.
#pragma once

#include <optional>
#include <string_view>

namespace vorelin {

// A decimal number: optional sign, digits with an optional "." fraction and exponent.
// Surrounding spaces are allowed; anything else (or an empty text) is not a number.
std::optional<double> ParseDecimal(std::string_view text);
double ParseDecimalOr(std::string_view text, double fallback = 0.0);

// A 32-bit integer: optional sign and decimal digits (or "$" + hex digits), surrounding
// spaces allowed. Out-of-range values are not numbers.
std::optional<int> ParseInt(std::string_view text);
int ParseIntOr(std::string_view text, int fallback);

// Truncation toward zero of a double into an int, saturating instead of overflowing.
int TruncToInt(double value);

}  // namespace vorelin
