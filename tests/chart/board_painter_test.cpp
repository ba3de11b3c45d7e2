// The information board on the recording canvas (ASCII 6 px, other characters 12 px wide,
// font height 12): rows, formats, colours and conditions, the two lists and the tab strip.
// With a 12-pixel font the title is 16 high, rows are 14 apart and the quote starts at 28.
#include <gtest/gtest.h>

#include "chart/board_painter.h"
#include "market/stock_quote.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {
namespace {

constexpr const char* kRed = "0x3C3CFF";
constexpr const char* kGreen = "0x00E600";
constexpr const char* kSilver = "0xC0C0C0";

// A stock at 10.00 yesterday: order book around 10.10, last 10.20.
TStockDirEntry QuotedStock() {
  TStockDirEntry entry;
  entry.SetCode("600001");
  StockQuote q;
  q.prev_close = 10.0f;
  q.open = 9.9f;
  q.high = 10.3f;
  q.low = 9.8f;
  q.last = 10.2f;
  q.total_volume = 123456;
  q.total_amount = 98765432;
  q.inner_volume = 600;
  q.outer_volume = 400;
  for (size_t k = 0; k < 5; ++k) {
    q.bid_price[k] = 10.1f - 0.01f * static_cast<float>(k);
    q.bid_volume[k] = 100;
    q.ask_price[k] = 10.11f + 0.01f * static_cast<float>(k);
    q.ask_volume[k] = 50;
  }
  WriteStockQuote(q, entry);
  return entry;
}

struct Board {
  explicit Board(const TStockDirEntry& entry, int width = 200, int height = 520) : canvas(width, height) {
    input.record = &entry;
    input.label = "600001";
    input.name = "Stock";
    input.trades = &trades;
  }
  BoardLayout Paint() { return PaintBoard(canvas, input); }
  // The log line that draws exactly `text`, or "" when none does.
  std::string Line(const std::string& text) const {
    for (const std::string& line : canvas.Lines("text ")) {
      if (line.find(" '" + text + "' ") != std::string::npos) return line;
    }
    return {};
  }
  bool Shows(const std::string& text) const { return !Line(text).empty(); }
  RecordingCanvas canvas;
  BoardInput input;
  std::vector<BoardTrade> trades;
};

std::string TextLine(int x, int y, const std::string& text, const char* colour) {
  return "text " + std::to_string(x) + "," + std::to_string(y) + " '" + text + "' " + colour + " size12";
}

TEST(BoardPainter, QuoteRowsWithTheirPlacesFormatsAndColours) {
  const TStockDirEntry stock = QuotedStock();
  Board b(stock);
  const BoardLayout layout = b.Paint();
  // Title "600001 Stock" is 72 wide, centred; yellow.
  EXPECT_TRUE(b.canvas.Has("text 64,6 '600001 Stock' 0x00FFFF size16"));
  // 委比 (500 - 250) * 100 / 750, red because the bids outweigh the asks.
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 30, "委比", kSilver)));
  EXPECT_TRUE(b.canvas.Has(TextLine(100, 30, "委差", kSilver)));
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 36, 30, "33.33%", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 36, 30, "   250", kRed)));
  // Asks from level 5 down, then the bids; book volumes olive.
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 46, "卖五", kSilver)));
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 102, "卖一", kSilver)));
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 102, "  10.11", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 12, 102, "50", "0x00C8C8")));
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 116, "买一", kSilver)));
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 172, "买五", kSilver)));
  // Price rows from 188: values right at 97 and 197.
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 188, "  10.20", kRed)));                   // 现价
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 42, 188, "   9.90", kGreen)));                // 今开
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 202, "   0.20", kRed)));                   // 涨跌
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 216, "  2.00%", kRed)));                   // 涨幅
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 42, 216, "   9.80", kGreen)));                // 最低
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 230, " 12.3万", kSilver)));                // 总量
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 36, 230, "9877万", kSilver)));                // 总额
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 42, 244, "    600", kSilver)));               // 内盘
  EXPECT_EQ(layout.quote_bottom, 258);
  EXPECT_EQ(layout.split, 260);
  EXPECT_TRUE(b.canvas.Has("line 0,258 -> 200,258 pen=0x000080 w1 solid"));
  EXPECT_FALSE(b.Shows("换手")) << "no capital rows without circulating shares";
}

TEST(BoardPainter, TitleIsCyanForTheUsersOwnListAndTakesTheGivenNames) {
  const TStockDirEntry stock = QuotedStock();
  Board b(stock);
  b.input.zixuan = true;
  b.input.label = "******";
  b.input.name = "";
  b.Paint();
  EXPECT_TRUE(b.canvas.Has("text 79,6 '****** ' 0xFFFF00 size16"));
  EXPECT_FALSE(b.Shows("600001 Stock"));
}

TEST(BoardPainter, CategorySevenHasNoOrderBookAndShowsTickVolumesInHundreds) {
  TStockDirEntry stock = QuotedStock();
  stock.SetCategory(kNoOrderBookCategory);
  Board b(stock);
  b.trades = {{931, 10.05f, 12300, 0, 4}};
  const BoardLayout layout = b.Paint();
  for (const char* row : {"委比", "委差", "卖一", "卖五", "买一", "买五"}) {
    SCOPED_TRACE(row);
    EXPECT_FALSE(b.Shows(row));
  }
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 30, "  10.20", kRed))) << "现价 right after the title";
  EXPECT_EQ(layout.split, 30 + 5 * 14 + 2);
  // The tick: price right at 2W/3, volume / 100 with 万 right at W - 3, no side and count.
  EXPECT_TRUE(b.canvas.Has(TextLine(133 - 42, layout.split, "  10.05", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 48, layout.split, "   123万", "0x00C8C8")));
  EXPECT_FALSE(b.Shows("B"));
}

TEST(BoardPainter, EmptyBookGivesZeroPercentAndLevelsWithoutValues) {
  TStockDirEntry stock = QuotedStock();
  StockQuote q = ReadStockQuote(stock);
  q.bid_price = q.bid_volume = q.ask_price = q.ask_volume = {};
  WriteStockQuote(q, stock);
  Board b(stock);
  b.Paint();
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 12, 30, "0%", kGreen)));
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 102, "卖一", kSilver)));
  EXPECT_EQ(b.canvas.Lines("text 55,102 ").size(), 0u) << "no price beside an empty level";
}

TEST(BoardPainter, ChangeFallsBackToTheFirstAskThenThePreviousClose) {
  struct Case {
    const char* name;
    float last, ask, prev;
    const char* change;
    const char* percent;  // "" when none is drawn
    const char* colour;
  };
  const Case kCases[] = {
      {"last price", 10.2f, 10.5f, 10.0f, "   0.20", "  2.00%", kRed},
      {"first ask when the last price is 0", 0, 10.5f, 10.0f, "   0.50", "  5.00%", kRed},
      {"previous close when both are 0", 0, 0, 10.0f, "   0.00", "  0.00%", kGreen},
      {"no percent without a previous close", 10.2f, 10.5f, 0, "  10.20", "", kRed},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TStockDirEntry stock = QuotedStock();
    StockQuote q = ReadStockQuote(stock);
    q.last = c.last;
    q.ask_price[0] = c.ask;
    q.prev_close = c.prev;
    WriteStockQuote(q, stock);
    Board b(stock);
    b.Paint();
    EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 202, c.change, c.colour)));
    if (*c.percent == 0) {
      int texts_in_row = 0;
      for (const std::string& line : b.canvas.Lines("text ")) texts_in_row += line.find(",216 '") != std::string::npos;
      EXPECT_EQ(texts_in_row, 3) << "涨幅 and 最低 labels and the low only";
    } else {
      EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 216, c.percent, c.colour)));
    }
  }
}

TEST(BoardPainter, CapitalRows) {
  struct Case {
    const char* name;
    float net_profit, months;
    const char* earnings;
    const char* pe;
  };
  // 10 000 万 total shares, net profit 5 000 over 6 months: E = 0.05, PE = 10.20 / 0.1.
  const Case kCases[] = {{"profit", 5000, 6, "0.050", "102.00"},
                         {"no profit", 0, 6, "0.000", "---"},
                         {"a loss", -5000, 6, "0.000", "---"},
                         {"no months", 5000, 0, "0.050", "---"}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TStockDirEntry stock = QuotedStock();
    StockCapital capital;
    capital.circulating_shares = 5000;
    capital.board_rows_flag = 1;
    capital.total_shares = 10000;
    capital.net_assets = 300000;
    capital.net_profit = c.net_profit;
    capital.profit_months = c.months;
    WriteStockCapital(capital, stock);
    Board b(stock);
    const BoardLayout layout = b.Paint();
    EXPECT_TRUE(b.canvas.Has(TextLine(1, 260, "换手", kSilver)));
    EXPECT_TRUE(b.Shows(" 24.69%"));  // 123456 / 5000
    EXPECT_TRUE(b.Shows("   1.0亿"));  // 股本
    EXPECT_TRUE(b.Shows("   3.00"));   // 净资 300000 / 10000 / 10
    EXPECT_TRUE(b.Shows("   0.5亿"));  // 流通
    EXPECT_TRUE(b.canvas.Has(TextLine(97 - 6 * static_cast<int>(std::string(c.earnings).size()), 288, c.earnings, kSilver)));
    EXPECT_TRUE(b.canvas.Has(TextLine(197 - 6 * static_cast<int>(std::string(c.pe).size()), 288, c.pe, kSilver)));
    EXPECT_EQ(layout.split, 260 + 3 * 14 + 2);
  }
}

TEST(BoardPainter, CapitalRowsNeedTheFlag) {
  TStockDirEntry stock = QuotedStock();
  StockCapital capital;
  capital.circulating_shares = 5000;
  capital.total_shares = 10000;
  WriteStockCapital(capital, stock);
  Board b(stock);
  b.Paint();
  EXPECT_FALSE(b.Shows("换手"));
}

TEST(BoardPainter, TickListShowsTheLastTicksThatFit) {
  const TStockDirEntry stock = QuotedStock();
  Board b(stock, 200, 260 + 3 * 14 + 5 + 18);  // room for three rows
  b.input.reference = 10.0;
  b.trades = {{930, 9.9f, 1, 0, 1},        {931, 10.0f, 100, 0, 1}, {932, 9.95f, 600, 1, 12},
              {933, 10.05f, 200, 5, 3}};
  b.Paint();
  EXPECT_FALSE(b.Shows("09:30")) << "the oldest tick does not fit";
  EXPECT_TRUE(b.canvas.Has(TextLine(2, 260, "09:31", kSilver)));
  // At or below the reference green, above it red; price right at W/2.
  EXPECT_TRUE(b.canvas.Has(TextLine(100 - 42, 260, "  10.00", "0x00C800")));
  EXPECT_TRUE(b.canvas.Has(TextLine(100 - 42, 288, "  10.05", kRed)));
  // Volumes right at 3W/4, purple above 499; side right at W - 30; count in gray.
  EXPECT_TRUE(b.canvas.Has(TextLine(150 - 36, 260, "   100", "0x00C8C8")));
  EXPECT_TRUE(b.canvas.Has(TextLine(150 - 36, 274, "   600", "0xC000C0")));
  EXPECT_TRUE(b.canvas.Has(TextLine(170 - 6, 260, "B", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(170 - 6, 274, "S", kGreen)));
  EXPECT_TRUE(b.canvas.Has(TextLine(170 - 6, 288, " ", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(197 - 18, 274, " 12", "0x808080")));
}

TEST(BoardPainter, VolumeByPriceSortsHighToLowWithProportionalBars) {
  const TStockDirEntry stock = QuotedStock();
  Board b(stock);
  b.input.tab = "分价";
  b.input.reference = 10.0;
  b.trades = {{930, 10.00f, 300, 0, 1}, {931, 10.01f, 100, 0, 1}, {932, 10.00f, 200, 1, 1}};
  b.Paint();
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 260, "10.01", kRed)));
  EXPECT_TRUE(b.canvas.Has(TextLine(1, 274, "10.00", "0x00C800")));
  EXPECT_TRUE(b.canvas.Has(TextLine(135 - 18, 274, "500", "0x00C800")));
  // Bars from 2W/3 + 7 = 140 over 58 pixels: 100 / 500 gives 11 + 1, 500 / 500 58 + 1.
  EXPECT_TRUE(b.canvas.Has("fill 140,262,152,272 0x3C3CFF"));
  EXPECT_TRUE(b.canvas.Has("fill 140,276,199,286 0x00C800"));
}

TEST(BoardPainter, VolumeByPriceKeepsAtMost1001Prices) {
  std::vector<BoardTrade> trades;
  for (int i = 0; i < 1005; ++i) trades.push_back({930, 1.0f + 0.01f * static_cast<float>(i), 1, 0, 1});
  trades.push_back({931, 1.0f, 4, 0, 1});
  const std::vector<PriceVolume> prices = VolumeByPrice(trades);
  ASSERT_EQ(prices.size(), 1001u);
  EXPECT_FLOAT_EQ(prices.front().price, 1.0f + 0.01f * 1000);
  EXPECT_FLOAT_EQ(prices.back().price, 1.0f);
  EXPECT_FLOAT_EQ(prices.back().volume, 5);
}

TEST(BoardPainter, TransactionsBecomeSingleTradesWithTheirSide) {
  const std::vector<BoardTrade> trades = BoardTradesOf({{931, 10.5f, 300, 0}, {932, 10.4f, 200, 3}});
  ASSERT_EQ(trades.size(), 2u);
  EXPECT_EQ(trades[0].time, 931);
  EXPECT_EQ(trades[0].price, 10.5f);
  EXPECT_EQ(trades[0].volume, 300);
  EXPECT_EQ(trades[0].direction, 0);
  EXPECT_EQ(trades[1].direction, 1) << "every side flag but 0 is a sell";
  EXPECT_EQ(trades[1].count, 1);
}

TEST(BoardPainter, TabStripMarksTheSelectedTab) {
  const TStockDirEntry stock = QuotedStock();
  Board b(stock);
  b.input.tab = "跟踪";
  const BoardLayout layout = b.Paint();
  EXPECT_EQ(layout.strip_top, 520 - 18);
  EXPECT_EQ(layout.tab_width, 30);
  EXPECT_TRUE(b.canvas.Has("line 0,502 -> 200,502 pen=0x000080 w1 solid"));
  EXPECT_TRUE(b.canvas.Has("line 0,519 -> 200,519 pen=0x000080 w1 solid"));
  EXPECT_TRUE(b.canvas.Has(TextLine(3, 505, "分笔", "0x808080")));
  EXPECT_TRUE(b.canvas.Has(TextLine(33, 505, "分价", "0x808080")));
  EXPECT_TRUE(b.canvas.Has(TextLine(63, 505, "跟踪", "0xFFFF00")));
  EXPECT_TRUE(b.canvas.Has("line 89,502 -> 89,520 pen=0x000080 w1 solid"));
}

TEST(BoardPainter, NoRecordShowsZerosAndDashes) {
  Board b(TStockDirEntry{});
  b.input.record = nullptr;
  b.Paint();
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 42, 188, "   0.00", kGreen)));
  EXPECT_TRUE(b.canvas.Has(TextLine(97 - 12, 30, "0%", kGreen)));
}

}  // namespace
}  // namespace vorelin::testing
