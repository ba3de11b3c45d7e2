// The simulated cash account: cash, one long position at its average cost, per-mille
// commissions, and the report text shown beside the chart.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

inline constexpr const char* kCashShortMessage = "可用资金不足！";
inline constexpr const char* kBadQuantityMessage = "买卖数量有误！";

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
  // quantity is asked for or the quantity is not above 0.
  virtual bool Sell(double price, double qty);
  virtual std::string BuildReport();
  virtual std::string GetReport() { return BuildReport(); }

  void Mark(double price);
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
};

// The choices, in the order the choice boxes list them.
inline constexpr const char* kQuantityChoices[] = {"全仓", "半仓", "1/3", "1/5", "1/10"};

}  // namespace vorelin
