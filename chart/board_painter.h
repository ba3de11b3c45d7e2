// The information board at the chart's right edge: the stock's quote, order book and
// capital rows, then one of the tabs 分笔 (tick list) and 分价 (volume by price) and the
// tab strip. The 跟踪 tab's miniature charts are drawn by the chart into the area reported.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/canvas.h"
#include "chart/chart_types.h"
#include "common/intraday_records.h"
#include "market/stock_directory.h"

namespace vorelin {

inline constexpr const char* kBoardTabs[] = {"分笔", "分价", "跟踪"};

// One entry of the board's trade list.
struct BoardTrade {
  int time = 0;  // HHMM
  float price = 0;
  float volume = 0;
  int16_t direction = 2;  // 0 buy, 1 sell, other values none
  uint16_t count = 0;     // number of trades
};

// The day's transactions as board entries: each is one trade, a buy or a sell.
std::vector<BoardTrade> BoardTradesOf(const std::vector<TTradeTick>& ticks);

struct BoardInput {
  const TStockDirEntry* record = nullptr;
  // The code and name as the chart was given them, never read from the record.
  std::string label;
  std::string name;
  bool zixuan = false;
  std::string format = "%7.2f";
  Font board_font;
  Font chart_font;
  PaneStyle style;
  Colour line_colour = 128;
  double reference = kChartNoValue;  // the chart's previous close
  std::string tab = kBoardTabs[0];
  const std::vector<BoardTrade>* trades = nullptr;
  int strip_height = 18;
};

// Where the board's parts lie, for the hit test and the 跟踪 tab.
struct BoardLayout {
  int quote_bottom = 0;  // the y reached after the quote rows
  int split = 0;         // the tab area's top
  int strip_top = 0;
  int tab_width = 0;     // each tab: the first label's width in the chart font, plus 6
};

// Paints the whole board into `board` (the board's own bitmap, origin at its top-left).
BoardLayout PaintBoard(Canvas& board, const BoardInput& input);

// The prices of the trades with their summed volumes, highest price first; at most 1001
// distinct prices, later ones dropped.
struct PriceVolume {
  float price = 0;
  float volume = 0;
};
std::vector<PriceVolume> VolumeByPrice(const std::vector<BoardTrade>& trades);

}  // namespace vorelin
