// Board rows in order: title, order book, price rows, capital rows, the selected tab, the
// tab strip. A value "right at X" ends at X.
#include "chart/board_painter.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "chart/background.h"
#include "common/format.h"
#include "market/stock_quote.h"

namespace vorelin {
namespace {

constexpr Colour kLabel = Rgb(0xC0, 0xC0, 0xC0);
constexpr Colour kUp = Rgb(0xFF, 0x3C, 0x3C);
constexpr Colour kDown = Rgb(0x00, 0xE6, 0x00);
constexpr Colour kBookVolume = Rgb(0xC8, 0xC8, 0x00);
constexpr Colour kSecondary = Rgb(0x80, 0x80, 0x80);
constexpr Colour kTitle = Rgb(0xFF, 0xFF, 0x00);
constexpr Colour kCyan = Rgb(0x00, 0xFF, 0xFF);
constexpr Colour kLargeVolume = Rgb(0xC0, 0x00, 0xC0);
constexpr Colour kTickDown = Rgb(0x00, 0xC8, 0x00);
constexpr int kTitleFontHeight = 16;  // 12 points
constexpr size_t kMostPrices = 1001;
constexpr float kLargeTickVolume = 499;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

class BoardPainter {
 public:
  BoardPainter(Canvas& canvas, const BoardInput& input)
      : c_(canvas),
        in_(input),
        w_(canvas.Width()),
        quote_(input.record ? ReadStockQuote(*input.record) : StockQuote{}),
        capital_(input.record ? ReadStockCapital(*input.record) : StockCapital{}),
        category_(input.record ? input.record->Category() : 0) {
    value_font_ = input.board_font;
    value_font_.family = "System";
  }

  BoardLayout Paint() {
    Background();
    Title();
    c_.SetFont(in_.board_font);
    row_ = c_.TextExtent("88").height + 2;
    if (category_ != kNoOrderBookCategory) OrderBook();
    PriceRows();
    if (capital_.circulating_shares > 0 && capital_.board_rows_flag != 0) CapitalRows();
    layout_.quote_bottom = y_;
    layout_.split = y_ + 2;
    layout_.strip_top = c_.Height() - in_.strip_height;
    c_.SetFont(in_.chart_font);
    layout_.tab_width = c_.TextExtent(kBoardTabs[0]).width + 6;
    if (in_.trades && !in_.trades->empty()) {
      if (in_.tab == kBoardTabs[0]) TickList();
      if (in_.tab == kBoardTabs[1]) PriceList();
    }
    TabStrip();
    return layout_;
  }

 private:
  void Background() {
    if (in_.style.fill_style == BackStyle::wNone) {
      c_.FillRect(0, 0, w_, c_.Height(), in_.style.background);
    } else {
      FillBackground(c_, in_.style.fill_colour, in_.style.background, in_.style.fill_style);
    }
    c_.SetTextBackground(false, 0);
    c_.SetPen({in_.line_colour, 1, PenStyle::kSolid});
  }

  void Title() {
    Font title = in_.board_font;
    title.height = kTitleFontHeight;
    c_.SetFont(title);
    const std::string text = in_.label + " " + in_.name;
    const Size size = c_.TextExtent(text);
    c_.SetTextColour(in_.zixuan ? kCyan : kTitle);
    c_.TextOut((w_ - size.width) / 2, 6, text);
    y_ = size.height + 12;
  }

  void Separator() {
    c_.MoveTo(0, y_);
    c_.LineTo(w_, y_);
  }

  void Label(int x, const char* text) {
    c_.SetFont(in_.board_font);
    c_.SetTextColour(kLabel);
    c_.TextOut(x, y_, text);
  }

  void RightAt(int x, const std::string& text, Colour colour, const Font& font) {
    c_.SetFont(font);
    c_.SetTextColour(colour);
    c_.TextOut(x - c_.TextExtent(text).width, y_, text);
  }

  void Value(int x, const std::string& text, Colour colour) {
    if (!text.empty()) RightAt(x, text, colour, value_font_);
  }

  Colour AgainstPrevClose(float price) const { return price > quote_.prev_close ? kUp : kDown; }
  std::string Price(float value) const { return Format(in_.format.c_str(), static_cast<double>(value)); }

  void OrderBook() {
    Separator();
    y_ += 2;
    float bids = 0, asks = 0;
    for (size_t k = 0; k < 5; ++k) {
      bids += quote_.bid_volume[k];
      asks += quote_.ask_volume[k];
    }
    const Colour colour = bids > asks ? kUp : kDown;
    Label(1, "委比");
    Label(w_ / 2, "委差");
    const double sum = static_cast<double>(bids) + asks;
    Value(w_ / 2 - 3, sum <= 0 ? std::string("0%") : Format("%.2f%%", (bids - asks) * 100.0 / sum), colour);
    Value(w_ - 3, Format("%6.0f", static_cast<double>(bids - asks)), colour);
    y_ += row_;
    Separator();
    y_ += 2;
    static const char* const kAsks[] = {"卖一", "卖二", "卖三", "卖四", "卖五"};
    static const char* const kBids[] = {"买一", "买二", "买三", "买四", "买五"};
    for (size_t k = 5; k-- > 0;) BookRow(kAsks[k], quote_.ask_price[k], quote_.ask_volume[k]);
    Separator();
    for (size_t k = 0; k < 5; ++k) BookRow(kBids[k], quote_.bid_price[k], quote_.bid_volume[k]);
  }

  // A level without orders (price and volume 0) shows its label only.
  void BookRow(const char* label, float price, float volume) {
    Label(1, label);
    if (price != 0 || volume != 0) {
      Value(w_ / 2 - 3, Price(price), AgainstPrevClose(price));
      Value(w_ - 3, Format("%.0f", static_cast<double>(volume)), kBookVolume);
    }
    y_ += row_;
  }

  void TwoFields(const char* left, const std::string& left_value, Colour left_colour, const char* right,
                 const std::string& right_value, Colour right_colour) {
    Label(1, left);
    Label(w_ / 2, right);
    Value(w_ / 2 - 3, left_value, left_colour);
    Value(w_ - 3, right_value, right_colour);
    y_ += row_;
  }

  void PriceRows() {
    Separator();
    y_ += 2;
    const StockQuote& q = quote_;
    float p = q.last;
    if (p == 0) p = q.ask_price[0] > 0 ? q.ask_price[0] : q.prev_close;
    const Colour change = AgainstPrevClose(p);
    TwoFields("现价", Price(q.last), AgainstPrevClose(q.last), "今开", Price(q.open), AgainstPrevClose(q.open));
    TwoFields("涨跌", Price(p - q.prev_close), change, "最高", Price(q.high), AgainstPrevClose(q.high));
    const std::string percent =
        q.prev_close != 0 ? Format("%6.2f%%", (p - q.prev_close) * 100.0 / q.prev_close) : std::string();
    TwoFields("涨幅", percent, change, "最低", Price(q.low), AgainstPrevClose(q.low));
    TwoFields("总量", Format("%5.1f万", q.total_volume / 10000.0), kLabel, "总额",
              Format("%.0f万", q.total_amount / 10000.0), kLabel);
    TwoFields("外盘", Format("%7.0f", static_cast<double>(q.outer_volume)), kLabel, "内盘",
              Format("%7.0f", static_cast<double>(q.inner_volume)), kLabel);
    Separator();
  }

  void CapitalRows() {
    y_ += 2;
    const StockCapital& k = capital_;
    const double total = k.total_shares;
    const double circulating = k.circulating_shares;
    // Per-share figures of a record without total shares are 0 rather than infinite.
    const double net_assets = total > 0 ? k.net_assets / total / 10 : 0;
    const double earnings = k.net_profit > 0 && total > 0 ? k.net_profit / total / 10 : 0;
    const std::string pe = earnings > 0 && k.profit_months > 0
                               ? Format("%.2f", quote_.last / (earnings / k.profit_months * 12))
                               : std::string("---");
    TwoFields("换手", Format("%6.2f%%", quote_.total_volume / circulating), kLabel, "股本",
              Format("%6.1f亿", total / 10000), kLabel);
    TwoFields("净资", Format("%7.2f", net_assets), kLabel, "流通", Format("%6.1f亿", circulating / 10000),
              kLabel);
    TwoFields("收益", Format("%.3f", earnings), kLabel, "PE(动)", pe, kLabel);
    Separator();
  }

  int VisibleRows() const {
    const int height = layout_.strip_top - layout_.split;
    return height > 0 ? height / row_ : 0;
  }

  void TickList() {
    const std::vector<BoardTrade>& trades = *in_.trades;
    const int rows = VisibleRows();
    const size_t first = trades.size() > static_cast<size_t>(rows) ? trades.size() - static_cast<size_t>(rows) : 0;
    const bool no_book = category_ == kNoOrderBookCategory;
    y_ = layout_.split;
    for (size_t i = first; i < trades.size(); ++i) {
      const BoardTrade& t = trades[i];
      c_.SetFont(in_.board_font);
      c_.SetTextColour(kLabel);
      c_.TextOut(2, y_, Format("%.02d:%.02d", t.time / 100, t.time % 100));
      const std::string price = t.price > 1000 ? Format("%7.2f", static_cast<double>(t.price)) : Price(t.price);
      RightAt(no_book ? 2 * w_ / 3 : w_ / 2, price, in_.reference >= t.price ? kTickDown : kUp, in_.board_font);
      if (no_book) {
        RightAt(w_ - 3, Format("%6.0f万", t.volume / 100.0), kBookVolume, in_.board_font);
      } else {
        RightAt(3 * w_ / 4, Format("%6.0f", static_cast<double>(t.volume)),
                t.volume > kLargeTickVolume ? kLargeVolume : kBookVolume, in_.board_font);
        const char* side = t.direction == 1 ? "S" : t.direction == 0 ? "B" : " ";
        RightAt(w_ - 30, side, t.direction == 1 ? kDown : kUp, in_.board_font);
        RightAt(w_ - 3, Format("%3d", t.count), kSecondary, in_.board_font);
      }
      y_ += row_;
    }
  }

  void PriceList() {
    const std::vector<PriceVolume> prices = VolumeByPrice(*in_.trades);
    float largest = 0;
    for (const PriceVolume& p : prices) largest = std::max(largest, p.volume);
    if (largest <= 0) return;
    const int rows = VisibleRows();
    const size_t first = prices.size() > static_cast<size_t>(rows) ? prices.size() - static_cast<size_t>(rows) : 0;
    const int bar_left = 2 * w_ / 3 + 7;
    const int bar_span = w_ - bar_left - 2;
    const bool has_reference = in_.reference != kChartNoValue;
    Colour colour = kLabel;
    y_ = layout_.split;
    for (size_t i = first; i < prices.size(); ++i) {
      const PriceVolume& p = prices[i];
      if (has_reference) colour = in_.reference >= p.price ? kTickDown : kUp;
      c_.SetFont(value_font_);
      c_.SetTextColour(colour);
      c_.TextOut(1, y_, Trimmed(Price(p.price)));
      const std::string volume = category_ == kNoOrderBookCategory ? Format("%.0f万", p.volume / 100.0)
                                                                    : Format("%.0f", static_cast<double>(p.volume));
      RightAt(2 * w_ / 3 + 2, volume, colour, value_font_);
      const int length = static_cast<int>(std::trunc(p.volume / largest * bar_span)) + 1;
      c_.FillRect(bar_left, y_ + 2, bar_left + length, y_ + row_ - 2, colour);
      y_ += row_;
    }
  }

  void TabStrip() {
    const int top = layout_.strip_top;
    const int bottom = c_.Height() - 1;
    const int t = layout_.tab_width;
    c_.SetPen({in_.line_colour, 1, PenStyle::kSolid});
    c_.MoveTo(0, top);
    c_.LineTo(w_, top);
    c_.MoveTo(0, bottom);
    c_.LineTo(w_, bottom);
    c_.SetFont(in_.chart_font);
    const int first_width = c_.TextExtent(kBoardTabs[0]).width;
    for (int i = 0; i < 3; ++i) {
      c_.SetTextColour(in_.tab == kBoardTabs[i] ? kCyan : kSecondary);
      c_.TextOut(i * t + (t - first_width) / 2, top + 3, kBoardTabs[i]);
      c_.MoveTo((i + 1) * t - 1, top);
      c_.LineTo((i + 1) * t - 1, bottom + 1);
    }
  }

  Canvas& c_;
  const BoardInput& in_;
  const int w_;
  const StockQuote quote_;
  const StockCapital capital_;
  const uint8_t category_;
  Font value_font_;
  BoardLayout layout_;
  int row_ = 0;
  int y_ = 0;
};

}  // namespace

BoardLayout PaintBoard(Canvas& board, const BoardInput& input) { return BoardPainter(board, input).Paint(); }

std::vector<BoardTrade> BoardTradesOf(const std::vector<TTradeTick>& ticks) {
  std::vector<BoardTrade> trades;
  trades.reserve(ticks.size());
  for (const TTradeTick& t : ticks) trades.push_back({t.time, t.price, t.volume, static_cast<int16_t>(t.side != 0), 1});
  return trades;
}

std::vector<PriceVolume> VolumeByPrice(const std::vector<BoardTrade>& trades) {
  std::vector<PriceVolume> prices;
  std::unordered_map<float, size_t> index_of_price;  // exact float equality, as the list keys
  for (const BoardTrade& t : trades) {
    if (auto found = index_of_price.find(t.price); found != index_of_price.end()) {
      prices[found->second].volume += t.volume;
    } else if (prices.size() < kMostPrices) {
      index_of_price.emplace(t.price, prices.size());
      prices.push_back({t.price, t.volume});
    }
  }
  std::stable_sort(prices.begin(), prices.end(),
                   [](const PriceVolume& a, const PriceVolume& b) { return a.price > b.price; });
  return prices;
}

}  // namespace vorelin
