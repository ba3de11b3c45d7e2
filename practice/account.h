// The simulated cash account: cash, one long position at its average cost, per-mille
// commissions, and the report text shown beside the chart.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

inline constexpr const char* kCashShortMessage = "可用资金不足！";
inline constexpr const char* kBadQuantityMessage = "买卖数量有误！";
inline constexpr const char* kTPlusOneMessage = "T+1：今日买入的股票明日才能卖出！";

class TGpAcount {
 public:
  explicit TGpAcount(double cash = 10000) {
    Cash = cash;
    TotalAssets = cash;
  }
  virtual ~TGpAcount() = default;

  // True when bought; false (with `LastMessage`) and nothing changed when the cost exceeds
  // the cash or the quantity is not above 0.
  virtual bool Buy(double price, double qty);
  // True when sold; false (with `LastMessage`) and nothing changed when more than the held
  // quantity is asked for, the quantity is not above 0, or (under T+1) shares bought on the
  // trading day would be sold.
  virtual bool Sell(double price, double qty);
  virtual std::string BuildReport();
  virtual std::string GetReport() { return BuildReport(); }

  void Mark(double price);
  // The date (YYYYMMDD) trades are made on from now; T+1 counts days by it.
  void SetTradingDay(int yyyymmdd) { TradingDay = yyyymmdd; }
  // Shares that may be sold today: all of them, or under T+1 those not bought today.
  double SellableQty() const;
  void Reset(double cash);

  // Quantity of the buy and sell choices '全仓' '半仓' '1/3' '1/5' '1/10'; 0 for an unknown
  // choice.
  double BuyChoiceQuantity(std::string_view choice) const;
  double SellChoiceQuantity(std::string_view choice) const;

  double BuyRate = 0;
  double SellRate = 0;
  double TotalAssets = 0;
  double MarketValue = 0;
  double Cash = 0;
  std::string LastMessage;
  double Price = 0;
  double LastAmount = 0;
  double ProfitLoss = 0;
  double Commission = 0;
  double ProfitRatio = 0;
  double LongQty = 0;
  double LongCost = 0;
  double ShortQty = 0;
  double ShortCost = 0;
  double MaxBuyable = 0;
  std::string StockCode;
  std::string StockName;

  // The A-share rules; zero and false keep the plain arithmetic above.
  double StampDutyRate = 0;   // fraction of a sale's money
  double MinCommission = 0;   // yuan: the commission is max(rate × money, this)
  bool TPlusOne = false;
  double StampDuty = 0;       // stamp duty of the last trade (0 for a buy)
  int TradingDay = 0;
  int LastBuyDay = 0;         // trading day of the latest buy
  double BoughtOnLastBuyDay = 0;

 private:
  // max(rate × gross, MinCommission) and whether the minimum applied.
  double CommissionOf(double gross, double rate, bool& minimum_applied) const;
};

// The choices, in the order the choice boxes list them.
inline constexpr const char* kQuantityChoices[] = {"全仓", "半仓", "1/3", "1/5", "1/10"};

}  // namespace vorelin
