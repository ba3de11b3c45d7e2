// What the account boxes and the report box beside the chart show after every step, trade
// and load: their texts and font colours (0x00BBGGRR).
#pragma once

#include <cstdint>
#include <string>

#include "practice/account.h"

namespace vorelin {

inline constexpr uint32_t kGainColour = 0x0000FF;  // red
inline constexpr uint32_t kLossColour = 0xFF0000;  // blue
inline constexpr uint32_t kFlatColour = 0x000000;  // black

struct AccountDisplay {
  std::string report;          // mmo1
  uint32_t report_colour = kFlatColour;
  std::string total;           // edtzzc
  std::string cash;            // edtkyzj
  std::string market_value;    // edtgpsz
  std::string quantity;        // edtddcc
  std::string max_buyable;     // edtzdkm
  std::string price;           // edtdqj
  std::string cost;            // edtcbj
  uint32_t box_colour = kLossColour;
  std::string profit_loss;     // edtfdyk
  std::string profit_ratio;    // edtykbl
};

// Builds the report first (which refreshes the account's maximum buyable, profit ratio and,
// when nothing is held, its cost), then the boxes from the refreshed account.
AccountDisplay BuildAccountDisplay(TGpAcount& account);

}  // namespace vorelin
