#include "practice/account_display.h"

#include "common/format.h"

namespace vorelin {

AccountDisplay BuildAccountDisplay(TGpAcount& account) {
  AccountDisplay d;
  d.report = account.GetReport();
  d.report_colour = account.ProfitLoss > 0   ? kGainColour
                    : account.ProfitLoss < 0 ? kLossColour
                                             : kFlatColour;
  d.total = Format("%.4f", account.TotalAssets);
  d.cash = Format("%.4f", account.Cash);
  d.market_value = Format("%.4f", account.MarketValue);
  d.quantity = Format("%.4f", account.LongQty);
  d.max_buyable = Format("%.4f", account.MaxBuyable);
  d.price = Format("%.4f", account.Price);
  d.cost = Format("%.4f", account.LongCost);
  d.box_colour = account.ProfitLoss > 0 ? kGainColour : kLossColour;
  if (account.LongQty > 0) {
    d.profit_loss = Format("%.4f", account.ProfitLoss);
    d.profit_ratio = Format("%.4f", account.ProfitRatio) + "%";
  } else {
    d.profit_loss = "0";
    d.profit_ratio = "0";
  }
  return d;
}

}  // namespace vorelin
