#include <gtest/gtest.h>

#include "practice/account.h"

namespace vorelin {
namespace {

TEST(Account, BuyAtCostEqualToCashSucceeds) {
  TGpAcount account(10000);
  account.BuyRate = 0.001;
  // 1000 shares at 9.99 cost 9990 + 9.99 commission = 9999.99; cash exactly that.
  account.Cash = 9999.99;
  ASSERT_TRUE(account.Buy(9.99, 1000));
  EXPECT_NEAR(account.Cash, 0, 1e-9);
  EXPECT_EQ(account.LongQty, 1000);
  EXPECT_DOUBLE_EQ(account.LongCost, 9.99);  // commission is not part of the cost price
  EXPECT_DOUBLE_EQ(account.Commission, 9.99);
  EXPECT_DOUBLE_EQ(account.LastAmount, 9999.99);
  EXPECT_DOUBLE_EQ(account.Price, 9.99);
}

TEST(Account, FailuresChangeNothing) {
  struct Case { const char* name; bool buy; double qty; const char* message; };
  const Case cases[] = {{"buy beyond the cash", true, 2000, "可用资金不足！"},
                        {"zero buy", true, 0, "买卖数量有误！"},
                        {"negative buy", true, -100, "买卖数量有误！"},
                        {"sell more than held", false, 600, "买卖数量有误！"},
                        {"zero sale", false, 0, "买卖数量有误！"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGpAcount account(10000);
    ASSERT_TRUE(account.Buy(10, 500));
    const double cash = account.Cash, qty = account.LongQty, cost = account.LongCost;
    bool done = c.buy ? account.Buy(10, c.qty) : account.Sell(10, c.qty);
    EXPECT_FALSE(done);
    EXPECT_EQ(account.LastMessage, c.message);
    EXPECT_EQ(account.Cash, cash);
    EXPECT_EQ(account.LongQty, qty);
    EXPECT_EQ(account.LongCost, cost);
  }
}

TEST(Account, AverageCostAndPartialSale) {
  TGpAcount account(100000);
  account.SellRate = 0.002;
  ASSERT_TRUE(account.Buy(10, 1000));
  ASSERT_TRUE(account.Buy(12, 1000));
  EXPECT_DOUBLE_EQ(account.LongCost, 11);
  ASSERT_TRUE(account.Sell(13, 500));
  EXPECT_DOUBLE_EQ(account.LongCost, 11);        // unchanged by a sale
  EXPECT_DOUBLE_EQ(account.ProfitLoss, 1000);    // 500 × (13 − 11), before commission
  EXPECT_DOUBLE_EQ(account.Commission, 13);
  EXPECT_DOUBLE_EQ(account.LastAmount, 6487);
  EXPECT_DOUBLE_EQ(account.Cash, 100000 - 22000 + 6487);
  EXPECT_DOUBLE_EQ(account.MarketValue, 13 * 1500);
  EXPECT_DOUBLE_EQ(account.Price, 12);           // a sale does not move the price
  account.Mark(14);
  EXPECT_DOUBLE_EQ(account.ProfitLoss, 1500 * 3);
  EXPECT_DOUBLE_EQ(account.TotalAssets, account.Cash + 14 * 1500);
}

TEST(Account, ReportFlat) {
  TGpAcount account(10000);
  account.Mark(12.5);
  EXPECT_EQ(account.GetReport(),
            "总资产：10000.0000\r\n可用资金:10000.0000\r\n当前价：12.5000\r\n"
            "最大可买：700.0000\r\n空仓运行中……");
  EXPECT_EQ(account.MaxBuyable, 700);
}

TEST(Account, ReportHeld) {
  TGpAcount account(10000);
  ASSERT_TRUE(account.Buy(10, 500));
  account.Mark(11);
  EXPECT_EQ(account.GetReport(),
            "总资产：10500.0000\r\n可用资金:5000.0000\r\n当前价：11.0000\r\n"
            "最大可买：400.0000\r\n"
            "股票市值：5500.0000\r\n\r\n成本价：10.0000\r\n\r\n持仓数量：500.0000\r\n\r\n"
            "浮动盈亏：500.0000\r\n\r\n盈亏比例：10.0000%");
  EXPECT_DOUBLE_EQ(account.ProfitRatio, 10);
}

TEST(Account, FullSaleClearsTheCostAtTheNextReport) {
  TGpAcount account(10000);
  ASSERT_TRUE(account.Buy(10, 500));
  ASSERT_TRUE(account.Sell(11, 500));
  EXPECT_EQ(account.LongCost, 10);
  std::string report = account.GetReport();
  EXPECT_EQ(account.LongCost, 0);
  EXPECT_NE(report.find("空仓运行中……"), std::string::npos);
  EXPECT_EQ(report.find("成本价"), std::string::npos);
}

TEST(Account, ResetKeepsTheOtherFields) {
  TGpAcount account(10000);
  ASSERT_TRUE(account.Buy(10, 500));
  account.ShortQty = 3;
  account.Reset(20000);
  EXPECT_EQ(account.Cash, 20000);
  EXPECT_EQ(account.LongQty, 0);
  EXPECT_EQ(account.LongCost, 0);
  EXPECT_EQ(account.ShortQty, 0);
  EXPECT_EQ(account.Price, 10);  // untouched
}

TEST(Account, QuantityChoices) {
  TGpAcount account(10000);
  account.Mark(3.3);  // b = trunc(9900 / 3.3) = 3000
  const double buys[] = {3000, 1500, 1000, 600, 300};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(kQuantityChoices[i]);
    EXPECT_EQ(account.BuyChoiceQuantity(kQuantityChoices[i]), buys[i]);
  }
  account.LongQty = 1234;
  const double sells[] = {1234, 617, 411, 246, 123};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(kQuantityChoices[i]);
    EXPECT_EQ(account.SellChoiceQuantity(kQuantityChoices[i]), sells[i]);
  }
  TGpAcount unpriced(10000);
  EXPECT_EQ(unpriced.BuyChoiceQuantity("全仓"), 0);
  EXPECT_EQ(unpriced.SellChoiceQuantity("全仓"), 0);
  EXPECT_EQ(account.BuyChoiceQuantity("2/3"), 0);
}

}  // namespace
}  // namespace vorelin
