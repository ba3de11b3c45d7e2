#include <gtest/gtest.h>

#include "practice/replay_controller.h"
#include "practice/session_report.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

TBarRecord Bar(const char* date, double high, double low, double close) {
  TBarRecord b;
  b.date = date;
  b.high = high;
  b.low = low;
  b.close = close;
  b.open = close;
  return b;
}

// Eight days and four trades, every figure below worked out by hand:
//   buy 500 @ 10 on day 0 (fee 5), sell them @ 11 on day 3 (fee 5, stamp 2.75, profit 500),
//   buy 1000 @ 10 on day 4 (fee 5), sell them @ 9 on day 6 (fee 5, stamp 4.5, profit −1000).
class FourTradeSession : public ::testing::Test {
 protected:
  const std::vector<TBarRecord> bars_ = {
      Bar("20240102", 10.5, 9.5, 10),   Bar("20240103", 11, 9.8, 10.5),
      Bar("20240104", 12, 10.2, 11.5),  Bar("20240105", 12.5, 10.8, 11),
      Bar("20240108", 11.2, 9.6, 10),   Bar("20240109", 10.4, 9.0, 9.5),
      Bar("20240110", 10, 8.8, 9),      Bar("20240111", 10, 8.5, 9.5)};
  const TrainingSession session_{
      0, 10000, 0,
      {{0, 20240102, 0, true, 10, 500, 5, 0, 0, 4995, 500, "突破"},
       {3, 20240105, 0, false, 11, 500, 5, 2.75, 500, 10487.25, 0, "止盈"},
       {4, 20240108, 0, true, 10, 1000, 5, 0, 0, 482.25, 1000, "回踩"},
       {6, 20240110, 0, false, 9, 1000, 5, 4.5, -1000, 9472.75, 0, "止损"}}};
};

TEST_F(FourTradeSession, Figures) {
  const SessionReport r = BuildSessionReport(bars_, session_, 7);
  EXPECT_EQ(r.first_date, 20240102);
  EXPECT_EQ(r.last_date, 20240111);
  EXPECT_DOUBLE_EQ(r.start_assets, 10000);
  EXPECT_DOUBLE_EQ(r.end_assets, 9472.75);
  EXPECT_NEAR(r.account_return_percent, -5.2725, 1e-9);
  EXPECT_NEAR(r.hold_return_percent, -5, 1e-9);  // 10 → 9.5
  EXPECT_EQ(r.trades, 4);
  EXPECT_EQ(r.round_trips, 2);
  EXPECT_EQ(r.wins, 1);
  EXPECT_EQ(r.losses, 1);
  EXPECT_DOUBLE_EQ(r.win_rate, 50);
  EXPECT_NEAR(r.average_win, 487.25, 1e-9);     // 500 − 5 − 5 − 2.75
  EXPECT_NEAR(r.average_loss, -1014.5, 1e-9);   // −1000 − 5 − 5 − 4.5
  ASSERT_TRUE(r.has_profit_factor);
  EXPECT_NEAR(r.profit_factor, 487.25 / 1014.5, 1e-12);
  // Equity 9995, 10245, 10745, 10487.25, 10482.25, 9982.25, 9472.75, 9472.75: the fall from
  // 10745 to 9472.75.
  EXPECT_EQ(r.equity, (std::vector<double>{9995, 10245, 10745, 10487.25, 10482.25, 9982.25,
                                           9472.75, 9472.75}));
  EXPECT_NEAR(r.max_drawdown, 1272.25, 1e-9);
  EXPECT_NEAR(r.max_drawdown_percent, 1272.25 / 10745 * 100, 1e-9);
  EXPECT_EQ(r.longest_losing_streak, 1);
  // Held through days 1, 2, 3, 5 and 6 of the 7 stepped.
  EXPECT_EQ(r.bars_held, 5);
  EXPECT_EQ(r.bars_revealed, 7);
  EXPECT_NEAR(r.time_in_market_percent, 500.0 / 7, 1e-9);
  EXPECT_NEAR(r.fees, 27.25, 1e-9);
  EXPECT_NEAR(r.stamp_duty, 7.25, 1e-9);
  EXPECT_NEAR(r.hold.back(), 9500, 1e-9);

  ASSERT_EQ(r.closed.size(), 2u);
  struct Want { int entry, exit; double favourable, adverse, given_back; };
  // First: best high 12.5 (+25 %), worst low 9.8 (−2 %), sold at +10 %: 15 of 25 given back.
  // Second: best 10.4 (+4 %), worst 8.8 (−12 %), sold at −10 %: all of it given back.
  const Want want[] = {{0, 3, 25, -2, 60}, {4, 6, 4, -12, 100}};
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const ClosedTrade& t = r.closed[i];
    EXPECT_EQ(t.entry_row, want[i].entry);
    EXPECT_EQ(t.exit_row, want[i].exit);
    EXPECT_NEAR(t.favourable_percent, want[i].favourable, 1e-9);
    EXPECT_NEAR(t.adverse_percent, want[i].adverse, 1e-9);
    EXPECT_TRUE(t.has_given_back);
    EXPECT_NEAR(t.given_back_percent, want[i].given_back, 1e-9);
  }
  EXPECT_NEAR(r.closed[0].stamp_duty, 2.75, 1e-12);
}

TEST_F(FourTradeSession, RangeEndsAtTheLastRevealedBar) {
  // Back at day 5: the last sale lies beyond the range, the second trip is still open.
  const SessionReport r = BuildSessionReport(bars_, session_, 5);
  EXPECT_EQ(r.trades, 3);
  EXPECT_EQ(r.round_trips, 1);
  EXPECT_FALSE(r.has_profit_factor);
  EXPECT_DOUBLE_EQ(r.end_assets, 9982.25);
  EXPECT_TRUE(BuildSessionReport(bars_, session_, -1).equity.empty());
}

TEST_F(FourTradeSession, TextNamesTheStockOnlyWhenGiven) {
  const SessionReport r = BuildSessionReport(bars_, session_, 7);
  const std::string open = SessionReportText(r, "600000 浦发银行    20240102 - 20240111");
  for (const char* part : {"训练报告\r\n", "股票：600000 浦发银行    20240102 - 20240111\r\n",
                           "账户收益率：  -5.27%", "买入持有：    -5.00%", "最长连亏：    1 次",
                           "其中印花税：  7.25", "印花税", "第1根", "第4根", "25.00%", "60.00%"})
    EXPECT_NE(open.find(part), std::string::npos) << part << "\n" << open;
  const std::string blind = SessionReportText(r, "");
  EXPECT_NE(blind.find("股票：******"), std::string::npos);
  for (const char* hidden : {"600000", "浦发", "2024"}) EXPECT_EQ(blind.find(hidden), std::string::npos) << hidden;
}

TEST(SessionReport, ReplayRecordsTheSessionFromTheWindowShown) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 60);
  testing::RecordingChart chart;
  testing::RecordingMessages messages;
  ReplayController r(root.path(), chart, messages);
  r.Boxes.Period = 1;
  r.ApplyStockCode("600000");
  r.Base().StartRow = 0;
  r.Base().SetCurrentRow(9);
  r.OpenStock();
  EXPECT_EQ(r.Training().start_row, 9);
  r.NextClick();  // row 10, close 20
  r.QuantityBox = "100";
  r.BuyClick();
  for (int i = 0; i < 4; ++i) r.NextClick();  // row 14, close 24
  r.QuantityBox = "100";
  r.ReasonBox = "止盈";
  r.SellClick();
  ASSERT_EQ(r.Training().trades.size(), 2u);
  EXPECT_EQ(r.Training().trades[0].row, 10);
  EXPECT_EQ(r.Training().trades[1].reason, "止盈");
  ASSERT_EQ(chart.marks.size(), 2u);  // the chart draws both
  EXPECT_EQ(chart.marks[1].date, testing::TempRoot::DateOf(14));
  const SessionReport report = r.Report();
  EXPECT_EQ(report.bars_revealed, 5);
  EXPECT_NEAR(report.hold_return_percent, (24.0 / 19 - 1) * 100, 1e-9);
  EXPECT_EQ(report.round_trips, 1);
  EXPECT_NE(r.ReportText().find("600000"), std::string::npos);
  r.LoadRandomWindow();  // a new window is a new session
  EXPECT_TRUE(r.Training().trades.empty());
  EXPECT_TRUE(chart.marks.empty());
}

}  // namespace
}  // namespace vorelin
