#include <gtest/gtest.h>

#include <clocale>

#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {
namespace {

TEST(Numbers, DecimalsFallBack) {
  struct Case { const char* text; double want; };
  const Case cases[] = {{"12.5", 12.5}, {" -3 ", -3}, {"+4.25", 4.25}, {"1e3", 1000},
                        {".5", 0.5},    {"", 0},      {"abc", 0},      {"12,5", 0},
                        {"\"12\"", 0},  {"nan", 0},   {"inf", 0},      {"1.2.3", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDecimalOr(c.text), c.want);
  }
  EXPECT_EQ(ParseDecimalOr("x", 7.5), 7.5);
}

TEST(Numbers, IntegersFallBackToTheCallersDefault) {
  EXPECT_EQ(ParseIntOr("20240102", 19911010), 20240102);
  EXPECT_EQ(ParseIntOr("2024.5", 19911010), 19911010);
  EXPECT_EQ(ParseIntOr("", 20000105), 20000105);
  EXPECT_EQ(ParseIntOr(" -12 ", 0), -12);
  EXPECT_EQ(ParseIntOr("$1F", 0), 31);
  EXPECT_EQ(ParseIntOr("99999999999", 5), 5);
}

TEST(Numbers, TruncationSaturates) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(1e20), 2147483647);
  EXPECT_EQ(TruncToInt(-1e20), -2147483647 - 1);
}

TEST(Format, QuotedFormats) {
  EXPECT_EQ(Format("%.4f", 10000.0), "10000.0000");
  EXPECT_EQ(Format("%7.2f", 3.14159), "   3.14");
  EXPECT_EQ(Format("%.04d", 930), "0930");
  EXPECT_EQ(Format("%6.0F", 1234.6), "  1235");
  EXPECT_EQ(Format("%-6s|", "ma1"), "ma1   |");
}

TEST(Format, DecimalPointIgnoresTheProcessLocale) {
  const char* de = std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(Format("%.2f", 1.5), "1.50");
  EXPECT_EQ(ParseDecimalOr("1.5"), 1.5);
  if (de) std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace vorelin
