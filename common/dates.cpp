#include "common/dates.h"

#include "common/format.h"

namespace vorelin {

YearMonthDay SplitDate(int yyyymmdd) {
  return {yyyymmdd / 10000, (yyyymmdd % 10000) / 100, yyyymmdd % 100};
}

bool IsCalendarDate(int yyyymmdd) {
  const YearMonthDay d = SplitDate(yyyymmdd);
  if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
  const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  const int kDays[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return d.day <= kDays[d.month - 1];
}

long long DaysFromCivil(int year, int month, int day) {
  // Normalise the month first so that month 13 or 0 carries into the year.
  long long y = year;
  long long m = month - 1;
  y += m >= 0 ? m / 12 : (m - 11) / 12;
  m = ((m % 12) + 12) % 12 + 1;
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int Weekday(int yyyymmdd) {
  YearMonthDay d = SplitDate(yyyymmdd);
  long long days = DaysFromCivil(d.year, d.month, d.day);
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

int DaysFrom19901219(int yyyymmdd) {
  YearMonthDay d = SplitDate(yyyymmdd);
  return static_cast<int>(DaysFromCivil(d.year, d.month, d.day) - DaysFromCivil(1990, 12, 19));
}

std::string ChineseDateText(int yyyymmdd) {
  YearMonthDay d = SplitDate(yyyymmdd);
  return Format("%04d年%d月%02d日", d.year, d.month, d.day);
}

std::string ChineseWeekdayText(int yyyymmdd) {
  static const char* const kNames[] = {"日", "一", "二", "三", "四", "五", "六"};
  return std::string(" 星期") + kNames[Weekday(yyyymmdd)];
}

}  // namespace vorelin
