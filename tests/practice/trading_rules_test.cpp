#include <gtest/gtest.h>

#include <fstream>

#include "common/numbers.h"
#include "practice/account.h"
#include "practice/practice_session.h"
#include "practice/trading_rules.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

// One trade under the fee rules, figures worked out by hand.
struct FeeCase {
  const char* name;
  double buy_rate, sell_rate, stamp_rate, minimum;
  bool buy;
  double price, qty;
  double commission, stamp, amount, cash_after;
};

// Buys start from cash 30000; sales from 1000 shares bought at 10 without fees, cash 10000 left.
const FeeCase kFeeCases[] = {
    // 100 × 10 = 1000; 0.3 ‰ is 0.30 < 5, so 5; cost 1005.
    {"small buy pays the minimum", 0.0003, 0, 0, 5, true, 10, 100, 5, 0, 1005, 28995},
    // 2000 × 10 = 20000; 0.3 ‰ is 6.00 > 5.
    {"large buy pays the rate", 0.0003, 0, 0, 5, true, 10, 2000, 6, 0, 20006, 9994},
    // 1000 × 11 = 11000; 0.3 ‰ is 3.30 < 5, so 5; stamp 0.5 ‰ of 11000 = 5.50.
    {"sale with minimum and stamp", 0, 0.0003, 0.0005, 5, false, 11, 1000, 5, 5.5, 10989.5,
     20989.5},
    // 1000 × 12 = 12000; 1 ‰ = 12 > 5; stamp 1 ‰ = 12.
    {"sale with rate and stamp 1 ‰", 0, 0.001, 0.001, 5, false, 12, 1000, 12, 12, 11976, 21976},
    // Stamp duty is charged on sales only.
    {"buy pays no stamp", 0.001, 0, 0.0005, 0, true, 10, 500, 5, 0, 5005, 24995},
    // Rules off: 1000 × 11 × 0.5 % = 55, the plain arithmetic.
    {"rules off", 0, 0.005, 0, 0, false, 11, 1000, 55, 0, 10945, 20945},
};

TEST(TradingRules, FeeArithmetic) {
  for (const FeeCase& c : kFeeCases) {
    SCOPED_TRACE(c.name);
    TGpAcount account(c.buy ? 30000 : 20000);
    if (!c.buy) {
      ASSERT_TRUE(account.Buy(10, 1000));
    }
    account.BuyRate = c.buy_rate;
    account.SellRate = c.sell_rate;
    account.StampDutyRate = c.stamp_rate;
    account.MinCommission = c.minimum;
    ASSERT_TRUE(c.buy ? account.Buy(c.price, c.qty) : account.Sell(c.price, c.qty));
    EXPECT_NEAR(account.Commission, c.commission, 1e-9);
    EXPECT_NEAR(account.StampDuty, c.stamp, 1e-9);
    EXPECT_NEAR(account.LastAmount, c.amount, 1e-9);
    EXPECT_NEAR(account.Cash, c.cash_after, 1e-9);
  }
}

TEST(TradingRules, MinimumCommissionCanMakeABuyTooDear) {
  TGpAcount account(1004);
  account.BuyRate = 0.0003;
  account.MinCommission = 5;
  EXPECT_FALSE(account.Buy(10, 100));  // 1000 + 5 > 1004
  EXPECT_EQ(account.LastMessage, "可用资金不足！");
  EXPECT_EQ(account.Cash, 1004);
  EXPECT_EQ(account.LongQty, 0);
  // '全仓' counts the minimum: 99 shares' worth rounds to no lot at all.
  account.Mark(10);
  EXPECT_EQ(account.BuyChoiceQuantity("全仓"), 0);
  TGpAcount rich(1010);
  rich.MinCommission = 5;
  rich.Mark(5);
  // trunc(1010 × 0.99 / 5) = 199 → 100 shares; 500 + 5 fits.
  EXPECT_EQ(rich.BuyChoiceQuantity("全仓"), 100);
}

TEST(TradingRules, TPlusOne) {
  struct Step { int day; bool buy; double qty; bool done; };
  struct Case { const char* name; bool t1; std::vector<Step> steps; };
  const Case cases[] = {
      {"same day sale refused", true, {{1, true, 500, true}, {1, false, 500, false}}},
      {"next day sale allowed", true, {{1, true, 500, true}, {2, false, 500, true}}},
      {"older shares sell on a buy day", true,
       {{1, true, 1000, true}, {2, true, 500, true}, {2, false, 1000, true}, {2, false, 1, false},
        {3, false, 500, true}}},
      {"a day went back to stays locked", true,
       {{5, true, 300, true}, {4, false, 300, false}}},
      {"off: same day sale allowed", false, {{1, true, 500, true}, {1, false, 500, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGpAcount account(100000);
    account.TPlusOne = c.t1;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(i);
      const Step& s = c.steps[i];
      account.SetTradingDay(20240100 + s.day);
      const double cash = account.Cash, qty = account.LongQty, cost = account.LongCost;
      const bool done = s.buy ? account.Buy(10, s.qty) : account.Sell(10, s.qty);
      EXPECT_EQ(done, s.done);
      if (!done) {
        EXPECT_EQ(account.LastMessage, "T+1：今日买入的股票明日才能卖出！");
        EXPECT_EQ(account.Cash, cash);  // a refusal changes nothing
        EXPECT_EQ(account.LongQty, qty);
        EXPECT_EQ(account.LongCost, cost);
      }
    }
  }
}

TEST(TradingRules, SellChoicesCountWhatMaySellToday) {
  TGpAcount account(100000);
  account.TPlusOne = true;
  account.SetTradingDay(20240102);
  ASSERT_TRUE(account.Buy(10, 1000));
  EXPECT_EQ(account.SellChoiceQuantity("全仓"), 1000);  // nothing sellable: the sale says why
  account.SetTradingDay(20240103);
  ASSERT_TRUE(account.Buy(10, 600));
  EXPECT_EQ(account.SellableQty(), 1000);
  EXPECT_EQ(account.SellChoiceQuantity("全仓"), 1000);
  EXPECT_EQ(account.SellChoiceQuantity("半仓"), 500);
}

TEST(TradingRules, LimitPercentByBoardAndName) {
  struct Case { const char* code; const char* name; double percent; };
  const Case cases[] = {{"600000", "浦发银行", 10}, {"000001", "ST平安", 5},
                        {"000002", "*ST万科", 5},  {"300750", "宁德时代", 20},
                        {"688981", "中芯国际", 20}, {"SZ300001", "特锐德", 20},
                        {"300001", "ST创业", 20},   {"600001", "STAR", 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(PriceLimitPercent(c.code, c.name), c.percent);
  }
}

TEST(TradingRules, LimitPricesRoundHalfUpToTheFen) {
  struct Case { double previous, percent, up, down; };
  const Case cases[] = {{10.00, 10, 11.00, 9.00},
                        {9.05, 10, 9.96, 8.15},    // 9.955 and 8.145 round up
                        {12.34, 5, 12.96, 11.72},  // 12.957 and 11.723
                        {25.00, 20, 30.00, 20.00}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.previous);
    EXPECT_DOUBLE_EQ(UpLimitPrice(c.previous, c.percent), c.up);
    EXPECT_DOUBLE_EQ(DownLimitPrice(c.previous, c.percent), c.down);
  }
}

TEST(TradingRules, PriceLimitRefusals) {
  TradingRules on;
  on.price_limits = true;
  struct Case { const char* name; bool rules_on; bool buy; double price; std::optional<double> previous; const char* code; const char* refusal; };
  const Case cases[] = {
      {"buy at the up limit", true, true, 11.00, 10, "600000", "涨停无法买入！"},
      {"buy a fen below it", true, true, 10.99, 10, "600000", nullptr},
      {"sell at the down limit", true, false, 9.00, 10, "600000", "跌停无法卖出！"},
      {"sell at the up limit", true, false, 11.00, 10, "600000", nullptr},
      {"buy at the down limit", true, true, 9.00, 10, "600000", nullptr},
      {"growth board at +10 %", true, true, 11.00, 10, "300001", nullptr},
      {"growth board at +20 %", true, true, 12.00, 10, "300001", "涨停无法买入！"},
      {"first day of the file", true, true, 11.00, std::nullopt, "600000", nullptr},
      {"rule off", false, true, 11.00, 10, "600000", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const char* got = PriceLimitRefusal(c.rules_on ? on : TradingRules{}, c.buy, c.price,
                                        c.previous, c.code, "某股");
    EXPECT_STREQ(got == nullptr ? "" : got, c.refusal == nullptr ? "" : c.refusal);
  }
}

TEST(TradingRules, PreviousCloseOfDayAndMinuteData) {
  auto bar = [](const char* date, double close) {
    TBarRecord b;
    b.date = date;
    b.close = close;
    return b;
  };
  const std::vector<TBarRecord> days = {bar("20240102", 10), bar("20240103", 11), bar("20240104", 12)};
  EXPECT_FALSE(PreviousClose(days, 0, false));
  EXPECT_EQ(PreviousClose(days, 2, false), 11);
  const std::vector<TBarRecord> minutes = {bar("20240102", 10), bar("20240102", 10.5),
                                           bar("20240103", 11), bar("20240103", 11.5)};
  EXPECT_FALSE(PreviousClose(minutes, 1, true));        // still the first day
  EXPECT_EQ(PreviousClose(minutes, 3, true), 10.5);     // the last close of the day before
}

TEST(TradingRules, RulesOptionAndSettings) {
  UserSettings boxes;
  EXPECT_EQ(TradingRulesOf(boxes).stamp_duty_rate, 0);  // all off by default
  std::string error;
  ASSERT_TRUE(ApplyRulesOption("t1,stamp,min5,limit", boxes, error)) << error;
  TradingRules rules = TradingRulesOf(boxes);
  EXPECT_TRUE(rules.t_plus_one);
  EXPECT_TRUE(rules.price_limits);
  EXPECT_DOUBLE_EQ(rules.stamp_duty_rate, 0.0005);
  EXPECT_DOUBLE_EQ(rules.minimum_commission, 5);
  ASSERT_TRUE(ApplyRulesOption("stamp1,min0.1", boxes, error));
  rules = TradingRulesOf(boxes);
  EXPECT_DOUBLE_EQ(rules.stamp_duty_rate, 0.001);
  EXPECT_DOUBLE_EQ(rules.minimum_commission, 0.1);
  const UserSettings before = boxes;
  EXPECT_FALSE(ApplyRulesOption("t1,t2", boxes, error));
  EXPECT_NE(error.find("t2"), std::string::npos);
  EXPECT_EQ(boxes.StampDutyRate, before.StampDutyRate);
}

// The rules through the replay and the journal: a refused sale writes nothing, the stamp duty
// is charged with the commission and counted apart in the statistics.
TEST(TradingRules, SessionRefusesAndJournalsTheStampDuty) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 60);
  testing::RecordingChart chart;
  testing::RecordingMessages messages;
  PracticeSession session(root.path(), "张三", chart, messages,
                          [](const std::filesystem::path&) { return false; });
  ASSERT_TRUE(session.Start());
  ReplayController& r = session.Replay();
  r.Boxes.Period = 1;
  std::string error;
  ASSERT_TRUE(ApplyRulesOption("t1,stamp,min5", r.Boxes, error));
  r.ApplyStockCode("600000");
  r.OpenStock();
  for (int i = 0; i < 5; ++i) r.NextClick();  // close 15
  r.QuantityBox = "100";
  r.BuyClick();
  ASSERT_EQ(messages.Last(), "买入成功！");
  r.SellClick();
  EXPECT_EQ(messages.Last(), "T+1：今日买入的股票明日才能卖出！");
  EXPECT_EQ(r.Account().LongQty, 100);
  std::vector<JournalLine> lines;
  std::string statistics;
  ASSERT_TRUE(session.JournalPage(lines, statistics));
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_DOUBLE_EQ(ParseDecimalOr(lines[0].Value(7)), 5);  // 1500 × 3 ‰ = 4.50: the minimum
  r.NextClick();                             // close 16
  r.SellClick();
  ASSERT_EQ(messages.Last(), "卖出成功");
  ASSERT_TRUE(session.JournalPage(lines, statistics));
  ASSERT_EQ(lines.size(), 2u);
  // 1600 × 5 ‰ = 8 commission + 1600 × 0.5 ‰ = 0.80 stamp duty.
  EXPECT_DOUBLE_EQ(ParseDecimalOr(lines[1].Value(7)), 8.8);
  EXPECT_EQ(lines[1].Value(6), "1591.2000");
  EXPECT_NE(statistics.find("手续费总额：   13.8"), std::string::npos) << statistics;
  EXPECT_NE(statistics.find("其中印花税：   0.8"), std::string::npos) << statistics;
}

TEST(TradingRules, SessionRefusesAtTheLimit) {
  testing::TempRoot root;
  std::filesystem::create_directories(root.path() / "DayData");
  // 10 → 11 is +10 %: the second day closes at the up limit, the third at the down limit.
  std::ofstream(root.path() / "DayData" / "600000.TXT", std::ios::binary)
      << "20240102,10,10,10,10,1,1\r\n20240103,11,11,11,11,1,1\r\n"
         "20240104,9.9,9.9,9.9,9.9,1,1\r\n";
  testing::RecordingChart chart;
  testing::RecordingMessages messages;
  ReplayController r(root.path(), chart, messages);
  r.Boxes.Period = 1;
  r.Boxes.RulePriceLimits = true;
  r.ApplyStockCode("600000");
  r.OpenStock();
  r.NextClick();
  r.QuantityBox = "100";
  r.BuyClick();
  EXPECT_EQ(messages.Last(), "涨停无法买入！");
  EXPECT_EQ(r.Account().LongQty, 0);
  r.Boxes.RulePriceLimits = false;
  r.QuantityBox = "100";
  r.BuyClick();
  ASSERT_EQ(messages.Last(), "买入成功！");
  r.Boxes.RulePriceLimits = true;
  r.NextClick();
  r.SellClick();
  EXPECT_EQ(messages.Last(), "跌停无法卖出！");
  EXPECT_EQ(r.Account().LongQty, 100);
}

}  // namespace
}  // namespace vorelin
