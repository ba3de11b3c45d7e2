#include <gtest/gtest.h>

#include "common/text_encoding.h"
#include "common/text_file.h"
#include "practice/results.h"
#include "temp_root.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

class ResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(store_.CreateIfMissing(error)) << error;
    account_.BuyRate = 0.0025;
    account_.SellRate = 0.005;
    account_.Mark(10);
  }
  void Trade(const char* direction, const std::string& qty) {
    RecordedTrade recorded;
    std::string error;
    ASSERT_TRUE(store_.RecordTrade({"张三", "600000", direction, 20240105, qty}, account_,
                                   nullptr, recorded, error))
        << error;
  }
  std::string Statistics() {
    QueryResult rows;
    JournalStatistics stats;
    std::string error;
    EXPECT_TRUE(store_.ReadJournal("张三", rows, error)) << error;
    EXPECT_TRUE(store_.ReadStatistics("张三", stats, error)) << error;
    return StatisticsText(BuildJournalLines(rows).size(), stats);
  }

  testing::TempRoot root_;
  JournalStore store_{root_.path()};
  TGpAcount account_;
};

TEST_F(ResultsTest, StatisticsTextForTrades) {
  ASSERT_TRUE(account_.Buy(10, 100));
  Trade(kBuyDirection, "100");
  ASSERT_TRUE(account_.Sell(12.5, 100));
  Trade(kSellDirection, "100");
  EXPECT_EQ(Statistics(),
            "交易统计    \r\n"
            "交易次数:      2      单次最大盈利:  250\r\n"
            "单次最大亏损： 0      盈利总额：     250\r\n"
            "手续费总额：   8.75      净盈利：       241.25\r\n");
}

TEST_F(ResultsTest, StatisticsTextForBuysOnly) {
  ASSERT_TRUE(account_.Buy(10, 100));
  Trade(kBuyDirection, "100");
  EXPECT_EQ(Statistics(),
            "交易统计    \r\n"
            "交易次数:      1      单次最大盈利:  0\r\n"
            "单次最大亏损： 0      盈利总额：     0\r\n"
            "手续费总额：   2.50      净盈利：       -2.50\r\n");
}

TEST_F(ResultsTest, JournalLinesKeepReadBackValuesAndColours) {
  ASSERT_TRUE(account_.Buy(10, 100));
  Trade(kBuyDirection, "100");
  account_.Mark(10.125);
  ASSERT_TRUE(account_.Sell(10.125, 100));
  Trade(kSellDirection, "100");
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store_.ReadJournal("张三", rows, error));
  const std::vector<JournalLine> lines = BuildJournalLines(rows);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].colour, kOpeningLineColour);
  EXPECT_EQ(lines[1].colour, kOtherLineColour);
  EXPECT_EQ(lines[1].Value(4), "10.1250");   // 价格 as written
  EXPECT_EQ(lines[1].Value(7), "5.06");      // 手续费 with two decimals
  EXPECT_EQ(lines[1].Value(8), "12.50");     // 获利金额
  EXPECT_EQ(lines[1].Value(12), "理由");
  for (const char* direction : {"多开", "空开", "证券买入"})
    EXPECT_EQ(JournalLineColour(direction), 0x0000FFu) << direction;
  for (const char* direction : {"证券卖出", "多平", ""})
    EXPECT_EQ(JournalLineColour(direction), 0xFF0000u) << direction;
}

TEST_F(ResultsTest, EquityPointsAscendByNumberNotText) {
  QueryResult rows;
  rows.columns = {"SNo", "sProperty"};
  rows.rows = {{"10", "10191.0000"}, {"11", "10263.0000"}, {"12", "10155"}, {"9", "10000"},
               {"x", "abc"}};
  const std::vector<EquityPoint> points = BuildEquityPoints(rows);
  ASSERT_EQ(points.size(), 5u);
  const double want_x[] = {0, 9, 10, 11, 12};
  const double want_y[] = {0, 10000, 10191, 10263, 10155};
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].sno, want_x[i]);
    EXPECT_EQ(points[i].assets, want_y[i]);
  }
}

JournalLine Line(const char* direction, const char* qty, const char* commission,
                 const char* profit) {
  JournalLine line;
  line.values = {"0", "600000", "20240105", direction, "10.0000", qty, "0", commission,
                 profit, "0", "", "", "理由"};
  return line;
}

// Two winning and one losing round trip, computed by hand:
// 200 - 3 - 6 = 191; 50 + 30 - 4 - 2 - 2 = 72; -100 - 3 - 5 = -108.
TEST(TraderStatistics, HandComputedJournal) {
  const std::vector<JournalLine> lines = {
      Line("证券卖出", "0", "0", "0"),  // a sale with nothing held: no round trip
      Line("证券买入", "100", "3", "0"),   Line("证券卖出", "100", "6", "200"),
      Line("证券买入", "200", "4", "0"),   Line("证券卖出", "100", "2", "50"),
      Line("证券卖出", "100", "2", "30"),  Line("证券买入", "100", "3", "0"),
      Line("证券卖出", "100", "5", "-100"), Line("证券买入", "100", "3", "0"),  // still open
  };
  const std::vector<EquityPoint> points = {{0, 10000}, {1, 10191}, {2, 10263}, {3, 10155}};
  const TraderStatistics s = ComputeTraderStatistics(lines, points, 10000, 10155);
  EXPECT_EQ(s.round_trips, 3);
  EXPECT_EQ(s.wins, 2);
  EXPECT_EQ(s.losses, 1);
  EXPECT_NEAR(s.win_rate, 200.0 / 3, 1e-9);
  EXPECT_NEAR(s.average_win, 131.5, 1e-9);
  EXPECT_NEAR(s.average_loss, -108, 1e-9);
  ASSERT_TRUE(s.has_profit_factor);
  EXPECT_NEAR(s.profit_factor, 263.0 / 108, 1e-9);
  EXPECT_NEAR(s.max_drawdown, 108, 1e-9);
  EXPECT_NEAR(s.max_drawdown_percent, 108 / 10263.0 * 100, 1e-9);
  EXPECT_NEAR(s.net_return_percent, 1.55, 1e-9);
  EXPECT_EQ(TraderStatisticsText(s),
            "完成回合:      3      胜率：         66.67%\r\n"
            "平均盈利：     131.50      平均亏损：     -108.00\r\n"
            "盈亏因子：     2.44\r\n"
            "最大回撤：     108.00 (1.05%)\r\n"
            "净收益率：     1.55%\r\n");
}

// A first round trip that loses is a drawdown from the initial capital, even though the
// journal holds a single equity point (no reset wrote one at the start).
TEST(TraderStatistics, DrawdownCountsFromTheInitialCapital) {
  const std::vector<JournalLine> lines = {Line("证券买入", "100", "3", "0"),
                                          Line("证券卖出", "100", "5", "-400")};
  const TraderStatistics s = ComputeTraderStatistics(lines, {{0, 9592}}, 10000, 9592);
  EXPECT_NEAR(s.max_drawdown, 408, 1e-9);
  EXPECT_NEAR(s.max_drawdown_percent, 4.08, 1e-9);
}

TEST(TraderStatistics, NoLossesAndNoCapital) {
  const TraderStatistics s =
      ComputeTraderStatistics({Line("证券买入", "100", "1", "0"), Line("证券卖出", "100", "1", "50")},
                              {}, 0, 0);
  EXPECT_EQ(s.round_trips, 1);
  EXPECT_FALSE(s.has_profit_factor);
  EXPECT_FALSE(s.has_net_return);
  EXPECT_NE(TraderStatisticsText(s).find("盈亏因子：     无亏损"), std::string::npos);
}

TEST_F(ResultsTest, ExportWritesTabSeparatedGbk) {
  const std::vector<JournalLine> lines = {Line("证券买入", "100", "3", "0")};
  fs::path written;
  ASSERT_TRUE(ExportJournal(root_.path(), "张/三", lines, written));
  EXPECT_EQ(written.parent_path(), root_.path() / "Export");
  EXPECT_TRUE(testing::HasShape(written.filename().string(), "张_三 99999999 999999.xls"))
      << written;
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(written, bytes));
  EXPECT_EQ(bytes, Utf8ToGbk("序号\t代码\t成交日期\t交易方向\t价格\t成交数量\t金额\t手续费\t"
                             "获利金额\t剩余资金\t时间\t图片路径\t\r\n"
                             "0\t600000\t20240105\t证券买入\t10.0000\t100\t0\t3\t0\t0\t\t\t理由\r\n"));
}

}  // namespace
}  // namespace vorelin
