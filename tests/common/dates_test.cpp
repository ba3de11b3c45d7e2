#include <gtest/gtest.h>

#include "common/dates.h"

namespace vorelin {
namespace {

TEST(Dates, SplitAndWeekday) {
  YearMonthDay d = SplitDate(20240131);
  EXPECT_EQ(d.year, 2024);
  EXPECT_EQ(d.month, 1);
  EXPECT_EQ(d.day, 31);
  struct Case { int date; int weekday; };
  const Case cases[] = {{20240101, 1}, {20241208, 0}, {19901219, 3}, {20000229, 2}, {20261210, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(Weekday(c.date), c.weekday);
  }
}

TEST(Dates, CalendarDates) {
  for (int date : {20240229, 20000229, 20231231, 20240131, 10101, 99991231}) {
    SCOPED_TRACE(date);
    EXPECT_TRUE(IsCalendarDate(date));
  }
  for (int date : {20240230, 20230229, 19000229, 20240431, 20241301, 20240001, 20240100, 101,
                   100000101}) {
    SCOPED_TRACE(date);
    EXPECT_FALSE(IsCalendarDate(date));
  }
}

TEST(Dates, DaysFrom19901219) {
  EXPECT_EQ(DaysFrom19901219(19901219), 0);
  EXPECT_EQ(DaysFrom19901219(19901220), 1);
  EXPECT_EQ(DaysFrom19901219(19910101), 13);
  EXPECT_EQ(DaysFrom19901219(20001219), 3653);
}

TEST(Dates, ChineseCaptions) {
  EXPECT_EQ(ChineseDateText(20240105), "2024年1月05日");
  EXPECT_EQ(ChineseWeekdayText(20240105), " 星期五");
  EXPECT_EQ(ChineseWeekdayText(20240107), " 星期日");
}

}  // namespace
}  // namespace vorelin
