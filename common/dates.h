// Dates as the system writes them: YYYYMMDD numbers, with the Chinese date captions.
#pragma once

#include <string>

namespace vorelin {

struct YearMonthDay {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Splits YYYYMMDD arithmetically: year = d div 10000, month = (d mod 10000) div 100,
// day = d mod 100. No validation.
YearMonthDay SplitDate(int yyyymmdd);

// True when the date is a day of the Gregorian calendar in the years 1 … 9999 (so 20240229
// is one, 20230229 and 20240230 are not).
bool IsCalendarDate(int yyyymmdd);

// Days since 1970-01-01 of a proleptic Gregorian date; month and day may be out of range
// (they carry over, as date arithmetic usually allows).
long long DaysFromCivil(int year, int month, int day);

// Day of the week of a YYYYMMDD date, 0 = Sunday … 6 = Saturday.
int Weekday(int yyyymmdd);

// Days from 1990-12-19 to the date (1990-12-20 gives 1).
int DaysFrom19901219(int yyyymmdd);

// "%04d年%d月%02d日" of the date.
std::string ChineseDateText(int yyyymmdd);

// " 星期" + "日一二三四五六"[weekday].
std::string ChineseWeekdayText(int yyyymmdd);

}  // namespace vorelin
