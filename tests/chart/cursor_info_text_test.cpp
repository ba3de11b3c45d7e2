// The cursor information text of both views, from a scripted price pane.
#include <gtest/gtest.h>

#include "chart/cursor_info_text.h"
#include "tests/chart/fake_formula.h"

namespace vorelin::testing {
namespace {

// Three day bars: 2024-03-08 (Friday), 03-11 (Monday) and 03-12.
FakeFormula DayBars() {
  FakeFormula f;
  f.SetRawSeries("date", {20240308, 20240311, 20240312});
  f.SetRawSeries("time", {0, 0, 1030});
  f.SetRawSeries("open", {10, 10.2, 10.5});
  f.SetRawSeries("high", {10.4, 10.8, 10.9});
  f.SetRawSeries("low", {9.8, 10.0, 10.1});
  f.SetRawSeries("close", {10.0, 10.5, 10.6});
  f.SetRawSeries("vol", {123400, 50000, 60000});
  f.SetRawSeries("Amount", {1234567, 500000, 600000});
  return f;
}

TEST(CursorInfoText, KLineLinesInOrder) {
  FakeFormula f = DayBars();
  CursorInfoInput in;
  in.bar = 1;
  in.cursor_value = 10.25;
  EXPECT_EQ(KLineCursorInfo(f, in),
            "　 日期:2024/03/11/周一\r\n"
            " 　数值:10.250\r\n"
            " 　开盘:10.20\r\n"
            "　 最高:10.80\r\n"
            " 　最低:10.00\r\n"
            " 　收盘:10.50\r\n"
            " 成交量:500\r\n"
            " 成交额:50.00万\r\n"
            "　 涨跌:5.00%\r\n"
            "　 振幅:8.00%\r\n");
}

TEST(CursorInfoText, KLineFirstBarHasNoChangeAndNoValueWithoutOne) {
  FakeFormula f = DayBars();
  CursorInfoInput in;
  in.bar = 0;
  const std::string text = KLineCursorInfo(f, in);
  EXPECT_EQ(text.rfind("　 日期:2024/03/08/周五\r\n 　开盘:10.00\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("涨跌"), std::string::npos);
  EXPECT_EQ(text.find("数值"), std::string::npos);
}

TEST(CursorInfoText, KLineMinutePeriodsTurnoverAndExRights) {
  FakeFormula f = DayBars();
  CursorInfoInput in;
  in.bar = 2;
  in.period = TWeekStyle::wsMin5;
  in.capital.cursor_turnover_flag = 1;
  in.capital.circulating_shares = 20000;
  in.ex_rights = {{20240311, 9, 9, 9, 9}, {20240312, 2.5f, 8.5f, 3, 0}};
  const std::string text = KLineCursorInfo(f, in);
  EXPECT_EQ(text.rfind("　 日期:2024/03/12/周二-1030\r\n", 0), 0u) << text;
  const std::string tail = " 换手率:0.03%\r\n"
                           " 流通股:2.00亿\r\n"
                           " 10股送:2.50元\r\n"
                           " 10股送:3.00股\r\n"
                           " 配股价:8.50元\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
}

TEST(CursorInfoText, KLineBlindDateAndTradesAtTheBar) {
  FakeFormula f = DayBars();
  CursorInfoInput in;
  in.bar = 1;
  in.hide_date = true;
  in.trade_lines = {"买入 10.50", "卖出 10.70"};
  const std::string text = KLineCursorInfo(f, in);
  EXPECT_EQ(text.rfind("　 日期:******\r\n 　开盘:10.20\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("2024"), std::string::npos) << text;
  const std::string tail = " 　买入 10.50\r\n 　卖出 10.70\r\n";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
}

TEST(CursorInfoText, KLineOutsideTheBarsIsEmpty) {
  FakeFormula f = DayBars();
  CursorInfoInput in;
  in.bar = 3;
  EXPECT_EQ(KLineCursorInfo(f, in), "");
  in.bar = -1;
  EXPECT_EQ(KLineCursorInfo(f, in), "");
}

TEST(CursorInfoText, MinuteSlotClocks) {
  const struct {
    int slot;
    const char* clock;
  } kSlots[] = {{0, "09:30"}, {29, "09:59"}, {30, "10:00"}, {120, "11:30"}, {121, "13:01"}, {239, "14:59"},
                {240, "15:00"}};
  for (const auto& c : kSlots) EXPECT_EQ(MinuteSlotClock(c.slot), c.clock) << c.slot;
}

TEST(CursorInfoText, TimeSharingLines) {
  struct Case {
    const char* name;
    double reference;
    double amount;
    const char* want;
  };
  const Case kCases[] = {
      {"hundred-millions", 10.0, 2'500'000, "　 时间:13:01\r\n 　价位:10.200\r\n　 涨跌:2.00%\r\n 成交量:300\r\n 成交额:2.50亿\r\n"},
      {"ten-thousands", 10.0, 12'345, "　 时间:13:01\r\n 　价位:10.200\r\n　 涨跌:2.00%\r\n 成交量:300\r\n 成交额:123.45万\r\n"},
      {"small amount, no reference", kChartNoValue, 50,
       "　 时间:13:01\r\n 　价位:10.200\r\n 成交量:300\r\n 成交额:5000\r\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FakeFormula f;
    std::vector<double> close(122, 10.0), amount(122, 0), vol(122, 0);
    close[121] = 10.2;
    amount[121] = c.amount;
    vol[121] = 300;
    f.SetRawSeries("close", close);
    f.SetRawSeries("amount", amount);
    f.SetRawSeries("vol", vol);
    CursorInfoInput in;
    in.bar = 121;
    in.reference = c.reference;
    EXPECT_EQ(TimeSharingCursorInfo(f, in), c.want);
  }
}

}  // namespace
}  // namespace vorelin::testing
