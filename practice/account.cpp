#include "practice/account.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace vorelin {
namespace {

// The divisor of a choice: the whole, half, a third, a fifth, a tenth; 0 when unknown.
int ChoiceDivisor(std::string_view choice) {
  if (choice == "全仓") return 1;
  if (choice == "半仓") return 2;
  if (choice == "1/3") return 3;
  if (choice == "1/5") return 5;
  if (choice == "1/10") return 10;
  return 0;
}

}  // namespace

bool TGpAcount::Buy(double price, double qty) {
  if (!(qty > 0)) {
    LastMessage = kBadQuantityMessage;
    return false;
  }
  LastMessage = kCashShortMessage;
  const double gross = qty * price;
  bool minimum = false;
  const double commission = CommissionOf(gross, BuyRate, minimum);
  // Without the minimum, the cost is computed as it always was, to the last bit.
  const double cost = minimum ? gross + commission : gross * (1 + BuyRate);
  if (cost > Cash) return false;
  LastAmount = cost;
  Commission = commission;
  StampDuty = 0;
  Cash -= cost;
  if (TradingDay == LastBuyDay) {
    BoughtOnLastBuyDay += qty;
  } else {
    LastBuyDay = TradingDay;
    BoughtOnLastBuyDay = qty;
  }
  const double new_qty = LongQty + qty;
  if (new_qty > 0) {
    LongCost = (gross + LongQty * LongCost) / new_qty;
    LongQty = new_qty;
  }
  Mark(price);
  return true;
}

bool TGpAcount::Sell(double price, double qty) {
  LastMessage = kBadQuantityMessage;
  if (!(qty > 0) || LongQty < qty) return false;
  if (qty > SellableQty()) {
    LastMessage = kTPlusOneMessage;
    return false;
  }
  const double gross = qty * price;
  bool minimum = false;
  Commission = CommissionOf(gross, SellRate, minimum);
  StampDuty = gross * StampDutyRate;
  LastAmount = (minimum ? gross - Commission : gross * (1 - SellRate)) - StampDuty;
  LongQty -= qty;
  Cash += LastAmount;
  ProfitLoss = qty * (price - LongCost);
  MarketValue = price * LongQty;
  TotalAssets = Cash + MarketValue;
  return true;
}

double TGpAcount::CommissionOf(double gross, double rate, bool& minimum_applied) const {
  const double by_rate = gross * rate;
  minimum_applied = by_rate < MinCommission;
  return minimum_applied ? MinCommission : by_rate;
}

double TGpAcount::SellableQty() const {
  if (!TPlusOne || TradingDay > LastBuyDay) return LongQty;
  return LongQty > BoughtOnLastBuyDay ? LongQty - BoughtOnLastBuyDay : 0;
}

void TGpAcount::Mark(double price) {
  ProfitLoss = (price - LongCost) * LongQty;
  MarketValue = price * LongQty;
  TotalAssets = Cash + MarketValue;
  Price = price;
}

void TGpAcount::Reset(double cash) {
  LongQty = 0;
  LongCost = 0;
  ShortQty = 0;
  ShortCost = 0;
  Cash = cash;
  BoughtOnLastBuyDay = 0;
}

std::string TGpAcount::BuildReport() {
  MaxBuyable = Price > 0 ? std::trunc(Cash * 0.99 / Price / 100) * 100 : 0;
  ProfitRatio = LongCost > 0 ? (Price - LongCost) / LongCost * 100 : 0;
  std::string text = "总资产：" + Format("%.4f", TotalAssets) + "\r\n" +
                     "可用资金:" + Format("%.4f", Cash) + "\r\n" +
                     "当前价：" + Format("%.4f", Price) + "\r\n" +
                     "最大可买：" + Format("%.4f", MaxBuyable) + "\r\n";
  if (LongQty == 0) LongCost = 0;
  if (LongCost * LongQty > 0) {
    const double ratio = LongCost > 0 ? (Price - LongCost) / LongCost * 100 : 0;
    text += "股票市值：" + Format("%.4f", MarketValue) + "\r\n\r\n" +
            "成本价：" + Format("%.4f", LongCost) + "\r\n\r\n" +
            "持仓数量：" + Format("%.4f", LongQty) + "\r\n\r\n" +
            "浮动盈亏：" + Format("%.4f", ProfitLoss) + "\r\n\r\n" +
            "盈亏比例：" + Format("%.4f", ratio) + "%";
  }
  if (LongQty == 0) text += "空仓运行中……";
  return text;
}

double TGpAcount::BuyChoiceQuantity(std::string_view choice) const {
  const int divisor = ChoiceDivisor(choice);
  if (divisor == 0) return 0;
  const double b = Price > 0 ? std::trunc(Cash * 0.99 / Price) : 0;
  double qty = std::trunc(b / (100.0 * divisor)) * 100;
  // The one per cent kept back need not cover a minimum commission: drop lots until it does.
  while (MinCommission > 0 && qty > 0 && qty * Price + std::max(qty * Price * BuyRate, MinCommission) > Cash)
    qty -= 100;
  return qty;
}

double TGpAcount::SellChoiceQuantity(std::string_view choice) const {
  const int divisor = ChoiceDivisor(choice);
  if (divisor == 0) return 0;
  // Under T+1 the fractions are of what may be sold today; with nothing sellable, of the
  // whole position, so the sale is refused with the reason.
  const double base = SellableQty() > 0 ? SellableQty() : LongQty;
  return std::trunc(std::trunc(base) / divisor);
}

}  // namespace vorelin
