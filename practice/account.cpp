#include "practice/account.h"

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
  const double cost = gross * (1 + BuyRate);
  if (cost > Cash) return false;
  LastAmount = cost;
  Commission = gross * BuyRate;
  Cash -= cost;
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
  const double gross = qty * price;
  LastAmount = gross * (1 - SellRate);
  Commission = gross * SellRate;
  LongQty -= qty;
  Cash += LastAmount;
  ProfitLoss = qty * (price - LongCost);
  MarketValue = price * LongQty;
  TotalAssets = Cash + MarketValue;
  return true;
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
  return std::trunc(b / (100.0 * divisor)) * 100;
}

double TGpAcount::SellChoiceQuantity(std::string_view choice) const {
  const int divisor = ChoiceDivisor(choice);
  if (divisor == 0) return 0;
  return std::trunc(std::trunc(LongQty) / divisor);
}

}  // namespace vorelin
